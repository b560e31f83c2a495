#include "qelfile/DatabaseFile.h"
#include "qelfile/read/QelTableReader.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The whole table as one line of text: columns, row count and every cell slot that is not
// default, columns above ColumnCount included.
QString dump(const Table& table) {
    QStringList parts{QStringLiteral("%1 cols").arg(table.ColumnCount())};
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        parts.append(
            QStringLiteral("[%1|%2]").arg(table.GetColumnHeader(c)).arg(table.GetWidthColumn(c)));
    }
    parts.append(QStringLiteral("%1 rows").arg(table.ListCount()));
    for (int r = 1; r <= table.ListCount(); ++r) {
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            const CellRef cell = table.cellAt(r, c);
            if (cell.Text.isEmpty() && !cell.Bold && !cell.Itallic && !cell.Underlined &&
                cell.Color == 0) {
                continue;
            }
            QString format = QString(cell.Bold ? "b" : "") + (cell.Itallic ? "i" : "") +
                             (cell.Underlined ? "u" : "");
            if (cell.Color != 0) {
                format += QString::number(cell.Color);
            }
            parts.append(QStringLiteral("(%1,%2)%3").arg(r).arg(c).arg(cell.Text.toString()) +
                         (format.isEmpty() ? QString() : "/" + format));
        }
    }
    return parts.join(u' ');
}

void put(Table& table, int row, int column, const QString& text, bool bold = false,
         bool itallic = false, bool underlined = false, qint32 color = 0) {
    table.setCell(row, column, CellRef{text, bold, itallic, underlined, color});
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

QByteArray scrambled(QByteArray bytes) {
    const char key[] = "kq#47@tmRVp";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = char(bytes[i] ^ key[((i % 1048576) + 1) % 11]);
    }
    return bytes;
}

// The table that every form must carry through a save and a reopen.
void fillRichTable(Table& table) {
    table.LetWidthColumn(1, 120);
    table.SetColumnHeader(1, QStringLiteral("Name"));
    table.AddColumn(0, 80, QStringLiteral("Cena|EUR"));
    table.AddColumn(0, 60, QStringLiteral("\u0416#\u65E5\u672C"));
    table.resetRows(6);
    put(table, 1, 1, QStringLiteral("x#y"), true);
    put(table, 1, 2, QStringLiteral("a|b||c"), false, true, false, 255);
    put(table, 1, 3, QStringLiteral("|#||"), false, false, true, -1);
    put(table, 2, 1, QStringLiteral("\u017Dlu\u0165ou\u010Dk\u00FD k\u016F\u0148"), false, false,
        false, 0x00FF00);
    put(table, 2, 3, QStringLiteral("\U0001F600 \u0627\u0644\u0639\u0631\u0628\u064A\u0629"));
    put(table, 3, 2, QStringLiteral("#"), true, true, true, 0x7FFFFFFF);
    put(table, 3, 3, QStringLiteral("##0#000#1#1"), false, true, true, INT_MIN);
    put(table, 4, 1, QStringLiteral(" blanks around "));
    put(table, 6, 3, QStringLiteral("last\tone"), true, false, true, 12345);
}

// Delivers its bytes up to `failAt`, then fails, as a disk going bad under the reader.
class FailingDevice final : public QIODevice {
public:
    FailingDevice(QByteArray bytes, qint64 failAt) : m_bytes(std::move(bytes)), m_failAt(failAt) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_position >= m_failAt) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 count = qMin(maxSize, m_failAt - m_position);
        std::memcpy(data, m_bytes.constData() + m_position, size_t(count));
        m_position += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_failAt;
    qint64 m_position = 0;
};

} // namespace

class TestDatabaseFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fourLineExample();
    void storedFixture();
    void legacyWindows1250Line();
    void roundTrip_data();
    void roundTrip();
    void protectedSavesReuseThePassword();
    void refusedPasswordLeavesEverything();
    void passwordsLetInWithoutAsking_data();
    void passwordsLetInWithoutAsking();
    void cancelledPasswordWritesNothing();
    void saveFileFallsBackToSaveFileAs_data();
    void saveFileFallsBackToSaveFileAs();
    void malformedInput_data();
    void malformedInput();
    void longLinesAndCutStoredFiles();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void unreadableFiles();
    void readFailingPartWay_data();
    void readFailingPartWay();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabaseFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDatabaseFile::fourLineExample() {
    Table table;
    table.LetWidthColumn(1, 220);
    table.SetColumnHeader(1, QStringLiteral("A"));
    table.resetRows(30);
    put(table, 1, 1, QStringLiteral("Ann"), true, false, false, 255);
    put(table, 3, 1, QStringLiteral("x#y"), false, false, true, 0);
    put(table, 5, 1, QString(), true); // formatting without text is not kept
    DatabaseFile file(table);
    QVERIFY(file.SaveFileAs(path("four.QEL")).ok());
    QCOMPARE(contentOf(path("four.QEL")),
             QByteArray("\\\\1|#||A|220\r\n\\\\30\r\nAnn#255#100#1#1\r\nx#y#0#010#1#3\r\n"));
    QCOMPARE(file.sFileName(), path("four.QEL"));
    QVERIFY(!file.iIsEncrypted());

    Table reopened;
    DatabaseFile reader(reopened);
    QVERIFY(reader.OpenFile(path("four.QEL")).ok());
    QCOMPARE(dump(reopened), "1 cols [A|220] 30 rows (1,1)Ann/b255 (3,1)x#y/u");
    QVERIFY(reopened.UndoStore().empty());
}

// A small protected file as stored, byte for byte: "#@#", the password "pw", one column "A"
// of width 100, one row holding "hi".
void TestDatabaseFile::storedFixture() {
    const QByteArray stored("\x52\x63\x17\x3A\x4A\x04\x1A\x5F\x5C\x2C\x37\x40\x5F\x17\x4B\x3C\x35"
                            "\x11\x63\x66\x40\x66\x7B\x7F\x68\x06\x4D\x7E\x05\x3B\x75\x40\x48\x41"
                            "\x13\x04\x14\x71\x57\x5C\x5F\x5C");
    Table table;
    put(table, 1, 1, QStringLiteral("hi"));
    table.SetColumnHeader(1, QStringLiteral("A"));
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.SaveFileAs(path("small.QEL"), true).ok());
    QCOMPARE(contentOf(path("small.QEL")), stored);
    // Only the finished file is left in the folder: no plain copy, no temporary file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"small.QEL"});

    Table reopened;
    DatabaseFile reader(reopened, &prompts);
    QVERIFY(reader.OpenFile(path("small.QEL")).ok());
    QCOMPARE(prompts.checked(), QStringList{"pw"});
    QCOMPARE(dump(reopened), "1 cols [A|100] 1 rows (1,1)hi");
    QVERIFY(reader.iIsEncrypted());
    QCOMPARE(reader.sPassword(), QStringLiteral("pw"));
}

// Files written on Windows hold the Central European code page; lines that are valid UTF-8
// are read as UTF-8, each line deciding for itself.
void TestDatabaseFile::legacyWindows1250Line() {
    writeFile(path("legacy.QEL"), QByteArray("\\\\1|#||M\xECsto|90\r\n\\\\2\r\n"
                                             "\xC8\x65\x9Atina#0#000#1#1\r\n"
                                             "\xC4\x8C\x65\xC5\xA1tina#0#000#1#2\r\n"));
    Table table;
    DatabaseFile file(table);
    QVERIFY(file.OpenFile(path("legacy.QEL")).ok());
    QCOMPARE(dump(table), QStringLiteral("1 cols [M\u011Bsto|90] 2 rows (1,1)\u010Ce\u0161tina "
                                         "(2,1)\u010Ce\u0161tina"));
}

void TestDatabaseFile::roundTrip_data() {
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("promptedWith");
    QTest::newRow("plain") << false << QString() << QStringList{};
    QTest::newRow("stored with a password")
        << true << QStringLiteral("s\u00E9cret #|") << QStringList{"s\u00E9cret #|"};
    QTest::newRow("stored without a password")
        << true << QString(NoPasswordMarker) << QStringList{};
}

