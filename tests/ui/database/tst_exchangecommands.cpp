#include "gridview/List.h"
#include "platform/FileDialogFilter.h"
#include "settings/SettingsRecord.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/PleaseWaitPanel.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/database/commands/DocumentWindow.h"
#include "ui/database/commands/ExchangeCommands.h"
#include "ui/database/commands/ExchangeWindow.h"
#include "ui/database/commands/SoundRequest.h"
#include "ui/database/frmItems.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The database window as the commands see it, writing down what they ask of it in order. It
// is also the grid's host, so the grid's own progress lands in the same list.
class RecordingWindow final : public DocumentWindow, public ExchangeWindow, public ListHost {
public:
    explicit RecordingWindow(const AppFolder& folder) : m_folder(folder) {}

    QStringList calls;
    bool dirty = false;
    /// How often the grid said its table changed (the database window marks itself dirty).
    int tableChanges = 0;
    QString shownTitle = QStringLiteral("Database [ Unsaved ]");

    // ExchangeWindow
    void showExchangeProgress(const QString& caption, int maximum, int value) override {
        calls << QStringLiteral("progress %1 %2 of %3").arg(caption).arg(value).arg(maximum);
    }
    void hideExchangeProgress() override { calls << QStringLiteral("progress hidden"); }
    void showGrid(bool shown) override {
        calls << (shown ? QStringLiteral("grid shown") : QStringLiteral("grid hidden"));
    }
    void markDirty() override {
        dirty = true;
        calls << QStringLiteral("dirty");
    }

    // ListHost
    void setProgressMaximum(int maximum) override {
        calls << QStringLiteral("maximum %1").arg(maximum);
    }
    void setProgressValue(int value) override { calls << QStringLiteral("value %1").arg(value); }
    QString exchangeTempFolder() const override { return m_folder.tempFolder(); }
    void tableChanged() override { ++tableChanges; }

    // DocumentWindow
    QString title() const override { return shownTitle; }
    void setTitle(const QString& title) override { shownTitle = title; }
    bool isDirty() const override { return dirty; }
    void setDirty(bool value) override { dirty = value; }
    void suspendChangeMarks(bool) override {}
    void setEditingLocked(bool) override {}
    void showRecentEntry(int, const QString&) override {}
    void showOpenProgress(const QString&) override {}
    void setOpenProgress(qint64, qint64) override {}
    void hideOpenProgress(const QString&) override {}
    void clearEditBar() override {}
    void markSearchCancel() override {}
    void closeWindow() override {}

private:
    AppFolder m_folder;
};

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        qFatal("the test could not write %s", qPrintable(path));
    }
}

} // namespace

/// The spreadsheet export and import as the menu runs them: every check, question and
/// message through the scripted Platform, real files in a temporary folder tree, and the
/// window seen through what the commands ask of it.
class TestExchangeCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void exportRefused_data();
    void exportRefused();
    void exportWritesAWorkbook_data();
    void exportWritesAWorkbook();
    void failedExportSaysWhy_data();
    void failedExportSaysWhy();
    void soundOnlyWithTheWave_data();
    void soundOnlyWithTheWave();

    void importUnavailable();
    void importAsksAboutChanges_data();
    void importAsksAboutChanges();
    void importChoosesAFile();
    void importRowCount_data();
    void importRowCount();
    void importWarnings_data();
    void importWarnings();
    void importReadsTheSheet();
    void importOfTheExportedWorkbook();
    void failedImportSaysWhy();
    void importOfTooMuchTextChangesNothing();

    void menuItemsRunThroughTheWindow();

private:
    QString documents() const { return m_documents->path(); }
    List& list() { return *m_list; }
    void placeSound() { writeFile(SoundRequest::soundFile(m_session->folder), "RIFF"); }
    /// A csv file in the documents folder.
    QString sheet(const QString& name, const QByteArray& content) {
        const QString path = QDir(documents()).filePath(name);
        writeFile(path, content);
        return path;
    }
    /// The import up to its row count: a file chosen, `typed` answered.
    void scriptImport(const QString& path, const QString& typed) {
        m_platform->answerOpenDialog(path);
        m_platform->answerInputBox(typed);
    }
    QStringList bookFiles() const {
        return QDir(documents()).entryList({QStringLiteral("Book*.xlsx")}, QDir::Files);
    }

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<QTemporaryDir> m_documents;
    SettingsRecord m_settings;
    std::unique_ptr<DatabaseSession> m_session;
    std::unique_ptr<RecordingWindow> m_window;
    std::unique_ptr<List> m_list;
    ScriptedPrompts m_prompts;
    std::unique_ptr<DocumentCommands> m_documentCommands;
    std::unique_ptr<ExchangeCommands> m_commands;
};

