#include "settings/SettingsFile.h"
#include "support/ScriptedPlatform.h"
#include "ui/shell/SpreadsheetProbe.h"
#include "ui/shell/frmBalance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

/// The security window on a temporary application folder: its loading (settings and the
/// spreadsheet probe), Save and Disable with every message, and the settings file they write.
class TestSecurityWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadsTheSettingsAndTheState_data();
    void loadsTheSettingsAndTheState();
    void probeFindsTheStandIn();
    void failedProbeLeavesTheMarker();
    void refusals_data();
    void refusals();
    void setsAPassword();
    void emptyNewPasswordRemovesIt();
    void disableIgnoresTheConfirmation();
    void tenCharactersAtMost();
    void closeOnlyHides();
    void unwritableSettingsAreSaid();
    void snapshot();

private:
    AppFolder folder() const { return AppFolder(m_root->path()); }
    void storePassword(const QString& password) {
        SettingsRecord record;
        record.CURRENTPASSWORD = password;
        QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    }
    /// Loads the window with a probe that finds the stand-in, and shows it.
    void load(const SpreadsheetProbe::Probe& probe = [] { return true; });
    QLineEdit* box(const char* name) const {
        return m_window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) const {
        return m_window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void type(const char* name, const QString& text) {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    /// Types the three boxes and clicks `buttonName`.
    void fillAndClick(const QString& old, const QString& fresh, const QString& confirm,
                      const char* buttonName) {
        type("OldPassword", old);
        type("NewPassword", fresh);
        type("ConfirmNewPassword", confirm);
        QTest::mouseClick(button(buttonName), Qt::LeftButton);
    }
    QString stateCaption() const { return button("cmdPasswordON")->text(); }
    SettingsRecord stored() const {
        SettingsRecord record;
        (void)SettingsFile::decode(contentOf(folder().settingsFile()), record);
        return record;
    }

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_root;
    SettingsRecord m_settings;
    std::unique_ptr<frmBalance> m_window;
};

void TestSecurityWindow::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_root = std::make_unique<QTemporaryDir>();
    folder().EnsureFolders();
    m_settings = SettingsRecord();
}

void TestSecurityWindow::cleanup() {
    m_window.reset();
    m_root.reset();
    m_platform.reset();
}

void TestSecurityWindow::load(const SpreadsheetProbe::Probe& probe) {
    m_window = std::make_unique<frmBalance>(m_settings, folder(), probe);
    QVERIFY(!m_window->isVisible());
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestSecurityWindow::loadsTheSettingsAndTheState_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no general password") << ""
                                         << "Security is OFF";
    QTest::newRow("a general password") << "key"
                                        << "Security ON";
}

void TestSecurityWindow::loadsTheSettingsAndTheState() {
    QFETCH(QString, password);
    QFETCH(QString, caption);
    storePassword(password);
    load();
    QCOMPARE(m_settings.CURRENTPASSWORD, password);
    QCOMPARE(stateCaption(), caption);
    QCOMPARE(m_window->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(m_window->size(), QSize(248, 195));
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(209, 167, 120));
    QCOMPARE(button("cmdSavePassword")->text(), QStringLiteral("Save"));
    QCOMPARE(button("Close")->text(), QStringLiteral("X"));
    QCOMPARE(button("Close")->toolTip(), QStringLiteral("Close"));
    const QString captions = m_window->findChild<QLabel*>(QStringLiteral("Label7"))->text();
    for (const char* shown : {"Old General Password", "New General Password", "Confirm Password"}) {
        QVERIFY(captions.contains(QString::fromLatin1(shown)));
    }
    for (const char* name : {"OldPassword", "NewPassword", "ConfirmNewPassword"}) {
        QCOMPARE(box(name)->echoMode(), QLineEdit::Password);
    }
    QCOMPARE(box("OldPassword")->palette().color(QPalette::Text), QColor(128, 64, 0));
    QVERIFY(m_platform->dialogs().isEmpty());
}

// The real probe: the stand-in starts in the application's scratch folder.
void TestSecurityWindow::probeFindsTheStandIn() {
    const SpreadsheetProbe::Probe probe =
        SpreadsheetProbe::forApplication(folder(), Platform::current());
    QVERIFY(probe());
    load(probe);
    QCOMPARE(m_settings.lblEXCELSTATUS, QStringLiteral("RADI"));
    QVERIFY(!QFile::exists(SpreadsheetProbe::markerFile(folder())));
    QVERIFY(m_platform->dialogs().isEmpty());
    QVERIFY(QDir(folder().tempFolder()).isEmpty());

    // Without a usable scratch folder it cannot start.
    QVERIFY(QDir(folder().tempFolder()).removeRecursively());
    QVERIFY(!probe());
}

