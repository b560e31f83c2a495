#include "gridview/List.h"
#include "qelfile/DatabaseFile.h"
#include "settings/SettingsFile.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"
#include "ui/database/frmItems.h"
#include "ui/shell/StoredPlaceWatch.h"
#include "ui/shell/frmBalance.h"
#include "ui/shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QColor kBrown(111, 55, 0);
const QColor kYellow(255, 255, 0);

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QColor textColour(const QWidget* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

/// The start window driven as a user drives it, in a temporary application folder, every
/// dialog scripted; ending the application is counted, not done.
class TestStartWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsInNavigationMode();
    void exactPasswordCheck_data();
    void exactPasswordCheck();
    void fourWrongAnswersLeaveThePromptUsable();
    void fifthWrongAnswerEndsTheApplication();
    void cancelEndsWithoutWritingTheSettings();
    void closingWritesTheSettingsAndEnds_data();
    void closingWritesTheSettingsAndEnds();
    void linksUnderTheMouse();
    void homePageOpensTheAboutPage_data();
    void homePageOpensTheAboutPage();
    void securityComesToTheFront();
    void databaseWindowTakesTheStoredState();
    void storedGeometryReappliedOnSecondDatabase();
    void storedPlaceOnceTheFrameIsKnown();
    void closedDatabaseWindowComesBackFresh();
    void databaseWindowClosedWhileReading();
    void unsavedChangesQuestionOnClose_data();
    void unsavedChangesQuestionOnClose();
    void fileNamedAtStart_data();
    void fileNamedAtStart();
    void snapshots();

private:
    AppFolder folder() const { return AppFolder(m_root->path()); }
    /// Writes the settings file as a previous run left it.
    void storeSettings(const SettingsRecord& record) {
        folder().EnsureFolders();
        QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    }
    void storePassword(const QString& password) {
        SettingsRecord record;
        record.CURRENTPASSWORD = password;
        storeSettings(record);
    }
    /// Starts the application: its start window, shown.
    void start();
    template <typename T = QWidget> T* child(const QString& name) const {
        return m_main->findChild<T*>(name);
    }
    void click(const QString& name) {
        QTest::mouseClick(child(name), Qt::LeftButton, {}, child(name)->rect().center());
    }
    QLineEdit* passwordBox() const { return child<QLineEdit>(QStringLiteral("txtpassword")); }
    void typePassword(const QString& text) {
        passwordBox()->setFocus();
        QTest::keyClicks(passwordBox(), text);
        QTest::keyClick(passwordBox(), Qt::Key_Return);
    }
    bool inPasswordMode() const;
    bool inNavigationMode() const;
    QString settingsFile() const { return folder().settingsFile(); }
    SettingsRecord storedSettings() const {
        SettingsRecord record;
        (void)SettingsFile::decode(contentOf(settingsFile()), record);
        return record;
    }

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<frmMain> m_main;
};

void TestStartWindow::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_root = std::make_unique<QTemporaryDir>();
}

void TestStartWindow::cleanup() {
    m_main.reset();
    m_root.reset();
    m_platform.reset();
}

