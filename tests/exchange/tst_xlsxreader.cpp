#include "SpreadsheetFixtures.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxReader.h"
#include "exchange/sheets/XlsxSharedStrings.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

using namespace SpreadsheetFixtures;

namespace {

const QByteArray kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const QByteArray kRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

QByteArray sharedStrings(const QByteArray& items) {
    return R"(<?xml version="1.0"?><sst xmlns=")" + kMain + R"(">)" + items + "</sst>";
}

// Styles whose cell style k (from 1) has number format ids[k - 1]; style 0 is General.
QByteArray styles(const QList<int>& ids, const QByteArray& formats = {}) {
    QByteArray xfs = R"(<xf numFmtId="0"/>)";
    for (int id : ids) {
        xfs += R"(<xf numFmtId=")" + QByteArray::number(id) + R"(" applyNumberFormat="1"/>)";
    }
    return R"(<?xml version="1.0"?><styleSheet xmlns=")" + kMain + R"(">)" +
           (formats.isEmpty() ? QByteArray() : "<numFmts>" + formats + "</numFmts>") +
           R"(<cellStyleXfs><xf numFmtId="14"/></cellStyleXfs><cellXfs>)" + xfs +
           "</cellXfs></styleSheet>";
}

QByteArray numberCell(const char* reference, const char* value, int style) {
    return QByteArray(R"(<c r=")") + reference + R"(" s=")" + QByteArray::number(style) +
           R"("><v>)" + value + "</v></c>";
}

std::unique_ptr<XlsxReader> reader(const Parts& parts) {
    return XlsxReader::openBytes(zip(parts)).object;
}

} // namespace

class TestXlsxReader : public QObject {
    Q_OBJECT
private slots:
    void generatedWorkbook_data();
    void generatedWorkbook();
    void handMadePackage_data();
    void handMadePackage();
    void firstWorksheetThroughRelationships();
    void damagedPackage_data();
    void damagedPackage();
    void readsOnlyTheRowsAskedFor();
    void sharedStringsHoldBoundedText();
};

void TestXlsxReader::generatedWorkbook_data() {
    QTest::addColumn<bool>("constantMemory");
    QTest::newRow("shared strings") << false;
    QTest::newRow("inline strings") << true;
}

