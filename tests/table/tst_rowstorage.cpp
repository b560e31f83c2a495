#include "support/TableFixture.h"
#include "table/RowArena.h"
#include "table/Table.h"

#include <QTest>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using TableFixture::difference;
using TableFixture::entries;
using TableFixture::fill;
using TableFixture::snapshot;
using TableFixture::texts;

Q_DECLARE_METATYPE(std::function<void(Table&)>)

namespace {

using Operation = std::function<void(Table&)>;

// Rows of `columns` texts that differ from row to row and between calls with another `seed`.
QList<QStringList> rowsOf(int rows, int columns, int seed, int length = 8) {
    QList<QStringList> result;
    for (int r = 1; r <= rows; ++r) {
        QStringList row;
        for (int c = 1; c <= columns; ++c) {
            const QString stem = QStringLiteral("%1:%2:%3 ").arg(seed).arg(r).arg(c);
            row << stem.repeated(length / int(stem.size()) + 1).left(length);
        }
        result << row;
    }
    return result;
}

// Every byte of a block, from its address and size, so that a block written over by another
// shows.
unsigned char patternByte(const void* block, qsizetype i) {
    return static_cast<unsigned char>(reinterpret_cast<quintptr>(block) / 8 + quintptr(i) * 7);
}

void paint(void* block, qsizetype bytes) {
    auto* p = static_cast<unsigned char*>(block);
    for (qsizetype i = 0; i < bytes; ++i) {
        p[i] = patternByte(block, i);
    }
}

bool intact(const void* block, qsizetype bytes) {
    const auto* p = static_cast<const unsigned char*>(block);
    for (qsizetype i = 0; i < bytes; ++i) {
        if (p[i] != patternByte(block, i)) {
            return false;
        }
    }
    return true;
}

// A row of 32 cells far larger than a slab block, a hidden cell above the columns among them.
void bigRow(Table& t, int row, QChar letter) {
    for (int c = 1; c <= Table::MaxColumns; ++c) {
        t.setCell(row, c, CellRef{QString(300 + c, letter), c % 2 == 0, c % 3 == 0, c % 5 == 0, c});
    }
}

} // namespace

class TestRowStorage final : public QObject {
    Q_OBJECT

private slots:
    void arenaBlocksKeepTheirBytes_data();
    void arenaBlocksKeepTheirBytes();
    void arenaReusesAReleasedBlockOfItsSize();
    void arenaReusesItsSlabsAfterReleasingAll();
    void arenaGivesUpSlabsARoundDidNotNeed();
    void arenaLendsAndAdopts_data();
    void arenaLendsAndAdopts();
    void arenaHeapBlocks();
    void tableRefilledAfterBulkRelease_data();
    void tableRefilledAfterBulkRelease();
    void bigRowsAndHiddenCellsSurviveEveryChange_data();
    void bigRowsAndHiddenCellsSurviveEveryChange();
    void clearAndUndoAgainAndAgain();
    void undoOfClearRestoresWhatItsRecordsHold();
    void clearUndoneAfterTheRowsWereReplaced();
    void twoClearsUndone();
    void recordsAreOrdinaryStrings();
    void recordsOutliveTheirTable();
    void aKeptRecordIsNotWrittenOver();
};

void TestRowStorage::arenaBlocksKeepTheirBytes_data() {
    QTest::addColumn<QList<qsizetype>>("sizes");
    QTest::newRow("one class") << QList<qsizetype>(5000, 24);
    QTest::newRow("around the granule") << QList<qsizetype>{1, 7, 8, 9, 15, 16, 17};
    QTest::newRow("around the largest slab block")
        << QList<qsizetype>{4088, 4095, 4096, 4097, 8000, 4096, 1};
    QList<qsizetype> spanning;
    for (int i = 0; i < 3000; ++i) {
        spanning << 1 + (i * 997) % 4096; // some 6 MiB: several slabs
    }
    QTest::newRow("across slabs") << spanning;
}

