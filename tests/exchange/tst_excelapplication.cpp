#include "ExcelSandbox.h"
#include "SpreadsheetFixtures.h"
#include "exchange/ExcelAddress.h"
#include "exchange/ExcelApplication.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace SpreadsheetFixtures;

namespace {

SheetCells& readBack(const QString& path, SheetCells& cells) {
    std::unique_ptr<XlsxReader> reader = XlsxReader::openFile(path).object;
    if (reader) {
        readAll(*reader, cells);
    }
    return cells;
}

} // namespace

class TestExcelApplication : public QObject {
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void cannotStartWithoutItsWorkingFolder_data();
    void cannotStartWithoutItsWorkingFolder();
    void rangeOnTheActiveSheet();
    void cellsSurviveRepeatedOverwrites();
    void visibleWritesANewBookNeverOverwriting();
    void writtenTextsComeBackExactly();
    void overlongTextsAreCut();
    void unwritableDocumentsFolder();
    void openedWorkbookAndQuit();
};

void TestExcelApplication::addresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column"); // 0: not an address the stand-in takes
    QTest::newRow("A1") << "A1" << 1 << 1;
    QTest::newRow("Z9") << "Z9" << 9 << 26;
    QTest::newRow("AA10") << "AA10" << 10 << 27;
    QTest::newRow("AF65500") << "AF65500" << 65500 << 32;
    QTest::newRow("lower case") << "af2" << 2 << 32;
    QTest::newRow("last sheet row") << "B1048576" << 1048576 << 2;
    QTest::newRow("AG1 beyond the table's columns") << "AG1" << 0 << 0;
    QTest::newRow("row 0") << "A0" << 0 << 0;
    QTest::newRow("leading zero") << "A01" << 0 << 0;
    QTest::newRow("past the last row") << "A1048577" << 0 << 0;
    QTest::newRow("digits first") << "1A" << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
    QTest::newRow("absolute reference") << "$A$1" << 0 << 0;
}

void TestExcelApplication::addresses() {
    QFETCH(QString, address);
    QFETCH(int, row);
    QFETCH(int, column);
    const std::optional<ExcelAddress::Position> parsed = ExcelAddress::parse(address);
    QCOMPARE(parsed.has_value(), column != 0);
    if (parsed) {
        QCOMPARE(parsed->row, row);
        QCOMPARE(parsed->column, column);
        QCOMPARE(ExcelAddress::of(column, row).view().toString(), address.toUpper());
    }
}

void TestExcelApplication::cannotStartWithoutItsWorkingFolder_data() {
    QTest::addColumn<QString>("tempFolder");
    QTest::newRow("missing folder") << "/nonexistent/qel-temp";
    QTest::newRow("no folder given") << "";
    QTest::newRow("a file, not a folder") << QString(QEL_FIXTURES_DIR "/people.csv");
}

void TestExcelApplication::cannotStartWithoutItsWorkingFolder() {
    QFETCH(QString, tempFolder);
    ExcelSandbox sandbox;
    ExcelEnvironment settings = sandbox.environment();
    settings.tempFolder = tempFolder;
    QVERIFY(!ExcelApplication::create(settings));
    QVERIFY(ExcelApplication::create(sandbox.environment()));
}

void TestExcelApplication::rangeOnTheActiveSheet() {
    ExcelSandbox sandbox;
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(sandbox.environment());
    QVERIFY(!excel->setRange(u"A1", u"no workbook yet"));
    QCOMPARE(excel->Range(u"A1"), QString());
    excel->Workbooks().add();
    QVERIFY(excel->setRange(u"A1", u"first"));
    QVERIFY(excel->setRange(u"AF3", u"last column"));
    QVERIFY(!excel->setRange(u"AG3", u"refused"));
    QVERIFY(excel->setRange(u"A1", u"replaced"));
    QCOMPARE(excel->Range(u"B2"), QString());
    QVERIFY(excel->setRange(u"B2", u"a row below the last one")); // row 3 stays
    QCOMPARE(excel->Range(u"A1"), u"replaced");
    QCOMPARE(excel->Range(u"af3"), u"last column");
    QCOMPARE(excel->Range(u"B2"), u"a row below the last one");
    QCOMPARE(excel->Range(u"AG3"), QString());
    QVERIFY(excel->setRange(u"A1", u""));
    QCOMPARE(excel->Range(u"A1"), QString());
    excel->Workbooks().add();
    QCOMPARE(excel->Range(u"AF3"), QString()); // a new workbook is empty
}

void TestExcelApplication::cellsSurviveRepeatedOverwrites() {
    // A row keeps overwritten texts behind until it packs itself; every other cell must
    // come through the packing unchanged.
    SheetCells cells;
    for (int column = 1; column <= 32; ++column) {
        QVERIFY(cells.set(7, column, QStringLiteral("column %1").arg(column)));
    }
    for (int round = 0; round < 200; ++round) {
        QVERIFY(cells.set(7, 5, QString(round % 37, QChar(u'a' + round % 26))));
    }
    QVERIFY(cells.set(7, 9, u""));
    for (int column = 1; column <= 32; ++column) {
        const QString expected = column == 5   ? QString(199 % 37, QChar(u'a' + 199 % 26))
                                 : column == 9 ? QString()
                                               : QStringLiteral("column %1").arg(column);
        QCOMPARE(cells.at(7, column), expected);
        QCOMPARE(cells.texts(7)[size_t(column - 1)], expected);
    }
    QVERIFY(cells.rowIsEmpty(6));
    QVERIFY(!cells.rowIsEmpty(7));
    QCOMPARE(cells.lastRow(), 7);
    QVERIFY(!cells.set(0, 1, u"x"));
    QVERIFY(!cells.set(1, 33, u"x"));
}