void TestExchangeCommands::init() {
    m_platform = std::make_unique<ScriptedPlatform>();
    m_root = std::make_unique<QTemporaryDir>();
    m_documents = std::make_unique<QTemporaryDir>();
    m_platform->setDocumentsFolder(m_documents->path());
    m_platform->setProcessorMHz(1000);
    m_settings = SettingsRecord();
    m_settings.lblEXCELSTATUS = QStringLiteral("RADI");
    m_session.reset(
        new DatabaseSession{.settings = m_settings, .folder = AppFolder(m_root->path())});
    m_session->folder.EnsureFolders();
    m_window = std::make_unique<RecordingWindow>(m_session->folder);
    m_list = std::make_unique<List>();
    m_list->setHost(m_window.get());
    m_prompts = ScriptedPrompts();
    m_list->setPasswordPrompts(&m_prompts);
    m_documentCommands =
        std::make_unique<DocumentCommands>(*m_list, *m_platform, *m_window, *m_session);
    m_commands = std::make_unique<ExchangeCommands>(*m_list, *m_platform, *m_window,
                                                    *m_documentCommands, *m_session);
}

void TestExchangeCommands::cleanup() {
    m_commands.reset();
    m_documentCommands.reset();
    m_list.reset();
    m_window.reset();
    m_session.reset();
    m_documents.reset();
    m_root.reset();
    m_platform.reset();
}

// --- export ------------------------------------------------------------------------------------

void TestExchangeCommands::exportRefused_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("sound");
    // Too large is said before the sound; unavailable after it.
    QTest::newRow("65,001 rows") << 65001 << "RADI"
                                 << "Your database is larger then what Microsoft Excel is able to "
                                    "accept ( 65001 rows )"
                                 << "Qel 2005" << false;
    QTest::newRow("70,000 rows, unavailable too")
        << 70000 << "NERADI"
        << "Your database is larger then what Microsoft Excel is able to accept ( 70000 rows )"
        << "Qel 2005" << false;
    QTest::newRow("unavailable at start-up")
        << 3 << "NERADI"
        << "QEL 2005 failed to initialize Microsoft Excel when started "
        << "Brevant      Excel Error" << true;
}

void TestExchangeCommands::exportRefused() {
    QFETCH(int, rows);
    QFETCH(QString, status);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(bool, sound);
    m_settings.lblEXCELSTATUS = status;
    list().AddMoreThanOneRow(rows - list().ListCount());
    list().ChangeItem(1, 1, QStringLiteral("text"));
    m_window->dirty = false;
    placeSound();
    m_platform->answerMessageBox(MessageButton::Ok);
    m_commands->exportToExcel();

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.text, text);
    QCOMPARE(said.title, title);
    QCOMPARE(said.icon, MessageIcon::Critical);
    QCOMPARE(said.buttons, MessageButtons::Ok);
    QCOMPARE(m_platform->playedSounds().size(), sound ? 1 : 0);
    QVERIFY(m_window->calls.isEmpty());
    QVERIFY(bookFiles().isEmpty());
    QVERIFY(m_platform->openedUrls().isEmpty());
}

void TestExchangeCommands::exportWritesAWorkbook_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("three rows") << 3;
    QTest::newRow("65,000 rows, the most the window takes") << 65000;
}