void TestXlsxReader::generatedWorkbook() {
    QFETCH(bool, constantMemory);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("generated.xlsx"));
    const QByteArray tmp = QFile::encodeName(dir.path());
    lxw_workbook_options options = {};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    options.tmpdir = const_cast<char*>(tmp.constData());
    lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format* dateTime = workbook_add_format(workbook);
    format_set_num_format(dateTime, "yyyy-mm-dd hh:mm:ss");
    lxw_format* time = workbook_add_format(workbook);
    format_set_num_format(time, "h:mm");
    lxw_format* duration = workbook_add_format(workbook);
    format_set_num_format(duration, "[h]:mm:ss");
    lxw_format* fixed = workbook_add_format(workbook);
    format_set_num_format(fixed, "0.00");

    worksheet_write_string(sheet, 0, 0, "Name", nullptr);
    worksheet_write_number(sheet, 0, 1, 42, nullptr);
    worksheet_write_number(sheet, 0, 2, 3.5, fixed);
    worksheet_write_boolean(sheet, 0, 3, 1, nullptr);
    worksheet_write_boolean(sheet, 0, 4, 0, nullptr);
    lxw_datetime day = {2024, 3, 15, 0, 0, 0};
    worksheet_write_datetime(sheet, 0, 5, &day, date);
    lxw_datetime moment = {2024, 3, 15, 13, 45, 30};
    worksheet_write_datetime(sheet, 0, 6, &moment, dateTime);
    worksheet_write_number(sheet, 0, 7, 0.5, time);
    worksheet_write_number(sheet, 0, 8, 1.5, duration);
    worksheet_write_number(sheet, 0, 9, 1e20, nullptr);
    worksheet_write_number(sheet, 0, 10, 0.1 + 0.2, nullptr);
    worksheet_write_number(sheet, 0, 11, -1.25, nullptr);
    worksheet_write_formula_str(sheet, 0, 12, "=A1", nullptr, "Name");
    worksheet_write_formula_num(sheet, 0, 13, "=B1*2", nullptr, 84);

    worksheet_write_string(sheet, 1, 0, "left", nullptr);
    worksheet_write_string(sheet, 1, 2, "right of a gap", nullptr);
    worksheet_write_string(sheet, 1, 31, "AF", nullptr);
    worksheet_write_string(sheet, 1, 32, "AG is beyond", nullptr);
    worksheet_write_string(sheet, 1, 51, "AZ is beyond", nullptr);

    worksheet_write_string(sheet, 3, 0,
                           "\xC4\x8C"
                           "e\xC5\xA1tina \xE2\x98\x83 \xF0\x9F\x98\x80",
                           nullptr);
    worksheet_write_string(sheet, 3, 1, "tab\there", nullptr);
    worksheet_write_string(sheet, 3, 2, "bell\x07 and <&>", nullptr);
    worksheet_write_string(sheet, 3, 3, "  spaces kept  ", nullptr);
    QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);

    std::unique_ptr<XlsxReader> xlsx = XlsxReader::openFile(dir.filePath("generated.xlsx")).object;
    QVERIFY(xlsx);
    SheetCells cells;
    QCOMPARE(readAll(*xlsx, cells), 3);
    QCOMPARE(row(cells, 1),
             (QStringList{"Name", "42", "3.5", "TRUE", "FALSE", "2024-03-15", "2024-03-15 13:45:30",
                          "12:00:00", "36:00:00", "1E+20", "0.3", "-1.25", "Name", "84"}));
    QStringList second(32);
    second[0] = "left";
    second[2] = "right of a gap";
    second[31] = "AF";
    QCOMPARE(row(cells, 2), second);
    QCOMPARE(row(cells, 3), QStringList());
    QCOMPARE(row(cells, 4), (QStringList{QStringLiteral("\u010Ce\u0161tina \u2603 \U0001F600"),
                                         "tab\there", "bell\x07 and <&>", "  spaces kept  "}));
}

