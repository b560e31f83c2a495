#include "FolderTree.h"

#include "platform/Platform.h"
#include "settings/AppFolder.h"
#include "settings/SettingsRecord.h"
#include "support/ScriptedPlatform.h"
#include "ui/search/FileNameList.h"
#include "ui/search/FileSearchHost.h"
#include "ui/search/FileSearchLayout.h"
#include "ui/search/SearchFolder.h"
#include "ui/search/SearchListener.h"
#include "ui/search/WindowFrame.h"
#include "ui/search/WrappingLabel.h"
#include "ui/search/frmFileSearch.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

/// The database window as the search window sees it: it records what it is asked. With
/// unsaved changes its New command asks "Save Changes?" as the database window does and
/// leaves the mark on the search window when the user cancels.
struct RecordingHost final : FileSearchHost {
    QRect frame{300, 40, 420, 500};
    QList<int> moves;
    QStringList calls;
    frmFileSearch* window = nullptr;
    bool unsavedChanges = false;
    QString statusTipDuringOpen;

    QRect databaseWindowFrame() const override { return frame; }
    void moveDatabaseWindowTo(int left) override { moves << left; }
    void NEWLIST() override {
        calls << QStringLiteral("NEWLIST");
        if (!unsavedChanges) {
            return;
        }
        const MessageButton answer = Platform::current().messageBox(
            {QStringLiteral("Save Changes?"), QStringLiteral("Database [ Unsaved ]"),
             MessageButtons::YesNoCancel, MessageIcon::Question, MessageButton::Cancel});
        if (answer == MessageButton::Cancel) {
            window->markCancel();
            return;
        }
        unsavedChanges = false;
    }
    void openFoundFile(const QString& path, const QString& fileName) override {
        calls << QStringLiteral("open %1 as %2").arg(path, fileName);
        statusTipDuringOpen = window->findChild<QLabel*>(QStringLiteral("Status"))->toolTip();
    }
};

/// The files a direct search finds, in order.
struct FoundFiles final : SearchListener {
    QStringList paths;
    void examined(qint64) override {}
    void found(const QString& path, const QString&) override { paths << path; }
    void statusChanged(const QString&) override {}
};

QStringList items(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts << list.item(row)->text();
    }
    return texts;
}

} // namespace

/// The file search window with a recording database window, the scripted Platform and real
/// folder trees: both modes, the search and its counters, opening a found file, its place
/// in the settings.
class TestFileSearchWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listModeListsTheDefaultFolder();
    void searchModeAtItsStoredPlace_data();
    void searchModeAtItsStoredPlace();
    void findSearchesTheChosenDrive();
    void driveThatCannotBeListed();
    void stopAndDriveChange();
    void closingEndsTheSearch();
    void selectingAnEntry();
    void openingAFoundFile_data();
    void openingAFoundFile();
    void saveChangesAnswers_data();
    void saveChangesAnswers();
    void aMarkFromAnEarlierNewIsNoAnswer();
    void nothingSelectedNothingHappens();
    void closingStoresThePlace_data();
    void closingStoresThePlace();
    void showingAgainUnloadsFirst();
    void layoutRule_data();
    void layoutRule();
    void layoutOnResize();
    void label2Wraps_data();
    void label2Wraps();
    void snapshots();

private:
    template <typename T = QWidget> T* child(const QString& name) const {
        return m_window->findChild<T*>(name);
    }
    QString text(const QString& label) const { return child<QLabel>(label)->text(); }
    QListWidget& fileList() const { return *child<QListWidget>(QStringLiteral("FileList")); }
    void waitForTheSearch();
    /// The default folder with a database file and a subfolder holding another, listed.
    void listTheDefaultFolder();
    void clickEntry(int row);

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<FolderTree> m_app;
    std::unique_ptr<AppFolder> m_folder;
    SettingsRecord m_settings;
    RecordingHost m_host;
    std::unique_ptr<frmFileSearch> m_window;
};

