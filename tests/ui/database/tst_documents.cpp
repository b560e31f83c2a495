#include "gridview/List.h"
#include "qelfile/DatabaseFile.h"
#include "settings/FileChecks.h"
#include "settings/SettingsRecord.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/PleaseWaitPanel.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/database/frmItems.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database file of `rows` rows holding "<tag> <row>" in column 1, protected by `password`
// (stored scrambled) or plain when there is none.
void makeDatabase(const QString& path, const QString& tag, int rows = 3,
                  std::optional<QString> password = std::nullopt) {
    Table table;
    table.SetColumnHeader(1, QStringLiteral("A"));
    table.resetRows(rows);
    for (int r = 1; r <= rows; ++r) {
        table.setCellText(r, 1, QStringLiteral("%1 %2").arg(tag).arg(r));
    }
    ScriptedPrompts prompts;
    prompts.newPassword = password;
    DatabaseFile file(table, &prompts);
    if (!file.SaveFileAs(path, password.has_value()).ok()) {
        qFatal("the test's database could not be written");
    }
}

// A user working a password dialog: types into Text1 (and Text2 when given) and clicks the
// first label (Save / Open), `times` times.
std::function<void(QDialog&)> typing(const QString& text, int times = 1,
                                     std::optional<QString> second = std::nullopt) {
    return [text, times, second](QDialog& dialog) {
        dialog.show();
        for (int i = 0; i < times && dialog.isVisible(); ++i) {
            dialog.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(text);
            if (second) {
                dialog.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(*second);
            }
            QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("lblSaveSetup")),
                              Qt::LeftButton);
        }
    };
}

std::function<void(QDialog&)> cancelling() {
    return [](QDialog& dialog) {
        dialog.show();
        QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("lblCancelSetup")),
                          Qt::LeftButton);
    };
}

} // namespace

/// The document commands of the database window on real files in a temporary folder tree,
/// every dialog scripted.
class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveChangesQuestion_data();
    void saveChangesQuestion();
    void saveAsNamesAndTitles_data();
    void saveAsNamesAndTitles();
    void replaceAnsweredNo();
    void recentSlotsAfterAStart();
    void recentFileThatIsGone();
    void readOnlyLastsUntilAnEditableOpen();
    void passwordOptionOff();
    void emptyStoredPassword();
    void lockoutClosesTheWindow_data();
    void lockoutClosesTheWindow();
    void wrongEntriesCountAcrossFiles();
    void cancelledNewPassword();
    void failedSave();
    void unreadableFile();
    void unreadableFileLeavesTheOpenOneToSave_data();
    void unreadableFileLeavesTheOpenOneToSave();
    void largeOpenKeepsPainting();
    void endingTheApplicationAsks_data();
    void endingTheApplicationAsks();

private:
    QString path(const QString& name) const { return m_folder->filePath(name); }
    QString qelPath(const QString& name) const {
        return m_session->folder.qelFolder() + QLatin1Char('/') + name;
    }
    List& list() const { return m_window->List1(); }
    void trigger(const QString& name) { m_window->menuItem(name)->trigger(); }
    void click(const QString& button) { m_window->findChild<QToolButton*>(button)->click(); }
    void makeDirty() {
        list().ChangeItem(1, 1, QStringLiteral("typed"));
        QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    }
    /// Database passwords off: a protected save stores the marker without asking.
    void passwordsOff() {
        m_settings.DatabasePassword = QStringLiteral("Disabled");
        m_window->menuItem(QStringLiteral("password"))->setChecked(false);
    }
    /// Saves as `name` in the default folder with database passwords off (no dialog, but
    /// "Saved").
    void saveAsPlain(const QString& name) {
        passwordsOff();
        m_platform->answerSaveDialog(qelPath(name));
        m_platform->answerMessageBox(MessageButton::Ok);
        trigger(QStringLiteral("saveas"));
    }
    void newWindow();

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_folder;
    SettingsRecord m_settings;
    std::unique_ptr<DatabaseSession> m_session;
    std::unique_ptr<frmItems> m_window;
};

