#include "settings/AppFolder.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using SettingsFile::ReadOutcome;

namespace {

// The stored form, computed here rather than by the code under test.
QByteArray stored(QByteArray plain) {
    for (char& c : plain) {
        c = char(static_cast<unsigned char>(c) ^ 0x80u);
    }
    return plain;
}

QByteArray lines(const QStringList& texts) {
    QByteArray plain;
    for (const QString& text : texts) {
        plain += text.toUtf8() + "\r\n";
    }
    return plain;
}

const QByteArray kDefaultPlain = "0\r\n5745\r\n3645\r\n1275\r\n1380\r\nTrue\r\nTrue\r\n"
                                 "\r\n\r\n\r\n\r\n\r\n\r\n"
                                 "0\r\n6210\r\n4800\r\n1275\r\n1380\r\nTrue\r\nTrue\r\n"
                                 "\r\n1\r\n";

// A record unlike the defaults in every stored field, so a field that is not read or written
// shows.
SettingsRecord changedRecord() {
    SettingsRecord r;
    r.frmItemsWindowState = "2";
    r.frmItemsHeight = "7200";
    r.frmItemsWidth = "9000";
    r.frmItemsLeft = "15";
    r.frmItemsTop = "30";
    r.frmItemstoolbarchecked = "False";
    r.frmItemstextbarchecked = "False";
    r.frmItemsfile[0] = {"/home/ana/Zbirka.QEL", "Zbirka.QEL"};
    r.frmItemsfile[1] = {};
    r.frmItemsfile[2] = {
        QStringLiteral("/home/ana/\u010Cla\u0161ki \u0416\u0443\u0440\u043D\u0430\u043B.QEL"),
        QStringLiteral("\u0416\u0443\u0440\u043D\u0430\u043B \u6570\u636E \U0001F600")};
    r.frmFileSearchWindowState = "2";
    r.frmFileSearchHeight = "4000";
    r.frmFileSearchWidth = "5000";
    r.frmFileSearchLeft = "600";
    r.frmFileSearchTop = "700";
    r.frmFileSearchtoolbarchecked = "False";
    r.frmFileSearchtextbarchecked = "x";
    r.CURRENTPASSWORD = QStringLiteral("ge\u0161lo #|1");
    r.DatabasePassword = "Disabled";
    return r;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// Makes writes past `bytes` fail with EFBIG (instead of raising SIGXFSZ) while it lives.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previous);
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimit)
    bool ok() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_previous)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

// A record as QCOMPARE shows it: the stored lines, "|"-separated, then the two fields whose
// exact text the lines do not show.
char* toString(const SettingsRecord& record) {
    QByteArray text = stored(SettingsFile::encode(record));
    text.replace("\r\n", "|").replace('\n', "\\n");
    text += " DatabasePassword=" + record.DatabasePassword.toUtf8() +
            " lblEXCELSTATUS=" + record.lblEXCELSTATUS.toUtf8();
    return qstrdup(text.constData());
}

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void defaultRecordStored_data();
    void defaultRecordStored();
    void missingFileKeepsTheDefaults();
    void shortFile_data();
    void shortFile();
    void lineEnds();
    void plainFileIsReadAndStoredBack();
    void plainFileWriteBackFailing();
    void damagedFile_data();
    void damagedFile();
    void refusedFiles_data();
    void refusedFiles();
    void hugeFileIsReadOnlyToTheCap();
    void roundTrip_data();
    void roundTrip();
    void lineBreaksInFieldsCannotShiftLines();
    void windows1250LinesReadAndRewrittenAsUtf8();
    void fileIsPrivate_data();
    void fileIsPrivate();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void readingEmptiesTheTempFolder();
    void numbers_data();
    void numbers();

private:
    AppFolder folder() const { return AppFolder(m_dir->path()); }
    QString settingsPath() const { return folder().settingsFile(); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    folder().EnsureFolders();
}

