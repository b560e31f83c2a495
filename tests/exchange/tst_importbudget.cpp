#include "ExcelSandbox.h"
#include "SpreadsheetFixtures.h"
#include "exchange/ExcelImport.h"
#include "exchange/ImportBudget.h"
#include "support/TableFixture.h"
#include "table/Table.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace SpreadsheetFixtures;

namespace {

constexpr qint64 MiB = qint64(1) << 20;
constexpr qint64 GiB = qint64(1) << 30;

enum class Kind { XlsxSharedStrings, Xls, Csv, Html };

// FreeXL reads a string of the table that spans two records at most; strings shorter than one
// record (8,224 bytes) never span more, wherever they begin.
constexpr int kXlsLength = 8000;

/// A spreadsheet file whose `rows` x `columns` cells all hold `text`. In the workbooks with
/// a string table the table holds the text `strings` times and every cell names the last one,
/// so the table must be read whole before the first cell.
QByteArray sheetOfOneText(Kind kind, int rows, int columns, const QByteArray& text, int strings) {
    switch (kind) {
    case Kind::XlsxSharedStrings: {
        QByteArray table =
            R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
        for (int i = 0; i < strings; ++i) {
            table += "<si><t>" + text + "</t></si>";
        }
        table += "</sst>";
        const QByteArray cell = "<c t=\"s\"><v>" + QByteArray::number(strings - 1) + "</v></c>";
        QByteArray data;
        for (int r = 1; r <= rows; ++r) {
            data += "<row r=\"" + QByteArray::number(r) + "\">" + cell.repeated(columns) + "</row>";
        }
        return zip(package(worksheet(data), table));
    }
    case Kind::Xls:
        return xls(QStringList(strings, QString::fromLatin1(text)),
                   QList<QList<int>>(rows, QList<int>(columns, strings - 1)));
    case Kind::Csv: {
        QByteArray line = text;
        for (int c = 2; c <= columns; ++c) {
            line += ',' + text;
        }
        return (line + "\r\n").repeated(rows);
    }
    case Kind::Html:
        return "<html><body><table>" +
               ("<tr>" + ("<td>" + text + "</td>").repeated(columns) + "</tr>\n").repeated(rows) +
               "</table></body></html>";
    }
    return {};
}

QString suffixOf(Kind kind) {
    switch (kind) {
    case Kind::XlsxSharedStrings:
        return QStringLiteral("xlsx");
    case Kind::Xls:
        return QStringLiteral("xls");
    case Kind::Csv:
        return QStringLiteral("csv");
    case Kind::Html:
        return QStringLiteral("html");
    }
    return {};
}

/// Every slot of every row, formats included.
QList<QList<Cell>> snapshot(const Table& table) {
    QList<QList<Cell>> rows;
    for (int r = 1; r <= table.ListCount(); ++r) {
        QList<Cell> row;
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            row.append(table.cellAt(r, c).toCell());
        }
        rows.append(row);
    }
    return rows;
}

/// A line of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when the system has none.
qint64 statusBytes(const char* name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(name)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() * 1024 : -1;
}

/// How far the resident memory rose above where it stood while `run` ran; -1 when the
/// system does not let the peak be measured from here.
qint64 peakGrowthDuring(const std::function<void()>& run) {
    const qint64 before = statusBytes("VmRSS");
    // Resets the peak to the memory resident now.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (before < 0 || !clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) {
        return -1;
    }
    clear.close();
    if (statusBytes("VmHWM") > before + 4 * MiB) {
        return -1;
    }
    run();
    return statusBytes("VmHWM") - before;
}

/// A table of three rows with a format, a hidden slot and an edit in its journal.
void fillTable(Table& table) {
    TableFixture::fill(table, {{"a1", "b1"}, {"a2", "b2"}, {"a3", "b3"}});
    table.SetBold(1, 1, true);
    table.SetColor(2, 2, 255);
    table.setCellText(3, 9, u"hidden");
    table.ChangeItem(2, 1, QStringLiteral("edited"));
}

} // namespace

Q_DECLARE_METATYPE(Kind)

/// The import's memory budget: how it is derived from the machine, that imports within it
/// are whole, and that an import past it stops, says so, holds little memory meanwhile and
/// leaves the table exactly as it was.
class TestImportBudget : public QObject {
    Q_OBJECT
private slots:
    void limitForMemory_data();
    void limitForMemory();
    void importWithinTheBudget_data();
    void importWithinTheBudget();
    void importPastTheBudgetChangesNothing_data();
    void importPastTheBudgetChangesNothing();
};

void TestImportBudget::limitForMemory_data() {
    QTest::addColumn<qint64>("physical");
    QTest::addColumn<qint64>("limit");
    QTest::newRow("not known") << qint64(0) << 256 * MiB;
    QTest::newRow("reported as negative") << qint64(-1) << 256 * MiB;
    QTest::newRow("64 MiB: an eighth") << 64 * MiB << 8 * MiB;
    QTest::newRow("2 GiB: an eighth") << 2 * GiB << 256 * MiB;
    QTest::newRow("8 GiB: an eighth is the cap") << 8 * GiB << GiB;
    QTest::newRow("24 GiB: capped") << 24 * GiB << GiB;
    QTest::newRow("1 TiB: capped") << 1024 * GiB << GiB;
}