void TestDatabaseFile::roundTrip() {
    QFETCH(bool, stored);
    QFETCH(QString, password);
    QFETCH(QStringList, promptedWith);
    Table table;
    fillRichTable(table);
    const QString expected = dump(table);
    put(table, 5, 2, QString(), true, true, true, 99); // format of an empty cell is dropped

    ScriptedPrompts prompts;
    prompts.newPassword = password;
    DatabaseFile file(table, &prompts);
    QVERIFY(file.SaveFileAs(path("rich.QEL"), stored).ok());
    QCOMPARE(prompts.asked(), stored ? 1 : 0);
    QCOMPARE(prompts.saved(), stored ? 1 : 0);

    Table reopened;
    DatabaseFile reader(reopened, &prompts);
    QVERIFY(reader.OpenFile(path("rich.QEL")).ok());
    QCOMPARE(dump(reopened), expected);
    QCOMPARE(prompts.checked(), promptedWith);
    QCOMPARE(reader.iIsEncrypted(), stored);
    QCOMPARE(reader.sPassword(), password);
    QVERIFY(reopened.UndoStore().empty());
    QVERIFY(reopened.RedoStore().empty());
}

// After a protected SaveFileAs, and after opening a protected file, SaveFile writes the same
// password again without asking and without "Saved".
void TestDatabaseFile::protectedSavesReuseThePassword() {
    Table table;
    put(table, 1, 1, QStringLiteral("v1"));
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw1");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.SaveFileAs(path("p.QEL"), true).ok());
    put(table, 1, 1, QStringLiteral("v2"));
    QVERIFY(file.SaveFile(path("p.QEL"), true).ok());
    QCOMPARE(prompts.asked(), 1);
    QCOMPARE(prompts.saved(), 1);

    Table reopened;
    DatabaseFile second(reopened, &prompts);
    QVERIFY(second.OpenFile(path("p.QEL")).ok());
    QCOMPARE(prompts.checked(), QStringList{"pw1"});
    QCOMPARE(reopened.GetItem(1, 1), QStringLiteral("v2"));
    put(reopened, 1, 1, QStringLiteral("v3"));
    QVERIFY(second.SaveFile(path("p.QEL"), true).ok());
    QCOMPARE(prompts.asked(), 1);

    Table third;
    DatabaseFile reader(third, &prompts);
    QVERIFY(reader.OpenFile(path("p.QEL")).ok());
    QCOMPARE(prompts.checked(), (QStringList{"pw1", "pw1"}));
    QCOMPARE(third.GetItem(1, 1), QStringLiteral("v3"));
}

void TestDatabaseFile::refusedPasswordLeavesEverything() {
    // Long enough that most of the file is still unread when the password is refused.
    QByteArray locked("#@#\r\nsecret\r\n\\\\1|#||Z|9\r\n\\\\50000\r\n");
    for (int row = 1; row <= 50000; ++row) {
        locked += "z" + QByteArray::number(row) + "#0#000#" + QByteArray::number(row) + "#1\r\n";
    }
    writeFile(path("locked.QEL"), scrambled(locked));
    writeFile(path("mine.QEL"), "\\\\1|#||A|50\r\n\\\\2\r\nmine#0#000#1#2\r\n");
    Table table;
    ScriptedPrompts prompts;
    DatabaseFile file(table, &prompts);
    QVERIFY(file.OpenFile(path("mine.QEL")).ok());
    table.ChangeItem(1, 1, QStringLiteral("edited"));
    const QString before = dump(table);

    prompts.letIn(false);
    const FileResult result = file.OpenFile(path("locked.QEL"));
    QCOMPARE(result.status, FileResult::Status::PasswordRefused);
    QCOMPARE(prompts.checked(), QStringList{"secret"});
    QVERIFY(!prompts.askedOffThread);
    QCOMPARE(dump(table), before);
    QCOMPARE(table.UndoStore().size(), size_t(1));
    QCOMPARE(file.sFileName(), path("mine.QEL"));
    QVERIFY(!file.iIsEncrypted());

    // Without password dialogs a real password is refused too.
    DatabaseFile unattended(table);
    QCOMPARE(unattended.OpenFile(path("locked.QEL")).status, FileResult::Status::PasswordRefused);
    QCOMPARE(dump(table), before);
}