void TestExchangeCommands::exportWritesAWorkbook() {
    QFETCH(int, rows);
    list().AddMoreThanOneRow(rows - list().ListCount());
    list().AddColumn(0, 80, QStringLiteral("B"));
    list().table().setCellText(1, 1, QStringLiteral("first"));
    list().table().setCellText(1, 2, QStringLiteral("beside"));
    list().table().setCellText(rows, 1, QStringLiteral("last"));
    list().SetBold(1, 1, true);
    m_window->dirty = false;
    m_window->calls.clear();
    m_commands->exportToExcel();

    QVERIFY(m_platform->messageBoxes().isEmpty());
    QCOMPARE(bookFiles(), QStringList{QStringLiteral("Book1.xlsx")});
    QCOMPARE(m_platform->openedUrls().size(), 1);
    QCOMPARE(m_platform->openedUrls().front().toLocalFile(),
             QDir(documents()).filePath(QStringLiteral("Book1.xlsx")));
    // The frame shows while the grid copies; the grid stays, the document is as it was.
    QCOMPARE(
        m_window->calls,
        (QStringList{
            QStringLiteral("progress Exporting data into Microsoft Excel: 1 of %1").arg(rows + 1),
            QStringLiteral("value 1"), QStringLiteral("value %1").arg(rows),
            QStringLiteral("progress hidden")}));
    QVERIFY(!m_window->dirty);
    QVERIFY(m_platform->playedSounds().isEmpty());
}

void TestExchangeCommands::failedExportSaysWhy_data() {
    QTest::addColumn<QString>("why");
    QTest::newRow("documents folder cannot be made") << "the documents folder is not available";
    QTest::newRow("stand-in cannot start now") << "the spreadsheet program could not be started";
}

// A workbook that could not be written is said, naming the folder and the reason.
void TestExchangeCommands::failedExportSaysWhy() {
    QFETCH(QString, why);
    QString folder = documents();
    if (why.contains(u"documents")) {
        // A folder inside a file cannot be made.
        writeFile(QDir(documents()).filePath(QStringLiteral("plain")), "x");
        folder = QDir(documents()).filePath(QStringLiteral("plain/Documents"));
        m_platform->setDocumentsFolder(folder);
    } else {
        QVERIFY(QDir(m_session->folder.tempFolder()).removeRecursively());
    }
    list().ChangeItem(1, 1, QStringLiteral("text"));
    m_window->calls.clear();
    m_platform->answerMessageBox(MessageButton::Ok);
    m_commands->exportToExcel();

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QCOMPARE(said.title, QStringLiteral("Qel 2005"));
    QVERIFY2(said.text.contains(folder) && said.text.contains(why), qPrintable(said.text));
    QCOMPARE(m_window->calls.back(), QStringLiteral("progress hidden"));
    QVERIFY(m_platform->openedUrls().isEmpty());
}

void TestExchangeCommands::soundOnlyWithTheWave_data() {
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<bool>("wave");
    QTest::newRow("export, with the wave") << true << true;
    QTest::newRow("export, without") << true << false;
    QTest::newRow("import, with the wave") << false << true;
    QTest::newRow("import, without") << false << false;
}

// The request names System/Sound/2.wav under the application folder, once, at the start;
// without the file nothing is asked and nothing said.
void TestExchangeCommands::soundOnlyWithTheWave() {
    QFETCH(bool, exporting);
    QFETCH(bool, wave);
    if (wave) {
        placeSound();
    }
    if (exporting) {
        m_commands->exportToExcel();
    } else {
        m_platform->cancelOpenDialog();
        m_commands->importFromExcel();
    }
    const QStringList expected =
        wave ? QStringList{m_root->path() + QStringLiteral("/System/Sound/2.wav")} : QStringList{};
    QCOMPARE(m_platform->playedSounds(), expected);
    QVERIFY(m_platform->messageBoxes().isEmpty());
    m_platform->verifyAllAnswered();
}

// --- import ------------------------------------------------------------------------------------

// Unavailable at start-up: said before anything else, also before the question about changes.
void TestExchangeCommands::importUnavailable() {
    m_settings.lblEXCELSTATUS = QStringLiteral("NERADI");
    placeSound();
    m_window->dirty = true;
    m_platform->answerMessageBox(MessageButton::Ok);
    m_commands->importFromExcel();
    QCOMPARE(m_platform->dialogs().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.text,
             QStringLiteral("QEL 2005 failed to initialize Microsoft Excel when started "));
    QCOMPARE(said.title, QStringLiteral("Brevant      Excel Error"));
    QCOMPARE(said.icon, MessageIcon::Critical);
    QVERIFY(m_platform->playedSounds().isEmpty());
}