void TestXlsxReader::handMadePackage_data() {
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QList<QStringList>>("rows");

    QTest::newRow("rich text runs without phonetic runs")
        << zip(package(worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)"),
                       sharedStrings(R"(<si><r><rPr><b/></rPr><t>Bold</t></r>)"
                                     R"(<r><t xml:space="preserve"> and plain</t></r>)"
                                     R"(<rPh sb="0" eb="1"><t>furigana</t></rPh>)"
                                     R"(<phoneticPr fontId="1"/></si>)")))
        << QList<QStringList>{{"Bold and plain"}};
    QTest::newRow("inline strings, plain and rich")
        << zip(package(worksheet(
               R"(<row r="1"><c r="A1" t="inlineStr"><is><t>inline</t></is></c>)"
               R"(<c r="B1" t="inlineStr"><is><r><t>ri</t></r><r><t>ch</t></r></is></c></row>)")))
        << QList<QStringList>{{"inline", "rich"}};
    QTest::newRow("escapes decoded, an escaped underscore kept literal")
        << zip(package(
               worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c>)"
                         R"(<c r="B1" t="inlineStr"><is><t>x_x0009_y</t></is></c></row>)"),
               sharedStrings(R"(<si><t>a_x000D__x000a_b _x005F_x0041_ _x0041_ _x12_</t></si>)")))
        << QList<QStringList>{{"a\r\nb _x0041_ A _x12_", "x\ty"}};
    QTest::newRow("rows and cells without references follow the one before")
        << zip(package(
               worksheet(R"(<row><c t="inlineStr"><is><t>a</t></is></c><c><v>2</v></c></row>)"
                         R"(<row><c r="C2"><v>3</v></c><c><v>4</v></c></row>)")))
        << QList<QStringList>{{"a", "2"}, {"", "", "3", "4"}};
    QTest::newRow("sparse rows and cells")
        << zip(package(worksheet(
               R"(<row r="2"><c r="C2"><v>1</v></c></row>)"
               R"(<row r="4" spans="1:2"><c r="B4" t="inlineStr"><is><t>x</t></is></c></row>)")))
        << QList<QStringList>{{}, {"", "", "1"}, {}, {"", "x"}};
    QTest::newRow("prefixed element names")
        << zip(package(
               R"(<x:worksheet xmlns:x=")" + kMain +
                   R"("><x:sheetData><x:row r="1">)"
                   R"(<x:c r="A1" t="s"><x:v>0</x:v></x:c></x:row></x:sheetData></x:worksheet>)",
               R"(<x:sst xmlns:x=")" + kMain + R"("><x:si><x:t>hi</x:t></x:si></x:sst>)"))
        << QList<QStringList>{{"hi"}};
    QTest::newRow("1900 date system around its leap day")
        << zip(package(worksheet("<row r=\"1\">" + numberCell("A1", "59", 1) +
                                 numberCell("B1", "60", 1) + numberCell("C1", "61", 1) +
                                 numberCell("D1", "1", 1) + numberCell("E1", "2958465", 1) +
                                 numberCell("F1", "2958466", 1) + numberCell("G1", "-1", 1) +
                                 "</row>"),
                       {}, styles({14})))
        << QList<QStringList>{{"1900-02-28", "1900-02-29", "1900-03-01", "1900-01-01", "9999-12-31",
                               "2958466", "-1"}};
    QTest::newRow("1904 date system")
        << zip(package(worksheet("<row r=\"1\">" + numberCell("A1", "0", 1) +
                                 numberCell("B1", "366.25", 2) + "</row>"),
                       {}, styles({14, 22}), R"(<workbookPr date1904="1"/>)"))
        << QList<QStringList>{{"1904-01-01", "1905-01-01 06:00:00"}};
    QTest::newRow("declared number formats")
        << zip(package(worksheet("<row r=\"1\">" + numberCell("A1", "45366", 1) +
                                 numberCell("B1", "2.5", 2) + numberCell("C1", "2.5", 3) +
                                 numberCell("D1", "45366", 4) + numberCell("E1", "0.75", 5) +
                                 numberCell("F1", "45366", 6) + numberCell("G1", "45366", 7) +
                                 "</row>"),
                       {},
                       styles({164, 165, 166, 167, 168, 169, 170},
                              R"(<numFmt numFmtId="164" formatCode="dd/mm/yyyy"/>)"
                              R"(<numFmt numFmtId="165" formatCode="&quot;day &quot;0.00"/>)"
                              R"(<numFmt numFmtId="166" formatCode="0.00;[Red]\-0.00"/>)"
                              R"(<numFmt numFmtId="167" formatCode="mmm\-yy"/>)"
                              R"(<numFmt numFmtId="168" formatCode="h:mm AM/PM"/>)"
                              R"(<numFmt numFmtId="169" formatCode="[$-409]d\-mmm\-yyyy;@"/>)"
                              R"(<numFmt numFmtId="170" formatCode="#,##0"/>)")))
        << QList<QStringList>{
               {"2024-03-15", "2.5", "2.5", "2024-03-15", "18:00:00", "2024-03-15", "45366"}};
    QTest::newRow("errors, booleans, formula texts and ISO dates")
        << zip(package(worksheet(
               R"(<row r="1"><c r="A1" t="e"><f>1/0</f><v>#DIV/0!</v></c>)"
               R"(<c r="B1" t="b"><v>1</v></c><c r="C1" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>)"
               R"(<c r="D1" t="d"><v>2024-03-15T00:00:00</v></c>)"
               R"(<c r="E1" t="d"><v>2024-03-15T08:30:00</v></c>)"
               R"(<c r="F1"><f>SUM()</f></c><c r="G1" t="n"><v>1.50</v></c></row>)")))
        << QList<QStringList>{
               {"#DIV/0!", "TRUE", "ab", "2024-03-15", "2024-03-15 08:30:00", "", "1.5"}};
    QTest::newRow("shared string index without a table")
        << zip(package(
               worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1"><v>7</v></c></row>)")))
        << QList<QStringList>{{"", "7"}};
    QTest::newRow("shared string index past the table")
        << zip(package(
               worksheet(R"(<row r="1"><c r="A1" t="s"><v>3</v></c><c r="B1" t="s"><v>-1</v></c>)"
                         R"(<c r="C1" t="s"><v>0</v></c></row>)"),
               sharedStrings("<si><t>only</t></si>")))
        << QList<QStringList>{{"", "", "only"}};
}

void TestXlsxReader::handMadePackage() {
    QFETCH(QByteArray, package);
    QFETCH(QList<QStringList>, rows);
    std::unique_ptr<XlsxReader> xlsx = XlsxReader::openBytes(package).object;
    QVERIFY(xlsx);
    SheetCells cells;
    readAll(*xlsx, cells);
    QCOMPARE(cells.lastRow(), int(rows.size()));
    for (int r = 1; r <= rows.size(); ++r) {
        QCOMPARE(row(cells, r), rows[r - 1]);
    }
}

void TestXlsxReader::firstWorksheetThroughRelationships() {
    // A chart sheet comes first; the worksheet's part has an unusual name and an absolute
    // target, and the workbook itself lives elsewhere than usual.
    const QByteArray rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    const Parts parts{
        {"_rels/.rels", rels + R"(<Relationship Id="a" Type=")" + kRelationship +
                            R"(officeDocument" Target="/book/main.xml"/></Relationships>)"},
        {"book/main.xml",
         R"(<workbook xmlns=")" + kMain + R"(" xmlns:rel=")" + kRelationship.chopped(1) +
             R"("><sheets><sheet name="Chart" sheetId="2" rel:id="c"/>)"
             R"(<sheet name="Data" sheetId="1" rel:id="d"/><sheet name="Other" sheetId="3" rel:id="o"/></sheets></workbook>)"},
        {"book/_rels/main.xml.rels",
         rels + R"(<Relationship Id="o" Type=")" + kRelationship +
             R"(worksheet" Target="sheets/other.xml"/>)"
             R"(<Relationship Id="c" Type=")" +
             kRelationship +
             R"(chartsheet" Target="charts/chart1.xml"/>)"
             R"(<Relationship Id="d" Type=")" +
             kRelationship +
             R"(worksheet" Target="/book/sheets/../sheets/data%20sheet.xml"/>)"
             R"(<Relationship Id="s" Type=")" +
             kRelationship + R"(sharedStrings" Target="text.xml"/></Relationships>)"},
        {"book/charts/chart1.xml", "<chartsheet/>"},
        {"book/sheets/other.xml",
         worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>other</t></is></c></row>)")},
        {"book/sheets/data sheet.xml",
         worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)")},
        {"book/text.xml", sharedStrings("<si><t>data</t></si>")},
    };
    std::unique_ptr<XlsxReader> xlsx = reader(parts);
    QVERIFY(xlsx);
    SheetCells cells;
    readAll(*xlsx, cells);
    QCOMPARE(row(cells, 1), QStringList{"data"});
}