void TestDatabaseFile::passwordsLetInWithoutAsking_data() {
    QTest::addColumn<QByteArray>("passwordLine");
    QTest::newRow("no password marker") << QByteArray("!Dor@7%K");
    QTest::newRow("empty password") << QByteArray();
}

void TestDatabaseFile::passwordsLetInWithoutAsking() {
    QFETCH(QByteArray, passwordLine);
    writeFile(path("open.QEL"), scrambled("#@#\r\n" + passwordLine +
                                          "\r\n\\\\1|#||A|9\r\n\\\\1\r\nin#0#000#1#1\r\n"));
    Table table;
    ScriptedPrompts prompts;
    prompts.letIn(false);
    DatabaseFile file(table, &prompts);
    QVERIFY(file.OpenFile(path("open.QEL")).ok());
    QVERIFY(prompts.checked().isEmpty());
    QCOMPARE(table.GetItem(1, 1), QStringLiteral("in"));
    QCOMPARE(file.sPassword(), QString::fromLatin1(passwordLine));
    QVERIFY(file.iIsEncrypted());
}

void TestDatabaseFile::cancelledPasswordWritesNothing() {
    writeFile(path("old.QEL"), "old bytes");
    Table table;
    ScriptedPrompts prompts; // no password: the user cancels
    DatabaseFile file(table, &prompts);
    QCOMPARE(file.SaveFileAs(path("old.QEL"), true).status, FileResult::Status::Cancelled);
    QCOMPARE(file.SaveFile(path("new.QEL"), true).status, FileResult::Status::Cancelled);
    QCOMPARE(contentOf(path("old.QEL")), QByteArray("old bytes"));
    QVERIFY(!QFile::exists(path("new.QEL")));
    QCOMPARE(prompts.saved(), 0);
    QVERIFY(file.sFileName().isEmpty());
    QVERIFY(!file.iIsEncrypted());
}

void TestDatabaseFile::saveFileFallsBackToSaveFileAs_data() {
    QTest::addColumn<bool>("openedStored");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("encryptedAfter");
    QTest::addColumn<QString>("passwordAfter");
    // The document was opened from "doc.QEL", plain or stored with the password "pw".
    QTest::newRow("plain, same name, plain")
        << false << "doc.QEL" << false << false << false << QString();
    QTest::newRow("plain, same name, stored")
        << false << "doc.QEL" << true << true << true << "new";
    QTest::newRow("stored, same name, stored")
        << true << "doc.QEL" << true << false << true << "pw";
    QTest::newRow("stored, same name, plain keeps the state")
        << true << "doc.QEL" << false << false << true << "pw";
    QTest::newRow("stored, other letter case, stored")
        << true << "DOC.QEL" << true << true << true << "new";
    QTest::newRow("stored, other name, plain")
        << true << "b.QEL" << false << false << false << "pw";
}

void TestDatabaseFile::saveFileFallsBackToSaveFileAs() {
    QFETCH(bool, openedStored);
    QFETCH(QString, saveName);
    QFETCH(bool, encrypted);
    QFETCH(bool, asks);
    QFETCH(bool, encryptedAfter);
    QFETCH(QString, passwordAfter);
    const QByteArray lines("\\\\1|#||A|9\r\n\\\\1\r\nd#0#000#1#1\r\n");
    writeFile(path("doc.QEL"), openedStored ? scrambled("#@#\r\npw\r\n" + lines) : lines);
    Table table;
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("new");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.OpenFile(path("doc.QEL")).ok());
    QVERIFY(file.SaveFile(path(saveName), encrypted).ok());
    QCOMPARE(prompts.asked(), asks ? 1 : 0);
    QCOMPARE(prompts.saved(), asks ? 1 : 0);
    QCOMPARE(file.sFileName(), path(saveName));
    QCOMPARE(file.iIsEncrypted(), encryptedAfter);
    QCOMPARE(file.sPassword(), passwordAfter);
    const QByteArray written = contentOf(path(saveName));
    QCOMPARE(written,
             encrypted ? scrambled("#@#\r\n" + passwordAfter.toUtf8() + "\r\n" + lines) : lines);
}