void TestImportBudget::limitForMemory() {
    QFETCH(qint64, physical);
    QFETCH(qint64, limit);
    QCOMPARE(ImportBudget::limitForMemory(physical), limit);
}

void TestImportBudget::importWithinTheBudget_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("length");
    // With a budget of 4 MiB: rows of the longest texts, together some 2.6 MB, are imported
    // whole, although a workbook keeping its last rows of them would pass the budget.
    QTest::newRow("xlsx: 20 rows of two long shared strings")
        << Kind::XlsxSharedStrings << 20 << 2 << 32767;
    QTest::newRow("xls: 40 rows of two long shared strings") << Kind::Xls << 40 << 2 << kXlsLength;
    QTest::newRow("csv: 20 lines of two long fields") << Kind::Csv << 20 << 2 << 32767;
    QTest::newRow("html: 20 rows of two long cells") << Kind::Html << 20 << 2 << 32767;
    QTest::newRow("xlsx: 500 rows of 32 short strings")
        << Kind::XlsxSharedStrings << 500 << 32 << 8;
}

void TestImportBudget::importWithinTheBudget() {
    QFETCH(Kind, kind);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, length);
    ExcelSandbox sandbox;
    const QString path = QDir(sandbox.documents()).filePath("sheet." + suffixOf(kind));
    const QByteArray text(length, 'x');
    QVERIFY(writeFile(path, sheetOfOneText(kind, rows, columns, text, 1)));
    ExcelEnvironment environment = sandbox.environment();
    environment.importBudget = 4 * MiB;
    Table table;
    fillTable(table);
    const FileResult result = ExcelImport::importExcel(table, path, rows, environment, {});
    QVERIFY2(result.ok(), qPrintable(result.reason));
    QCOMPARE(table.ListCount(), rows);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            QCOMPARE(table.cellAt(r, c).Text, QLatin1String(text));
        }
    }
    QVERIFY(table.cellAt(1, 1).Bold);
}

void TestImportBudget::importPastTheBudgetChangesNothing_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("strings");
    // With a budget of 4 MiB. Imported whole, each would hold 64 MiB of text or more (the
    // workbooks in a file of a few hundred kilobytes), and the table as much again.
    QTest::newRow("xlsx: every cell names one long shared string")
        << Kind::XlsxSharedStrings << 100 << 32 << 32767 << 1;
    QTest::newRow("xlsx: a string table past the budget before the first cell")
        << Kind::XlsxSharedStrings << 1 << 1 << 32767 << 200;
    QTest::newRow("xls: every cell names one long shared string")
        << Kind::Xls << 200 << 32 << kXlsLength << 1;
    QTest::newRow("xls: a string table past the budget")
        << Kind::Xls << 1 << 1 << kXlsLength << 600;
    QTest::newRow("csv: long repeated lines") << Kind::Csv << 32 << 32 << 32767 << 1;
    QTest::newRow("html: long repeated rows") << Kind::Html << 32 << 32 << 32767 << 1;
}

void TestImportBudget::importPastTheBudgetChangesNothing() {
    QFETCH(Kind, kind);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, length);
    QFETCH(int, strings);
    ExcelSandbox sandbox;
    const QString path = QDir(sandbox.documents()).filePath("large." + suffixOf(kind));
    QVERIFY(writeFile(path, sheetOfOneText(kind, rows, columns, QByteArray(length, 'x'), strings)));
    ExcelEnvironment environment = sandbox.environment();
    environment.importBudget = 4 * MiB;

    Table table;
    fillTable(table);
    const QList<QList<Cell>> before = snapshot(table);
    const std::deque<QString> journal = table.UndoStore();
    QVERIFY(!journal.empty());
    FileResult result;
    const qint64 growth = peakGrowthDuring(
        [&] { result = ExcelImport::importExcel(table, path, rows + 5, environment, {}); });

    QCOMPARE(result.status, FileResult::Status::Failed);
    QVERIFY2(result.reason.contains(path), qPrintable(result.reason));
    QVERIFY2(result.reason.contains(u"holds more text than can be imported"),
             qPrintable(result.reason));
    QVERIFY2(result.reason.contains(u"Nothing was imported."), qPrintable(result.reason));
    QCOMPARE(snapshot(table), before);
    QCOMPARE(table.UndoStore(), journal);
    QVERIFY(table.RedoStore().empty());
    if (growth < 0) {
        QSKIP("the peak memory of this process cannot be measured here");
    }
    QVERIFY2(growth < 32 * MiB, qPrintable(QStringLiteral("the import took %1 MiB at its peak")
                                               .arg(double(growth) / double(MiB))));
}

QTEST_APPLESS_MAIN(TestImportBudget)
#include "tst_importbudget.moc"
