#include "RecordingView.h"
#include "support/TableFixture.h"
#include "table/Table.h"

#include <QTest>

#include <functional>

using TableFixture::difference;
using TableFixture::entries;
using TableFixture::fill;
using TableFixture::snapshot;

namespace {

struct ReplayCase {
    const char* name;
    std::function<void(Table&)> prepare;
    std::function<void(Table&)> edit;
    QStringList redoAfterUndo; // RedoStore after one undo, position 1 first
};

// Three rows of two columns with formats and colours in every cell that has text.
void formatted(Table& t) {
    fill(t, {{"a", "b"}, {"c|d", "e"}, {"||#|", ""}});
    t.setCell(1, 1, CellRef{u"a", true, false, false, 255});
    t.setCell(2, 2, CellRef{u"e", false, true, true, -1});
    t.setCell(3, 1, CellRef{u"||#|", false, false, true, 7});
    t.SetColumnHeader(1, "First");
    t.SetColumnHeader(2, "x|y");
}

const QList<ReplayCase>& replayCases() {
    static const QList<ReplayCase> cases{
        {"SetBold",
         [](Table& t) { t.resetRows(2); },
         [](Table& t) { t.SetBold(2, 1, true); },
         {"#SETBLD#2|1|0"}},
        {"SetItallic", formatted, [](Table& t) { t.SetItallic(2, 2, false); }, {"#SETITA#2|2|-1"}},
        {"SetUnderlined",
         formatted,
         [](Table& t) { t.SetUnderlined(1, 2, true); },
         {"#SETUND#1|2|0"}},
        {"SetColor", formatted, [](Table& t) { t.SetColor(1, 1, 16); }, {"#SETCLR#1|1|16"}},
        {"ChangeItem of a text with |",
         formatted,
         [](Table& t) { t.ChangeItem(2, 1, "new"); },
         {"#SETTXT#2|1|new"}},
        {"ChangeItem to a text with |",
         formatted,
         [](Table& t) { t.ChangeItem(1, 2, "|#|"); },
         {"#SETTXT#1|2||#|"}},
        {"LetWidthColumn",
         formatted,
         [](Table& t) { t.LetWidthColumn(2, 700); },
         {"#SETWDT#2|510"}},
        {"SetColumnHeader",
         formatted,
         [](Table& t) { t.SetColumnHeader(2, "a||#|b"); },
         {"#SETCLH#2|a||#|b"}},
        {"AddRow insert",
         formatted,
         [](Table& t) { t.AddRow("new", 2); },
         {"#REMITM#2||#|1|new|000|0|#|2||000|0"}},
        {"AddRow append",
         formatted,
         [](Table& t) { t.AddRow("n|w"); },
         {"#REMITM#4||#|1|n||w|000|0|#|2||000|0"}},
        {"RemoveItem middle", formatted, [](Table& t) { t.RemoveItem(2); }, {"#ADDITM#2"}},
        {"RemoveItem last", formatted, [](Table& t) { t.RemoveItem(3); }, {"#ADDITM#3"}},
        {"RemoveItem keeps empty formatted cells",
         [](Table& t) {
             formatted(t);
             t.setCell(2, 1, CellRef{u"", true, true, true, 3});
         },
         [](Table& t) { t.RemoveItem(2); },
         {"#ADDITM#2"}},
        {"AddMoreThanOneRow", formatted, [](Table& t) { t.AddMoreThanOneRow(30); }, {"#REMMT1#30"}},
        {"Clear", formatted, [](Table& t) { t.Clear(); }, {"#CLEAR_#"}},
        {"Clear of a long table",
         [](Table& t) {
             t.resetRows(200);
             for (int r = 1; r <= 200; r += 3) {
                 t.setCell(r, 1, CellRef{QString::number(r), r % 2 == 0, false, true, r});
             }
         },
         [](Table& t) { t.Clear(); },
         {"#CLEAR_#"}},
        // Texts are copied in runs whose handling depends on their length.
        {"Clear of texts of every length",
         [](Table& t) {
             t.AddColumn(0, 100, "B");
             t.resetRows(40);
             for (int n = 1; n <= 40; ++n) {
                 QString text;
                 for (int i = 0; i < n; ++i) {
                     text += i == n / 2 ? QChar(u'|') : QChar(u'a' + i % 26);
                 }
                 t.setCell(n, 1 + n % 2,
                           CellRef{text, n % 3 == 0, n % 5 == 0, n % 7 == 0, n * 1000 - 7});
             }
         },
         [](Table& t) { t.Clear(); },
         {"#CLEAR_#"}},
        {"AddColumn append",
         formatted,
         [](Table& t) { t.AddColumn(0, 100, "City"); },
         {"#ADDCLM#3|City|100"}},
        {"AddColumn insert with | in caption",
         formatted,
         [](Table& t) { t.AddColumn(1, 2, "C|D"); },
         {"#ADDCLM#1|C||D|5"}},
        {"RemoveColumn", formatted, [](Table& t) { t.RemoveColumn(2); }, {"#REMCLM#2"}},
        {"RemoveColumn of column 1", formatted, [](Table& t) { t.RemoveColumn(1); }, {"#REMCLM#1"}},
        {"RemoveColumn of a zero width column",
         [](Table& t) {
             formatted(t);
             t.LetWidthColumn(1, 0);
         },
         [](Table& t) { t.RemoveColumn(1); },
         {"#REMCLM#1"}},
        {"RemoveColumn of the only column",
         [](Table& t) {
             fill(t, {{"a"}, {"b"}});
         },
         [](Table& t) { t.RemoveColumn(1); },
         {"#CLEAR_#"}},
    };
    return cases;
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT
private slots:
    void emptyStores();
    void undoAndRedo_data();
    void undoAndRedo();
    void redoKeepsTheRestOfItsStore();
    void numberBatches_data();
    void numberBatches();
    void batchDrawsOnce();
    void numberCountsGroupRecords();
    void recordsTheTableOutgrew();
};

void TestUndoRedo::emptyStores() {
    Table t;
    fill(t, {{"a"}});
    RecordingView view;
    t.setView(&view);
    QVERIFY(!t.undo());
    QVERIFY(!t.redo());
    QVERIFY(!t.undo(5));
    QVERIFY(view.calls.isEmpty());
    QCOMPARE(t.GetItem(1, 1), QString("a"));
}

void TestUndoRedo::undoAndRedo_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < replayCases().size(); ++i) {
        QTest::newRow(replayCases()[i].name) << i;
    }
}

