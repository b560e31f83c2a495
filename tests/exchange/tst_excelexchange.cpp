#include "ExcelSandbox.h"
#include "SpreadsheetFixtures.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExcelImport.h"
#include "exchange/ExchangeMessages.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxReader.h"
#include "support/TableFixture.h"
#include "table/Table.h"

#include <QDir>
#include <QTest>

using namespace SpreadsheetFixtures;

namespace {

/// What an exchange told its window.
struct Recorder {
    QList<int> maximum;
    QList<int> values;
    QList<ExchangeMessage> messages;

    ExchangeCallbacks callbacks() {
        return {[this](int m) { maximum.append(m); }, [this](int v) { values.append(v); },
                [this](const ExchangeMessage& m) { messages.append(m); }};
    }
};

void readBack(const QString& path, SheetCells& cells) {
    std::unique_ptr<XlsxReader> reader = XlsxReader::openFile(path).object;
    QVERIFY(reader);
    readAll(*reader, cells);
}

QString sampleText(int row, int column) {
    switch ((row * 32 + column) % 9) {
    case 0:
        return QString(); // gaps in the middle of rows
    case 1:
        return QStringLiteral("\u010Ce\u0161tina %1/%2 \U0001F600").arg(row).arg(column);
    case 2:
        return QStringLiteral("  =%1+%2  ").arg(row).arg(column);
    case 3:
        return QStringLiteral("00%1").arg(row);
    case 4:
        return QStringLiteral("_x0041_ & <%1>").arg(column);
    default:
        return QStringLiteral("r%1c%2").arg(row).arg(column);
    }
}

} // namespace

Q_DECLARE_METATYPE(ExchangeMessage)

class TestExcelExchange : public QObject {
    Q_OBJECT
private slots:
    void exportRefused_data();
    void exportRefused();
    void exportWritesTheTextsOfRowsWithText();
    void exportThenImportGivesBackEveryText();
    void importOverwritesTextsOnly_data();
    void importOverwritesTextsOnly();
    void importJoinsLineBreaks();
    void importOfAnUnreadableFile_data();
    void importOfAnUnreadableFile();
};

void TestExcelExchange::exportRefused_data() {
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("available");
    QTest::addColumn<QList<ExchangeMessage>>("messages");
    QTest::addColumn<bool>("written");

    const ExchangeMessage unavailable{
        QStringLiteral("Qel 2005 failed to initialize Microsoft Excel when started "),
        QStringLiteral("Brevant      Excel Error"), ExchangeMessage::Icon::Error,
        ExchangeMessage::Buttons::Ok};
    const ExchangeMessage tooLarge{
        QStringLiteral("Qel 2005 Database is larger then Microsoft Excel "),
        QStringLiteral("Brevant      Excel Error"), ExchangeMessage::Icon::Error,
        ExchangeMessage::Buttons::Ok};
    QTest::newRow("unavailable at start-up")
        << "NERADI" << 3 << true << QList<ExchangeMessage>{unavailable} << false;
    QTest::newRow("65,501 rows") << "RADI" << 65501 << true << QList<ExchangeMessage>{tooLarge}
                                 << false;
    QTest::newRow("65,500 rows") << "RADI" << 65500 << true << QList<ExchangeMessage>{} << true;
    QTest::newRow("cannot start now") << "RADI" << 3 << false << QList<ExchangeMessage>{} << false;
}

void TestExcelExchange::exportRefused() {
    QFETCH(QString, status);
    QFETCH(int, rows);
    QFETCH(bool, available);
    QFETCH(QList<ExchangeMessage>, messages);
    QFETCH(bool, written);
    Table table;
    table.AddMoreThanOneRow(rows - 1);
    table.setCellText(rows, 1, u"last");
    ExcelSandbox sandbox;
    Recorder recorder;
    const FileResult outcome = ExcelExport::exportToExcel(
        table, status, available ? sandbox.environment() : sandbox.unavailable(),
        recorder.callbacks());
    QCOMPARE(recorder.messages, messages);
    QCOMPARE(outcome.ok(), written);
    QCOMPARE(sandbox.opened.size(), written ? 1 : 0);
    QCOMPARE(QDir(sandbox.documents()).isEmpty(), !written);
    if (written) {
        SheetCells cells;
        readBack(sandbox.opened.front(), cells);
        QCOMPARE(cells.at(rows, 1), u"last");
        QCOMPARE(recorder.values, QList<int>{rows});
    }
}