void TestDocuments::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_folder = std::make_unique<QTemporaryDir>();
    m_settings = SettingsRecord();
    m_session.reset(new DatabaseSession{m_settings, AppFolder(m_folder->path())});
    newWindow();
}

void TestDocuments::newWindow() {
    m_window = std::make_unique<frmItems>(*m_session);
    m_window->resize(500, 400);
    m_window->applyStoredState();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestDocuments::cleanup() {
    m_window.reset();
    m_session.reset();
    m_folder.reset();
    m_platform.reset();
}

void TestDocuments::saveChangesQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<MessageButton>("answer");
    for (const char* command : {"new", "open", "recent", "close"}) {
        for (const MessageButton answer :
             {MessageButton::Yes, MessageButton::No, MessageButton::Cancel}) {
            const char* name = answer == MessageButton::Yes  ? "Yes"
                               : answer == MessageButton::No ? "No"
                                                             : "Cancel";
            QTest::addRow("%s, %s", command, name) << QString::fromLatin1(command) << answer;
        }
    }
}

// Yes saves and ends the command there; No goes on without saving; Cancel changes nothing.
void TestDocuments::saveChangesQuestion() {
    QFETCH(QString, command);
    QFETCH(MessageButton, answer);
    makeDatabase(qelPath("other.QEL"), "other");
    m_settings.frmItemsfile[0] = {qelPath("other.QEL"), QStringLiteral("other.QEL")};
    m_window->applyStoredState();
    makeDirty();

    m_platform->answerMessageBox(answer);
    if (answer == MessageButton::Yes) {
        // The untitled table is saved as a new file, passwords off.
        passwordsOff();
        m_platform->answerSaveDialog(qelPath("first"));
        m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
    }
    if (command == u"open" && answer == MessageButton::No) {
        m_platform->answerOpenDialog(qelPath("other.QEL"));
    }
    if (command == u"new") {
        click(QStringLiteral("cmdNew"));
    } else if (command == u"open") {
        click(QStringLiteral("cmdOpen"));
    } else if (command == u"recent") {
        trigger(QStringLiteral("file1"));
    } else {
        trigger(QStringLiteral("Close"));
    }

    const MessageBoxRequest asked = m_platform->messageBoxes().front();
    QCOMPARE(asked.text, QStringLiteral("Save Changes?"));
    QCOMPARE(asked.title, QStringLiteral("Database [ Unsaved ]"));
    QCOMPARE(asked.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(asked.icon, MessageIcon::Question);
    QCOMPARE(asked.defaultButton, std::optional(MessageButton::Cancel));

    if (answer == MessageButton::Yes) {
        QVERIFY(General::FileExists(qelPath("first.QEL")));
        QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [first.QEL]"));
        QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
        QVERIFY(m_window->isVisible());
    } else if (answer == MessageButton::Cancel) {
        QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
        QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
        QVERIFY(m_window->isVisible());
    } else if (command == u"new") {
        QCOMPARE(list().GetItem(1, 1), QString());
        QCOMPARE(list().ListCount(), 30);
        QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    } else if (command == u"close") {
        QVERIFY(!m_window->isVisible());
    } else {
        QCOMPARE(list().GetItem(1, 1), QStringLiteral("other 1"));
        QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    }
    m_platform->verifyAllAnswered();
}

void TestDocuments::saveAsNamesAndTitles_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("savedTitle");
    QTest::newRow("typed without the extension") << "Names"
                                                 << "Database [Names.QEL]";
    QTest::newRow("typed with it") << "Names.QEL"
                                   << "Database [Names.QEL]";
    // The exact-case check appends the extension to a lower-case one.
    QTest::newRow("lower case extension") << "Names.qel"
                                          << "Database [Names.qel.QEL]";
}