void TestSettingsFile::cleanup() {
    QFile::setPermissions(folder().systemFolder(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
}

void TestSettingsFile::defaultRecordStored_data() {
    QTest::addColumn<QString>("databasePassword");
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("enabled") << "Enabled" << kDefaultPlain;
    QByteArray disabled = kDefaultPlain;
    disabled.chop(3);
    QTest::newRow("disabled") << "Disabled" << disabled + "0\r\n";
    // Anything but "Enabled" is stored as disabled.
    QTest::newRow("enabled in other letter case") << "enabled" << disabled + "0\r\n";
}

void TestSettingsFile::defaultRecordStored() {
    QFETCH(QString, databasePassword);
    QFETCH(QByteArray, plain);
    SettingsRecord record;
    record.DatabasePassword = databasePassword;
    record.lblEXCELSTATUS = "RADI"; // never stored
    QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    const QByteArray bytes = contentOf(settingsPath());
    QCOMPARE(bytes, stored(plain));
    QVERIFY(bytes.startsWith("\xB0\x8D\x8A"));
    QCOMPARE(bytes.right(3), databasePassword == u"Enabled" ? QByteArray("\xB1\x8D\x8A")
                                                            : QByteArray("\xB0\x8D\x8A"));
    QCOMPARE(SettingsFile::encode(record), bytes);
}

void TestSettingsFile::missingFileKeepsTheDefaults() {
    SettingsRecord record = changedRecord();
    record.lblEXCELSTATUS = "RADI";
    const SettingsFile::ReadResult result = SettingsFile::ReadSettings(folder(), record);
    QCOMPARE(result.outcome, ReadOutcome::Defaults);
    QVERIFY(result.file.ok());
    SettingsRecord expected;
    expected.lblEXCELSTATUS = "RADI";
    QCOMPARE(record, expected);
    QVERIFY(!QFile::exists(settingsPath()));
}

void TestSettingsFile::shortFile_data() {
    QTest::addColumn<QByteArray>("line5");
    QTest::addColumn<QByteArray>("ending");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("five lines") << QByteArray("1380") << QByteArray("\r\n") << false;
    QTest::newRow("line 5 is 1") << QByteArray("1") << QByteArray("\r\n") << true;
    QTest::newRow("line 5 is 1 without line end") << QByteArray("1") << QByteArray() << true;
    QTest::newRow("line 5 is 1, lone CR") << QByteArray("1") << QByteArray("\r") << true;
    QTest::newRow("line 5 is 1 after a blank") << QByteArray(" 1") << QByteArray("\r\n") << false;
    QTest::newRow("line 5 is 1.0") << QByteArray("1.0") << QByteArray("\r\n") << false;
    QTest::newRow("line 5 empty") << QByteArray() << QByteArray("\r\n") << false;
}

// Fields 6 to 21 take the last line read, and so does the database-password switch.
void TestSettingsFile::shortFile() {
    QFETCH(QByteArray, line5);
    QFETCH(QByteArray, ending);
    QFETCH(bool, enabled);
    writeFile(settingsPath(), stored("2\r\n6000\r\n3000\r\n100\r\n" + line5 + ending));
    SettingsRecord record = changedRecord();
    QCOMPARE(SettingsFile::ReadSettings(folder(), record).outcome, ReadOutcome::Read);

    const QString last = QString::fromUtf8(line5);
    SettingsRecord expected;
    expected.frmItemsWindowState = "2";
    expected.frmItemsHeight = "6000";
    expected.frmItemsWidth = "3000";
    expected.frmItemsLeft = "100";
    for (QString* field :
         {&expected.frmItemsTop, &expected.frmItemstoolbarchecked, &expected.frmItemstextbarchecked,
          &expected.frmFileSearchWindowState, &expected.frmFileSearchHeight,
          &expected.frmFileSearchWidth, &expected.frmFileSearchLeft, &expected.frmFileSearchTop,
          &expected.frmFileSearchtoolbarchecked, &expected.frmFileSearchtextbarchecked,
          &expected.CURRENTPASSWORD}) {
        *field = last;
    }
    expected.frmItemsfile.fill({last, last});
    expected.DatabasePassword = enabled ? "Enabled" : "Disabled";
    QCOMPARE(record, expected);
    QCOMPARE(record.databasePasswordEnabled(), enabled);
}

void TestSettingsFile::lineEnds() {
    // A CR alone ends a line; a lone LF stays in its line; lines after the 22nd are ignored.
    const QByteArray plain = "0\r5745\r\n3645\r1275\r\n1380\rTrue\rTrue\r"
                             "/a\r\na\r\r/c\n/d\rd\r\r"
                             "2\r6210\r4800\r1275\r1380\rTrue\rTrue\r"
                             "pass\nword\r\n0\r\n1\r\nline 24\r\n";
    writeFile(settingsPath(), stored(plain));
    SettingsRecord record;
    QCOMPARE(SettingsFile::ReadSettings(folder(), record).outcome, ReadOutcome::Read);
    SettingsRecord expected;
    expected.frmItemsfile = {RecentFileSlot{"/a", "a"}, RecentFileSlot{"", "/c\n/d"},
                             RecentFileSlot{"d", ""}};
    expected.frmFileSearchWindowState = "2";
    expected.CURRENTPASSWORD = "pass\nword";
    expected.DatabasePassword = "Disabled";
    QCOMPARE(record, expected);
}

void TestSettingsFile::plainFileIsReadAndStoredBack() {
    const QByteArray plain = lines(
        {"2", "7200", "9000", "15",   "30",   "False", "True", "/q/a.QEL", "a.QEL", "",       "",
         "",  "",     "0",    "4000", "5000", "600",   "700",  "True",     "True",  "secret", "0"});
    writeFile(settingsPath(), plain);
    SettingsRecord record;
    const SettingsFile::ReadResult result = SettingsFile::ReadSettings(folder(), record);
    QCOMPARE(result.outcome, ReadOutcome::RecoveredFromPlain);
    QVERIFY2(result.file.ok(), qPrintable(result.file.reason));
    QCOMPARE(record.frmItemsHeight, QStringLiteral("7200"));
    QCOMPARE(record.frmItemsfile[0], (RecentFileSlot{"/q/a.QEL", "a.QEL"}));
    QCOMPARE(record.CURRENTPASSWORD, QStringLiteral("secret"));
    QCOMPARE(record.DatabasePassword, QStringLiteral("Disabled"));

    QCOMPARE(contentOf(settingsPath()), stored(plain));
    QCOMPARE(modeOf(settingsPath()), 0600u);

    // Now stored, it reads as such and is left alone.
    SettingsRecord again;
    QCOMPARE(SettingsFile::ReadSettings(folder(), again).outcome, ReadOutcome::Read);
    QCOMPARE(again, record);
    QCOMPARE(contentOf(settingsPath()), stored(plain));
}

// The record read is kept even when the stored form cannot be written back; the caller learns
// why, and the plain file is still there to be recovered next time.
void TestSettingsFile::plainFileWriteBackFailing() {
    const QByteArray plain = SettingsFile::flipped(SettingsFile::encode(changedRecord()));
    writeFile(settingsPath(), plain);
    SettingsRecord record;
    SettingsFile::ReadResult result;
    {
        const FileSizeLimit limit(16);
        QVERIFY(limit.ok());
        result = SettingsFile::ReadSettings(folder(), record);
    }
    QCOMPARE(result.outcome, ReadOutcome::RecoveredFromPlain);
    QCOMPARE(result.file.status, FileResult::Status::Failed);
    QVERIFY2(result.file.reason.contains(settingsPath()), qPrintable(result.file.reason));
    QCOMPARE(record, changedRecord());
    QCOMPARE(contentOf(settingsPath()), plain);
}

void TestSettingsFile::damagedFile_data() {
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty file") << QByteArray();
    QByteArray junk;
    for (int i = 0; i < 512; ++i) {
        junk += char((i * 37) & 0xFF);
    }
    QTest::newRow("binary junk") << junk;
    QTest::newRow("stored, height a word")
        << stored("0\r\nwide\r\n3645\r\n1275\r\n1380\r\nTrue\r\nTrue\r\n");
    QTest::newRow("plain, height a word") << QByteArray("0\r\nwide\r\n3645\r\n");
    QTest::newRow("stored, height empty") << stored("0\r\n\r\n3645\r\n");
    // Lines are not ended by LF alone: this is one line, repeated into the height.
    QTest::newRow("LF line ends") << stored("0\n5745\n3645\n1275\n");
}

// Neither form gives a numeric height: the fields keep their defaults (junk taken for the
// general password would lock the user out) and the file stays as it is until the next write.
void TestSettingsFile::damagedFile() {
    QFETCH(QByteArray, bytes);
    writeFile(settingsPath(), bytes);
    SettingsRecord record = changedRecord();
    record.lblEXCELSTATUS = "RADI";
    const SettingsFile::ReadResult result = SettingsFile::ReadSettings(folder(), record);
    QCOMPARE(result.outcome, ReadOutcome::Damaged);
    QVERIFY(result.file.ok());
    SettingsRecord expected;
    expected.lblEXCELSTATUS = "RADI";
    QCOMPARE(record, expected);
    QCOMPARE(contentOf(settingsPath()), bytes);

    QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    QCOMPARE(contentOf(settingsPath()), stored(kDefaultPlain));
}

void TestSettingsFile::refusedFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("link to an endless device") << "device";
    // Opening a pipe for reading would wait for a writer for ever.
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("unreadable file") << "unreadable";
}

void TestSettingsFile::refusedFiles() {
    QFETCH(QString, kind);
    const QString path = settingsPath();
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        if (geteuid() == 0) {
            QSKIP("permissions do not bind root");
        }
        writeFile(path, SettingsFile::encode(changedRecord()));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    }
    SettingsRecord record = changedRecord();
    const SettingsFile::ReadResult result = SettingsFile::ReadSettings(folder(), record);
    QCOMPARE(result.outcome, ReadOutcome::Defaults);
    QCOMPARE(result.file.status, FileResult::Status::Failed);
    QVERIFY2(result.file.reason.contains(path), qPrintable(result.file.reason));
    QCOMPARE(record, SettingsRecord());
}