// Blocks never overlap, are aligned, and keep what was written into them, whatever their
// sizes and however they fall on slabs and the heap.
void TestRowStorage::arenaBlocksKeepTheirBytes() {
    QFETCH(QList<qsizetype>, sizes);
    RowArena arena;
    std::vector<void*> blocks;
    for (const qsizetype size : sizes) {
        void* block = arena.allocate(size);
        QCOMPARE(reinterpret_cast<quintptr>(block) % RowArena::Granule, quintptr(0));
        paint(block, size);
        blocks.push_back(block);
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        QVERIFY2(intact(blocks[i], sizes[qsizetype(i)]), qPrintable(QString::number(i)));
    }
}

void TestRowStorage::arenaReusesAReleasedBlockOfItsSize() {
    RowArena arena;
    void* a = arena.allocate(100);
    void* b = arena.allocate(100);
    arena.release(a, 100);
    // Sizes of the same class share the free list; others do not take from it.
    void* other = arena.allocate(200);
    QVERIFY(other != a);
    QCOMPARE(arena.allocate(97), a);
    void* c = arena.allocate(100);
    QVERIFY(c != a && c != b);
    paint(b, 100);
    paint(c, 100);
    QVERIFY(intact(b, 100));
}

// After releasing everything, the same round of blocks lands in the same memory: nothing new
// is mapped, so nothing is faulted in again.
void TestRowStorage::arenaReusesItsSlabsAfterReleasingAll() {
    RowArena arena;
    std::vector<void*> first;
    for (int i = 0; i < 20000; ++i) {
        first.push_back(arena.allocate(200 + i % 3 * 8));
    }
    const qsizetype slabs = arena.slabCount();
    QVERIFY(slabs >= 2);
    arena.releaseAll();
    for (int i = 0; i < 20000; ++i) {
        void* block = arena.allocate(200 + i % 3 * 8);
        QCOMPARE(block, first[size_t(i)]);
        paint(block, 200);
    }
    QCOMPARE(arena.slabCount(), slabs);
    for (int i = 0; i < 20000; ++i) {
        QVERIFY(intact(first[size_t(i)], 200));
    }
}

void TestRowStorage::arenaGivesUpSlabsARoundDidNotNeed() {
    RowArena arena;
    for (int i = 0; i < 3 * RowArena::SlabBytes / 1024; ++i) {
        (void)arena.allocate(1024);
    }
    const qsizetype many = arena.slabCount();
    QVERIFY(many >= 3);
    // The next round needs one slab: all are kept for it, as it could have needed them.
    arena.releaseAll();
    (void)arena.allocate(1024);
    QCOMPARE(arena.slabCount(), many);
    // The round after that gives up what the last round left unused.
    arena.releaseAll();
    QCOMPARE(arena.slabCount(), 1);
    void* block = arena.allocate(4096);
    paint(block, 4096);
    QVERIFY(intact(block, 4096));
}

// Slabs lent to a second arena come back with the blocks carved from them, whether the arena
// that adopts them has carved already or not; the blocks keep their bytes, freed blocks and
// heap blocks move along, and no slab is lost or mapped anew.
void TestRowStorage::arenaLendsAndAdopts_data() {
    QTest::addColumn<bool>("carvedFirst");
    QTest::newRow("adopting after carving") << true;
    QTest::newRow("adopting before carving") << false;
}

void TestRowStorage::arenaLendsAndAdopts() {
    QFETCH(bool, carvedFirst);
    RowArena table;
    for (int i = 0; i < 4 * RowArena::SlabBytes / 1024; ++i) {
        (void)table.allocate(1024);
    }
    const qsizetype slabs = table.slabCount();
    table.releaseAll();
    RowArena other;
    table.lend(other, 2);
    QCOMPARE(table.slabCount(), 2);
    QCOMPARE(other.slabCount(), slabs - 2);

    std::vector<void*> mine;
    if (carvedFirst) {
        for (int i = 0; i < 100; ++i) {
            mine.push_back(table.allocate(300));
            paint(mine.back(), 300);
        }
    }
    std::vector<void*> theirs;
    for (int i = 0; i < 3000; ++i) {
        theirs.push_back(other.allocate(500));
        paint(theirs.back(), 500);
    }
    void* freed = other.allocate(72);
    other.release(freed, 72);
    void* big = other.allocate(RowArena::MaxSlabBlock + 100);
    paint(big, RowArena::MaxSlabBlock + 100);

    table.adopt(other);
    QCOMPARE(other.slabCount(), 0);
    QCOMPARE(other.heapBlockCount(), 0);
    QCOMPARE(table.slabCount(), slabs);
    QCOMPARE(table.heapBlockCount(), 1);
    QCOMPARE(table.allocate(72), freed);
    for (int i = 0; i < 200; ++i) {
        paint(table.allocate(300), 300);
    }
    for (void* block : mine) {
        QVERIFY(intact(block, 300));
    }
    for (void* block : theirs) {
        QVERIFY(intact(block, 500));
    }
    QVERIFY(intact(big, RowArena::MaxSlabBlock + 100));
    table.release(big, RowArena::MaxSlabBlock + 100);
    QCOMPARE(table.heapBlockCount(), 0);
}