void TestXlsxReader::damagedPackage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");

    const QByteArray twoRows = zip(
        package(worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>one</t></is></c></row>)"
                          R"(<row r="2"><c r="A2" t="inlineStr"><is><t>two</t></is></c></row>)")));
    QTest::newRow("truncated archive") << twoRows.left(twoRows.size() / 2) << QList<QStringList>{};
    QTest::newRow("not an archive")
        << QByteArray("PK\x03\x04 not really a zip") << QList<QStringList>{};
    QTest::newRow("empty archive") << zip({}) << QList<QStringList>{};
    QTest::newRow("sheet XML cut in a cell")
        << zip(package(R"(<worksheet xmlns=")" + kMain +
                       R"("><sheetData><row r="1"><c r="A1"><v>1</v></c></row>)"
                       R"(<row r="2"><c r="A2" t="inlineStr"><is><t>cut)"))
        << QList<QStringList>{{"1"}, {}};
    QTest::newRow("row numbers out of range stop the sheet")
        << zip(package(worksheet(
               R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="0"><c r="A2"><v>2</v></c></row>)")))
        << QList<QStringList>{{"1"}};
    QTest::newRow("row beyond the last sheet row")
        << zip(package(worksheet(R"(<row r="1048577"><c r="A1"><v>1</v></c></row>)")))
        << QList<QStringList>{};
    QTest::newRow("a row of more cells than a sheet has ends the sheet")
        << zip(package(worksheet("<row r=\"1\">" + QByteArray("<c><v>1</v></c>").repeated(16385) +
                                 R"(</row><row r="2"><c r="A2"><v>2</v></c></row>)")))
        << QList<QStringList>{QStringList(32, "1")};
    QTest::newRow("nonsense references and values")
        << zip(package(worksheet(
               R"(<row r="1"><c r="1A" t="s"><v>x</v></c><c r="ZZZZ1"><v>1e999</v></c>)"
               R"(<c r="C1" t="zz"><v>abc</v></c><c r="D1" s="99999"><v>5</v></c></row>)")))
        << QList<QStringList>{{"", "1e999", "abc", "5"}};
    QTest::newRow("entity expansion is bounded")
        << zip(package(
               R"(<?xml version="1.0"?><!DOCTYPE w [<!ENTITY a "aaaaaaaaaaaaaaaa">)"
               R"(<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">)"
               R"(<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">)"
               R"(<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">)"
               R"(<!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">)"
               R"(]><worksheet xmlns=")" +
               kMain +
               R"("><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&e;</t></is></c></row></sheetData></worksheet>)"))
        << QList<QStringList>{};
    QTest::newRow("no worksheet part")
        << zip(Parts{{"_rels/.rels", "<Relationships/>"}}) << QList<QStringList>{};
}

