#pragma once

#include "settings/AppFolder.h"
#include "ui/search/SearchFolder.h"

#include <QWidget>

class FileNameList;
class FileSearchHost;
class Platform;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class SearchRunner;
struct SettingsRecord;

/// The file search window. In search mode the user picks a drive and presses Find; every
/// folder of that drive is searched for database files. In list mode the window lists at once
/// the database files of the default folder and its subfolders, docked left of the database
/// window. A double-click (or any typed character) on a found file opens it in the database
/// window, which the window reaches through FileSearchHost. The search runs on a worker
/// thread; the window shows its results as they come. Closing the window stores its place
/// in the settings record; it is hidden, not destroyed, and each mode starts afresh.
class frmFileSearch final : public QWidget {
    Q_OBJECT

public:
    frmFileSearch(SettingsRecord& settings, AppFolder folder, FileSearchHost& host,
                  QWidget* parent = nullptr);
    ~frmFileSearch() override;
    Q_DISABLE_COPY_MOVE(frmFileSearch)

    /// The database window's cmdFindFiles: the window in search mode at its stored place, at
    /// least 4,800 twips wide, and the database window moved right of it.
    void showSearchMode();
    /// The database window's cmdList: the window in list mode, listing the default folder,
    /// docked left of the database window.
    void showListMode();
    /// The mark the database window's New command leaves when its "Save Changes?" question
    /// was cancelled: the file being opened is not opened.
    void markCancel();
    /// Closes the window, with its closing steps, when it is shown; the database window does
    /// this when it closes.
    void unload();
    /// While a search or listing runs.
    bool isSearching() const;

signals:
    /// A search or listing has ended and its last status is shown.
    void searchFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { Search, List };

    void buildControls();
    /// The controls as the window loads: nothing found, nothing chosen, the counters at 0.
    void reset();
    void showMode(Mode mode);
    /// Shows the window with the state and geometry stored in the settings.
    void showAtStoredPlace();
    void storePlace();
    /// The layout rule for the window's size.
    void Reposition();
    void fillDrives();
    /// Empties the results and starts SearchFolder on `root`.
    void startSearch(const QString& root, const QString& status);
    void find();
    void stopSearch();
    void entriesExamined(qint64 count);
    void filesFound(const QStringList& paths, const QString& lastFolder);
    void searchEnded(SearchFolder::Outcome outcome);
    void selectionChanged();
    void openSelected();

    SettingsRecord& m_settings;
    const AppFolder m_folder;
    FileSearchHost& m_host;
    Platform& m_platform;
    Mode m_mode = Mode::Search;
    qint64 m_fileNumber = 0;
    qint64 m_fundFileNumber = 0;

    QLabel* m_label1 = nullptr;
    QLabel* m_files = nullptr;
    QComboBox* m_drives = nullptr;
    QLabel* m_status = nullptr;
    QListWidget* m_fileList = nullptr;
    FileNameList* m_fileNameList = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_fileNumberLabel = nullptr;
    QLabel* m_fundFileNumberLabel = nullptr;
    QLabel* m_lastFoundFile = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_stopSearch = nullptr;
    SearchRunner* m_runner = nullptr;
};