void TestExchangeCommands::importAsksAboutChanges_data() {
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("Yes saves and stops") << MessageButton::Yes << false;
    QTest::newRow("No goes on") << MessageButton::No << true;
    QTest::newRow("Cancel stops") << MessageButton::Cancel << false;
}

void TestExchangeCommands::importAsksAboutChanges() {
    QFETCH(MessageButton, answer);
    QFETCH(bool, goesOn);
    placeSound();
    list().ChangeItem(1, 1, QStringLiteral("typed"));
    m_window->dirty = true;
    m_platform->answerMessageBox(answer);
    if (answer == MessageButton::Yes) {
        m_prompts.newPassword = QStringLiteral("pw");
        m_platform->answerSaveDialog(m_session->folder.qelFolder() + QStringLiteral("/kept"));
    }
    if (goesOn) {
        m_platform->cancelOpenDialog();
    }
    m_commands->importFromExcel();

    QCOMPARE(m_platform->messageBoxes().front().text, QStringLiteral("Save Changes?"));
    QCOMPARE(m_platform->playedSounds().size(), goesOn ? 1 : 0);
    QCOMPARE(QFile::exists(m_session->folder.qelFolder() + QStringLiteral("/kept.QEL")),
             answer == MessageButton::Yes);
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("typed"));
    m_platform->verifyAllAnswered();
}

// The Open dialog and the checks on what it gives: nothing happens without an existing file.
void TestExchangeCommands::importChoosesAFile() {
    m_platform->cancelOpenDialog();
    m_commands->importFromExcel();
    const FileDialogRequest asked = m_platform->dialogs().front().file;
    QCOMPARE(asked.title, QStringLiteral("Select Data Source:"));
    QCOMPARE(asked.folder, documents());
    QVERIFY(asked.filter.startsWith(
        QStringLiteral("All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;"
                       "*.prn;*.txt;)|")));
    // The one filter the dialog shows matches every kind the import reads.
    const QStringList shown = qtNameFilters(asked.filter);
    QCOMPARE(shown.size(), 1);
    for (const char* pattern : {"*.xls", "*.xlsx", "*.xlsm", "*.xltx", "*.xlt", "*.xla", "*.csv",
                                "*.txt", "*.prn", "*.htm", "*.html"}) {
        QVERIFY2(shown.front()
                     .split(QRegularExpression(QStringLiteral("[ ()]")))
                     .contains(QString::fromLatin1(pattern)),
                 pattern);
    }
    QVERIFY(shown.front().startsWith(QStringLiteral("All data, excel,text files(")));

    // A name that leads nowhere.
    m_platform->answerOpenDialog(QDir(documents()).filePath(QStringLiteral("missing.csv")));
    m_commands->importFromExcel();
    QCOMPARE(m_platform->dialogs().size(), 2);
    QVERIFY(m_window->calls.isEmpty());
    m_platform->verifyAllAnswered();
}

void TestExchangeCommands::importRowCount_data() {
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("importedRows");
    QTest::newRow("cancelled") << true << ""
                               << "" << 0;
    QTest::newRow("nothing typed") << false << ""
                                   << "" << 0;
    QTest::newRow("text") << false << "many"
                          << "" << 0;
    QTest::newRow("zero") << false << "0"
                          << "" << 0;
    QTest::newRow("negative") << false << "-4"
                              << "" << 0;
    QTest::newRow("50,001") << false << "50001"
                            << "QEL 2005 for Excel can't exceed Microsoft Excel row limitation!"
                            << 0;
    QTest::newRow("498 without a question") << false << "498"
                                            << "" << 498;
}