void TestDocuments::saveAsNamesAndTitles() {
    QFETCH(QString, typed);
    QFETCH(QString, savedTitle);
    makeDirty();
    saveAsPlain(typed);
    const QString written = typed.endsWith(u".QEL") ? typed : typed + QStringLiteral(".QEL");
    QVERIFY(General::FileExists(qelPath(written)));
    QCOMPARE(m_window->windowTitle(), savedTitle);
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    QCOMPARE(m_platform->dialogs().front().file.fileName, QStringLiteral("Database1.QEL"));
    QCOMPARE(m_platform->dialogs().front().file.folder, m_session->folder.qelFolder());
    QCOMPARE(m_platform->dialogs().front().file.filter,
             QStringLiteral("Qel Database (*.QEL)|*.QEL|"));

    // Opened again through the Open dialog, the title has blanks inside its brackets.
    m_platform->answerOpenDialog(qelPath(written));
    trigger(QStringLiteral("open"));
    const DialogRecord& openDialog = m_platform->dialogs().back();
    QCOMPARE(openDialog.kind, DialogKind::OpenFile);
    QCOMPARE(openDialog.file.folder, m_session->folder.qelFolder());
    QCOMPARE(openDialog.file.filter, QStringLiteral("Qel Database (*.QEL)|*.QEL|"));
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Database [ ") + written + QStringLiteral(" ]"));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
    // Saving again writes the same file, without a dialog.
    list().ChangeItem(2, 1, QStringLiteral("more"));
    click(QStringLiteral("cmdSave"));
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    m_platform->verifyAllAnswered();
}

void TestDocuments::replaceAnsweredNo() {
    makeDatabase(qelPath("kept.QEL"), "kept");
    const QByteArray before = contentOf(qelPath("kept.QEL"));
    makeDirty();
    passwordsOff();
    m_platform->answerSaveDialog(qelPath("kept.QEL"));
    m_platform->answerMessageBox(MessageButton::No);
    trigger(QStringLiteral("saveas"));
    QCOMPARE(m_platform->messageBoxes().front().text,
             QStringLiteral("Database ") + qelPath("kept.QEL") +
                 QStringLiteral(" already exist. Replace file?"));
    QCOMPARE(m_platform->messageBoxes().front().buttons, MessageButtons::YesNo);
    QCOMPARE(contentOf(qelPath("kept.QEL")), before);
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [kept.QEL]"));
}

// The next slot is 1 at every start, whatever the slots held; a path already in one of the
// other two slots is not recorded again.
void TestDocuments::recentSlotsAfterAStart() {
    for (int slot = 0; slot < 3; ++slot) {
        m_settings.frmItemsfile[size_t(slot)] = {qelPath(QStringLiteral("old%1.QEL").arg(slot)),
                                                 QStringLiteral("old%1.QEL").arg(slot)};
    }
    m_window->applyStoredState();
    QCOMPARE(m_window->menuItem(QStringLiteral("file2"))->text(), QStringLiteral("old1.QEL"));
    QVERIFY(m_window->menuItem(QStringLiteral("file2"))->isVisible());

    QStringList firstSlots;
    for (const char* name : {"a", "b", "c", "d"}) {
        saveAsPlain(QString::fromLatin1(name));
        firstSlots << m_settings.frmItemsfile[0].name;
    }
    QCOMPARE(firstSlots, (QStringList{"a.QEL", "a.QEL", "a.QEL", "d.QEL"}));
    QCOMPARE(m_settings.frmItemsfile[1].name, QStringLiteral("b.QEL"));
    QCOMPARE(m_settings.frmItemsfile[2].name, QStringLiteral("c.QEL"));
    QCOMPARE(m_settings.frmItemsfile[2].path, qelPath("c.QEL"));
    QCOMPARE(m_window->menuItem(QStringLiteral("file1"))->text(), QStringLiteral("d.QEL"));

    // "b" lives in slot 2; the next slot is 2 itself, so it is written there again and the
    // pointer moves on; "c" is in slot 3, another slot than the next: nothing changes.
    m_platform->answerOpenDialog(qelPath("c.QEL"));
    trigger(QStringLiteral("open"));
    QCOMPARE(m_session->nextRecentSlot, 2);
    QCOMPARE(m_settings.frmItemsfile[1].name, QStringLiteral("b.QEL"));

    // The pointer belongs to the run, not to the window.
    newWindow();
    saveAsPlain(QStringLiteral("e"));
    QCOMPARE(m_settings.frmItemsfile[1].name, QStringLiteral("e.QEL"));
    m_platform->verifyAllAnswered();
}

