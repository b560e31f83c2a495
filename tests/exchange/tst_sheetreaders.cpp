#include "SpreadsheetFixtures.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/DelimitedTextReader.h"
#include "exchange/sheets/HtmlTableReader.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SpreadsheetFile.h"
#include "exchange/sheets/XlsReader.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace SpreadsheetFixtures;
using Format = SpreadsheetFile::Format;

namespace {

std::unique_ptr<QIODevice> buffer(const QByteArray& bytes) {
    auto device = std::make_unique<QBuffer>();
    device->setData(bytes);
    device->open(QIODevice::ReadOnly);
    return device;
}

std::unique_ptr<QIODevice> file(const QString& path) {
    auto device = std::make_unique<QFile>(path);
    device->open(QIODevice::ReadOnly);
    return device;
}

void compareRows(const SheetCells& cells, const QList<QStringList>& rows) {
    QCOMPARE(cells.lastRow(), int(rows.size()));
    for (int r = 1; r <= rows.size(); ++r) {
        QCOMPARE(row(cells, r), rows[r - 1]);
    }
}

} // namespace

class TestSheetReaders : public QObject {
    Q_OBJECT
private slots:
    void delimitedFiles_data();
    void delimitedFiles();
    void delimitedText_data();
    void delimitedText();
    void delimiterDetection_data();
    void delimiterDetection();
    void htmlFile();
    void htmlText_data();
    void htmlText();
    void xlsFile();
    void formatByContent_data();
    void formatByContent();
    void unreadableFiles_data();
    void unreadableFiles();
    void textReadOnlyAsFarAsAsked();
};

void TestSheetReaders::delimitedFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("comma, quotes, doubled quotes, a line break, an empty line")
        << "people.csv"
        << QList<QStringList>{{"Name", "City", "Note"},
                              {"Smith, Ann", "Ljubljana", "said \"hi\""},
                              {"Two\r\nlines", "", "x"},
                              {},
                              {"last", "quoted \"end\" tail"}};
    QTest::newRow("semicolons around decimal commas")
        << "decimal-comma.csv" << QList<QStringList>{{"1,5", "2,5", "x"}, {"3,25", "4", "y"}};
    QTest::newRow("tabs, Windows-1250, no final line end")
        << "windows-1250.txt"
        << QList<QStringList>{{QStringLiteral("\u010Ce\u0161tina"),
                               QStringLiteral("\u0141\u00F3d\u017A"), "plain"},
                              {QStringLiteral("na\u0161e"), "2", "3"}};
    QTest::newRow("UTF-16 with its byte order mark")
        << "unicode.txt"
        << QList<QStringList>{{"Name", "City"},
                              {QStringLiteral("\u010Cer\u0161ak"),
                               QStringLiteral("\u0141\u00F3d\u017A \U0001F600")}};
}

void TestSheetReaders::delimitedFiles() {
    QFETCH(QString, name);
    QFETCH(QList<QStringList>, rows);
    DelimitedTextReader reader(file(fixture(name)));
    SheetCells cells;
    readAll(reader, cells);
    compareRows(cells, rows);
}

void TestSheetReaders::delimitedText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("UTF-8 with a byte order mark")
        << QByteArray("\xEF\xBB\xBF\xC4\x8D,b\n")
        << QList<QStringList>{{QStringLiteral("\u010D"), "b"}};
    QTest::newRow("CR alone ends a line")
        << QByteArray("a\rb\r") << QList<QStringList>{{"a"}, {"b"}};
    QTest::newRow("unterminated quote runs to the end")
        << QByteArray("a,\"b\nc") << QList<QStringList>{{"a", "b\nc"}};
    QTest::newRow("quote inside an unquoted field is kept")
        << QByteArray("5\" pipe,x") << QList<QStringList>{{"5\" pipe", "x"}};
    QTest::newRow("only the first 32 fields are kept")
        << QByteArray("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,"
                      "29,30,31,32,33,34\n")
        << QList<QStringList>{{"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
                               "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22",
                               "23", "24", "25", "26", "27", "28", "29", "30", "31", "32"}};
    QTest::newRow("empty file") << QByteArray() << QList<QStringList>{};
    QTest::newRow("binary noise stays text")
        << QByteArray("\x00\x01\xFF,\x80", 5)
        << QList<QStringList>{{QStringLiteral("\u0000\u0001\u02D9"), QStringLiteral("\u20AC")}};
}