void TestFileSearchWindow::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_app = std::make_unique<FolderTree>(QStringList{});
    m_folder = std::make_unique<AppFolder>(m_app->root());
    m_folder->EnsureFolders();
    m_settings = SettingsRecord();
    m_host = RecordingHost();
    m_window = std::make_unique<frmFileSearch>(m_settings, *m_folder, m_host);
    m_host.window = m_window.get();
}

void TestFileSearchWindow::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_app.reset();
}

void TestFileSearchWindow::waitForTheSearch() {
    if (m_window->isSearching()) {
        QSignalSpy finished(m_window.get(), &frmFileSearch::searchFinished);
        QVERIFY(finished.wait(10000));
    }
}

void TestFileSearchWindow::listTheDefaultFolder() {
    m_app->add({"System/Qel/one.QEL", "System/Qel/notes.txt", "System/Qel/sub/two.qel"});
    m_window->showListMode();
    waitForTheSearch();
}

void TestFileSearchWindow::clickEntry(int row) {
    QListWidget& list = fileList();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
}

void TestFileSearchWindow::listModeListsTheDefaultFolder() {
    listTheDefaultFolder();
    const QString qel = m_folder->qelFolder();
    QCOMPARE(items(fileList()), (QStringList{qel + "/one.QEL", qel + "/sub/two.qel"}));
    QCOMPARE(text("FundFileNumber"), QStringLiteral("2"));
    QCOMPARE(text("Status"), QStringLiteral("Done"));
    QCOMPARE(text("LastFoundFile"), QStringLiteral("Double-click to select"));
    QCOMPARE(text("Files"), QStringLiteral("*.QEL"));
    QCOMPARE(text("Label2"), QStringLiteral("                      Total  Databases "));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database"));
    for (const char* hidden :
         {"Label1", "Drives", "Status", "Find", "StopSearch", "Files", "FileNumber"}) {
        QVERIFY2(child(hidden)->isHidden(), hidden);
    }
    for (const char* shown : {"FileList", "Label2", "FundFileNumber", "LastFoundFile"}) {
        QVERIFY2(child(shown)->isVisible(), shown);
    }
    // Docked: left edge 0, the database window's top and height, 3,000 twips wide, and the
    // database window beside it.
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->frameGeometry(), QRect(0, 40, 200, 500));
    QCOMPARE(m_host.moves, QList<int>{200});
}

void TestFileSearchWindow::searchModeAtItsStoredPlace_data() {
    QTest::addColumn<QStringList>("stored"); // state, left, top, width, height
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("defaults") << QStringList{"0", "1275", "1380", "4800", "6210"}
                              << QRect(85, 92, 320, 414) << false;
    QTest::newRow("wider") << QStringList{"0", "150", "300", "6000", "4500"}
                           << QRect(10, 20, 400, 300) << false;
    QTest::newRow("narrower opens 4,800 twips wide")
        << QStringList{"0", "0", "600", "3000", "7500"} << QRect(0, 40, 320, 500) << false;
    QTest::newRow("minimised opens normal")
        << QStringList{"1", "150", "300", "6000", "4500"} << QRect(10, 20, 400, 300) << false;
    QTest::newRow("maximised") << QStringList{"2", "150", "300", "6000", "4500"} << QRect() << true;
}

