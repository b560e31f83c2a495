// A large file read on two threads, the second from halfway through what follows the leading
// lines, gives the same table as the file read on one, wherever the halves meet.
#include "qelfile/read/QelChunkReader.h"
#include "qelfile/read/QelSplitReading.h"
#include "qelfile/read/QelTableReader.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"

#include <QBuffer>
#include <QTest>

#include <thread>

namespace {

// Every cell slot of the table that is not default, with the columns and the row count.
QString dump(const Table& table) {
    QStringList parts{
        QStringLiteral("%1 cols %2 rows").arg(table.ColumnCount()).arg(table.ListCount())};
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        parts.append(table.GetColumnHeader(c));
    }
    for (int r = 1; r <= table.ListCount(); ++r) {
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            const CellRef cell = table.cellAt(r, c);
            if (!cell.Text.isEmpty() || cell.Bold || cell.Itallic || cell.Underlined ||
                cell.Color != 0) {
                parts.append(QStringLiteral("(%1,%2)%3/%4%5%6/%7")
                                 .arg(r)
                                 .arg(c)
                                 .arg(cell.Text.toString())
                                 .arg(int(cell.Bold))
                                 .arg(int(cell.Itallic))
                                 .arg(int(cell.Underlined))
                                 .arg(cell.Color));
            }
        }
    }
    return parts.join(u' ');
}

QByteArray cellLine(const QByteArray& text, int color, const char* flags, int column, int row,
                    const QByteArray& end = "\r\n") {
    return text + "#" + QByteArray::number(color) + "#" + flags + "#" + QByteArray::number(column) +
           "#" + QByteArray::number(row) + end;
}

QByteArray scrambled(QByteArray bytes) {
    const char key[] = "kq#47@tmRVp";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = char(bytes[i] ^ key[((i % 1048576) + 1) % 11]);
    }
    return bytes;
}

struct Read {
    QString table;
    QString error;
    int opened = 0;
};

// Reads `bytes` into a table holding one old cell, on two threads when `split`.
Read readInto(const QByteArray& bytes, bool split, qint64 failAt = -1) {
    Table table;
    table.setCell(1, 1, CellRef{QStringLiteral("old"), false, false, false, 0});
    ScriptedPrompts prompts;
    QelTableReader reader(table, &prompts, bytes.size());
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    Read read;
    QelSplitReading::OpenAgain openAgain;
    if (split) {
        openAgain = [&]() -> std::unique_ptr<QIODevice> {
            ++read.opened;
            auto again = std::make_unique<QBuffer>();
            // A second part that fails part way: its bytes end early.
            again->setData(failAt < 0 ? bytes : bytes.first(failAt));
            again->open(QIODevice::ReadOnly);
            return again;
        };
    }
    const QelChunkReader::Outcome outcome =
        QelSplitReading::read(device, bytes.size(), reader, table, openAgain, {}, 1);
    read.table = dump(table);
    read.error = outcome.error;
    return read;
}

bool twoProcessors() {
    return std::thread::hardware_concurrency() >= 2;
}

} // namespace

class TestQelSplitReading : public QObject {
    Q_OBJECT

private slots:
    void sameTableAsOneThread_data();
    void sameTableAsOneThread();
    void smallFilesStayOnOneThread();
};