// Unavailable: said once, the status for the exchange, and exactly "ERROR" in the marker,
// also over an older marker.
void TestSecurityWindow::failedProbeLeavesTheMarker() {
    QFile old(SpreadsheetProbe::markerFile(folder()));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older and longer marker");
    old.close();
    m_platform->answerMessageBox(MessageButton::Ok);
    load([] { return false; });
    QCOMPARE(m_settings.lblEXCELSTATUS, QStringLiteral("NERADI"));
    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.text,
             QStringLiteral("QeL 2005 failed to initialize Microsoft Excel. You can still continue "
                            "to use Mabe but your export to excel buttons will not be available"));
    QCOMPARE(said.title, QStringLiteral("Brevant      Excel Error"));
    QCOMPARE(said.icon, MessageIcon::Critical);
    QCOMPARE(SpreadsheetProbe::markerFile(folder()),
             m_root->path() + QStringLiteral("/System/Temp/Temp.tmp"));
    QCOMPARE(contentOf(SpreadsheetProbe::markerFile(folder())), QByteArray("ERROR"));
}

void TestSecurityWindow::refusals_data() {
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("text");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<QString>("focused");
    QTest::newRow("Save, old password wrong")
        << "cmdSavePassword"
        << "Key"
        << "new"
        << "new"
        << "Your Old Password is not correct" << MessageIcon::Critical << "OldPassword";
    QTest::newRow("Save, new and confirmation differ")
        << "cmdSavePassword"
        << "key"
        << "new"
        << "New"
        << "Your New Password is not confirmed " << MessageIcon::Critical << "ConfirmNewPassword";
    QTest::newRow("Save, new password empty, answered No")
        << "cmdSavePassword"
        << "key"
        << ""
        << ""
        << "Your New Password is empty. Disable general password ?" << MessageIcon::None
        << "NewPassword";
    QTest::newRow("Disable, old password wrong")
        << "cmdPasswordON"
        << ""
        << ""
        << ""
        << "Your Old Password is not correct" << MessageIcon::Critical << "OldPassword";
    QTest::newRow("Disable, answered No")
        << "cmdPasswordON"
        << "key"
        << ""
        << ""
        << "Disable general password ?" << MessageIcon::None << "";
}

// Every refusal says why and changes nothing: not the password, not the file, not the state.
void TestSecurityWindow::refusals() {
    QFETCH(QString, buttonName);
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, confirm);
    QFETCH(QString, text);
    QFETCH(MessageIcon, icon);
    QFETCH(QString, focused);
    storePassword(QStringLiteral("key"));
    const QByteArray before = contentOf(folder().settingsFile());
    load();
    const bool question = text.endsWith(u'?');
    m_platform->answerMessageBox(question ? MessageButton::No : MessageButton::Ok);
    fillAndClick(old, fresh, confirm, qPrintable(buttonName));

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.text, text);
    QCOMPARE(said.icon, icon);
    if (question) {
        QCOMPARE(said.title, QStringLiteral("Password Security Warning!"));
        QCOMPARE(said.buttons, MessageButtons::YesNo);
    } else {
        QCOMPARE(said.title, QStringLiteral("Qel 2005"));
    }
    if (!focused.isEmpty()) {
        QVERIFY(box(qPrintable(focused))->hasFocus());
    }
    QCOMPARE(m_settings.CURRENTPASSWORD, QStringLiteral("key"));
    QCOMPARE(contentOf(folder().settingsFile()), before);
    QCOMPARE(stateCaption(), QStringLiteral("Security ON"));
    QCOMPARE(box("OldPassword")->text(), old);
    m_platform->verifyAllAnswered();
}

// Without a password an empty old password is right; the new one is written at once.
void TestSecurityWindow::setsAPassword() {
    load();
    m_platform->answerMessageBox(MessageButton::Ok);
    fillAndClick(QString(), QStringLiteral("Sesame"), QStringLiteral("Sesame"), "cmdSavePassword");
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.text, QStringLiteral("Changes are successfully saved"));
    QCOMPARE(said.icon, MessageIcon::Information);
    QCOMPARE(m_settings.CURRENTPASSWORD, QStringLiteral("Sesame"));
    QCOMPARE(stored().CURRENTPASSWORD, QStringLiteral("Sesame"));
    QCOMPARE(stateCaption(), QStringLiteral("Security ON"));
    for (const char* name : {"OldPassword", "NewPassword", "ConfirmNewPassword"}) {
        QCOMPARE(box(name)->text(), QString());
    }
    m_platform->verifyAllAnswered();
}