void TestRowStorage::arenaHeapBlocks() {
    RowArena arena;
    void* small = arena.allocate(64);
    void* a = arena.allocate(RowArena::MaxSlabBlock + 1);
    void* b = arena.allocate(3 * RowArena::SlabBytes); // larger than a slab
    void* c = arena.allocate(100000);
    QCOMPARE(arena.heapBlockCount(), 3);
    paint(a, RowArena::MaxSlabBlock + 1);
    paint(b, 3 * RowArena::SlabBytes);
    paint(c, 100000);
    paint(small, 64);
    arena.release(b, 3 * RowArena::SlabBytes);
    QCOMPARE(arena.heapBlockCount(), 2);
    QVERIFY(intact(a, RowArena::MaxSlabBlock + 1));
    QVERIFY(intact(c, 100000));
    QVERIFY(intact(small, 64));
    arena.releaseAll();
    QCOMPARE(arena.heapBlockCount(), 0);
    void* d = arena.allocate(RowArena::MaxSlabBlock * 2);
    QCOMPARE(arena.heapBlockCount(), 1);
    arena.release(d, RowArena::MaxSlabBlock * 2);
    QCOMPARE(arena.heapBlockCount(), 0);
}

void TestRowStorage::tableRefilledAfterBulkRelease_data() {
    QTest::addColumn<Operation>("release");
    QTest::newRow("ClearEntireList") << Operation([](Table& t) { t.ClearEntireList(); });
    QTest::newRow("resetRows") << Operation([](Table& t) { t.resetRows(1); });
    QTest::newRow("Clear") << Operation([](Table& t) { t.Clear(); });
}

// The rows that follow a bulk release take the old rows' memory: they hold their own texts,
// never the old ones, and nothing of the old rows is left in any slot.
void TestRowStorage::tableRefilledAfterBulkRelease() {
    QFETCH(Operation, release);
    Table t;
    fill(t, rowsOf(3000, 4, 1, 30));
    t.setCell(7, 20, CellRef{u"hidden", true, false, false, 3});
    bigRow(t, 9, u'x');
    release(t);
    const QList<QStringList> next = rowsOf(3000, 4, 2, 12);
    fill(t, next);
    QCOMPARE(texts(t), next);
    QCOMPARE(t.cellAt(7, 20).toCell(), Cell{});
    for (int c = 5; c <= Table::MaxColumns; ++c) {
        QCOMPARE(t.cellAt(9, c).toCell(), Cell{});
    }
    t.ChangeItem(5, 2, "edited");
    QCOMPARE(t.GetItem(5, 2), QString("edited"));
    QCOMPARE(t.GetItem(6, 2), next[5][1]);
}

void TestRowStorage::bigRowsAndHiddenCellsSurviveEveryChange_data() {
    QTest::addColumn<Operation>("change");
    QTest::newRow("AddRow above") << Operation([](Table& t) { t.AddRow("new", 1); });
    QTest::newRow("RemoveItem above") << Operation([](Table& t) { t.RemoveItem(1); });
    QTest::newRow("RemoveColumn") << Operation([](Table& t) { t.RemoveColumn(1); });
    QTest::newRow("ChangeItem of the big row")
        << Operation([](Table& t) { t.ChangeItem(3, 2, QString(9000, u'y')); });
    QTest::newRow("AddMoreThanOneRow") << Operation([](Table& t) { t.AddMoreThanOneRow(500); });
}

