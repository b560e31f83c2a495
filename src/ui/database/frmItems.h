#pragma once

#include "gridview/ListHost.h"
#include "qelfile/PasswordPrompts.h"
#include "ui/database/commands/DatabaseWindowState.h"
#include "ui/database/commands/DocumentWindow.h"
#include "ui/database/commands/ExchangeWindow.h"
#include "ui/dialogs/PasswordDialogHost.h"
#include "ui/search/FileSearchHost.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>

#include <memory>

class ColumnCommands;
class DocumentCommands;
class EditBar;
class ExchangeCommands;
class FindCommands;
class FindPanel;
class FormatCommands;
class JournalCommands;
class List;
class MainBar;
class Platform;
class PleaseWaitPanel;
class QAction;
class RecordCommands;
class ValueHolder;
class frmFileSearch;
struct DatabaseSession;

/// The database window: the grid List1 with the menu bar, the toolbar mainbar, the edit bar
/// TextText, the find panel Find and the progress panel PleaseWait around it. It keeps the
/// current column ActiveColumn and the dirty flag lblChangeStatus, lays its controls out by
/// Reposition, and hands every command to a command object; the grid reaches it through
/// ListHost, the file through PasswordPrompts (answered by the password dialogs).
class frmItems final : public QMainWindow,
                       public ListHost,
                       public PasswordPrompts,
                       private DatabaseWindowState,
                       private DocumentWindow,
                       private ExchangeWindow,
                       private PasswordDialogHost,
                       private FileSearchHost {
    Q_OBJECT

public:
    /// The session holds what outlives the window: the settings (the database password
    /// option is bound to them), the folders (loading creates those missing), the password
    /// dialogs, the recent-file slot pointer and the shell.
    explicit frmItems(DatabaseSession& session, QWidget* parent = nullptr);
    ~frmItems() override;
    Q_DISABLE_COPY_MOVE(frmItems)

    List& List1() const { return *m_list; }
    /// A menu item or menu by its name ("undo", "file", ...); nullptr for another name.
    QAction* menuItem(const QString& name) const;

    /// Lays the grid, the bars and the panels out for the window's size and visible bars.
    void Reposition();
    /// Gives the window the state, geometry, bars and recent files stored in the settings.
    void applyStoredState();
    /// Opens the file at `path` as Open would with that file chosen, editable: for a file named
    /// when the application starts.
    void openFile(const QString& path);
    /// Asked before the application ends with this window open: with unsaved changes the
    /// user is asked "Save Changes?". True when the application may end: nothing unsaved, No,
    /// or Yes and the save succeeded; Cancel (or a save that did not happen) keeps it running.
    bool mayEndApplication();
    /// The dirty flag: "1" when the table has changes not saved, "0" otherwise.
    QString lblChangeStatus() const;
    void setChangeStatus(const QString& status);
    /// The progress frame over the grid ("PleaseWait", with its caption and ProgressBar1),
    /// made when first needed: a window that never reads a large file or exchanges a
    /// spreadsheet does without it.
    PleaseWaitPanel& pleaseWait();

    // ListHost
    void setActiveColumn(const QString& column) override;
    QString activeColumn() const override;
    bool exactMatchTicked() const override;
    QString searchText() const override;
    void setEditBarText(const QString& text) override;
    void showCellFormat(bool bold, bool italic, bool underlined, qint32 color) override;
    void DODARED() override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    QString excelStatus() const override;

    // PasswordPrompts
    bool checkPassword(const QString& stored) override;
    std::optional<QString> askNewPassword() override;
    void announceSaved() override;
    QString exchangeTempFolder() const override;
    void tableChanged() override;

    /// Names the screen the window will open on before it opens (see pinScreen()).
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Until a window exists on a screen, each of its controls looks the screen up from the
    // window's position whenever it needs its density (for every font and every painter):
    // naming the screen spares the window's many controls those lookups. It is the screen
    // the window would be placed on anyway, taken again just before it opens.
    void pinScreen();

    // DatabaseWindowState
    int activeColumnNumber() const override;
    void markDirty() override;
    ShownFormat shownFormat() const override;
    void showFormat(const ShownFormat& format) override;
    void clearEditBar() override;
    void focusUndoThenGrid() override;

    // DocumentWindow (frmItemsDocument.cpp)
    QString title() const override;
    void setTitle(const QString& title) override;
    bool isDirty() const override;
    void setDirty(bool dirty) override;
    void suspendChangeMarks(bool suspended) override;
    void setEditingLocked(bool locked) override;
    void showRecentEntry(int slot, const QString& caption) override;
    void showOpenProgress(const QString& caption) override;
    void setOpenProgress(qint64 value, qint64 maximum) override;
    void hideOpenProgress(const QString& caption) override;
    void markSearchCancel() override;
    void closeWindow() override;

    // ExchangeWindow (frmItemsExchange.cpp)
    void showExchangeProgress(const QString& caption, int maximum, int value) override;
    void hideExchangeProgress() override;
    void showGrid(bool shown) override;

    // PasswordDialogHost (frmItemsDocument.cpp)
    bool databasePasswordEnabled() const override;
    QString databaseWindowCaption() const override;
    void markDatabaseChanged() override;
    void closeDatabaseWindow() override;

    // FileSearchHost (frmItemsDocument.cpp)
    QRect databaseWindowFrame() const override;
    void moveDatabaseWindowTo(int left) override;
    void NEWLIST() override;
    void openFoundFile(const QString& path, const QString& fileName) override;
    /// The file search window, made when first shown.
    frmFileSearch& searchWindow();

    /// Stores the window's state, geometry and bars into the settings.
    void storeState();

    void buildControls();
    /// Connects the menu items and buttons to the commands (frmItemsCommands.cpp).
    void wireCommands();
    void activated();
    void editBarEdited(const QString& text);
    void toggleBar(QWidget* bar, QAction* item);
    /// The find panel, made on first use.
    FindPanel& findPanel();
    bool findPanelShown() const;
    void toggleFindPanel();
    void closeFindPanel();
    void toggleDatabasePassword();
    void showDatabasePasswordOption();
    bool isMenuShortcut(QObject* target, const QKeyEvent& key) const;

    DatabaseSession& m_session;
    Platform& m_platform;
    QWidget* m_client = nullptr;
    List* m_list = nullptr;
    MainBar* m_mainbar = nullptr;
    EditBar* m_editBar = nullptr;
    FindPanel* m_find = nullptr;
    PleaseWaitPanel* m_pleaseWait = nullptr;
    ValueHolder* m_activeColumn = nullptr;
    ValueHolder* m_changeStatus = nullptr;
    QHash<QString, QAction*> m_items;
    // Set while the window reshapes the table on its own (the new-table shape): that is no
    // change of the user's.
    bool m_keepChangeStatus = false;
    // The window has closed: a password accepted after that opens nothing into it.
    bool m_closed = false;
    // While a file is read, the window repaints every so often, not for every piece.
    QElapsedTimer m_sinceRepaint;

    std::unique_ptr<FormatCommands> m_format;
    std::unique_ptr<RecordCommands> m_records;
    std::unique_ptr<ColumnCommands> m_columns;
    std::unique_ptr<JournalCommands> m_journal;
    std::unique_ptr<FindCommands> m_findCommands;
    std::unique_ptr<DocumentCommands> m_documents;
    std::unique_ptr<ExchangeCommands> m_exchange;
    std::unique_ptr<frmFileSearch> m_search;
};