void TestExcelExchange::exportWritesTheTextsOfRowsWithText() {
    Table table;
    TableFixture::fill(table, {{"a", "b", "c"}, {}, {"", "", "x"}, {}, {"e"}});
    table.SetColumnHeader(1, "Caption");
    table.SetBold(1, 1, true);
    table.SetColor(1, 2, 0x0000FF);
    // Slots above the shown columns travel with rows that are exported; a row whose shown
    // cells are all empty is skipped even when such a slot holds text.
    table.setCellText(4, 5, u"hidden in a skipped row");
    table.setCellText(5, 7, u"hidden");
    table.setCellText(5, 32, u"slot 32");
    // Longer than a sheet cell holds: written cut, and the user is told.
    table.setCellText(5, 2, QString(40000, u'L'));

    ExcelSandbox sandbox;
    Recorder recorder;
    const FileResult outcome =
        ExcelExport::exportToExcel(table, u"RADI", sandbox.environment(), recorder.callbacks());
    QVERIFY2(outcome.ok(), qPrintable(outcome.reason));
    QCOMPARE(sandbox.opened, QStringList{QDir(sandbox.documents()).filePath("Book1.xlsx")});
    QCOMPARE(recorder.values, (QList<int>{1, 3, 5}));
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.front().text.startsWith(u"1 cell text(s) longer than 32767"));
    QCOMPARE(recorder.messages.front().title, u"Qel 2005");
    QCOMPARE(recorder.messages.front().icon, ExchangeMessage::Icon::Information);

    SheetCells cells;
    readBack(outcome.path, cells);
    QCOMPARE(row(cells, 1), (QStringList{"a", "b", "c"}));
    QCOMPARE(row(cells, 2), QStringList());
    QCOMPARE(row(cells, 3), (QStringList{"", "", "x"}));
    QCOMPARE(row(cells, 4), QStringList());
    QStringList fifth(32);
    fifth[0] = "e";
    fifth[1] = QString(32767, u'L');
    fifth[6] = "hidden";
    fifth[31] = "slot 32";
    QCOMPARE(row(cells, 5), fifth);
    QCOMPARE(cells.lastRow(), 5);
}

void TestExcelExchange::exportThenImportGivesBackEveryText() {
    constexpr int kRows = 200;
    Table source;
    while (source.ColumnCount() < Table::MaxColumns) {
        source.AddColumn();
    }
    source.AddMoreThanOneRow(kRows - 1);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            source.setCellText(r, c, sampleText(r, c));
            source.SetItallic(r, c, (r + c) % 2 == 0);
        }
    }
    ExcelSandbox sandbox;
    Recorder exported;
    const FileResult outcome =
        ExcelExport::exportToExcel(source, u"RADI", sandbox.environment(), exported.callbacks());
    QVERIFY2(outcome.ok(), qPrintable(outcome.reason));

    Table target;
    while (target.ColumnCount() < Table::MaxColumns) {
        target.AddColumn();
    }
    target.setCellText(1, 1, u"overwritten");
    target.SetBold(1, 1, true);
    Recorder imported;
    QVERIFY(ExcelImport::importExcel(target, outcome.path, kRows, sandbox.environment(),
                                     imported.callbacks())
                .ok());
    QCOMPARE(target.ListCount(), kRows);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            QCOMPARE(target.cellAt(r, c).Text, sampleText(r, c));
            QVERIFY(!target.cellAt(r, c).Itallic); // formats do not travel
        }
    }
    QVERIFY(target.cellAt(1, 1).Bold);
    QCOMPARE(imported.maximum, QList<int>{kRows});
    QCOMPARE(imported.values.size(), kRows + 1);
    QCOMPARE(imported.values.last(), kRows);
}

void TestExcelExchange::importOverwritesTextsOnly_data() {
    QTest::addColumn<int>("rowsToImport");
    QTest::addColumn<QList<QStringList>>("expected");
    // The table: 3 rows of 2 columns; the file: "new,,beyond" then ",2nd," then "3rd".
    QTest::newRow("fewer rows than the table")
        << 2 << QList<QStringList>{{"new", "b1"}, {"a2", "2nd"}, {"a3", "b3"}};
    QTest::newRow("more rows than the table (and the file)")
        << 5 << QList<QStringList>{{"new", "b1"}, {"a2", "2nd"}, {"3rd", "b3"}, {"", ""}, {"", ""}};
    QTest::newRow("no rows") << 0 << QList<QStringList>{{"a1", "b1"}, {"a2", "b2"}, {"a3", "b3"}};
}