// A row too big for a slab lives on the heap; it moves, changes and comes back by undo like
// any other, with the cells it keeps above the column count.
void TestRowStorage::bigRowsAndHiddenCellsSurviveEveryChange() {
    QFETCH(Operation, change);
    Table t;
    fill(t, rowsOf(200, 4, 3));
    bigRow(t, 3, u'b');
    t.setCell(5, 30, CellRef{u"hidden", false, true, false, 8});
    t.setCell(5, 2, CellRef{QString(6000, u'h'), true, false, false, 1});
    const TableFixture::Snapshot before = snapshot(t);
    change(t);
    QVERIFY(t.undo());
    QVERIFY2(snapshot(t) == before, qPrintable(difference(snapshot(t), before)));
    QVERIFY(t.redo());
    QVERIFY(t.undo());
    QVERIFY2(snapshot(t) == before, qPrintable(difference(snapshot(t), before)));
}

// Clearing a table and undoing it over and over reuses the same memory for rows and records:
// every round gives back exactly the first table, and the records of every round are exact.
void TestRowStorage::clearAndUndoAgainAndAgain() {
    Table t;
    fill(t, rowsOf(20000, 3, 4, 10));
    t.setCell(2, 1, CellRef{u"a|b||c", true, true, false, -5});
    const TableFixture::Snapshot before = snapshot(t);
    t.Clear();
    const QStringList records = entries(t.UndoStore());
    QCOMPARE(records.size(), 20002);
    QCOMPARE(records[2],
             QString("2||#|1|a||b||||c|101|-5|#|2|4:2:2 4:2:|000|0|#|3|4:2:3 4:2:|000|0"));
    for (int round = 0; round < 3; ++round) {
        QVERIFY(t.undo());
        QVERIFY2(snapshot(t) == before, qPrintable(difference(snapshot(t), before)));
        QVERIFY(t.redo());
        QCOMPARE(entries(t.UndoStore()), records);
        QCOMPARE(t.ListCount(), 1);
    }
}

// The undo of a clear gives back what the records hold, whether a row comes back from the
// rows the clear kept aside or from its record: a row's cells above the columns, and formats
// without a text, are not in the record and do not come back.
void TestRowStorage::undoOfClearRestoresWhatItsRecordsHold() {
    Table t;
    fill(t, {{"a", "b"}, {"c", ""}, {"d", "e"}, {"", ""}, {"f", "g"}});
    t.setCell(1, 1, CellRef{u"a", true, false, true, 255});
    t.setCell(2, 2, CellRef{QStringView(), true, false, false, 7});
    t.setCell(3, 9, CellRef{u"hidden", false, true, false, 0});
    t.setCell(5, 1, CellRef{QString(5000, u'f'), false, false, true, -3});
    t.ClearUndoRedo();
    t.Clear();
    t.ChangeItem(1, 1, "x");
    t.SetBold(1, 2, true);
    t.AddMoreThanOneRow(3);
    QVERIFY(t.undo(3));
    QVERIFY(t.undo());
    QCOMPARE(texts(t),
             (QList<QStringList>{
                 {"a", "b"}, {"c", ""}, {"d", "e"}, {"", ""}, {QString(5000, u'f'), "g"}}));
    QCOMPARE(t.cellAt(1, 1).toCell(), (Cell{"a", true, false, true, 255}));
    QCOMPARE(t.cellAt(2, 2).toCell(), Cell{});
    QCOMPARE(t.cellAt(3, 9).toCell(), Cell{});
    QCOMPARE(t.cellAt(5, 1).toCell(), (Cell{QString(5000, u'f'), false, false, true, -3}));
    QVERIFY(t.redo());
    QCOMPARE(t.ListCount(), 1);
    QVERIFY(t.undo());
    QCOMPARE(t.cellAt(1, 1).toCell(), (Cell{"a", true, false, true, 255}));
    QCOMPARE(t.GetItem(5, 2), QString("g"));
}

