#pragma once

#include "gridview/ListHost.h"
#include "settings/AppFolder.h"
#include "ui/database/commands/DatabaseWindowState.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class ColumnCommands;
class EditBar;
class FindCommands;
class FindPanel;
class FormatCommands;
class JournalCommands;
class List;
class MainBar;
class Platform;
class QAction;
class QLabel;
class QProgressBar;
class RecordCommands;
struct SettingsRecord;

/// The database window: the grid List1 with the menu bar, the toolbar mainbar, the edit bar
/// TextText, the find panel Find and the progress panel PleaseWait around it. It keeps the
/// current column ActiveColumn and the dirty flag lblChangeStatus, lays its controls out by
/// Reposition, and hands every command to a command object; the grid reaches it through
/// ListHost.
class frmItems final : public QMainWindow, public ListHost, private DatabaseWindowState {
    Q_OBJECT

public:
    /// `settings` is the application's record: the database password option is bound to it.
    /// Loading creates the folders of `folder` that are missing.
    frmItems(SettingsRecord& settings, AppFolder folder, QWidget* parent = nullptr);
    ~frmItems() override;
    Q_DISABLE_COPY_MOVE(frmItems)

    List& List1() const { return *m_list; }
    /// A menu item or menu by its name ("undo", "file", ...); nullptr for another name.
    QAction* menuItem(const QString& name) const;

    /// Lays the grid, the bars and the panels out for the window's size and visible bars.
    void Reposition();
    /// The dirty flag: "1" when the table has changes not saved, "0" otherwise.
    QString lblChangeStatus() const;
    void setChangeStatus(const QString& status);

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
    QString exchangeTempFolder() const override;
    void tableChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // DatabaseWindowState
    int activeColumnNumber() const override;
    void markDirty() override;
    ShownFormat shownFormat() const override;
    void showFormat(const ShownFormat& format) override;
    void clearEditBar() override;
    void focusUndoThenGrid() override;

    void buildControls();
    /// Connects the menu items and buttons to the commands (frmItemsCommands.cpp).
    void wireCommands();
    void activated();
    void editBarEdited(const QString& text);
    void toggleBar(QWidget* bar, QAction* item);
    void toggleFindPanel();
    void closeFindPanel();
    void toggleDatabasePassword();
    void showDatabasePasswordOption();
    bool isMenuShortcut(QObject* target, const QKeyEvent& key) const;

    SettingsRecord& m_settings;
    const AppFolder m_folder;
    Platform& m_platform;
    QWidget* m_client = nullptr;
    List* m_list = nullptr;
    MainBar* m_mainbar = nullptr;
    EditBar* m_editBar = nullptr;
    FindPanel* m_find = nullptr;
    QWidget* m_pleaseWait = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_activeColumn = nullptr;
    QLabel* m_changeStatus = nullptr;
    QHash<QString, QAction*> m_items;
    // Set while the window reshapes the table on its own (the new-table shape): that is no
    // change of the user's.
    bool m_keepChangeStatus = false;

    std::unique_ptr<FormatCommands> m_format;
    std::unique_ptr<RecordCommands> m_records;
    std::unique_ptr<ColumnCommands> m_columns;
    std::unique_ptr<JournalCommands> m_journal;
    std::unique_ptr<FindCommands> m_findCommands;
};