void TestSheetReaders::delimitedText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    DelimitedTextReader reader(buffer(bytes));
    SheetCells cells;
    readAll(reader, cells);
    compareRows(cells, rows);
}

void TestSheetReaders::delimiterDetection_data() {
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<char>("delimiter");
    QTest::newRow("comma") << QByteArray("a,b,c\n1,2,3\n") << ',';
    QTest::newRow("semicolon") << QByteArray("a;b\n1;2\n") << ';';
    QTest::newRow("tab") << QByteArray("a\tb\n1\t2") << '\t';
    QTest::newRow("commas inside quotes do not count")
        << QByteArray("\"a,b,c\";d\n\"e,f\";g\n") << ';';
    QTest::newRow("tab wins over commas in the texts")
        << QByteArray("Smith, Ann\t42\nDoe, Jo\t7\n") << '\t';
    QTest::newRow("consistent count wins over more occurrences")
        << QByteArray("1,5;2,5\n3,25;4\n") << ';';
    QTest::newRow("nothing to split") << QByteArray("one\ntwo\n") << ',';
}

void TestSheetReaders::delimiterDetection() {
    QFETCH(QByteArray, sample);
    QFETCH(char, delimiter);
    QCOMPARE(DelimitedTextReader::detectDelimiter(sample), delimiter);
}

void TestSheetReaders::htmlFile() {
    HtmlTableReader reader(file(fixture("table.html")));
    SheetCells cells;
    readAll(reader, cells);
    compareRows(cells, {{"Name", "Address", "", "Note"},
                        {"Ann & Bob", "Main St. 12", "Ljubljana",
                         QStringLiteral("<b> \"x\" \u00E9\u010D\u010D \u00A0end&unknown; &amp")},
                        {"", "second\nline", "bold and link", "inner table"},
                        {"", QStringLiteral("\u010D\u0161\u017E")},
                        {"after 3 < 4 and 5 > 2"}});
}

void TestSheetReaders::htmlText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("cells without rows or end tags")
        << QByteArray("<table><td>a<td>b<tr><td>c</table>")
        << QList<QStringList>{{"a", "b"}, {"c"}};
    QTest::newRow("Windows-1250 text") << QByteArray("<table><tr><td>\xE8\x61j</td></tr></table>")
                                       << QList<QStringList>{{QStringLiteral("\u010Daj")}};
    QTest::newRow("spans reaching past AF")
        << QByteArray(
               "<table><tr><td colspan=31>a</td><td colspan=5>b</td><td>c</td></tr>"
               "<tr><td rowspan=99999 colspan=x>d</td><td>e</td></tr><tr><td>f</td></tr></table>")
        << QList<QStringList>{{"a", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                               "",  "", "", "", "", "", "", "", "", "", "", "", "", "", "", "b"},
                              {"d", "e"},
                              {"", "f"}};
    QTest::newRow("no table") << QByteArray("<html><body>text</body></html>")
                              << QList<QStringList>{};
    QTest::newRow("unterminated markup")
        << QByteArray("<table><tr><td>a</td><td title=\"never closed") << QList<QStringList>{{"a"}};
    QTest::newRow("unterminated comment")
        << QByteArray("<table><tr><td>a<!-- </td></tr>") << QList<QStringList>{{"a"}};
}

void TestSheetReaders::htmlText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    HtmlTableReader reader(buffer(bytes));
    SheetCells cells;
    readAll(reader, cells);
    compareRows(cells, rows);
}

