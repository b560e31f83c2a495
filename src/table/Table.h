#pragma once

#include "table/Cell.h"
#include "table/RecordChunks.h"
#include "table/RowStore.h"

#include <QString>
#include <QtGlobal>

#include <deque>
#include <optional>
#include <vector>

class TableView;
class TextMatcher;
class RecordReader;
class RowDraft;

/// Where a search text was found: row and column from 1, position from 1 within the text.
struct FindHit {
    int row = 0;
    int column = 0;
    int position = 0;

    friend bool operator==(const FindHit&, const FindHit&) = default;
};

/// The grid's non-visual core: the row store, the columns with their captions, widths and
/// edit flags, the current row and column, the edit journal with undo and redo, and find and
/// replace. Rows and columns count from 1. Out-of-range arguments make every member do
/// nothing, or return "", false or 0. Redraw requests go to the attached TableView.
class Table final {
public:
    static constexpr int MaxColumns = 32;
    static constexpr int MaxColumnWidth = 510;
    static constexpr int MinNewColumnWidth = 5;

    /// A new table: one column (width 100, caption ""), one empty row, empty journal.
    Table();
    ~Table();
    Q_DISABLE_COPY_MOVE(Table)

    /// Attaches the view that receives redraw requests; nullptr detaches it.
    void setView(TableView* view);

    // --- state -------------------------------------------------------------------------------
    int ListCount() const;
    int ColumnCount() const;
    int iSelected() const;
    int iSelectedColumn() const;
    void setISelected(int row);
    void setISelectedColumn(int column);
    bool DoNotRender() const;

    // --- cells (journalled) ------------------------------------------------------------------
    QString GetItem(int line, int Colum) const;
    void ChangeItem(int Row, int Column, const QString& Text);
    bool GetItallic(int line, int Column) const;
    bool GetUnderlined(int line, int Column) const;
    qint32 GetColor(int line, int Column) const;
    void SetBold(int line, int Column, bool Vrednost);
    void SetItallic(int line, int Column, bool Vrednost);
    void SetUnderlined(int line, int Column, bool Vrednost);
    void SetColor(int line, int Column, qint32 Vrednost);

    // --- columns -----------------------------------------------------------------------------
    QString GetColumnHeader(int Index) const;
    void SetColumnHeader(int Index, const QString& NovNaslov);
    int GetWidthColumn(int Index) const;
    void LetWidthColumn(int Index, int Width);
    void EnableEdit(int Stol);
    void DisableEdit(int Stol);
    /// The column's edit flag; false out of range.
    bool columnEditable(int Stol) const;

    // --- shape -------------------------------------------------------------------------------
    /// Inserts an empty row at Index (1..ListCount) or appends one; St1 goes into column 1.
    /// Returns the row that now exists at that position (the in/out Index).
    int AddRow(const QString& St1 = QString(), int Index = 0);
    void AddMoreThanOneRow(int NumberOfRows);
    void RemoveItem(int Index, bool NeIzri = false);
    void Clear();
    void ClearEntireList();
    /// Inserts a column at Index (1..ColumnCount + 1) or appends one (Index 0). Returns the
    /// in/out Index: for an append, ColumnCount + 1 as it was before the call.
    int AddColumn(int Index = 0, int Width = 0, const QString& HeaderTitle = QString());
    void RemoveColumn(int Index);

    // --- journal -----------------------------------------------------------------------------
    void ClearUndoRedo();
    bool undo(int Number = 0);
    bool redo(int Number = 0);
    /// The stores, index 0 being position 1 (the newest record).
    const std::deque<QString>& UndoStore() const;
    const std::deque<QString>& RedoStore() const;