void TestFileSearchWindow::searchModeAtItsStoredPlace() {
    QFETCH(QStringList, stored);
    QFETCH(QRect, frame);
    QFETCH(bool, maximised);
    m_settings.frmFileSearchWindowState = stored[0];
    m_settings.frmFileSearchLeft = stored[1];
    m_settings.frmFileSearchTop = stored[2];
    m_settings.frmFileSearchWidth = stored[3];
    m_settings.frmFileSearchHeight = stored[4];
    m_platform->setDrives({"/", "/home", "/media/usb"});
    m_window->showSearchMode();

    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Search"));
    QCOMPARE(
        text("Label1"),
        QStringLiteral("Search for                 files  in                        Drive   "));
    QCOMPARE(text("Label2"), QStringLiteral("Check File  Matching File "));
    QCOMPARE(text("LastFoundFile"), QString());
    QCOMPARE(text("FileNumber"), QStringLiteral("0"));
    QCOMPARE(text("FundFileNumber"), QStringLiteral("0"));
    QCOMPARE(child<QPushButton>("Find")->text(), QStringLiteral("Find "));
    QCOMPARE(child<QPushButton>("StopSearch")->text(), QStringLiteral("Stop"));
    for (const char* shown : {"Label1", "Drives", "Status", "Find", "StopSearch", "Files",
                              "FileNumber", "FileList", "Label2", "FundFileNumber"}) {
        QVERIFY2(child(shown)->isVisible(), shown);
    }
    auto* drives = child<QComboBox>("Drives");
    QCOMPARE(drives->count(), 3);
    QCOMPARE(drives->itemText(2), QStringLiteral("/media/usb"));
    QCOMPARE(drives->currentText(), QStringLiteral("/"));

    QCOMPARE(m_window->isMaximized(), maximised);
    if (!maximised) {
        QCOMPARE(m_window->frameGeometry(), frame);
    }
    // The database window moves right of the search window.
    QCOMPARE(m_host.moves, QList<int>{m_window->frameGeometry().width()});
}

void TestFileSearchWindow::findSearchesTheChosenDrive() {
    FolderTree first({"elsewhere.QEL"});
    FolderTree second({"a.QEL", "x.txt", "s/b.qel"});
    m_platform->setDrives({first.root(), second.root() + u'/'});
    m_window->showSearchMode();
    child<QComboBox>("Drives")->setCurrentIndex(1);
    child<QPushButton>("Find")->click();
    // Until the window takes the search's first report.
    QCOMPARE(text("Status"), QStringLiteral("Searching..."));
    QCOMPARE(text("Files"), QStringLiteral("*.QEL"));
    waitForTheSearch();

    const QString root = second.root() + u'/';
    QCOMPARE(items(fileList()), (QStringList{root + "a.QEL", root + "s/b.qel"}));
    QCOMPARE(text("FileNumber"), QString::number((3 + 2) + (1 + 2)));
    QCOMPARE(text("FundFileNumber"), QStringLiteral("2"));
    QCOMPARE(text("LastFoundFile"), "Last Matching File Found in :  " + root + "s/");
    QCOMPARE(text("Status"), QStringLiteral("Done"));
    QCOMPARE(m_window->findChild<FileNameList*>("FileNameList")->path(), m_folder->qelFolder());

    // A second Find starts afresh.
    child<QPushButton>("Find")->click();
    waitForTheSearch();
    QCOMPARE(fileList().count(), 2);
    QCOMPARE(text("FileNumber"), QStringLiteral("8"));
    QVERIFY(m_platform->messageBoxes().isEmpty());
}

void TestFileSearchWindow::driveThatCannotBeListed() {
    m_platform->setDrives({m_app->path("no-such-drive")});
    m_window->showSearchMode();
    m_platform->answerMessageBox(MessageButton::Ok);
    child<QPushButton>("Find")->click();
    waitForTheSearch();
    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest message = m_platform->messageBoxes().front();
    QCOMPARE(message.text,
             QStringLiteral("This is not the drive where you can save your files..."));
    QCOMPARE(message.title, QStringLiteral("Qel 2005"));
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QCOMPARE(text("Status"), QStringLiteral("Done"));
    QCOMPARE(fileList().count(), 0);
}

namespace {

QStringList manyFolders(int folders) {
    QStringList entries;
    for (int i = 0; i < folders; ++i) {
        entries << QStringLiteral("f%1/a.QEL").arg(i) << QStringLiteral("f%1/g/b.QEL").arg(i);
    }
    return entries;
}

} // namespace