// The input box, its silent stops, the refusal above 50,000, and 498 rows at once.
void TestExchangeCommands::importRowCount() {
    QFETCH(bool, cancelled);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(int, importedRows);
    const QString path = sheet(QStringLiteral("rows.csv"), "a,b\nc,d\n");
    m_platform->answerOpenDialog(path);
    if (cancelled) {
        m_platform->cancelInputBox();
    } else {
        m_platform->answerInputBox(typed);
    }
    if (!refusal.isEmpty()) {
        m_platform->answerMessageBox(MessageButton::Ok);
    }
    m_commands->importFromExcel();

    const InputBoxRequest asked = m_platform->dialogs().at(1).input;
    QCOMPARE(asked.prompt, QStringLiteral("Enter the record (row) number to import:"));
    QCOMPARE(asked.title, QStringLiteral("Qel 2005"));
    QCOMPARE(asked.defaultText, QString());
    if (refusal.isEmpty()) {
        QVERIFY(m_platform->messageBoxes().isEmpty());
    } else {
        QCOMPARE(m_platform->messageBoxes().size(), 1);
        QCOMPARE(m_platform->messageBoxes().front().text, refusal);
        QCOMPARE(m_platform->messageBoxes().front().icon, MessageIcon::Critical);
    }
    if (importedRows == 0) {
        QVERIFY(m_window->calls.isEmpty());
        QCOMPARE(list().GetItem(1, 1), QString());
    } else {
        QCOMPARE(list().table().cellAt(2, 2).Text.toString(), QStringLiteral("d"));
        QCOMPARE(list().ListCount(), importedRows);
    }
    m_platform->verifyAllAnswered();
}

void TestExchangeCommands::importWarnings_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<QString>("estimate");
    QTest::addColumn<MessageButton>("answer");
    QTest::newRow("499 asks") << "499"
                              << "Data Import Warning!" << MessageIcon::Question
                              << "approximately 57 seconds," << MessageButton::Yes;
    QTest::newRow("1,000 rows: 115 seconds") << "1000"
                                             << "Data Import Warning!" << MessageIcon::Question
                                             << "approximately 115 seconds," << MessageButton::No;
    QTest::newRow("2,000 rows: 230 seconds, 4 minutes")
        << "2000"
        << "Long Processing Warning ( 4 minutes) !!! " << MessageIcon::Question
        << "at 1000 MHz, this action could take approximately 230 seconds (4 ) minutes"
        << MessageButton::No;
    QTest::newRow("6,000 rows: 690 seconds, 12 minutes")
        << "6000"
        << "Attention! Very Long Processing Time Warning ( 12 minutes) !!! "
        << MessageIcon::Critical
        << "at 1000 MHz, this action could take approximately 690 seconds (12 ) minutes"
        << MessageButton::No;
    QTest::newRow("50,000 rows are accepted")
        << "50000"
        << "Attention! Very Long Processing Time Warning ( 96 minutes) !!! "
        << MessageIcon::Critical << "approximately 5750 seconds (96 ) minutes" << MessageButton::No;
}

// At 1,000 MHz: the question, with No as its default; No leaves the table, Yes imports.
void TestExchangeCommands::importWarnings() {
    QFETCH(QString, typed);
    QFETCH(QString, title);
    QFETCH(MessageIcon, icon);
    QFETCH(QString, estimate);
    QFETCH(MessageButton, answer);
    const QString path = sheet(QStringLiteral("rows.csv"), "a,b\nc,d\n");
    scriptImport(path, typed);
    m_platform->answerMessageBox(answer);
    m_commands->importFromExcel();

    const MessageBoxRequest asked = m_platform->messageBoxes().front();
    QCOMPARE(asked.title, title);
    QCOMPARE(asked.icon, icon);
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(asked.defaultButton, std::optional(MessageButton::No));
    QVERIFY2(asked.text.contains(estimate), qPrintable(asked.text));
    QVERIFY(asked.text.endsWith(
        QStringLiteral("during which you will not be able to stop importing process. Start data "
                       "import?")));
    if (answer == MessageButton::Yes) {
        QCOMPARE(list().GetItem(1, 1), QStringLiteral("a"));
        QCOMPARE(list().ListCount(), typed.toInt());
    } else {
        QCOMPARE(list().GetItem(1, 1), QString());
        QVERIFY(m_window->calls.isEmpty());
    }
    m_platform->verifyAllAnswered();
}