void TestStartWindow::start() {
    m_main = std::make_unique<frmMain>(folder(), [] { return true; });
    m_main->show();
    QApplication::setActiveWindow(m_main.get());
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

bool TestStartWindow::inPasswordMode() const {
    for (const char* name :
         {"lblPlease", "txtpassword", "OKSecurity", "CancelSecurity", "ImageKey", "VyxWebpage"}) {
        if (!child(QString::fromLatin1(name))->isVisible()) {
            return false;
        }
    }
    return !child(QStringLiteral("lblItems"))->isVisible() &&
           !child(QStringLiteral("lblBalance"))->isVisible();
}

bool TestStartWindow::inNavigationMode() const {
    for (const char* name :
         {"lblPlease", "txtpassword", "OKSecurity", "CancelSecurity", "ImageKey"}) {
        if (child(QString::fromLatin1(name))->isVisible()) {
            return false;
        }
    }
    return child(QStringLiteral("lblItems"))->isVisible() &&
           child(QStringLiteral("lblBalance"))->isVisible() &&
           child(QStringLiteral("VyxWebpage"))->isVisible();
}

// No general password: the links at once, the folders made and the settings read.
void TestStartWindow::startsInNavigationMode() {
    SettingsRecord record;
    record.frmItemsLeft = QStringLiteral("2250");
    storeSettings(record);
    QFile stray(folder().tempFolder() + QStringLiteral("/left.over"));
    QVERIFY(stray.open(QIODevice::WriteOnly));
    stray.close();
    start();
    QVERIFY(inNavigationMode());
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Qel 2005"));
    QCOMPARE(m_main->size(), QSize(465, 358));
    for (const QString& made :
         {folder().tempFolder(), folder().soundFolder(), folder().qelFolder()}) {
        QVERIFY2(QFileInfo(made).isDir(), qPrintable(made));
    }
    QCOMPARE(m_main->settings().frmItemsLeft, QStringLiteral("2250"));
    QCOMPARE(m_main->settings().lblEXCELSTATUS, QStringLiteral("RADI"));
    // Reading the settings empties the scratch folder.
    QVERIFY(!stray.exists());
    QVERIFY(!m_main->securityWindow().isVisible());
    QVERIFY(m_platform->dialogs().isEmpty());
    QCOMPARE(child<QLabel>(QStringLiteral("lblItems"))->text(), QStringLiteral("Database"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblBalance"))->text(), QStringLiteral("Security"));
    QCOMPARE(child<QLabel>(QStringLiteral("VyxWebpage"))->text(), QStringLiteral("Home Page"));
}

void TestStartWindow::exactPasswordCheck_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the password") << "Open Sesame" << true;
    QTest::newRow("another letter case") << "open sesame" << false;
    QTest::newRow("a part of it") << "Open" << false;
    QTest::newRow("a blank more") << "Open Sesame " << false;
    QTest::newRow("nothing") << "" << false;
}

// Enter checks the whole text, letter case included; OK does the same.
void TestStartWindow::exactPasswordCheck() {
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    storePassword(QStringLiteral("Open Sesame"));
    start();
    QVERIFY(inPasswordMode());
    QCOMPARE(passwordBox()->text(), QString());
    QCOMPARE(passwordBox()->echoMode(), QLineEdit::Password);
    if (!accepted) {
        m_platform->answerMessageBox(MessageButton::Retry);
    }
    typePassword(typed);
    QCOMPARE(inNavigationMode(), accepted);
    if (!accepted) {
        const MessageBoxRequest said = m_platform->messageBoxes().front();
        QCOMPARE(said.text, QStringLiteral("Your Password is not valid!"));
        QCOMPARE(said.title, QStringLiteral("Qel 2005"));
        QCOMPARE(said.buttons, MessageButtons::RetryCancel);
        // The picture button checks as Enter does.
        QTest::keyClicks(passwordBox(), QStringLiteral("Open Sesame"));
        click(QStringLiteral("OKSecurity"));
        QVERIFY(inNavigationMode());
    }
    QCOMPARE(m_platform->endProcessCalls(), 0);
    m_platform->verifyAllAnswered();
}

// Each wrong answer counts on the key's tooltip; Retry empties the prompt and keeps it usable,
// and a right answer afterwards still gets in (the count stays).
void TestStartWindow::fourWrongAnswersLeaveThePromptUsable() {
    storePassword(QStringLiteral("key"));
    start();
    auto* key = child(QStringLiteral("ImageKey"));
    QCOMPARE(key->toolTip(), QStringLiteral("0"));
    for (int attempt = 1; attempt <= 4; ++attempt) {
        m_platform->answerMessageBox(MessageButton::Retry);
        typePassword(QStringLiteral("wrong %1").arg(attempt));
        QCOMPARE(passwordBox()->text(), QString());
        QVERIFY(passwordBox()->hasFocus());
        QCOMPARE(key->toolTip(), QString::number(attempt));
        QVERIFY(inPasswordMode());
    }
    QCOMPARE(m_main->FailedAttempts(), 4);
    typePassword(QStringLiteral("key"));
    QVERIFY(inNavigationMode());
    QCOMPARE(m_main->FailedAttempts(), 4);
    QCOMPARE(m_platform->endProcessCalls(), 0);
    m_platform->verifyAllAnswered();
}

// The fifth wrong answer is said once more and ends the application at once: nothing written.
void TestStartWindow::fifthWrongAnswerEndsTheApplication() {
    storePassword(QStringLiteral("key"));
    const QByteArray stored = contentOf(settingsFile());
    start();
    m_main->settings().frmItemsLeft = QStringLiteral("4500");
    for (int attempt = 1; attempt <= 5; ++attempt) {
        m_platform->answerMessageBox(MessageButton::Retry);
    }
    m_platform->answerMessageBox(MessageButton::Ok);
    for (int attempt = 1; attempt <= 5; ++attempt) {
        typePassword(QStringLiteral("Key"));
        QCOMPARE(m_platform->endProcessCalls(), attempt == 5 ? 1 : 0);
    }
    const MessageBoxRequest last = m_platform->messageBoxes().back();
    QCOMPARE(last.text, QStringLiteral("Invalid Passwords!"));
    QCOMPARE(last.icon, MessageIcon::Critical);
    QCOMPARE(last.title, QStringLiteral("Qel 2005"));
    QCOMPARE(m_platform->messageBoxes().size(), 6);
    QVERIFY(!m_main->isVisible());
    QCOMPARE(contentOf(settingsFile()), stored);
    m_platform->verifyAllAnswered();
}

void TestStartWindow::cancelEndsWithoutWritingTheSettings() {
    storePassword(QStringLiteral("key"));
    const QByteArray stored = contentOf(settingsFile());
    start();
    m_main->settings().frmItemsLeft = QStringLiteral("4500");
    m_platform->answerMessageBox(MessageButton::Cancel);
    typePassword(QStringLiteral("nope"));
    QCOMPARE(m_platform->endProcessCalls(), 1);
    QCOMPARE(m_main->FailedAttempts(), 0);
    QVERIFY(!m_main->isVisible());
    QVERIFY(!m_main->securityWindow().isVisible());
    QCOMPARE(contentOf(settingsFile()), stored);
    m_platform->verifyAllAnswered();
}

void TestStartWindow::closingWritesTheSettingsAndEnds_data() {
    QTest::addColumn<bool>("cancelPicture");
    QTest::newRow("the window closed") << false;
    QTest::newRow("the Cancel picture") << true;
}

// Closing writes the record and ends the application; the other windows go without their own
// closing steps (the database window does not store its place).
void TestStartWindow::closingWritesTheSettingsAndEnds() {
    QFETCH(bool, cancelPicture);
    if (cancelPicture) {
        storePassword(QStringLiteral("key"));
    }
    start();
    m_main->settings().frmItemsLeft = QStringLiteral("4500");
    if (cancelPicture) {
        click(QStringLiteral("CancelSecurity"));
    } else {
        click(QStringLiteral("lblItems"));
        frmItems* items = m_main->databaseWindow();
        QVERIFY(items);
        items->move(items->pos() + QPoint(40, 40));
        m_main->close();
        QVERIFY(!items->isVisible());
    }
    QCOMPARE(m_platform->endProcessCalls(), 1);
    QVERIFY(!m_main->isVisible());
    QCOMPARE(storedSettings().frmItemsLeft, QStringLiteral("4500"));
    QCOMPARE(storedSettings().CURRENTPASSWORD, cancelPicture ? QStringLiteral("key") : QString());
    m_platform->verifyAllAnswered();
}

// Brown links turn yellow under the mouse and brown again over the background.
void TestStartWindow::linksUnderTheMouse() {
    start();
    QWidget* database = child(QStringLiteral("lblItems"));
    QWidget* security = child(QStringLiteral("lblBalance"));
    QWidget* home = child(QStringLiteral("VyxWebpage"));
    for (const QWidget* link : {database, security, home}) {
        QCOMPARE(textColour(link), kBrown);
    }
    QCOMPARE(home->font().family(), QStringLiteral("Comic Sans MS"));
    QTest::mouseMove(database, database->rect().center());
    QTRY_COMPARE(textColour(database), kYellow);
    // Moving within the link keeps it yellow; another link turns yellow too.
    QTest::mouseMove(database, database->rect().center() + QPoint(3, 0));
    QCOMPARE(textColour(database), kYellow);
    QTest::mouseMove(home, home->rect().center());
    QTRY_COMPARE(textColour(home), kYellow);
    QTest::mouseMove(m_main.get(), QPoint(400, 200));
    QTRY_COMPARE(textColour(home), kBrown);
    QCOMPARE(textColour(database), kBrown);
}

void TestStartWindow::homePageOpensTheAboutPage_data() {
    QTest::addColumn<bool>("desktopTakesIt");
    QTest::newRow("opened") << true;
    QTest::newRow("the desktop refuses") << false;
}

// The application's own page, a local file shipped with it; a refusal is not said.
void TestStartWindow::homePageOpensTheAboutPage() {
    QFETCH(bool, desktopTakesIt);
    m_platform->setOpenUrlResult(desktopTakesIt);
    storePassword(QStringLiteral("key"));
    start();
    click(QStringLiteral("VyxWebpage"));
    QCOMPARE(m_platform->openedUrls().size(), 1);
    const QUrl page = m_platform->openedUrls().front();
    QVERIFY(page.isLocalFile());
    QVERIFY2(page.toLocalFile().endsWith(QStringLiteral("/about/index.html")),
             qPrintable(page.toLocalFile()));
    QVERIFY(contentOf(page.toLocalFile()).contains("Qel 2005"));
    QVERIFY(m_platform->dialogs().isEmpty());
    QVERIFY(inPasswordMode());
}

// "Security", and "Edit General Password" in the database window, bring the security window
// up, also when it is already shown.
void TestStartWindow::securityComesToTheFront() {
    start();
    frmBalance& security = m_main->securityWindow();
    QVERIFY(!security.isVisible());
    click(QStringLiteral("lblBalance"));
    QVERIFY(security.isVisible());
    // Shown again: hidden first, then shown.
    int hides = 0;
    class HideCounter final : public QObject {
    public:
        explicit HideCounter(int& hides) : m_hides(hides) {}
        bool eventFilter(QObject*, QEvent* event) override {
            m_hides += event->type() == QEvent::Hide ? 1 : 0;
            return false;
        }

    private:
        int& m_hides;
    } counter(hides);
    security.installEventFilter(&counter);
    click(QStringLiteral("lblBalance"));
    QCOMPARE(hides, 1);
    QVERIFY(security.isVisible());

    security.findChild<QWidget*>(QStringLiteral("Close"))->setFocus();
    QTest::mouseClick(security.findChild<QWidget*>(QStringLiteral("Close")), Qt::LeftButton);
    QVERIFY(!security.isVisible());
    click(QStringLiteral("lblItems"));
    m_main->databaseWindow()->menuItem(QStringLiteral("generalpassword"))->trigger();
    QVERIFY(security.isVisible());
    security.removeEventFilter(&counter);
}

// "Database" gives a new database window the stored state, place, bars and recent files.
void TestStartWindow::databaseWindowTakesTheStoredState() {
    SettingsRecord record;
    record.frmItemsLeft = QStringLiteral("1500");
    record.frmItemsTop = QStringLiteral("1200");
    record.frmItemsWidth = QStringLiteral("9000");
    record.frmItemsHeight = QStringLiteral("6000");
    record.frmItemstoolbarchecked = QStringLiteral("False");
    record.frmItemsfile[1] = {QStringLiteral("/nowhere/b.QEL"), QStringLiteral("b.QEL")};
    storeSettings(record);
    start();
    click(QStringLiteral("lblItems"));
    frmItems* items = m_main->databaseWindow();
    QVERIFY(items);
    QVERIFY(items->isVisible());
    QCOMPARE(items->frameGeometry(), QRect(100, 80, 600, 400));
    QVERIFY(!items->menuItem(QStringLiteral("toolbar"))->isChecked());
    QVERIFY(!items->findChild<QWidget*>(QStringLiteral("mainbar"))->isVisible());
    QVERIFY(items->menuItem(QStringLiteral("textbar"))->isChecked());
    QVERIFY(!items->menuItem(QStringLiteral("file1"))->isVisible());
    QVERIFY(items->menuItem(QStringLiteral("file2"))->isVisible());
    QCOMPARE(items->menuItem(QStringLiteral("file2"))->text(), QStringLiteral("b.QEL"));
    // The start window stays behind it.
    QVERIFY(m_main->isVisible());
}

// A second "Database" puts the window back where the settings say: they change only when the
// database window closes.
void TestStartWindow::storedGeometryReappliedOnSecondDatabase() {
    SettingsRecord record;
    record.frmItemsLeft = QStringLiteral("1500");
    record.frmItemsTop = QStringLiteral("1200");
    record.frmItemsWidth = QStringLiteral("9000");
    record.frmItemsHeight = QStringLiteral("6000");
    storeSettings(record);
    start();
    click(QStringLiteral("lblItems"));
    frmItems* items = m_main->databaseWindow();
    items->List1().ChangeItem(1, 1, QStringLiteral("kept"));
    items->setGeometry(200, 150, 500, 300);
    click(QStringLiteral("lblItems"));
    QCOMPARE(m_main->databaseWindow(), items);
    QCOMPARE(items->frameGeometry(), QRect(100, 80, 600, 400));
    QCOMPARE(items->List1().GetItem(1, 1), QStringLiteral("kept"));
    QCOMPARE(m_main->settings().frmItemsLeft, QStringLiteral("1500"));
}

// A window sized before its frame's border was known takes its stored outer size again once
// the border is known, and only then: afterwards it is the user's.
void TestStartWindow::storedPlaceOnceTheFrameIsKnown() {
    SettingsRecord settings;
    settings.frmItemsLeft = QStringLiteral("1500");
    settings.frmItemsTop = QStringLiteral("1200");
    settings.frmItemsWidth = QStringLiteral("9000");
    settings.frmItemsHeight = QStringLiteral("6000");
    DatabaseSession session{.settings = settings, .folder = folder()};
    frmItems items(session);
    items.applyStoredState();
    StoredPlaceWatch::start(items);
    QCOMPARE(items.size(), QSize(600, 400)); // no border known yet
    items.show();
    QVERIFY(QTest::qWaitForWindowExposed(&items));
    QVERIFY(items.frameGeometry().size() != items.size());
    QCOMPARE(items.frameGeometry(), QRect(100, 80, 600, 400));
    QApplication::setActiveWindow(&items);
    QVERIFY(QTest::qWaitForWindowActive(&items));
    QVERIFY(!items.findChild<StoredPlaceWatch*>());
    items.resize(300, 200);
    QCOMPARE(items.size(), QSize(300, 200));
}

// Closing the database window stores its place and shows the start window; the next
// "Database" opens a fresh window there.
void TestStartWindow::closedDatabaseWindowComesBackFresh() {
    start();
    click(QStringLiteral("lblItems"));
    frmItems* items = m_main->databaseWindow();
    items->List1().ChangeItem(1, 1, QStringLiteral("gone"));
    items->setChangeStatus(QStringLiteral("0"));
    items->setGeometry(210, 120, 480, 330);
    items->menuItem(QStringLiteral("toolbar"))->trigger(); // the toolbar hidden
    const QRect frame = items->frameGeometry();
    m_main->hide();
    items->close();
    QVERIFY(!m_main->databaseWindow());
    QVERIFY(m_main->isVisible());
    const SettingsRecord& stored = m_main->settings();
    QCOMPARE(stored.frmItemsWindowState, QStringLiteral("0"));
    QCOMPARE(stored.frmItemsLeft, QString::number(frame.left() * 15));
    QCOMPARE(stored.frmItemsTop, QString::number(frame.top() * 15));
    QCOMPARE(stored.frmItemsWidth, QString::number(frame.width() * 15));
    QCOMPARE(stored.frmItemsHeight, QString::number(frame.height() * 15));
    QCOMPARE(stored.frmItemstoolbarchecked, QStringLiteral("False"));
    QCOMPARE(stored.frmItemstextbarchecked, QStringLiteral("True"));

    click(QStringLiteral("lblItems"));
    frmItems* fresh = m_main->databaseWindow();
    QVERIFY(fresh);
    QCOMPARE(fresh->frameGeometry(), frame);
    QVERIFY(!fresh->menuItem(QStringLiteral("toolbar"))->isChecked());
    QVERIFY(fresh->menuItem(QStringLiteral("textbar"))->isChecked());
    QCOMPARE(fresh->List1().GetItem(1, 1), QString());
    QCOMPARE(fresh->windowTitle(), QStringLiteral("Database [ Unsaved ]"));
    QCOMPARE(m_platform->endProcessCalls(), 0);
}

// Too many wrong database passwords close the database window from inside the reading of the
// file: the read comes back to a window that is still there, and loads nothing into it.
void TestStartWindow::databaseWindowClosedWhileReading() {
    start();
    const QString path = folder().qelFolder() + QStringLiteral("/locked.QEL");
    {
        Table table;
        table.setCellText(1, 1, QStringLiteral("secret"));
        ScriptedPrompts prompts;
        prompts.newPassword = QStringLiteral("pw");
        QVERIFY(DatabaseFile(table, &prompts).SaveFileAs(path, true).ok());
    }
    click(QStringLiteral("lblItems"));
    frmItems* items = m_main->databaseWindow();
    m_platform->answerOpenDialog(path);
    m_platform->answerDialog([](QDialog& dialog) {
        dialog.show();
        for (int i = 0; i < 5 && dialog.isVisible(); ++i) {
            dialog.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("no"));
            QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("lblSaveSetup")),
                              Qt::LeftButton);
        }
        if (dialog.isVisible()) {
            QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("lblCancelSetup")),
                              Qt::LeftButton);
        }
    });
    for (int i = 0; i < 6; ++i) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    items->menuItem(QStringLiteral("open"))->trigger();
    QCOMPARE(m_platform->messageBoxes().at(4).text,
             QStringLiteral("Your password was incorrect several times!"));
    QVERIFY(!items->isVisible());
    QVERIFY(!m_main->databaseWindow());
    QCOMPARE(items->List1().GetItem(1, 1), QString());
    QVERIFY(m_main->isVisible());

    click(QStringLiteral("lblItems"));
    QVERIFY(m_main->databaseWindow());
    QVERIFY(m_main->databaseWindow()->isVisible());
    m_platform->verifyAllAnswered();
}