void TestExcelExchange::importOverwritesTextsOnly() {
    QFETCH(int, rowsToImport);
    QFETCH(QList<QStringList>, expected);
    ExcelSandbox sandbox;
    const QString path = QDir(sandbox.documents()).filePath("values.csv");
    QVERIFY(writeFile(path, "new,,beyond\n,2nd,\n3rd\n"));
    Table table;
    TableFixture::fill(table, {{"a1", "b1"}, {"a2", "b2"}, {"a3", "b3"}});
    table.SetUnderlined(1, 1, true);
    table.SetColor(2, 2, 255);
    table.ClearUndoRedo();
    QVERIFY(ExcelImport::importExcel(table, path, rowsToImport, sandbox.environment(), {}).ok());
    QCOMPARE(TableFixture::texts(table), expected);
    QCOMPARE(table.ColumnCount(), 2);
    QVERIFY(table.GetUnderlined(1, 1));
    QCOMPARE(table.GetColor(2, 2), 255);
    // A value beyond the shown columns is kept in its row.
    QCOMPARE(table.cellAt(1, 3).Text, rowsToImport >= 1 ? u"beyond" : u"");
}

void TestExcelExchange::importJoinsLineBreaks() {
    ExcelSandbox sandbox;
    const QString path = QDir(sandbox.documents()).filePath("breaks.csv");
    // The second row's breaks lie past the first eight units, and in the last one.
    QVERIFY(writeFile(path, "\"a\r\nb\",\"c\rd\",\"e\nf\",\"\r\n\"\n"
                            "\"0123456789\r\nabcdefgh\",\"abcdefghijklmno\n\",\"\rabcdefghij\","
                            "\"abcdefghijklmnopqrstuvwxyz\"\n"));
    Table table;
    TableFixture::fill(table, {{"1", "2", "3", "4"}});
    QVERIFY(ExcelImport::importExcel(table, path, 2, sandbox.environment(), {}).ok());
    QCOMPARE(TableFixture::texts(table),
             (QList<QStringList>{{"ab", "cd", "ef", ""},
                                 {"0123456789abcdefgh", "abcdefghijklmno", "abcdefghij",
                                  "abcdefghijklmnopqrstuvwxyz"}}));
}

void TestExcelExchange::importOfAnUnreadableFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("available");
    QTest::newRow("missing file") << "missing.xlsx" << true;
    QTest::newRow("damaged workbook") << "damaged.xlsx" << true;
    QTest::newRow("stand-in cannot start") << "values.csv" << false;
}

void TestExcelExchange::importOfAnUnreadableFile() {
    QFETCH(QString, file);
    QFETCH(bool, available);
    ExcelSandbox sandbox;
    const QDir folder(sandbox.documents());
    QVERIFY(writeFile(folder.filePath("damaged.xlsx"), "PK\x03\x04 broken"));
    QVERIFY(writeFile(folder.filePath("values.csv"), "x,y\n"));
    Table table;
    TableFixture::fill(table, {{"before"}});
    table.ChangeItem(1, 1, QStringLiteral("kept"));
    const std::deque<QString> journal = table.UndoStore();
    QVERIFY(!journal.empty());
    Recorder recorder;
    const FileResult result = ExcelImport::importExcel(
        table, folder.filePath(file), 4, available ? sandbox.environment() : sandbox.unavailable(),
        recorder.callbacks());
    // Nothing is read and nothing is said, and the table does not grow: an import that says it
    // failed has changed nothing ...
    QCOMPARE(TableFixture::texts(table), (QList<QStringList>{{"kept"}}));
    QCOMPARE(table.UndoStore(), journal);
    QVERIFY(recorder.messages.isEmpty());
    // ... and the caller learns why, with the file named.
    QCOMPARE(result.status, FileResult::Status::Failed);
    QVERIFY2(result.reason.contains(folder.filePath(file)), qPrintable(result.reason));
}

QTEST_APPLESS_MAIN(TestExcelExchange)
#include "tst_excelexchange.moc"