// The grid hidden while the rows come in, then row 1 column 1 selected, the document changed
// and the journal empty: the import cannot be undone.
void TestExchangeCommands::importReadsTheSheet() {
    list().AddMoreThanOneRow(2);
    list().ChangeItem(2, 1, QStringLiteral("mine"));
    list().SetBold(3, 1, true);
    m_window->dirty = false;
    m_window->calls.clear();
    QVERIFY(!list().table().UndoStore().empty());
    const QString path = sheet(QStringLiteral("people.csv"),
                               "Ann,Smith,ann@example.org\n,Brown\nCid,\"two\nlines\"\n");
    scriptImport(path, QStringLiteral("3"));
    m_commands->importFromExcel();

    QCOMPARE(m_window->calls,
             (QStringList{"progress Importing data from Microsoft Excel: 1 of 4", "grid hidden",
                          "maximum 3", "value 1", "value 1", "value 2", "value 3", "grid shown",
                          "dirty", "progress hidden"}));
    QCOMPARE(list().ListCount(), 3);
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("Ann"));
    // An empty sheet cell leaves the text; the format is never touched.
    QCOMPARE(list().GetItem(2, 1), QStringLiteral("mine"));
    QCOMPARE(list().GetItem(3, 1), QStringLiteral("Cid"));
    QVERIFY(list().table().cellAt(3, 1).Bold);
    // Beyond the one shown column the values are kept in their rows, line breaks joined.
    QCOMPARE(list().table().cellAt(1, 3).Text.toString(), QStringLiteral("ann@example.org"));
    QCOMPARE(list().table().cellAt(3, 2).Text.toString(), QStringLiteral("twolines"));
    QCOMPARE(list().iSelected(), 1);
    QVERIFY(m_window->dirty);
    QVERIFY(list().table().UndoStore().empty());
    QVERIFY(list().table().RedoStore().empty());
}

// What the export writes, the import reads back.
void TestExchangeCommands::importOfTheExportedWorkbook() {
    list().AddColumn(0, 80, QStringLiteral("B"));
    list().AddRow();
    list().table().setCellText(1, 1, QStringLiteral("Žluťoučký kůň"));
    list().table().setCellText(2, 2, QStringLiteral("12.50"));
    m_commands->exportToExcel();
    QCOMPARE(bookFiles().size(), 1);
    const QString book = QDir(documents()).filePath(bookFiles().front());

    m_list->ClearEntireList();
    scriptImport(book, QStringLiteral("2"));
    m_commands->importFromExcel();
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("Žluťoučký kůň"));
    QCOMPARE(list().table().cellAt(2, 2).Text.toString(), QStringLiteral("12.50"));
    m_platform->verifyAllAnswered();
}

// A file that cannot be read is said, naming it; the table, its journal and the document's
// state stay as they were.
void TestExchangeCommands::failedImportSaysWhy() {
    list().ChangeItem(1, 1, QStringLiteral("mine"));
    m_window->calls.clear();
    m_window->tableChanges = 0;
    // A folder passes for an existing file, and no reader takes it.
    const QString path = QDir(documents()).filePath(QStringLiteral("folder.xlsx"));
    QVERIFY(QDir().mkpath(path));
    scriptImport(path, QStringLiteral("2"));
    m_platform->answerMessageBox(MessageButton::Ok);
    m_commands->importFromExcel();

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QVERIFY2(said.text.contains(path), qPrintable(said.text));
    QCOMPARE(list().GetItem(1, 1), QStringLiteral("mine"));
    QCOMPARE(list().ListCount(), 1);
    QCOMPARE(m_window->tableChanges, 0);
    QVERIFY(!list().table().UndoStore().empty());
    QVERIFY(m_window->calls.contains(QStringLiteral("grid shown")));
    QCOMPARE(m_window->calls.back(), QStringLiteral("progress hidden"));
    QVERIFY(!m_window->calls.contains(QStringLiteral("dirty")));
    m_platform->verifyAllAnswered();
}