void TestUndoRedo::undoAndRedo() {
    QFETCH(int, index);
    const ReplayCase& c = replayCases()[index];
    Table t;
    c.prepare(t);
    t.ClearUndoRedo();
    // An older record below the edit must stay where it is through undo and redo.
    t.SetColumnHeader(1, t.GetColumnHeader(1));
    const QStringList base = entries(t.UndoStore());
    const auto before = snapshot(t);

    c.edit(t);
    const auto after = snapshot(t);
    const QStringList written = entries(t.UndoStore());

    QVERIFY(t.undo());
    QVERIFY2(snapshot(t) == before, qPrintable(difference(snapshot(t), before)));
    QCOMPARE(entries(t.UndoStore()), base);
    QCOMPARE(entries(t.RedoStore()), c.redoAfterUndo);

    QVERIFY(t.redo());
    QVERIFY2(snapshot(t) == after, qPrintable(difference(snapshot(t), after)));
    QCOMPARE(entries(t.UndoStore()), written);
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.redo());
    QVERIFY(!t.DoNotRender());
}

void TestUndoRedo::redoKeepsTheRestOfItsStore() {
    Table t;
    t.ChangeItem(1, 1, "a");
    t.ChangeItem(1, 1, "b");
    t.ChangeItem(1, 1, "c");
    QVERIFY(t.undo());
    QVERIFY(t.undo());
    QCOMPARE(entries(t.RedoStore()), (QStringList{"#SETTXT#1|1|b", "#SETTXT#1|1|c"}));
    QVERIFY(t.redo());
    QCOMPARE(t.GetItem(1, 1), QString("b"));
    QCOMPARE(entries(t.RedoStore()), QStringList{"#SETTXT#1|1|c"});
    QCOMPARE(entries(t.UndoStore()), (QStringList{"#SETTXT#1|1|a", "#SETTXT#1|1|"}));
    // A new edit ends what could be redone.
    t.SetBold(1, 1, true);
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.redo());
}