void TestFileSearchWindow::stopAndDriveChange() {
    // Enough folders that the walk is still going when Stop is pressed right after Find.
    FolderTree tree(manyFolders(300));
    FoundFiles all;
    SearchFolder(all).run(tree.root(), QStringLiteral("*.QEL"), QString());
    m_platform->setDrives({tree.root(), m_app->root()});
    m_window->showSearchMode();

    child<QPushButton>("Find")->click();
    child<QPushButton>("StopSearch")->click();
    QCOMPARE(text("Files"), QString());
    waitForTheSearch();
    QCOMPARE(text("Status"), QStringLiteral("Done"));
    // What was found before Stop, in the search's order, and not the whole tree.
    QVERIFY(fileList().count() < all.paths.size());
    QCOMPARE(items(fileList()), all.paths.mid(0, fileList().count()));
    QCOMPARE(text("FundFileNumber"), QString::number(fileList().count()));

    // Choosing another drive presses Stop.
    child<QPushButton>("Find")->click();
    QCOMPARE(text("Files"), QStringLiteral("*.QEL"));
    child<QComboBox>("Drives")->setCurrentIndex(1);
    QCOMPARE(text("Files"), QString());
    waitForTheSearch();
    QCOMPARE(text("Status"), QStringLiteral("Done"));
    QVERIFY(fileList().count() < all.paths.size());
}

void TestFileSearchWindow::closingEndsTheSearch() {
    FolderTree tree(manyFolders(60));
    m_platform->setDrives({tree.root()});
    m_window->showSearchMode();
    child<QPushButton>("Find")->click();
    m_window->close();
    QVERIFY(!m_window->isSearching());
    const int listed = fileList().count();
    QTest::qWait(50);
    QCOMPARE(fileList().count(), listed);
    QVERIFY(text("Status") != QStringLiteral("Done"));
}

void TestFileSearchWindow::selectingAnEntry() {
    listTheDefaultFolder();
    clickEntry(1);
    const QString path = m_folder->qelFolder() + "/sub/two.qel";
    QCOMPARE(m_window->windowTitle(), QStringLiteral("two.qel"));
    QCOMPARE(fileList().toolTip(), path);
    auto* fileNameList = m_window->findChild<FileNameList*>("FileNameList");
    QCOMPARE(fileNameList->path(), m_folder->qelFolder() + "/sub");
    QCOMPARE(fileNameList->fileName(), QStringLiteral("two.qel"));
    // Moving through the list with the keyboard selects too.
    QTest::keyClick(&fileList(), Qt::Key_Up);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("one.QEL"));
    QVERIFY(m_host.calls.isEmpty());
}

void TestFileSearchWindow::openingAFoundFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("double-click") << "double-click";
    QTest::newRow("a letter") << "x";
    QTest::newRow("a digit") << "7";
    QTest::newRow("Enter") << "enter";
}

void TestFileSearchWindow::openingAFoundFile() {
    QFETCH(QString, how);
    listTheDefaultFolder();
    m_app->add({"System/Temp/scratch.tmp"});
    clickEntry(0);
    QListWidget& list = fileList();
    if (how == u"double-click") {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                           list.visualItemRect(list.item(0)).center());
    } else if (how == u"enter") {
        QTest::keyClick(&list, Qt::Key_Return);
    } else {
        QTest::keyClicks(&list, how);
    }
    const QString path = m_folder->qelFolder() + "/one.QEL";
    QCOMPARE(m_host.calls, (QStringList{"NEWLIST", "open " + path + " as one.QEL"}));
    QCOMPARE(m_host.statusTipDuringOpen, QStringLiteral("one.QEL"));
    QCOMPARE(child<QLabel>("Status")->toolTip(), QStringLiteral("one.QEL"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("one.QEL"));
    QCOMPARE(text("Files"), QString());
    QVERIFY(QDir(m_folder->tempFolder()).isEmpty());
    // The list stays as it was.
    QCOMPARE(list.count(), 2);
}

void TestFileSearchWindow::saveChangesAnswers_data() {
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Cancel") << MessageButton::Cancel << false;
    QTest::newRow("No") << MessageButton::No << true;
    QTest::newRow("Yes") << MessageButton::Yes << true;
}