void TestSettingsFile::hugeFileIsReadOnlyToTheCap() {
    const SettingsRecord written = changedRecord();
    writeFile(settingsPath(), SettingsFile::encode(written));
    {
        // Sparse: it takes no room on disk, but reading it whole would take 8 GiB of memory.
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(qint64(8) * 1024 * 1024 * 1024));
    }
    QElapsedTimer timer;
    timer.start();
    SettingsRecord record;
    QCOMPARE(SettingsFile::ReadSettings(folder(), record).outcome, ReadOutcome::Read);
    QCOMPARE(record, written);
    QVERIFY2(timer.elapsed() < 5000, "the whole file was read");
}

void TestSettingsFile::roundTrip_data() {
    QTest::addColumn<SettingsRecord>("record");
    QTest::newRow("defaults") << SettingsRecord();
    QTest::newRow("every field changed, non-Latin texts") << changedRecord();
    SettingsRecord enabled = changedRecord();
    enabled.DatabasePassword = "Enabled";
    enabled.frmItemsfile = {};
    enabled.CURRENTPASSWORD = QStringLiteral("\u65E5\u672C\u8A9E \u0142\u00F3d\u017A");
    QTest::newRow("no recent files, passwords enabled") << enabled;
    SettingsRecord spaces;
    spaces.frmItemsHeight = " 5745 ";
    spaces.CURRENTPASSWORD = "  two  spaces  ";
    spaces.frmItemsfile[1] = {"/p/#@#.QEL", "|1|"};
    QTest::newRow("blanks and marks kept") << spaces;
}