void TestExcelApplication::visibleWritesANewBookNeverOverwriting() {
    ExcelSandbox sandbox;
    QDir documents(sandbox.documents());
    QVERIFY(writeFile(documents.filePath("Book1.xlsx"), "the user's own file"));
    QVERIFY(writeFile(documents.filePath("Book3.xlsx"), "another"));

    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(sandbox.environment());
    excel->setDisplayAlerts(false);
    QVERIFY(excel->setVisible(false).ok());
    excel->Workbooks().add();
    excel->setRange(u"B2", u"exported");
    QVERIFY(sandbox.opened.isEmpty());
    const FileResult shown = excel->setVisible(true);
    QVERIFY2(shown.ok(), qPrintable(shown.reason));
    QCOMPARE(shown.path, documents.filePath("Book2.xlsx"));
    QCOMPARE(sandbox.opened, QStringList{documents.filePath("Book2.xlsx")});
    QVERIFY(excel->setVisible(true).path.isEmpty()); // already shown: nothing more
    excel.reset();

    QFile untouched(documents.filePath("Book1.xlsx"));
    QVERIFY(untouched.open(QIODevice::ReadOnly));
    QCOMPARE(untouched.readAll(), QByteArray("the user's own file"));
    SheetCells cells;
    QCOMPARE(row(readBack(shown.path, cells), 2), (QStringList{"", "exported"}));
    // No working copy is left beside the books.
    QCOMPARE(documents.entryList(QDir::Files | QDir::Hidden),
             (QStringList{"Book1.xlsx", "Book2.xlsx", "Book3.xlsx"}));

    std::unique_ptr<ExcelApplication> second = ExcelApplication::create(sandbox.environment());
    second->Workbooks().add();
    QCOMPARE(second->setVisible(true).path, documents.filePath("Book4.xlsx"));
}

void TestExcelApplication::writtenTextsComeBackExactly() {
    const QStringList texts{QStringLiteral("\u010Ce\u0161tina \U0001F600"),
                            "literal _x0041_ and _x000D_ stay",
                            "controls \x01\x07\t\x1F",
                            "  padded  ",
                            "<&>\"'",
                            "=1+1",
                            "0042",
                            "1E5"};
    ExcelSandbox sandbox;
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(sandbox.environment());
    excel->Workbooks().add();
    for (int i = 0; i < texts.size(); ++i) {
        excel->setRange(ExcelAddress::of(i + 1, 1), texts[i]);
    }
    const FileResult shown = excel->setVisible(true);
    QVERIFY2(shown.ok(), qPrintable(shown.reason));
    SheetCells cells;
    QCOMPARE(row(readBack(shown.path, cells), 1), texts);
}

void TestExcelApplication::overlongTextsAreCut() {
    ExcelSandbox sandbox;
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(sandbox.environment());
    excel->Workbooks().add();
    excel->setRange(u"A1", QString(40000, u'x'));
    // An escape-like text that only grows past the limit once it is protected.
    excel->setRange(u"B1", QString(32760, u'y') + QStringLiteral("_x0041_"));
    excel->setRange(u"C1", QString(32767, u'z'));
    const FileResult shown = excel->setVisible(true);
    QVERIFY2(shown.ok(), qPrintable(shown.reason));
    QCOMPARE(excel->cutCells(), 2);
    SheetCells cells;
    readBack(shown.path, cells);
    QCOMPARE(cells.at(1, 1), QString(32767, u'x'));
    QVERIFY(cells.at(1, 2).startsWith(QString(32760, u'y')));
    QCOMPARE(cells.at(1, 3).size(), 32767);
}

void TestExcelApplication::unwritableDocumentsFolder() {
    ExcelSandbox sandbox;
    ExcelEnvironment settings = sandbox.environment();
    settings.documentsFolder = QString(QEL_FIXTURES_DIR "/people.csv/inside-a-file");
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(settings);
    excel->Workbooks().add();
    excel->setRange(u"A1", u"x");
    const FileResult shown = excel->setVisible(true);
    QVERIFY(!shown.ok());
    QVERIFY(sandbox.opened.isEmpty());
}

void TestExcelApplication::openedWorkbookAndQuit() {
    ExcelSandbox sandbox;
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(sandbox.environment());
    QVERIFY(!excel->Workbooks().open(fixture("missing.xlsx")).ok());
    QCOMPARE(excel->Range(u"A1"), QString());
    QVERIFY(excel->Workbooks().open(fixture("people.csv")).ok());
    QCOMPARE(excel->Range(u"A2"), u"Smith, Ann");
    QCOMPARE(excel->Range(u"C2"), u"said \"hi\"");
    excel->setDisplayAlerts(false);
    excel->Quit();
    QCOMPARE(excel->Range(u"A2"), QString());
    QVERIFY(!excel->setVisible(true).path.size());
    QVERIFY(sandbox.opened.isEmpty());
}

QTEST_APPLESS_MAIN(TestExcelApplication)
#include "tst_excelapplication.moc"
