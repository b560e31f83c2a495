#pragma once

#include "exchange/ExcelEnvironment.h"
#include "exchange/ExchangeCallbacks.h"
#include "gridview/ListHost.h"
#include "gridview/ListSurfaces.h"
#include "table/Table.h"
#include "table/TableView.h"
#include "text/FileResult.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class DatabaseFile;
class PasswordPrompts;
class QMouseEvent;

/// The grid component: a table of formatted one-line cells that draws itself (header, row
/// numbers, the visible rows of every column, its own scroll bars and column splitter) and is
/// edited in place through a row of cell editors laid over the current row. The data lives in
/// the Table it owns; this widget forwards the component's public interface to it and keeps
/// the view state. It reaches its host window only through ListHost.
class List final : public QWidget, public TableView {
    Q_OBJECT
public:
    explicit List(QWidget* parent = nullptr);
    ~List() override;
    Q_DISABLE_COPY_MOVE(List)

    /// The host window's seam; nullptr returns to a neutral host. Not owned.
    void setHost(ListHost* host);
    ListHost& host() const { return *m_host; }

    /// The table itself, for readers, writers and the host's direct cell access.
    Table& table() { return m_table; }
    const Table& table() const { return m_table; }

    // --- content ------------------------------------------------------------------------------
    QString GetItem(int line, int Colum) const;
    void ChangeItem(int Row, int Column, const QString& Text);
    bool GetItallic(int line, int Column) const;
    bool GetUnderlined(int line, int Column) const;
    qint32 GetColor(int line, int Column) const;
    void SetBold(int line, int Column, bool Vrednost);
    void SetItallic(int line, int Column, bool Vrednost);
    void SetUnderlined(int line, int Column, bool Vrednost);
    void SetColor(int line, int Column, qint32 Vrednost);

    // --- columns ------------------------------------------------------------------------------
    QString GetColumnHeader(int Index) const;
    void SetColumnHeader(int Index, const QString& NovNaslov);
    int GetWidthColumn(int Index) const;
    void LetWidthColumn(int Index, int Width);
    void EnableEdit(int Stol);
    void DisableEdit(int Stol);
    /// Copies the current column into the host's current-column holder.
    void COLUMNUMBER();

    // --- state --------------------------------------------------------------------------------
    int ListCount() const;
    int ColumnCount() const;
    int iSelected() const;
    void setISelected(int row);
    int iSelectedColumn() const;

    // --- shape --------------------------------------------------------------------------------
    // Those that move or drop the cell being edited commit the edit first.
    /// Returns the in/out Index: the row that now exists at that position.
    int AddRow(const QString& St1 = QString(), int Index = 0);
    void AddMoreThanOneRow(int NumberOfRows);
    void RemoveItem(int Index, bool NeIzri = false);
    void Clear();
    void ClearEntireList();
    /// Returns the in/out Index (for an append, the new column's number).
    int AddColumn(int Index = 0, int Width = 0, const QString& HeaderTitle = QString());
    void RemoveColumn(int Index);

    // --- journal ------------------------------------------------------------------------------
    void ClearUndoRedo();
    /// Both commit the edit in progress first: undo takes it back before anything older.
    bool undo(int Number = 0);
    bool redo(int Number = 0);

    // --- find ---------------------------------------------------------------------------------
    bool FindText(const QString& Text, bool ExactMatch = false);
    bool FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All = false,
                            bool ExactMatch = false);

    // --- files ------------------------------------------------------------------------------
    /// The password dialogs the files ask through; nullptr refuses passwords and cancels
    /// protected saves. Not owned.
    void setPasswordPrompts(PasswordPrompts* prompts);
    /// What hears the bytes read so far while OpenFile reads (see DatabaseFile).
    void setReadProgress(std::function<void(qint64 done, qint64 total)> progress);
    /// Replaces the table with the file's content; the result says why when it could not.
    FileResult OpenFile(const QString& filename);
    FileResult SaveFile(const QString& filename, bool Encrypted = false);
    FileResult SaveFileAs(const QString& filename, bool Encrypted = false);
    bool iIsEncrypted() const;
    QString sFileName() const;

    // --- spreadsheet exchange ---------------------------------------------------------------
    /// Copies the table's texts into a new workbook and shows it; messages go through the
    /// Platform, progress to the host. The result names the workbook or the failure.
    FileResult exporttoexcel();
    /// Reads sheet rows 1..Rows of `filename` into the table's texts, within a budget derived
    /// from the machine's memory. When the file cannot be read or holds more text than the
    /// budget, the result says why and the table is as it was.
    FileResult importexcel(const QString& filename, int Rows = 0);

    // --- view ---------------------------------------------------------------------------------
    void RenderColumn(int Stol) override;
    void SetScrollers() override;
    /// Makes row `Index` current and lays the editor row over it, focusing editor `iX` (0 =
    /// none); the edit in progress ends first. A row below 1 leaves no current row (0), one
    /// beyond ListCount only hides the editor row. Only `Button` 1 (left) selects.
    void SelectItem(int Index, int Button, int iX = 0);
    bool DoNotRender() const;
    void setDoNotRender(bool value);
    /// The vertical scroll offset in pixels, 0 or negative.
    int TopOffset() const { return m_topOffset; }
    int RowHeight() const;
    /// The width of the row-number strip.
    int numberStripWidth() const { return m_strip; }

    /// Colours in the 0x00BBGGRR layout, filled at start-up.
    qint32 BorderColor = 0;
    qint32 SelectedColor = 0;
    qint32 ScrollForeColor = 0;
    qint32 ScrollBackColor = 0;
    qint32 HeaderBorderColor = 0;
    qint32 HeaderBackColor = 0;
    qint32 SelectedRowColor = 0;

    /// Grab offsets kept during a thumb or splitter drag.
    int MouseX = 0;
    int MouseY = 0;