void TestSettingsFile::roundTrip() {
    QFETCH(SettingsRecord, record);
    QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    SettingsRecord read;
    read.lblEXCELSTATUS = "RADI";
    const SettingsFile::ReadResult result = SettingsFile::ReadSettings(folder(), read);
    QCOMPARE(result.outcome, ReadOutcome::Read);
    QVERIFY(result.file.ok());
    record.lblEXCELSTATUS = "RADI";
    QCOMPARE(read, record);
}

// A CR inside a field would end its line early and shift every field after it: it is left
// out. A lone LF is not a line end, so it stays.
void TestSettingsFile::lineBreaksInFieldsCannotShiftLines() {
    SettingsRecord record = changedRecord();
    record.frmItemsfile[0] = {"/x\r\ny.QEL", "x\ny"};
    record.CURRENTPASSWORD = "a\rb";
    QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    SettingsRecord read;
    QCOMPARE(SettingsFile::ReadSettings(folder(), read).outcome, ReadOutcome::Read);
    record.frmItemsfile[0] = {"/x\ny.QEL", "x\ny"};
    record.CURRENTPASSWORD = "ab";
    QCOMPARE(read, record);
}

void TestSettingsFile::windows1250LinesReadAndRewrittenAsUtf8() {
    // A file from Windows: "Čeština" in Windows-1250 beside a line of UTF-8, each line decoded
    // by itself.
    QByteArray plain = kDefaultPlain;
    plain.replace("\r\n\r\n1\r\n", "\r\n\xC8\x65\x9A\x74\x69\x6E\x61\r\n1\r\n");
    plain.replace("True\r\n\r\n", "True\r\n/home/ana/\xC4\x8D.QEL\r\n");
    writeFile(settingsPath(), stored(plain));
    SettingsRecord record;
    QCOMPARE(SettingsFile::ReadSettings(folder(), record).outcome, ReadOutcome::Read);
    QCOMPARE(record.CURRENTPASSWORD, QStringLiteral("\u010Ce\u0161tina"));
    QCOMPARE(record.frmItemsfile[0].path, QStringLiteral("/home/ana/\u010D.QEL"));

    QVERIFY(SettingsFile::WriteSettings(folder(), record).ok());
    QByteArray utf8 = plain;
    utf8.replace("\xC8\x65\x9A\x74\x69\x6E\x61", "\xC4\x8C\x65\xC5\xA1tina");
    QCOMPARE(contentOf(settingsPath()), stored(utf8));
}