void TestFileSearchWindow::saveChangesAnswers() {
    QFETCH(MessageButton, answer);
    QFETCH(bool, opens);
    listTheDefaultFolder();
    m_app->add({"System/Temp/scratch.tmp"});
    clickEntry(1);
    const QStringList listed = items(fileList());
    m_host.unsavedChanges = true;
    m_platform->answerMessageBox(answer);
    QTest::mouseDClick(fileList().viewport(), Qt::LeftButton, {},
                       fileList().visualItemRect(fileList().item(1)).center());

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    QCOMPARE(m_platform->messageBoxes().front().text, QStringLiteral("Save Changes?"));
    const QString path = m_folder->qelFolder() + "/sub/two.qel";
    QStringList calls{"NEWLIST"};
    if (opens) {
        calls << "open " + path + " as two.qel";
    }
    QCOMPARE(m_host.calls, calls);
    QCOMPARE(QDir(m_folder->tempFolder()).isEmpty(), opens);
    // The mark is taken away with the answer; the window is as it was.
    QCOMPARE(m_window->findChild<FileNameList*>("FileNameList")->tag(), QString());
    QVERIFY(m_window->isVisible());
    QCOMPARE(items(fileList()), listed);
    QCOMPARE(fileList().currentRow(), 1);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("two.qel"));
    QCOMPARE(text("Status"), QStringLiteral("Done"));
}

void TestFileSearchWindow::aMarkFromAnEarlierNewIsNoAnswer() {
    listTheDefaultFolder();
    // New cancelled in the database window while this window was open.
    m_window->markCancel();
    clickEntry(0);
    QTest::keyClick(&fileList(), Qt::Key_A);
    QCOMPARE(m_host.calls.size(), 2);
}

void TestFileSearchWindow::nothingSelectedNothingHappens() {
    listTheDefaultFolder();
    fileList().setFocus();
    QTest::keyClick(&fileList(), Qt::Key_A);
    QTest::keyClick(&fileList(), Qt::Key_Return);
    QVERIFY(m_host.calls.isEmpty());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database"));
}

void TestFileSearchWindow::closingStoresThePlace_data() {
    QTest::addColumn<Qt::WindowState>("state");
    QTest::addColumn<QStringList>("stored"); // state, left, top, width, height
    QTest::newRow("normal") << Qt::WindowNoState << QStringList{"0", "450", "600", "7500", "4500"};
    QTest::newRow("minimised, restored first")
        << Qt::WindowMinimized << QStringList{"0", "450", "600", "7500", "4500"};
    QTest::newRow("maximised, with the place it goes back to")
        << Qt::WindowMaximized << QStringList{"2", "450", "600", "7500", "4500"};
}

void TestFileSearchWindow::closingStoresThePlace() {
    QFETCH(Qt::WindowState, state);
    QFETCH(QStringList, stored);
    m_window->showSearchMode();
    WindowFrame::setFrame(*m_window, QRect(30, 40, 500, 300));
    m_window->setWindowState(state);
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QCOMPARE((QStringList{m_settings.frmFileSearchWindowState, m_settings.frmFileSearchLeft,
                          m_settings.frmFileSearchTop, m_settings.frmFileSearchWidth,
                          m_settings.frmFileSearchHeight}),
             stored);
    QCOMPARE(m_window->isMinimized(), false);
}

void TestFileSearchWindow::showingAgainUnloadsFirst() {
    // Not shown: nothing to unload, nothing stored.
    m_window->unload();
    QCOMPARE(m_settings, SettingsRecord());

    listTheDefaultFolder();
    clickEntry(0);
    // The list mode's docked place is stored as the window unloads, and the search mode
    // starts from it, widened to its minimum.
    m_window->showSearchMode();
    QCOMPARE(m_settings.frmFileSearchLeft, QStringLiteral("0"));
    QCOMPARE(m_settings.frmFileSearchWidth, QStringLiteral("3000"));
    QCOMPARE(m_window->frameGeometry(), QRect(0, 40, 320, 500));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Search"));
    QCOMPARE(fileList().count(), 0);
    QCOMPARE(text("FundFileNumber"), QStringLiteral("0"));
    QCOMPARE(text("Status"), QString());
    QCOMPARE(fileList().toolTip(), QString());

    // The database window closing unloads it.
    m_window->move(15, 30);
    m_window->unload();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_settings.frmFileSearchLeft, QStringLiteral("225"));
}