void TestUndoRedo::numberBatches_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("singleSteps"); // the equivalent number of undo() calls
    QTest::newRow("0 counts as 1") << 0 << 1;
    QTest::newRow("negative counts as 1") << -4 << 1;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("3") << 3 << 3;
    QTest::newRow("every step") << 7 << 7;
    QTest::newRow("above the store's size") << 500 << 7;
}

void TestUndoRedo::numberBatches() {
    // undo(n) and redo(n) equal n single calls, groups and all.
    QFETCH(int, number);
    QFETCH(int, singleSteps);
    auto build = [](Table& t) {
        formatted(t);
        t.ClearUndoRedo();
        t.ChangeItem(1, 1, "x");
        t.Clear();
        t.AddRow("r");
        t.RemoveColumn(1);
        t.SetBold(1, 1, true);
        t.AddMoreThanOneRow(3);
        t.AddColumn(0, 40, "N");
    };
    Table batch;
    Table single;
    build(batch);
    build(single);

    for (const bool undoing : {true, false}) {
        QVERIFY(undoing ? batch.undo(number) : batch.redo(number));
        for (int i = 0; i < singleSteps; ++i) {
            QVERIFY(undoing ? single.undo() : single.redo());
        }
        QVERIFY2(snapshot(batch) == snapshot(single),
                 qPrintable(difference(snapshot(batch), snapshot(single))));
        QCOMPARE(entries(batch.UndoStore()), entries(single.UndoStore()));
        QCOMPARE(entries(batch.RedoStore()), entries(single.RedoStore()));
    }
}

void TestUndoRedo::batchDrawsOnce() {
    Table t;
    formatted(t);
    t.ClearUndoRedo();
    t.ChangeItem(1, 1, "x");
    t.SetColor(2, 2, 5);
    t.RemoveItem(1);
    t.LetWidthColumn(1, 50);
    RecordingView view;
    t.setView(&view);
    QVERIFY(t.undo(4));
    QCOMPARE(view.calls.filter("RenderColumn"), QStringList{"RenderColumn(-1)"});
    QCOMPARE(view.calls.mid(view.calls.size() - 2),
             (QStringList{"RenderColumn(-1)", "SetScrollers"}));
    QVERIFY(!t.DoNotRender());
}

void TestUndoRedo::numberCountsGroupRecords() {
    // The limit on Number counts a group's records, while the group is one step: with a
    // clear group of 5 records in front of three single records, undo(3) undoes the group and
    // two of the single records.
    Table t;
    t.ChangeItem(1, 1, "a");
    t.AddRow("b");
    t.AddRow("c");
    t.Clear();
    QCOMPARE(t.UndoStore().size(), size_t(3 + 5));
    QVERIFY(t.undo(3));
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(t.GetItem(1, 1), QString("a"));
    QCOMPARE(entries(t.UndoStore()), QStringList{"#SETTXT#1|1|"});
}

void TestUndoRedo::recordsTheTableOutgrew() {
    // Rows that came and went without the journal (a reader's direct access) leave records
    // that no longer fit: undoing them never leaves the table without a row, and the records
    // beneath them stay.
    Table t;
    t.ChangeItem(1, 1, "a");
    t.AddRow("", 1);
    t.resetRows(1);
    QVERIFY(t.undo()); // "#ADDITM#1" on the only row
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(entries(t.UndoStore()), QStringList{"#SETTXT#1|1|"});
    QVERIFY(t.RedoStore().empty());

    t.AddMoreThanOneRow(2);
    t.resetRows(2);
    QVERIFY(t.undo()); // "#ADDMT1#2" would cut off every row
    QCOMPARE(t.ListCount(), 2);
    QCOMPARE(entries(t.UndoStore()), QStringList{"#SETTXT#1|1|"});
    QVERIFY(t.RedoStore().empty());
}

QTEST_GUILESS_MAIN(TestUndoRedo)
#include "tst_undoredo.moc"