void TestSettingsFile::fileIsPrivate_data() {
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<int>("mask");
    QTest::newRow("new file") << false << 022;
    QTest::newRow("new file, open umask") << false << 0;
    QTest::newRow("over an old world-readable file") << true << 022;
}

void TestSettingsFile::fileIsPrivate() {
    QFETCH(bool, oldFile);
    QFETCH(int, mask);
    if (oldFile) {
        writeFile(settingsPath(), "old");
        QVERIFY(QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ReadGroup | QFile::ReadOther));
    }
    const mode_t saved = ::umask(mode_t(mask));
    const FileResult result = SettingsFile::WriteSettings(folder(), changedRecord());
    ::umask(saved);
    QVERIFY(result.ok());
    QCOMPARE(result.path, settingsPath());
    QCOMPARE(modeOf(settingsPath()), 0600u);
}

void TestSettingsFile::failedWriteKeepsTheOldFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("file size limit") << "fsize";
    QTest::newRow("read-only folder") << "readonly";
}

void TestSettingsFile::failedWriteKeepsTheOldFile() {
    QFETCH(QString, how);
    const QByteArray old = SettingsFile::encode(SettingsRecord());
    writeFile(settingsPath(), old);
    const SettingsRecord record = changedRecord();
    FileResult result;
    if (how == "fsize") {
        // The file is far beyond 16 bytes.
        const FileSizeLimit limit(16);
        QVERIFY(limit.ok());
        result = SettingsFile::WriteSettings(folder(), record);
    } else {
        if (geteuid() == 0) {
            QSKIP("permissions do not bind root");
        }
        QVERIFY(QFile::setPermissions(folder().systemFolder(), QFile::ReadOwner | QFile::ExeOwner));
        result = SettingsFile::WriteSettings(folder(), record);
        QFile::setPermissions(folder().systemFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(result.status, FileResult::Status::Failed);
    QVERIFY2(result.reason.contains(settingsPath()), qPrintable(result.reason));
    QCOMPARE(contentOf(settingsPath()), old);
    QCOMPARE(QDir(folder().systemFolder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"0.dat"});
}

void TestSettingsFile::readingEmptiesTheTempFolder() {
    writeFile(folder().tempFolder() + "/Temp.tmp", "ERROR");
    for (const bool withFile : {false, true}) {
        if (withFile) {
            writeFile(folder().tempFolder() + "/Temp.tmp", "ERROR");
            QVERIFY(SettingsFile::WriteSettings(folder(), SettingsRecord()).ok());
        }
        SettingsRecord record;
        (void)SettingsFile::ReadSettings(folder(), record);
        QVERIFY(QDir(folder().tempFolder()).isEmpty());
    }
}

void TestSettingsFile::numbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("digits") << "5745" << true;
    QTest::newRow("blanks around") << " 5745 " << true;
    QTest::newRow("signed") << "-15" << true;
    QTest::newRow("fraction") << "5745.5" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("sign only") << "-" << false;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("exponent") << "1e3" << false;
    QTest::newRow("word") << "True" << false;
    QTest::newRow("stored form of 5745") << QStringLiteral("\u0139\u0141\u0139\u0139") << false;
}

void TestSettingsFile::numbers() {
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(SettingsFile::isNumber(text), number);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