void TestFileSearchWindow::layoutRule_data() {
    QTest::addColumn<QList<int>>("window"); // width, height, the list's height now
    QTest::addColumn<FileSearchLayout::Placement>("expected");
    FileSearchLayout::Placement defaults;
    defaults.listWidth = 4500;
    defaults.listHeight = 4410;
    defaults.countersTop = 4790;
    defaults.fundFileNumberTop = 4960;
    defaults.lastFoundFileTop = 5210;
    defaults.lastFoundFileWidth = 4500;
    defaults.findLeft = 2800;
    defaults.stopSearchLeft = 3750;
    QTest::newRow("default size") << QList<int>{4800, 6210, 0} << defaults;

    FileSearchLayout::Placement docked = defaults;
    docked.listWidth = 2700;
    docked.lastFoundFileWidth = 2700;
    docked.findLeft = 1000;
    docked.stopSearchLeft = 1950;
    QTest::newRow("docked") << QList<int>{3000, 6210, 0} << docked;

    // Too small for the rule: the sizes stay, the rows follow the list as it is.
    FileSearchLayout::Placement tiny;
    tiny.countersTop = 900 + 380;
    tiny.fundFileNumberTop = 900 + 550;
    tiny.lastFoundFileTop = 900 + 800;
    tiny.findLeft = 200 - 2000;
    tiny.stopSearchLeft = 200 - 1050;
    QTest::newRow("minimised") << QList<int>{200, 1000, 900} << tiny;
}

void TestFileSearchWindow::layoutRule() {
    QFETCH(QList<int>, window);
    QFETCH(FileSearchLayout::Placement, expected);
    QCOMPARE(FileSearchLayout::reposition(window[0], window[1], window[2]), expected);
}

void TestFileSearchWindow::layoutOnResize() {
    m_window->showSearchMode();
    WindowFrame::setFrame(*m_window, QRect(0, 0, 480, 600)); // 7,200 x 9,000 twips
    QCOMPARE(fileList().size(), QSize(460, 480));
    QCOMPARE(child("Find")->pos(), QPoint(347, 505));
    QCOMPARE(child("StopSearch")->pos(), QPoint(410, 505));
    QCOMPARE(child("Label2")->y(), 505);
    QCOMPARE(child("FileNumber")->y(), 505);
    QCOMPARE(child("FundFileNumber")->y(), 517);
    QCOMPARE(child("LastFoundFile")->geometry().topLeft().y(), 533);
    QCOMPARE(child("LastFoundFile")->width(), 460);
}

// Label2 sits beside the two counters: its second line is the found files' row.
void TestFileSearchWindow::label2Wraps_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("search mode") << "Check File  Matching File " << 17
                                 << QStringList{"Check File  ", "Matching File "};
    QTest::newRow("list mode: the blanks fill the first line")
        << "                      Total  Databases " << 17
        << QStringList{QString(22, u' '), "Total  Databases "};
    QTest::newRow("a word wider than the label keeps its line")
        << "Matching File" << 4 << QStringList{"Matching ", "File"};
    QTest::newRow("wide enough for one line") << "Check File" << 40 << QStringList{"Check File"};
}

void TestFileSearchWindow::label2Wraps() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    const auto characters = [](const QString& part) { return int(part.size()); };
    QCOMPARE(WrappingLabel::lines(text, width, characters), lines);
}

// For review: both modes, in the build folder.
void TestFileSearchWindow::snapshots() {
    const QString folder = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QStringLiteral("."));
    listTheDefaultFolder();
    clickEntry(1);
    QVERIFY(m_window->grab().save(folder + QStringLiteral("/file_search_list_mode.png")));

    FolderTree drive({"Databases/clients.QEL", "Databases/old/2004.qel", "work/orders.QEL"});
    m_platform->setDrives({drive.root()});
    m_window->showSearchMode();
    child<QPushButton>("Find")->click();
    waitForTheSearch();
    clickEntry(0);
    QVERIFY(m_window->grab().save(folder + QStringLiteral("/file_search_search_mode.png")));
}

QTEST_MAIN(TestFileSearchWindow)
#include "tst_filesearchwindow.moc"