void TestDocuments::recentFileThatIsGone() {
    makeDatabase(qelPath("gone.QEL"), "gone");
    m_settings.frmItemsfile[1] = {qelPath("gone.QEL"), QStringLiteral("gone.QEL")};
    m_window->applyStoredState();
    QVERIFY(QFile::remove(qelPath("gone.QEL")));
    makeDirty();
    trigger(QStringLiteral("file2"));
    QVERIFY(m_platform->dialogs().isEmpty());
    QVERIFY(!m_window->menuItem(QStringLiteral("file2"))->isVisible());
    QCOMPARE(m_settings.frmItemsfile[1], RecentFileSlot());
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
}

void TestDocuments::readOnlyLastsUntilAnEditableOpen() {
    makeDatabase(qelPath("r.QEL"), "r");
    m_platform->answerOpenDialog(qelPath("r.QEL"), true);
    trigger(QStringLiteral("open"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Qel READ-ONLY [r.QEL ]"));
    const auto locked = [this](bool expected) {
        for (const char* name :
             {"save", "saveas", "paste", "add", "deletemenu", "insert", "import"}) {
            QCOMPARE(!m_window->menuItem(QString::fromLatin1(name))->isEnabled(), expected);
        }
        QCOMPARE(!m_window->findChild<QToolButton*>(QStringLiteral("cmdSave"))->isEnabled(),
                 expected);
        QCOMPARE(!m_window->findChild<QLineEdit*>(QStringLiteral("TextText"))->isEnabled(),
                 expected);
    };
    locked(true);
    QVERIFY(!list().table().columnEditable(1));
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));

    click(QStringLiteral("cmdNew"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [ Unsaved ]"));
    locked(true);

    m_platform->answerOpenDialog(qelPath("r.QEL"));
    trigger(QStringLiteral("open"));
    locked(false);
    QVERIFY(list().table().columnEditable(1));
    m_platform->verifyAllAnswered();
}

// With database passwords off the marker is stored and nothing is asked, now or on opening.
void TestDocuments::passwordOptionOff() {
    makeDirty();
    trigger(QStringLiteral("password"));
    QCOMPARE(m_settings.DatabasePassword, QStringLiteral("Disabled"));
    m_platform->answerSaveDialog(qelPath("free"));
    m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
    trigger(QStringLiteral("saveas"));
    QCOMPARE(m_platform->messageBoxes().back().text, QStringLiteral("Saved"));
    QByteArray plain = contentOf(qelPath("free.QEL"));
    const char key[] = "kq#47@tmRVp";
    for (qsizetype i = 0; i < plain.size(); ++i) {
        plain[i] = char(plain[i] ^ key[((i % 1048576) + 1) % 11]);
    }
    QVERIFY(plain.startsWith("#@#\r\n!Dor@7%K\r\n"));

    trigger(QStringLiteral("password"));
    click(QStringLiteral("cmdNew"));
    m_platform->answerOpenDialog(qelPath("free.QEL"));
    trigger(QStringLiteral("open"));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
    for (const DialogRecord& dialog : m_platform->dialogs()) {
        QVERIFY(dialog.kind != DialogKind::OwnDialog);
    }
    m_platform->verifyAllAnswered();
}

void TestDocuments::emptyStoredPassword() {
    makeDatabase(qelPath("open.QEL"), "open", 3, QString());
    m_platform->answerOpenDialog(qelPath("open.QEL"));
    trigger(QStringLiteral("open"));
    QCOMPARE(list().GetItem(2, 1), QStringLiteral("open 2"));
    m_platform->verifyAllAnswered();
}

void TestDocuments::lockoutClosesTheWindow_data() {
    QTest::addColumn<bool>("rightAfterwards");
    QTest::newRow("then Cancel") << false;
    QTest::newRow("then the right password") << true;
}

// Four wrong entries, then Open again: the several-times message closes the window, and no
// password entered after that loads the file into it.
void TestDocuments::lockoutClosesTheWindow() {
    QFETCH(bool, rightAfterwards);
    makeDatabase(qelPath("locked.QEL"), "secret", 3, QStringLiteral("pw"));
    list().table().setCellText(1, 1, QStringLiteral("mine"));
    m_window->setChangeStatus(QStringLiteral("0"));
    m_platform->answerOpenDialog(qelPath("locked.QEL"));
    m_platform->answerDialog([rightAfterwards](QDialog& dialog) {
        typing(QStringLiteral("wrong"), 4)(dialog);
        // The fifth Open: too many wrong entries before it.
        typing(rightAfterwards ? QStringLiteral("pw") : QStringLiteral("wrong"))(dialog);
        if (dialog.isVisible()) {
            cancelling()(dialog);
        }
    });
    for (int i = 0; i < 4; ++i) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    m_platform->answerMessageBox(MessageButton::Ok); // several times
    if (!rightAfterwards) {
        m_platform->answerMessageBox(MessageButton::Ok); // and still wrong
    }
    trigger(QStringLiteral("open"));

    const QList<MessageBoxRequest> boxes = m_platform->messageBoxes();
    QCOMPARE(boxes.at(0).text, QStringLiteral("Your password is incorrect. Please try again!"));
    QCOMPARE(boxes.at(4).text, QStringLiteral("Your password was incorrect several times!"));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("mine"));
    QCOMPARE(list().ListCount(), 30);
    m_platform->verifyAllAnswered();
}

void TestDocuments::wrongEntriesCountAcrossFiles() {
    makeDatabase(qelPath("one.QEL"), "one", 3, QStringLiteral("pw1"));
    makeDatabase(qelPath("two.QEL"), "two", 3, QStringLiteral("pw2"));
    m_platform->answerOpenDialog(qelPath("one.QEL"));
    m_platform->answerDialog([](QDialog& dialog) {
        typing(QStringLiteral("no"), 3)(dialog);
        typing(QStringLiteral("pw1"))(dialog);
    });
    for (int i = 0; i < 3; ++i) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    trigger(QStringLiteral("open"));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("one 1"));
    QCOMPARE(m_session->passwords.wrongEntries(), 3);

    // One more wrong entry for the next file, and its next Open is one too many.
    m_platform->answerOpenDialog(qelPath("two.QEL"));
    m_platform->answerDialog([](QDialog& dialog) {
        typing(QStringLiteral("no"))(dialog);
        typing(QStringLiteral("pw2"))(dialog);
    });
    m_platform->answerMessageBox(MessageButton::Ok); // incorrect
    m_platform->answerMessageBox(MessageButton::Ok); // several times
    trigger(QStringLiteral("open"));
    QCOMPARE(m_platform->messageBoxes().back().text,
             QStringLiteral("Your password was incorrect several times!"));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("one 1"));
    m_platform->verifyAllAnswered();
}