void TestQelSplitReading::sameTableAsOneThread_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = "\\\\1|#||A|90|B|80|C|70\r\n\\\\3000\r\n";
    // Rows of three cells of texts of every length up to 40, so that the halves meet inside a
    // row, between rows, in a text and in a line end. Each padding moves the meeting point by
    // one byte.
    for (int padding = 0; padding < 6; ++padding) {
        QByteArray rows;
        for (int r = 1; r <= 3000; ++r) {
            for (int c = 1; c <= 3; ++c) {
                rows += cellLine(QByteArray(1 + (r * 7 + c) % 40, char('a' + c)) +
                                     QByteArray::number(r),
                                 (r % 5) * 100, r % 3 ? "000" : "101", c, r);
            }
        }
        QTest::addRow("rows in order, padding %d", padding)
            << head + QByteArray(padding, 'p') + "#0#000#1#1\r\n" + rows;
    }

    // Every row's cells come twice, once in each half: the later cells are written over the
    // earlier ones, the others are kept, and a default cell replaces what was there.
    QByteArray twice = head;
    for (int r = 1; r <= 3000; ++r) {
        twice += cellLine("first" + QByteArray::number(r), 0, "100", 1, r);
        twice += cellLine("replaced", 0, "000", 2, r);
        twice += cellLine("cleared", 7, "000", 3, r);
    }
    for (int r = 1; r <= 3000; ++r) {
        twice += cellLine("second" + QByteArray::number(r), 0, "010", 2, r);
        twice += cellLine("", 0, "000", 3, r);
    }
    QTest::newRow("rows in both halves") << twice;

    // Lines ended by a CR alone, texts holding an LF, lines that are not cell lines, rows and
    // columns out of range, empty lines, and a long line where the halves meet.
    QByteArray mixed = head;
    for (int r = 1; r <= 2000; ++r) {
        mixed += cellLine("lf\nin" + QByteArray::number(r), 0, "001", 1, r, r % 2 ? "\r" : "\r\n");
        mixed += r % 100 ? QByteArray("\r\n") : QByteArray("not a cell line\r\n");
        mixed += cellLine("out", 0, "000", 33, r) + cellLine("out", 0, "000", 1, 4000 + r);
        if (r == 1000) {
            mixed += cellLine(QByteArray(200000, 'L'), 0, "000", 2, r);
        }
    }
    QTest::newRow("odd lines") << mixed;

    // A stored file whose second half begins in its second chunk, protected by a password.
    QByteArray stored = "#@#\r\n\r\n" + head;
    for (int r = 1; r <= 3000; ++r) {
        for (int c = 1; c <= 3; ++c) {
            stored +=
                cellLine(QByteArray(300, char('a' + c)) + QByteArray::number(r), 0, "000", c, r);
        }
    }
    QVERIFY(stored.size() > 2 * 1048576);
    QTest::newRow("stored, protected, past a chunk") << scrambled(stored);
}

void TestQelSplitReading::sameTableAsOneThread() {
    QFETCH(QByteArray, bytes);
    const Read oneThread = readInto(bytes, false);
    const Read twoThreads = readInto(bytes, true);
    QVERIFY(oneThread.table.size() > 1000);
    QCOMPARE(twoThreads.table, oneThread.table);
    QVERIFY(twoThreads.error.isEmpty());
    if (twoProcessors()) {
        QCOMPARE(twoThreads.opened, 1);
    }
}

// Nothing is divided before the table is replaced or when too little would be left; a second
// part that fails keeps its rows before the failure and reports it.
void TestQelSplitReading::smallFilesStayOnOneThread() {
    const QByteArray file = "\\\\1|#||A|90\r\n\\\\2\r\n" + cellLine("one", 0, "000", 1, 1) +
                            cellLine("two", 0, "000", 1, 2);
    const Read small = readInto(file, true);
    QCOMPARE(small.opened, 0);
    QCOMPARE(small.table, readInto(file, false).table);

    QByteArray big = "\\\\1|#||A|90\r\n\\\\20000\r\n";
    for (int r = 1; r <= 20000; ++r) {
        big += cellLine("row" + QByteArray::number(r), 0, "000", 1, r);
    }
    if (!twoProcessors()) {
        QSKIP("one processor: no second thread");
    }
    const Read failing = readInto(big, true, big.size() - 1000);
    QCOMPARE(failing.opened, 1);
    // A QBuffer cut short just ends, as a file that shrank: the rows before the cut stay.
    QVERIFY(failing.table.contains(QStringLiteral("(19000,1)row19000/")));
    QVERIFY(!failing.table.contains(QStringLiteral("(20000,1)row20000/")));
}

QTEST_APPLESS_MAIN(TestQelSplitReading)
#include "tst_qelsplitreading.moc"