void TestXlsxReader::damagedPackage() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    std::unique_ptr<XlsxReader> xlsx = XlsxReader::openBytes(bytes).object;
    SheetCells cells;
    if (xlsx) {
        readAll(*xlsx, cells);
    }
    for (int r = 1; r <= rows.size(); ++r) {
        QCOMPARE(row(cells, r), rows[r - 1]);
    }
    QVERIFY(cells.lastRow() <= rows.size());
}

void TestXlsxReader::readsOnlyTheRowsAskedFor() {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("long.xlsx"));
    lxw_workbook* workbook = workbook_new(path.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    for (int r = 0; r < 20000; ++r) {
        worksheet_write_string(sheet, lxw_row_t(r), 0, QByteArray::number(r + 1).constData(),
                               nullptr);
    }
    QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);

    const QString name = dir.filePath("long.xlsx");
    Workbook opened(name, XlsxReader::openFile(name).object,
                    [name] { return XlsxReader::openFile(name).object; });
    QCOMPARE(opened.value(3, 1), u"3");
    // Row 3 is complete once row 4 has been seen; nothing further is read.
    QCOMPARE(opened.cells().lastRow(), 4);
    // Reading on, only the last rows stay in memory ...
    QCOMPARE(opened.value(19999, 1), u"19999");
    QVERIFY(opened.cells().rowsHeld() <= Workbook::KeptRows + Workbook::KeptRows / 4 + 1);
    QCOMPARE(opened.value(18990, 1), u"18990");
    // ... and an earlier row is read again from the start.
    QCOMPARE(opened.value(3, 1), u"3");
    QCOMPARE(opened.cells().rowsHeld(), 4);
    QCOMPARE(opened.value(30000, 1), u"");
}

void TestXlsxReader::sharedStringsHoldBoundedText() {
    // Strings up to the one asked for are held; once the held text reaches the bound, the
    // table is not read further.
    auto part = std::make_unique<QBuffer>();
    part->setData(sharedStrings("<si><t>abcd</t></si><si><t>efgh</t></si><si><t>ijkl</t></si>"));
    QVERIFY(part->open(QIODevice::ReadOnly));
    XlsxSharedStrings strings(std::move(part), 6);
    QCOMPARE(strings.at(1), u"efgh");
    QCOMPARE(strings.at(0), u"abcd");
    QCOMPARE(strings.at(2), u"");
}

QTEST_APPLESS_MAIN(TestXlsxReader)
#include "tst_xlsxreader.moc"