void TestDocuments::cancelledNewPassword() {
    makeDirty();
    m_platform->answerSaveDialog(qelPath("never"));
    m_platform->answerDialog(cancelling());
    m_platform->answerMessageBox(MessageButton::Ok);
    trigger(QStringLiteral("saveas"));
    const MessageBoxRequest said = m_platform->messageBoxes().back();
    QCOMPARE(said.text, QStringLiteral("Database [never.QEL]was not saved"));
    QCOMPARE(said.icon, MessageIcon::Critical);
    QCOMPARE(said.title, QStringLiteral("Qel 2005"));
    QVERIFY(!General::FileExists(qelPath("never.QEL")));
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    QVERIFY(m_settings.frmItemsfile[0].path.isEmpty());
    m_platform->verifyAllAnswered();
}

// A save that cannot be written says why, keeps the old file as it was and the document
// changed.
void TestDocuments::failedSave() {
    makeDatabase(qelPath("keep.QEL"), "keep");
    m_platform->answerOpenDialog(qelPath("keep.QEL"));
    trigger(QStringLiteral("open"));
    const QByteArray before = contentOf(qelPath("keep.QEL"));
    list().AddMoreThanOneRow(20000);
    for (int r = 1; r <= 20000; ++r) {
        list().table().setCellText(r, 1, QStringLiteral("a longer text for row %1").arg(r));
    }
    m_window->setChangeStatus(QStringLiteral("1"));
    // A plain file saved protected for the first time: passwords off, no question.
    passwordsOff();

    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < 64 * 1024) {
        QSKIP("the file size limit is already below 64 KiB");
    }
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    m_platform->answerMessageBox(MessageButton::Ok);
    click(QStringLiteral("cmdSave"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().back();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QVERIFY2(said.text.contains(qelPath("keep.QEL")), qPrintable(said.text));
    QCOMPARE(contentOf(qelPath("keep.QEL")), before);
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("1"));
    m_platform->verifyAllAnswered();
}