void TestSheetReaders::xlsFile() {
    // Written by fixtures/make_tiny_xls.py. FreeXL reports a boolean as the number it holds.
    std::unique_ptr<XlsReader> reader = XlsReader::open(fixture("tiny.xls")).object;
    QVERIFY(reader);
    SheetCells cells;
    readAll(*reader, cells);
    compareRows(cells, {{"Name", "42", "3.5"},
                        {QStringLiteral("\u010Ce\u0161tina"), "", "1"},
                        {"2024-03-15", "2024-03-15 12:00:00"}});
}

void TestSheetReaders::formatByContent_data() {
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<Format>("format");
    QTest::newRow("zip named .csv") << QByteArray("PK\x03\x04rest") << "csv" << Format::Xlsx;
    QTest::newRow("compound document named .xlsx")
        << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") << "xlsx" << Format::Xls;
    QTest::newRow("bare BIFF5 stream") << QByteArray("\x09\x08\x10\x00", 4) << "xls" << Format::Xls;
    QTest::newRow("page named .xls")
        << QByteArray("\xEF\xBB\xBF\r\n  <HTML><body><table>") << "xls" << Format::Html;
    QTest::newRow("text named .html") << QByteArray("a,b") << "HTML" << Format::Html;
    QTest::newRow("text named .xlsx") << QByteArray("a;b\n") << "xlsx" << Format::DelimitedText;
    QTest::newRow("text mentioning a table")
        << QByteArray("see <table> below,x") << "csv" << Format::DelimitedText;
}

void TestSheetReaders::formatByContent() {
    QFETCH(QByteArray, head);
    QFETCH(QString, suffix);
    QFETCH(Format, format);
    QCOMPARE(SpreadsheetFile::detect(head, suffix), format);
}

void TestSheetReaders::unreadableFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("broken zip") << "broken.xlsx" << QByteArray("PK\x03\x04\x14\x00garbage")
                                << "Not a zip archive";
    QTest::newRow("compound document without a workbook (an encrypted package)")
        << "locked.xlsx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").append(1024, '\0')
        << "protected by a password";
    QTest::newRow("truncated legacy workbook")
        << "cut.xls" << QByteArray() << "protected by a password";
}

void TestSheetReaders::unreadableFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (bytes.isEmpty()) {
        QFile tiny(fixture("tiny.xls"));
        QVERIFY(tiny.open(QIODevice::ReadOnly));
        bytes = tiny.read(tiny.size() * 2 / 3);
    }
    QVERIFY(writeFile(path, bytes));
    const Opened<SheetReader> opened = SpreadsheetFile::open(path);
    QVERIFY(!opened.object);
    QCOMPARE(opened.result.status, FileResult::Status::Failed);
    // The reason names the file, and the reader's own words (libzip's, FreeXL's) say why.
    QVERIFY2(opened.result.reason.contains(path), qPrintable(opened.result.reason));
    QVERIFY2(opened.result.reason.contains(why), qPrintable(opened.result.reason));
    QVERIFY(!SpreadsheetFile::open(dir.filePath("missing.csv")).object);
    QVERIFY(!SpreadsheetFile::open(QStringLiteral("/dev/zero")).object); // would never end
}

void TestSheetReaders::textReadOnlyAsFarAsAsked() {
    QTemporaryDir dir;
    QByteArray text;
    for (int r = 1; r <= 50000; ++r) {
        text += QByteArray::number(r) + ",x\n";
    }
    QVERIFY(writeFile(dir.filePath("long.csv"), text));
    Opened<SheetReader> opened = SpreadsheetFile::open(dir.filePath("long.csv"));
    QVERIFY(opened.object);
    Workbook workbook(dir.filePath("long.csv"), std::move(opened.object));
    QCOMPARE(workbook.value(2, 1), u"2");
    QCOMPARE(workbook.cells().lastRow(), 3);
}

QTEST_APPLESS_MAIN(TestSheetReaders)
#include "tst_sheetreaders.moc"