void TestDatabaseFile::malformedInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    // Every case starts from a two-column table "Old1", "Old2" whose row 1 holds "keep".
    QTest::newRow("empty file changes nothing")
        << QByteArray() << "2 cols [Old1|50] [Old2|60] 1 rows (1,1)keep";
    QTest::newRow("header without |#||") << QByteArray("\\\\1|A|220\r\n\\\\2\r\na#0#000#1#2\r\n")
                                         << "1 cols [Old1|50] 2 rows (2,1)a";
    QTest::newRow("header promises 3 defines 2")
        << QByteArray("\\\\3|#||A|10||B|20\r\n\\\\1\r\n") << "2 cols [A|10] [B|20] 1 rows";
    QTest::newRow("count not a number")
        << QByteArray("\\\\x|#||A|10\r\n\\\\1\r\n") << "1 cols [Old1|50] 1 rows";
    QTest::newRow("width over 510 on column 1, widths not numbers")
        << QByteArray("\\\\2|#||A|9999||B|x\r\n") << "2 cols [A|510] [B|100] 1 rows";
    QTest::newRow("row count beyond what the file could need")
        << QByteArray("\\\\1|#||A|10\r\n\\\\2147483647\r\nx#0#000#1#1\r\n")
        << "1 cols [A|10] 1 rows (1,1)x";
    QTest::newRow("row count past 32 bits")
        << QByteArray("\\\\1|#||A|10\r\n\\\\99999999999999999999\r\n") << "1 cols [A|10] 1 rows";
    QTest::newRow("row count not a number, zero, negative")
        << QByteArray("\\\\1|#||A|10\r\n\\\\abc\r\n") << "1 cols [A|10] 1 rows";
    QTest::newRow("row count zero")
        << QByteArray("\\\\1|#||A|10\r\n\\\\0\r\n") << "1 cols [A|10] 1 rows";
    QTest::newRow("cells out of range")
        << QByteArray("\\\\1|#||A|10\r\n\\\\2\r\na#0#000#1#0\r\nb#0#000#1#3\r\nc#0#000#0#1\r\n"
                      "d#0#000#33#1\r\ne#0#000#5#2\r\nf#0#000#-1#1\r\n")
        << "1 cols [A|10] 2 rows (2,5)e";
    QTest::newRow("malformed cell lines skipped")
        << QByteArray("\\\\1|#||A|10\r\n\\\\2\r\njunk\r\na#b#c#d#e\r\nx#0#0a0#1#1\r\n"
                      "ok#1#001#1#2\r\n")
        << "1 cols [A|10] 2 rows (2,1)ok/i1";
    QTest::newRow("lone CR ends and no final line end")
        << QByteArray("\\\\1|#||A|10\r\\\\2\ry#0#000#1#2") << "1 cols [A|10] 2 rows (2,1)y";
    QTest::newRow("empty lines count")
        << QByteArray("\r\n\\\\1|#||A|10\r\nz#0#000#1#1\r\n") << "1 cols [Old1|50] 1 rows (1,1)z";
    QTest::newRow("protected without password line")
        << QByteArray("#@#") << "2 cols [Old1|50] [Old2|60] 1 rows (1,1)keep";
    QTest::newRow("binary junk") << QByteArray("\x00\xff\r\x80#\x01#\xfe#1#1\r\n\\\\\x00\x00", 16)
                                 << "1 cols [Old1|50] 1 rows";

    // A row's cell lines need not follow each other: rows come back, and a cell given twice
    // takes the later line, its format included.
    QTest::newRow("cells in any order")
        << QByteArray("\\\\1|#||A|10\r\n\\\\3\r\na#0#000#1#2\r\nb#5#100#3#2\r\nc#0#000#1#1\r\n"
                      "d#0#001#1#2\r\n#7#010#2#2\r\ne#0#000#1#3\r\n")
        << "1 cols [A|10] 3 rows (1,1)c (2,1)d/i (2,2)/u7 (2,3)b/b5 (3,1)e";
    // Texts longer than the reader gathers for one row at a time.
    const QByteArray x(3000, 'x');
    const QByteArray y(5000, 'y');
    QTest::newRow("long texts in one row")
        << QByteArray("\\\\2|#||A|10||B|20\r\n\\\\1\r\n" + x + "#0#000#1#1\r\n" + y +
                      "#0#000#2#1\r\nz#0#000#3#1\r\n" + x + "#1#000#2#1\r\n")
        << "2 cols [A|10] [B|20] 1 rows (1,1)" + QString(x) + " (1,2)" + QString(x) + "/1 (1,3)z";

    QByteArray wide("\\\\40|#");
    QString captions;
    for (int c = 1; c <= 40; ++c) {
        wide += "||C" + QByteArray::number(c) + "|" + QByteArray::number(c + 5);
        if (c <= 32) {
            captions += QStringLiteral(" [C%1|%2]").arg(c).arg(c + 5);
        }
    }
    wide += "\r\n\\\\1\r\nlast#0#000#32#1\r\nbeyond#0#000#33#1\r\n";
    QTest::newRow("40 columns") << wide << "32 cols" + captions + " 1 rows (1,32)last";
}