// A file that cannot be read at all (here a folder named like one) leaves the table as it was,
// and the message names it.
void TestDocuments::unreadableFile() {
    QVERIFY(QDir().mkpath(path("folder.QEL")));
    list().table().setCellText(1, 1, QStringLiteral("mine"));
    m_window->setChangeStatus(QStringLiteral("0"));
    m_platform->answerOpenDialog(path("folder.QEL"));
    m_platform->answerMessageBox(MessageButton::Ok);
    trigger(QStringLiteral("open"));
    QCOMPARE(m_platform->messageBoxes().back().icon, MessageIcon::Critical);
    QVERIFY2(m_platform->messageBoxes().back().text.contains(path("folder.QEL")),
             qPrintable(m_platform->messageBoxes().back().text));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("mine"));
    QVERIFY(list().isVisible());
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("PleaseWait"))->isVisible());
    m_platform->verifyAllAnswered();
}

void TestDocuments::unreadableFileLeavesTheOpenOneToSave_data() {
    QTest::addColumn<bool>("throughDialog");
    QTest::newRow("Open dialog") << true;
    QTest::newRow("file named at start") << false;
}

// A file that cannot be read (here a folder named like one) changes nothing: Save still writes
// the file that is open, without asking for a name.
void TestDocuments::unreadableFileLeavesTheOpenOneToSave() {
    QFETCH(bool, throughDialog);
    makeDatabase(qelPath("a.QEL"), "a");
    m_platform->answerOpenDialog(qelPath("a.QEL"));
    trigger(QStringLiteral("open"));
    makeDirty();

    QVERIFY(QDir().mkpath(qelPath("b.QEL")));
    m_platform->answerMessageBox(MessageButton::No); // "Save Changes?": not now
    if (throughDialog) {
        m_platform->answerOpenDialog(qelPath("b.QEL"));
        m_platform->answerMessageBox(MessageButton::Ok);
        trigger(QStringLiteral("open"));
    } else {
        m_platform->answerMessageBox(MessageButton::Ok);
        m_window->openFile(qelPath("b.QEL"));
    }
    QCOMPARE(m_platform->messageBoxes().back().icon, MessageIcon::Critical);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database [ a.QEL ]"));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));

    passwordsOff();
    m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
    trigger(QStringLiteral("save"));
    Table saved;
    QVERIFY(DatabaseFile(saved).OpenFile(qelPath("a.QEL")).ok());
    QCOMPARE(saved.GetItem(1, 1), QStringLiteral("typed"));
    m_platform->verifyAllAnswered();
}