// Rows replaced without the journal after a clear (as a reader does) are not the rows the
// clear kept aside: the undo writes the records into the rows there are.
void TestRowStorage::clearUndoneAfterTheRowsWereReplaced() {
    Table t;
    fill(t, {{"a"}, {"b"}, {"c"}});
    t.Clear();
    t.resetRows(2);
    t.setCell(1, 1, CellRef{u"x"});
    t.setCell(2, 2, CellRef{u"y", true, false, false, 0});
    QVERIFY(t.undo());
    QCOMPARE(texts(t), (QList<QStringList>{{"a"}, {"b"}, {"c"}}));
    QCOMPARE(t.cellAt(2, 2).toCell(), (Cell{"y", true, false, false, 0}));
}

void TestRowStorage::twoClearsUndone() {
    Table t;
    fill(t, rowsOf(1000, 2, 12));
    t.Clear();
    t.AddMoreThanOneRow(4);
    t.ChangeItem(3, 2, "between");
    t.Clear();
    QVERIFY(t.undo());
    QCOMPARE(t.ListCount(), 5);
    QCOMPARE(t.GetItem(3, 2), QString("between"));
    QVERIFY(t.undo(3)); // the edit, the appended rows, the first clear
    QCOMPARE(texts(t), rowsOf(1000, 2, 12));
    QVERIFY(t.redo(3));
    QCOMPARE(t.GetItem(3, 2), QString("between"));
    QVERIFY(t.undo(3));
    QCOMPARE(texts(t), rowsOf(1000, 2, 12));
}

// A record is a QString like any other: zero-terminated, comparable, changed only as a copy.
void TestRowStorage::recordsAreOrdinaryStrings() {
    Table t;
    fill(t, rowsOf(50, 2, 5));
    t.Clear();
    const std::deque<QString>& store = t.UndoStore();
    for (size_t i = 0; i < store.size(); ++i) {
        QCOMPARE(store[i].utf16()[store[i].size()], ushort(0));
    }
    QString copy = store[3];
    const QString expected = store[3];
    copy[0] = u'X';
    copy.append(QString(100000, u'z'));
    QCOMPARE(store[3], QString("3||#|1|5:3:1 5:|000|0|#|2|5:3:2 5:|000|0"));
    QCOMPARE(store[4], QString("4||#|1|5:4:1 5:|000|0|#|2|5:4:2 5:|000|0"));
    QVERIFY(store[3] == expected);
    QVERIFY(t.undo());
    QCOMPARE(texts(t), rowsOf(50, 2, 5));
}

// Records copied out of the journal stay valid after the table is gone, and after other
// tables have cleared theirs.
void TestRowStorage::recordsOutliveTheirTable() {
    QStringList kept;
    {
        Table t;
        fill(t, rowsOf(30000, 2, 6));
        t.Clear();
        kept << t.UndoStore()[1] << t.UndoStore()[30000];
    }
    for (int i = 0; i < 3; ++i) {
        Table other;
        fill(other, rowsOf(30000, 2, 7 + i));
        other.Clear();
    }
    QCOMPARE(kept[0], QString("1||#|1|6:1:1 6:|000|0|#|2|6:1:2 6:|000|0"));
    QCOMPARE(kept[1], QString("30000||#|1|6:30000:|000|0|#|2|6:30000:|000|0"));
}

// Memory of the records is reused only once no record refers to it: a record kept after its
// group was undone keeps its text while the next clears fill the table's blocks again.
void TestRowStorage::aKeptRecordIsNotWrittenOver() {
    Table t;
    fill(t, rowsOf(30000, 2, 8));
    t.Clear();
    const QString kept = t.UndoStore()[15000];
    const QString expected(kept.constData(), kept.size()); // a deep copy to compare with
    QVERIFY(t.undo());
    for (int i = 0; i < 3; ++i) {
        fill(t, rowsOf(30000, 2, 9 + i));
        t.Clear();
        QVERIFY(t.undo());
    }
    QCOMPARE(kept, expected);
    QCOMPARE(texts(t), rowsOf(30000, 2, 11));
}

QTEST_GUILESS_MAIN(TestRowStorage)
#include "tst_rowstorage.moc"