void TestDatabaseFile::malformedInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    Table table;
    table.LetWidthColumn(1, 50);
    table.SetColumnHeader(1, QStringLiteral("Old1"));
    table.AddColumn(0, 60, QStringLiteral("Old2"));
    put(table, 1, 1, QStringLiteral("keep"));
    writeFile(path("bad.QEL"), bytes);
    DatabaseFile file(table);
    QVERIFY(file.OpenFile(path("bad.QEL")).ok());
    QCOMPARE(dump(table), expected);
    QCOMPARE(file.sFileName(), path("bad.QEL"));
}

// A 10 MB cell text loads; a stored file cut inside its second chunk loads up to the cut.
void TestDatabaseFile::longLinesAndCutStoredFiles() {
    const QString longText(10 * 1000 * 1000, u'w');
    Table table;
    table.resetRows(120000);
    for (int r = 1; r <= 120000; ++r) {
        put(table, r, 1, QStringLiteral("row %1").arg(r));
    }
    put(table, 2, 1, longText);
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.SaveFileAs(path("big.QEL"), true).ok());

    Table reopened;
    DatabaseFile reader(reopened, &prompts);
    QVERIFY(reader.OpenFile(path("big.QEL")).ok());
    QCOMPARE(reopened.GetItem(2, 1), longText);
    QCOMPARE(reopened.GetItem(120000, 1), QStringLiteral("row 120000"));

    QFile cut(path("big.QEL"));
    QVERIFY(cut.resize(10 * 1000 * 1000 + 1500000));
    Table partial;
    DatabaseFile cutReader(partial, &prompts);
    QVERIFY(cutReader.OpenFile(path("big.QEL")).ok());
    QCOMPARE(partial.ListCount(), 120000);
    QCOMPARE(partial.GetItem(2, 1), longText);
    QCOMPARE(partial.GetItem(3, 1), QStringLiteral("row 3"));
    QVERIFY(partial.GetItem(120000, 1).isEmpty());
}

void TestDatabaseFile::failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("limit"); // bytes a file may take
    QTest::newRow("file size limit reached half-way") << "fsize" << 20000 << 64 * 1024;
    // The whole file would sit in a write buffer until the file is closed: a failure there
    // must not pass for a save.
    QTest::newRow("file size limit reached at the end") << "fsize" << 200 << 4 * 1024;
    QTest::newRow("read-only folder") << "readonly" << 20000 << 0;
}

void TestDatabaseFile::failedSaveKeepsTheOldFile() {
    QFETCH(QString, how);
    QFETCH(int, rows);
    QFETCH(int, limit);
    const QByteArray old("\\\\1|#||A|9\r\n\\\\1\r\nold#0#000#1#1\r\n");
    writeFile(path("keep.QEL"), old);
    Table table;
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.OpenFile(path("keep.QEL")).ok());
    table.resetRows(rows);
    for (int r = 1; r <= rows; ++r) {
        put(table, r, 1, QStringLiteral("a longer text for row %1").arg(r));
    }

    FileResult plain;
    FileResult stored;
    if (how == "fsize") {
        // Writes past the limit fail with EFBIG instead of raising SIGXFSZ; the file is several
        // times larger.
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < rlim_t(limit)) {
            QSKIP("the file size limit is already lower");
        }
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = rlim_t(limit);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        plain = file.SaveFile(path("keep.QEL"));
        stored = file.SaveFileAs(path("keep.QEL"), true);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    } else {
        if (geteuid() == 0) {
            QSKIP("permissions do not bind root");
        }
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        plain = file.SaveFile(path("keep.QEL"));
        stored = file.SaveFileAs(path("keep.QEL"), true);
        QFile::setPermissions(m_dir->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    for (const FileResult& result : {plain, stored}) {
        QCOMPARE(result.status, FileResult::Status::Failed);
        QVERIFY2(result.reason.contains(path("keep.QEL")), qPrintable(result.reason));
    }
    QCOMPARE(contentOf(path("keep.QEL")), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"keep.QEL"});
    QCOMPARE(prompts.saved(), 0);
    QVERIFY(!file.iIsEncrypted());
    QVERIFY(file.sPassword().isEmpty());
}