// A large protected file read through Open: the window repaints while the rows come in, and
// the progress frame reaches its end.
void TestDocuments::largeOpenKeepsPainting() {
    makeDatabase(qelPath("big.QEL"), "big", 200000, QStringLiteral("pw"));
    const qint64 size = QFileInfo(qelPath("big.QEL")).size();
    auto* bar = m_window->pleaseWait().findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    // Writes down, for each repaint of the progress bar while it is shown, where it stood.
    class Watcher final : public QObject {
    public:
        Watcher(QProgressBar* bar, QLabel* caption) : m_bar(bar), m_caption(caption) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint && watched == m_bar && m_bar->isVisible()) {
                seen.append({m_bar->value(), m_bar->maximum()});
                captions.insert(m_caption->text());
            }
            return false;
        }
        QList<std::pair<int, int>> seen;
        QSet<QString> captions;

    private:
        QProgressBar* m_bar;
        QLabel* m_caption;
    } watcher(bar, m_window->findChild<QLabel*>(QStringLiteral("PleaseWaitCaption")));
    bar->installEventFilter(&watcher);
    m_platform->answerOpenDialog(qelPath("big.QEL"));
    m_platform->answerDialog(typing(QStringLiteral("pw")));
    trigger(QStringLiteral("open"));
    bar->removeEventFilter(&watcher);
    QCOMPARE(list().ListCount(), 200000);
    QCOMPARE(list().GetItem(200000, 1), QStringLiteral("big 200000"));
    // Repainted while the bytes came in, part-way and at the last of them.
    bool partWay = false;
    bool reachedTheEnd = false;
    for (const auto& [value, maximum] : watcher.seen) {
        if (maximum == size) {
            partWay |= value > 0 && value < maximum;
            reachedTheEnd |= value == maximum;
        }
    }
    QVERIFY(partWay);
    QVERIFY(reachedTheEnd);
    QCOMPARE(watcher.captions, QSet<QString>{QStringLiteral("Open Database...")});
    QCOMPARE(m_window->lblChangeStatus(), QStringLiteral("0"));
    m_platform->verifyAllAnswered();
}

void TestDocuments::endingTheApplicationAsks_data() {
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<bool>("mayEnd");
    QTest::newRow("Yes, saved") << MessageButton::Yes << false << true;
    QTest::newRow("Yes, but the save is cancelled") << MessageButton::Yes << true << false;
    QTest::newRow("No") << MessageButton::No << false << true;
    QTest::newRow("Cancel") << MessageButton::Cancel << false << false;
}

// Unsaved changes are not thrown away when the application ends: Yes ends it only once they
// are saved.
void TestDocuments::endingTheApplicationAsks() {
    QFETCH(MessageButton, answer);
    QFETCH(bool, saveFails);
    QFETCH(bool, mayEnd);
    QVERIFY(m_window->mayEndApplication());
    makeDirty();
    m_platform->answerMessageBox(answer);
    if (answer == MessageButton::Yes) {
        if (saveFails) {
            m_platform->cancelSaveDialog();
        } else {
            passwordsOff();
            m_platform->answerSaveDialog(qelPath("ending"));
            m_platform->answerMessageBox(MessageButton::Ok); // "Saved"
        }
    }
    QCOMPARE(m_window->mayEndApplication(), mayEnd);
    QCOMPARE(General::FileExists(qelPath("ending.QEL")),
             answer == MessageButton::Yes && !saveFails);
    m_platform->verifyAllAnswered();
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
