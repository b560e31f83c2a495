#include "gridview/List.h"
#include "qelfile/DatabaseFile.h"
#include "settings/FileChecks.h"
#include "settings/SettingsRecord.h"
#include "support/ScriptedPlatform.h"
#include "table/Table.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/frmItems.h"
#include "ui/search/frmFileSearch.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

void makeDatabase(const QString& path, const QString& text) {
    Table table;
    table.SetColumnHeader(1, QStringLiteral("A"));
    table.resetRows(2);
    table.setCellText(1, 1, text);
    DatabaseFile file(table);
    if (!file.SaveFileAs(path).ok()) {
        qFatal("the test's database could not be written");
    }
}

} // namespace

/// The file search window with the database window it opens files in: the question before a
/// found file replaces unsaved changes, and the two windows side by side.
class TestSearchWithDatabase : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingAFoundFileOverChanges_data();
    void openingAFoundFileOverChanges();
    void foundFileOpensEditable();
    void closingTheDatabaseWindowUnloadsTheSearch();
    void snapshotsBesideTheDatabaseWindow();

private:
    frmFileSearch* search() const { return m_window->findChild<frmFileSearch*>(); }
    void waitForTheSearch(frmFileSearch& window) {
        if (window.isSearching()) {
            QSignalSpy finished(&window, &frmFileSearch::searchFinished);
            QVERIFY(finished.wait(10000));
        }
    }
    frmFileSearch& listMode();

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_folder;
    SettingsRecord m_settings;
    std::unique_ptr<DatabaseSession> m_session;
    std::unique_ptr<frmItems> m_window;
    frmFileSearch* m_search = nullptr;
};

void TestSearchWithDatabase::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_folder = std::make_unique<QTemporaryDir>();
    m_settings = SettingsRecord();
    m_session.reset(new DatabaseSession{m_settings, AppFolder(m_folder->path())});
    m_window = std::make_unique<frmItems>(*m_session);
    m_window->resize(520, 400);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    makeDatabase(m_session->folder.qelFolder() + QStringLiteral("/found.QEL"),
                 QStringLiteral("from the file"));
}

void TestSearchWithDatabase::cleanup() {
    m_window.reset();
    m_session.reset();
    m_folder.reset();
    m_platform.reset();
}

frmFileSearch& TestSearchWithDatabase::listMode() {
    m_window->findChild<QToolButton*>(QStringLiteral("cmdList"))->click();
    frmFileSearch* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<frmFileSearch*>(top); found && found->isVisible()) {
            window = found;
        }
    }
    if (!window) {
        qFatal("the search window did not show");
    }
    waitForTheSearch(*window);
    return *window;
}

void TestSearchWithDatabase::openingAFoundFileOverChanges_data() {
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<bool>("saveDone");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Yes, saved") << MessageButton::Yes << true << true;
    QTest::newRow("Yes, but the save is cancelled") << MessageButton::Yes << false << false;
    QTest::newRow("No") << MessageButton::No << false << true;
    QTest::newRow("Cancel") << MessageButton::Cancel << false << false;
}

void TestSearchWithDatabase::openingAFoundFileOverChanges() {
    QFETCH(MessageButton, answer);
    QFETCH(bool, saveDone);
    QFETCH(bool, opens);
    frmFileSearch& window = listMode();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("FileList"));
    QCOMPARE(list->count(), 1);
    m_window->List1().ChangeItem(1, 1, QStringLiteral("unsaved"));
    m_platform->answerMessageBox(answer);
    if (answer == MessageButton::Yes) {
        if (saveDone) {
            m_window->menuItem(QStringLiteral("password"))->setChecked(false);
            m_platform->answerSaveDialog(m_folder->filePath(QStringLiteral("mine")));
            m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
        } else {
            m_platform->cancelSaveDialog();
        }
    }
    const QPoint entry = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);

    QVERIFY(!m_platform->messageBoxes().isEmpty());
    QCOMPARE(m_platform->messageBoxes().front().text, QStringLiteral("Save Changes?"));
    QCOMPARE(m_window->List1().GetItem(1, 1),
             opens ? QStringLiteral("from the file") : QStringLiteral("unsaved"));
    QCOMPARE(m_window->lblChangeStatus(), opens ? QStringLiteral("0") : QStringLiteral("1"));
    if (opens) {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [ found.QEL ]"));
        QCOMPARE(m_settings.frmItemsfile[saveDone ? 1 : 0].name, QStringLiteral("found.QEL"));
    }
    QCOMPARE(General::FileExists(m_folder->filePath(QStringLiteral("mine.QEL"))), saveDone);
    QVERIFY(window.isVisible());
    m_platform->verifyAllAnswered();
}

// A found file opens editable whatever the window held before (here a file opened read-only):
// every column and the edit controls enabled, row 1 current, the progress frame hidden with the
// caption it leaves after a found file.
void TestSearchWithDatabase::foundFileOpensEditable() {
    const QString locked = m_folder->filePath(QStringLiteral("locked.QEL"));
    makeDatabase(locked, QStringLiteral("read only"));
    m_platform->answerOpenDialog(locked, true);
    m_window->menuItem(QStringLiteral("open"))->trigger();
    QVERIFY(!m_window->List1().table().columnEditable(1));
    QVERIFY(!m_window->menuItem(QStringLiteral("save"))->isEnabled());

    frmFileSearch& window = listMode();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("FileList"));
    QCOMPARE(list->count(), 1);
    const QPoint entry = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);

    List& grid = m_window->List1();
    QCOMPARE(grid.GetItem(1, 1), QStringLiteral("from the file"));
    QVERIFY(grid.table().columnEditable(1));
    QVERIFY(m_window->menuItem(QStringLiteral("save"))->isEnabled());
    QVERIFY(m_window->menuItem(QStringLiteral("saveas"))->isEnabled());
    QCOMPARE(grid.iSelected(), 1);
    QVERIFY(grid.isVisible());
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("PleaseWait"))->isVisible());
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("PleaseWaitCaption"))->text(),
             QStringLiteral("QeL 2005 is exporting data into Microsoft Excel file:"));
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    m_platform->verifyAllAnswered();
}

// The search window lives only as long as the database window that showed it.
void TestSearchWithDatabase::closingTheDatabaseWindowUnloadsTheSearch() {
    QPointer<frmFileSearch> window = &listMode();
    QVERIFY(window->isVisible());
    QVERIFY(m_window->close());
    QVERIFY(!window || !window->isVisible());
}

// For review: each mode of the search window beside the database window, in one picture.
void TestSearchWithDatabase::snapshotsBesideTheDatabaseWindow() {
    const QString folder = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QStringLiteral("."));
    const auto picture = [&](frmFileSearch& window, const QString& name) {
        const QPixmap left = window.grab();
        const QPixmap right = m_window->grab();
        QPixmap both(left.width() + right.width(), std::max(left.height(), right.height()));
        both.fill(Qt::white);
        QPainter painter(&both);
        painter.drawPixmap(0, 0, left);
        painter.drawPixmap(left.width(), 0, right);
        painter.end();
        QVERIFY(both.save(folder + QLatin1Char('/') + name));
    };
    picture(listMode(), QStringLiteral("file_search_list_mode_beside_database.png"));
    m_window->findChild<QToolButton*>(QStringLiteral("cmdFindFiles"))->click();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<frmFileSearch*>(top); found && found->isVisible()) {
            picture(*found, QStringLiteral("file_search_search_mode_beside_database.png"));
        }
    }
}

QTEST_MAIN(TestSearchWithDatabase)
#include "tst_searchwithdatabase.moc"