// On a machine of 16 MiB the import may hold 2 MiB; a sheet of long texts needs more. The user
// is told that nothing was imported, and the table, the journal and the dirty flag are as they
// were before the command.
void TestExchangeCommands::importOfTooMuchTextChangesNothing() {
    m_platform->setPhysicalMemory(qint64(16) << 20);
    list().AddMoreThanOneRow(2);
    list().ChangeItem(2, 1, QStringLiteral("mine"));
    list().SetBold(3, 1, true);
    list().table().setCellText(3, 7, u"hidden");
    m_window->dirty = false;
    m_window->calls.clear();
    m_window->tableChanges = 0;
    QList<Cell> before;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= Table::MaxColumns; ++column) {
            before.append(list().table().cellAt(row, column).toCell());
        }
    }
    const std::deque<QString> journal = list().table().UndoStore();
    const QByteArray field(32767, 'x');
    QByteArray line = field;
    for (int column = 2; column <= 8; ++column) {
        line += ',' + field;
    }
    const QString path = sheet(QStringLiteral("long.csv"), (line + '\n').repeated(8));
    scriptImport(path, QStringLiteral("10"));
    m_platform->answerMessageBox(MessageButton::Ok);
    m_commands->importFromExcel();

    QCOMPARE(m_platform->messageBoxes().size(), 1);
    const MessageBoxRequest said = m_platform->messageBoxes().front();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QVERIFY2(said.text.contains(path), qPrintable(said.text));
    QVERIFY2(said.text.contains(u"holds more text than can be imported"), qPrintable(said.text));
    QVERIFY2(said.text.contains(u"Nothing was imported."), qPrintable(said.text));
    QCOMPARE(list().ListCount(), 3);
    QList<Cell> after;
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= Table::MaxColumns; ++column) {
            after.append(list().table().cellAt(row, column).toCell());
        }
    }
    QCOMPARE(after, before);
    QCOMPARE(list().table().UndoStore(), journal);
    QVERIFY(!m_window->dirty);
    QVERIFY(!m_window->calls.contains(QStringLiteral("dirty")));
    QCOMPARE(m_window->tableChanges, 0);
    QCOMPARE(m_window->calls.back(), QStringLiteral("progress hidden"));
    m_platform->verifyAllAnswered();
}

// --- through the window ------------------------------------------------------------------------

// The two menu items run the commands in the database window: its progress frame with the
// caption, its grid hidden during the import only.
void TestExchangeCommands::menuItemsRunThroughTheWindow() {
    frmItems window(*m_session);
    window.resize(500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    List& grid = window.List1();
    QWidget* frame = &window.pleaseWait();
    auto* caption = window.findChild<QLabel*>(QStringLiteral("PleaseWaitCaption"));
    // Writes down the grid and the frame being shown and hidden.
    class Watcher final : public QObject {
    public:
        QStringList seen;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
                seen << watched->objectName() + (event->type() == QEvent::Show
                                                     ? QStringLiteral(" shown")
                                                     : QStringLiteral(" hidden"));
            }
            return false;
        }
    } watcher;
    grid.installEventFilter(&watcher);
    frame->installEventFilter(&watcher);

    grid.ChangeItem(1, 1, QStringLiteral("out"));
    window.setChangeStatus(QStringLiteral("0"));
    window.menuItem(QStringLiteral("exporttoexcel"))->trigger();
    QCOMPARE(bookFiles().size(), 1);
    QCOMPARE(watcher.seen, (QStringList{"PleaseWait shown", "PleaseWait hidden"}));
    QCOMPARE(window.lblChangeStatus(), QStringLiteral("0"));

    watcher.seen.clear();
    const QString path = sheet(QStringLiteral("in.csv"), "in\n");
    scriptImport(path, QStringLiteral("1"));
    window.menuItem(QStringLiteral("importfromexcel"))->trigger();
    QCOMPARE(watcher.seen,
             (QStringList{"PleaseWait shown", "List1 hidden", "List1 shown", "PleaseWait hidden"}));
    QCOMPARE(grid.GetItem(1, 1), QStringLiteral("in"));
    QCOMPARE(caption->text(), QStringLiteral("Importing data from Microsoft Excel:"));
    QCOMPARE(window.lblChangeStatus(), QStringLiteral("1"));
    QVERIFY(grid.table().UndoStore().empty());
    grid.removeEventFilter(&watcher);
    frame->removeEventFilter(&watcher);
    m_platform->verifyAllAnswered();
}

QTEST_MAIN(TestExchangeCommands)
#include "tst_exchangecommands.moc"