void TestSecurityWindow::emptyNewPasswordRemovesIt() {
    storePassword(QStringLiteral("key"));
    load();
    m_platform->answerMessageBox(MessageButton::Yes);
    m_platform->answerMessageBox(MessageButton::Ok);
    m_platform->answerMessageBox(MessageButton::Ok);
    fillAndClick(QStringLiteral("key"), QString(), QString(), "cmdSavePassword");
    QStringList texts;
    for (const MessageBoxRequest& said : m_platform->messageBoxes()) {
        texts << said.text;
    }
    QCOMPARE(texts,
             (QStringList{"Your New Password is empty. Disable general password ?",
                          "Changes are successfully saved", "General Password is disabled."}));
    QCOMPARE(m_platform->messageBoxes().back().icon, MessageIcon::Information);
    QCOMPARE(stored().CURRENTPASSWORD, QString());
    QCOMPARE(stateCaption(), QStringLiteral("Security OFF"));
    m_platform->verifyAllAnswered();
}

// Disable needs the old password and Yes; what the other boxes hold does not matter.
void TestSecurityWindow::disableIgnoresTheConfirmation() {
    storePassword(QStringLiteral("key"));
    load();
    m_platform->answerMessageBox(MessageButton::Yes);
    m_platform->answerMessageBox(MessageButton::Ok);
    m_platform->answerMessageBox(MessageButton::Ok);
    fillAndClick(QStringLiteral("key"), QStringLiteral("typed"), QStringLiteral("other"),
                 "cmdPasswordON");
    const MessageBoxRequest asked = m_platform->messageBoxes().front();
    QCOMPARE(asked.text, QStringLiteral("Disable general password ?"));
    QCOMPARE(asked.title, QStringLiteral("Password Security Warning!"));
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(m_settings.CURRENTPASSWORD, QString());
    QCOMPARE(stored().CURRENTPASSWORD, QString());
    QCOMPARE(stateCaption(), QStringLiteral("Security OFF"));
    QCOMPARE(m_platform->messageBoxes().back().text,
             QStringLiteral("General Password is disabled."));

    // Set again: the caption says so.
    m_platform->answerMessageBox(MessageButton::Ok);
    fillAndClick(QString(), QStringLiteral("again"), QStringLiteral("again"), "cmdSavePassword");
    QCOMPARE(stateCaption(), QStringLiteral("Security ON"));
    m_platform->verifyAllAnswered();
}

void TestSecurityWindow::tenCharactersAtMost() {
    load();
    QTest::keyClicks(box("NewPassword"), QStringLiteral("123456789012"));
    QTest::keyClicks(box("ConfirmNewPassword"), QStringLiteral("abcdefghijkl"));
    QTest::keyClicks(box("OldPassword"), QStringLiteral("123456789012"));
    QCOMPARE(box("NewPassword")->text(), QStringLiteral("1234567890"));
    QCOMPARE(box("ConfirmNewPassword")->text(), QStringLiteral("abcdefghij"));
    QCOMPARE(box("OldPassword")->text(), QStringLiteral("123456789012"));
}

// "X" hides the window; it keeps its values and comes back as it was.
void TestSecurityWindow::closeOnlyHides() {
    storePassword(QStringLiteral("key"));
    load();
    QTest::keyClicks(box("OldPassword"), QStringLiteral("half"));
    QTest::mouseClick(button("Close"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    m_window->show();
    QCOMPARE(box("OldPassword")->text(), QStringLiteral("half"));
    QCOMPARE(stateCaption(), QStringLiteral("Security ON"));
    QCOMPARE(m_settings.CURRENTPASSWORD, QStringLiteral("key"));
}

// A password that could not be written is not reported saved: the file's reason is said and
// the old password stays.
void TestSecurityWindow::unwritableSettingsAreSaid() {
    load();
    QVERIFY(QDir().mkpath(folder().settingsFile()));
    m_platform->answerMessageBox(MessageButton::Ok);
    fillAndClick(QString(), QStringLiteral("Sesame"), QStringLiteral("Sesame"), "cmdSavePassword");
    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QVERIFY2(said.text.contains(folder().settingsFile()), qPrintable(said.text));
    QCOMPARE(m_settings.CURRENTPASSWORD, QString());
    QCOMPARE(stateCaption(), QStringLiteral("Security is OFF"));
    QCOMPARE(box("NewPassword")->text(), QStringLiteral("Sesame"));
    m_platform->verifyAllAnswered();
}

// The window, for review.
void TestSecurityWindow::snapshot() {
    storePassword(QStringLiteral("key"));
    load();
    QTest::keyClicks(box("OldPassword"), QStringLiteral("key"));
    QTest::keyClicks(box("NewPassword"), QStringLiteral("newer"));
    const QString out = qEnvironmentVariable("QEL_TEST_OUTPUT_DIR", QDir::tempPath());
    QVERIFY(m_window->grab().save(out + QStringLiteral("/security_window.png")));
}

QTEST_MAIN(TestSecurityWindow)
#include "tst_securitywindow.moc"