signals:
    /// After Ctrl+Delete removed the current record, and on Enter received by the grid.
    void KeyDown(int KeyCode, int Shift, int SelectedRow, int SelectedColumn);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // TableView requests not offered to callers.
    void FitNumberColumn() override;
    void BuildHeader() override;
    void HideEditors() override;
    void LayoutColumns() override;
    void ClampTopOffsetAfterRemove() override;
    void ResetTopOffset() override;
    void ScrollFullyLeft() override;
    void TableChanged() override;

    // Start-up (List.cpp) and the named children (ListSurfaces.cpp).
    void buildSurfaces();
    // The editor row's number mark, made when a row is first selected.
    void ensureRowMark();
    // The column splitter PicSpl, made for the first column resize.
    QWidget* ensureSplitter();
    bool splitterShown() const;
    // The horizontal thumb DrsnikH with its name label, made when first needed.
    cmdButton* ensureHorizontalThumb();
    void startUp();
    void fillColours();

    // Layout (ListLayout.cpp).
    int areaHeight() const;
    int contentHeight() const;
    int contentWidth() const;
    std::vector<int> columnWidths() const;
    std::vector<int> columnLefts() const;
    void moveContentTo(int L);
    void applyHorizontalClamp();
    void placeEditorsVertically();
    void syncColumnSurfaces();
    void drawCornerLines();

    // Rendering (ListRender.cpp).
    void renderColumnSurface(int column);
    void renderNumberStrip();
    /// The current row's editor of `column` shows the cell as the table holds it.
    void showCellInEditor(int column);

    // Scroll bars (ListScroll.cpp).
    void setArrowEnabled(int k, bool enabled);
    void arrowPressed(int k);
    void arrowReleased(int k);
    void scrollTick();
    void scrollStep(const QString& code);
    void verticalScrolledBy(int newOffset);
    void horizontalScrolledTo(int newLeft);
    /// Press, drag and release on a scroll-bar track; `axis` names the track.
    bool trackEvent(QEvent* event, Qt::Orientation axis);
    void dragThumbTo(Qt::Orientation axis, int wanted);
    void trackReleased();
    void setPointer(Qt::CursorShape shape);

    // Selection and editing (ListSelection.cpp, ListKeys.cpp).
    void placeEditorRow(int y, int iX);
    void setColumnTint(int column, bool tinted);
    void recolourEditors(int current);
    void editorFocused(int i, const QString& text, bool bold, bool italic, bool underlined,
                       qint32 colour);
    void editorLostFocus(int i);
    void editorChanged(int i);
    void editorKeyDown(int i, int& KeyCode, int Shift);
    void editorRight(int i);
    void editorLeft(int i);
    void keepColumnInView(int column);
    void keepRowInView(int i);
    void selectByPress(int x, int y);
    void focusLeftGrid(QWidget* now);
    void connectEditor(lblTxt* editor, int i);
    // One editor per column once a row has been selected; none before, so a grid that is
    // never edited in place opens without them.
    void ensureEditors();
    bool editorRowShown() const;
    // The edit of a cell: it begins when its editor is entered (the Tag records the cell and
    // its text) and ends with one record when the text changed.
    void beginEdit(int i);
    void endEdit();
    /// Ends the edit and takes the focus off its editor.
    void commitEdit();
    /// Before rows from `fromRow` or columns from `fromColumn` on move or go: commits an edit
    /// made there, so that its record names the cell it was made in.
    void commitEditBeforeShift(int fromRow, int fromColumn);

    // Files and exchange (ListFiles.cpp, ListExchange.cpp).
    void redrawAfterLoad();
    ExchangeCallbacks exchangeCallbacks();
    ExcelEnvironment exchangeEnvironment() const;

    // Header and resizing (ListHeader.cpp).
    void hover(int x, int y);
    bool startSplitterDrag(int x, int y);
    void dragSplitter(int x);
    void endSplitterDrag();

    Table m_table;
    std::unique_ptr<DatabaseFile> m_file;
    // Stands in for a host until one is set, so the grid also runs on its own.
    ListHost m_neutralHost;
    ListHost* m_host = &m_neutralHost;
    ListSurfaces m_s;

    int m_topOffset = 0;
    int m_strip = 86;
    int m_left = 86;
    bool m_doNotRender = false;
    QMetaObject::Connection m_focusWatch;
    // The editor whose edit is open (0 = none), and the text it last gave its cell.
    int m_editing = 0;
    QString m_editText;
    bool m_started = false;
    // The size the last resize laid out and drew; invalid until the grid has had its first.
    QSize m_laidOutSize;

    QFont m_cellFont;
    QColor m_controlBackground;
    QColor m_numberColour;
    QPixmap m_ico[8];
};