void TestDatabaseFile::unreadableFiles() {
    Table table;
    put(table, 1, 1, QStringLiteral("keep"));
    DatabaseFile file(table);
    QCOMPARE(file.OpenFile(path("missing.QEL")).status, FileResult::Status::Failed);
    QCOMPARE(file.OpenFile(m_dir->path()).status, FileResult::Status::Failed);
    QCOMPARE(file.OpenFile(QStringLiteral("/dev/zero")).status, FileResult::Status::Failed);
    QCOMPARE(table.GetItem(1, 1), QStringLiteral("keep"));
    QVERIFY(file.sFileName().isEmpty());
}

void TestDatabaseFile::readFailingPartWay_data() {
    QTest::addColumn<qint64>("failAt");
    QTest::addColumn<bool>("tableReplaced");
    QTest::newRow("before the first line") << qint64(0) << false;
    // Past the first pieces read, whose lines replace the table.
    QTest::newRow("part way") << qint64(400 * 1024) << true;
}

// A read that fails before the table was touched changes nothing. One that fails after it was
// replaced keeps what was read, but names no file, so no save writes the partial table over
// the file it came from (or the one before it) unasked.
void TestDatabaseFile::readFailingPartWay() {
    QFETCH(qint64, failAt);
    QFETCH(bool, tableReplaced);
    Table big;
    big.resetRows(20000);
    for (int r = 1; r <= 20000; ++r) {
        put(big, r, 1, QStringLiteral("row %1 of the file that fails").arg(r));
    }
    DatabaseFile writer(big);
    QVERIFY(writer.SaveFileAs(path("big.QEL")).ok());
    const QByteArray bytes = contentOf(path("big.QEL"));
    QVERIFY(bytes.size() > failAt + 256 * 1024);

    Table table;
    put(table, 1, 1, QStringLiteral("old"));
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw");
    DatabaseFile file(table, &prompts);
    QVERIFY(file.SaveFileAs(path("old.QEL"), true).ok());
    table.ChangeItem(1, 1, QStringLiteral("edited"));
    const QString before = dump(table);

    FailingDevice device(bytes, failAt);
    const FileResult result = file.read(device, bytes.size(), path("big.QEL"));
    QCOMPARE(result.status,
             tableReplaced ? FileResult::Status::Incomplete : FileResult::Status::Failed);
    QVERIFY2(result.reason.contains(path("big.QEL")), qPrintable(result.reason));
    QVERIFY2(result.reason.contains(QStringLiteral("Input/output error")),
             qPrintable(result.reason));
    if (tableReplaced) {
        QCOMPARE(table.ListCount(), 20000);
        QCOMPARE(table.GetItem(1, 1), QStringLiteral("row 1 of the file that fails"));
        QVERIFY(table.GetItem(20000, 1).isEmpty());
        QVERIFY(table.UndoStore().empty());
        QVERIFY(file.sFileName().isEmpty());
        QVERIFY(file.sPassword().isEmpty());
        QVERIFY(!file.iIsEncrypted());
    } else {
        QCOMPARE(dump(table), before);
        QCOMPARE(table.UndoStore().size(), size_t(1));
        QCOMPARE(file.sFileName(), path("old.QEL"));
        QCOMPARE(file.sPassword(), QStringLiteral("pw"));
        QVERIFY(file.iIsEncrypted());
    }
}

QTEST_APPLESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