    // --- find and replace --------------------------------------------------------------------
    /// The match search of FindText: the first acceptable match after the current row, then
    /// from row 1. A substring match is refused when the host's "Exact Match" box is ticked
    /// and the cell's whole text differs from the host's search box.
    std::optional<FindHit> findMatch(const QString& Text, bool ExactMatch, bool hostExactTicked,
                                     const QString& hostSearchText) const;
    bool FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All = false,
                            bool ExactMatch = false);

    // --- direct access for readers, importers and the view: no journal, no redraw ------------
    /// The cell at (row, column), column 1..MaxColumns: slots above ColumnCount are kept in
    /// their row. A default cell out of range.
    CellRef cellAt(int row, int column) const;
    /// Writes a whole cell; nothing out of range (column 1..MaxColumns).
    void setCell(int row, int column, const CellRef& value);
    /// Writes the draft's cells into the row, as setCell would one after the other, storing
    /// the row once: the bulk path of readers that gather a row's cells first. Nothing when the
    /// row is out of range. The draft's texts must not point into the table.
    void setCells(int row, const RowDraft& cells);
    /// Installs the rows a reader packed apart into `batch` (RowStore::install); their rows
    /// must be in range.
    void installRows(RowBatch& batch);
    /// Lends `batch` the row memory the table kept beyond about `keepBytes`.
    void lendRowMemory(RowBatch& batch, qint64 keepBytes);
    /// Writes only the text, keeping the format.
    void setCellText(int row, int column, QStringView text);
    /// Replaces every row by `count` empty rows (count >= 1) and refits the number strip.
    void resetRows(int count);
    /// Asks the view to redraw every column and the numbers and to recompute the scroll bars.
    void redrawAll();

private:
    struct Column {
        QString caption;
        int width = 100;
        bool editable = true;
    };

    bool isRow(int row) const { return row >= 1 && row <= ListCount(); }
    bool isColumn(int column) const { return column >= 1 && column <= ColumnCount(); }
    bool inRange(int row, int column) const { return isRow(row) && isColumn(column); }
    /// Direct access reaches every slot of a row, hidden ones above the column count too.
    bool isSlot(int row, int column) const {
        return isRow(row) && column >= 1 && column <= MaxColumns;
    }
    void setFlag(int line, int column, quint8 flag, bool value, QStringView tag);
    /// Redraws a column (or -1 all, -2 the numbers) unless drawing is suppressed.
    void render(int stol);
    /// Tells the view that the content changed.
    void changed();

    // Journal routing.
    void record(QString entry);
    void recordEdit(QString entry);
    void pushUndoKeepRedo(QString entry);
    /// A group into UndoStore, position 1 first: the head, rowRecord(i) for rows i = 1..rows,
    /// the end marker. Should making a record fail, the group is dropped and the change must
    /// not have begun. (Defined where the groups are made.)
    template <typename RowRecord>
    void pushGroup(QString head, int rows, RowRecord rowRecord, QString end);
    /// Forgets the rows of the latest clear kept aside.
    void dropClearedRows();
    void emptyRedoUnlessRedoing();

    // Undo and redo share one record interpreter.
    bool replay(bool undoing, int number);
    void replayStep(std::deque<QString>& store);
    void replayCellText(QStringView record);
    void replayRemovedRow(QStringView payload);
    /// The parts of a row record into that row, by way of `draft`, which is reused.
    void restoreParts(RecordReader& reader, int row, RowDraft& draft);
    /// A row record of the clear group: row + "|" + parts, into that row.
    void restoreRow(QStringView record, RowDraft& draft);
    void replayCutRows(QStringView payload);
    void replayClearGroup(QStringView payload, std::deque<QString>& store);
    void replayAddedColumn(QStringView payload);
    void replayColumnGroup(QStringView payload, std::deque<QString>& store);

    // Replace within one cell; returns how many replacements it made.
    int replaceInCell(int row, int column, const TextMatcher& matcher, const QString& NewText,
                      bool All);

    RowStore m_rows;
    std::vector<Column> m_columns;
    // The texts of the groups' records, which the records in the stores share.
    RecordChunks m_groupTexts;
    // The rows of the latest clear, kept aside in the row store for its undo, belong to the
    // group whose head record's payload starts here (nullptr when none are kept); the rows its
    // records restore exactly are marked in m_clearedWhole.
    const char16_t* m_clearedGroup = nullptr;
    std::vector<bool> m_clearedWhole;
    std::deque<QString> m_undo;
    std::deque<QString> m_redo;
    TableView* m_view;
    int m_iSelected = 0;
    int m_iSelectedColumn = 0;
    bool m_undoing = false;
    bool m_redoing = false;
    bool m_columnReplay = false;
    bool m_doNotRender = false;
};