void TestStartWindow::unsavedChangesQuestionOnClose_data() {
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<bool>("saveCancelled");
    QTest::addColumn<bool>("ends");
    QTest::newRow("Yes, saved") << MessageButton::Yes << false << true;
    QTest::newRow("Yes, the save cancelled") << MessageButton::Yes << true << false;
    QTest::newRow("No") << MessageButton::No << false << true;
    QTest::newRow("Cancel") << MessageButton::Cancel << false << false;
}

// Ending the application with unsaved changes asks first; it runs on unless they are saved or
// given up.
void TestStartWindow::unsavedChangesQuestionOnClose() {
    QFETCH(MessageButton, answer);
    QFETCH(bool, saveCancelled);
    QFETCH(bool, ends);
    start();
    click(QStringLiteral("lblItems"));
    frmItems* items = m_main->databaseWindow();
    items->List1().ChangeItem(1, 1, QStringLiteral("unsaved"));
    QCOMPARE(items->lblChangeStatus(), QStringLiteral("1"));
    const QString saved = folder().qelFolder() + QStringLiteral("/closing.QEL");
    m_platform->answerMessageBox(answer);
    if (answer == MessageButton::Yes) {
        if (saveCancelled) {
            m_platform->cancelSaveDialog();
        } else {
            items->menuItem(QStringLiteral("password"))->trigger(); // no database password
            m_platform->answerSaveDialog(saved);
            m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
        }
    }
    m_main->close();

    const MessageBoxRequest asked = m_platform->messageBoxes().front();
    QCOMPARE(asked.text, QStringLiteral("Save Changes?"));
    QCOMPARE(asked.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(m_platform->endProcessCalls(), ends ? 1 : 0);
    QCOMPARE(m_main->isVisible(), !ends);
    QCOMPARE(items->isVisible(), !ends);
    QCOMPARE(QFile::exists(settingsFile()), ends);
    QCOMPARE(QFile::exists(saved), answer == MessageButton::Yes && !saveCancelled);
    m_platform->verifyAllAnswered();

    if (!ends) {
        // Nothing changed since: no question, and the application ends.
        items->setChangeStatus(QStringLiteral("0"));
        m_main->close();
        QCOMPARE(m_platform->endProcessCalls(), 1);
    }
}

void TestStartWindow::fileNamedAtStart_data() {
    QTest::addColumn<QString>("generalPassword");
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("a database") << "" << true;
    QTest::newRow("after the general password") << "key" << true;
    QTest::newRow("a file that is not there") << "" << false;
    QTest::newRow("a name that cannot be read") << "" << false;
}

// A file named on the command line opens in the database window as Open would open it,
// editable, once the general password (when one is set) has been given; one that is not there
// is said so over an empty table.
void TestStartWindow::fileNamedAtStart() {
    QFETCH(QString, generalPassword);
    QFETCH(bool, fileThere);
    storePassword(generalPassword);
    const QString file = m_root->filePath(QStringLiteral("named.QEL"));
    if (fileThere) {
        Table table;
        table.SetColumnHeader(1, QStringLiteral("A"));
        table.resetRows(1);
        table.setCellText(1, 1, QStringLiteral("from the command line"));
        QVERIFY(DatabaseFile(table).SaveFileAs(file, false).ok());
    } else {
        if (QByteArray(QTest::currentDataTag()) == "a name that cannot be read") {
            QVERIFY(QDir().mkpath(file)); // a folder: there, but no file to read
        }
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    start();
    m_main->openFileAtStart(file);
    if (!generalPassword.isEmpty()) {
        QVERIFY(inPasswordMode());
        QVERIFY(m_main->databaseWindow() == nullptr);
        typePassword(generalPassword);
    }
    frmItems* items = m_main->databaseWindow();
    QVERIFY(items != nullptr);
    QVERIFY(items->isVisible());
    if (fileThere) {
        QCOMPARE(items->windowTitle(), QStringLiteral("Database [ named.QEL ]"));
        QCOMPARE(items->List1().GetItem(1, 1), QStringLiteral("from the command line"));
        QVERIFY(items->List1().table().columnEditable(1));
        QCOMPARE(m_main->settings().frmItemsfile[0].path, file);
    } else {
        QCOMPARE(items->windowTitle(), QStringLiteral("Database [ Unsaved ]"));
        QCOMPARE(items->List1().GetItem(1, 1), QString());
        QCOMPARE(m_platform->messageBoxes().back().icon, MessageIcon::Critical);
        QVERIFY(m_platform->messageBoxes().back().text.contains(file));
    }
    m_platform->verifyAllAnswered();
}

// The start window in both modes, for review.
void TestStartWindow::snapshots() {
    const QString out = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QDir::tempPath());
    start();
    QVERIFY(m_main->grab().save(out + QStringLiteral("/start_window_navigation.png")));
    m_main.reset();
    storePassword(QStringLiteral("key"));
    start();
    QTest::keyClicks(passwordBox(), QStringLiteral("secret"));
    QVERIFY(m_main->grab().save(out + QStringLiteral("/start_window_password.png")));
}

QTEST_MAIN(TestStartWindow)
#include "tst_startwindow.moc"
