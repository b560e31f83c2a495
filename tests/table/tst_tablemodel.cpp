#include "RecordingView.h"
#include "support/TableFixture.h"
#include "table/RowDraft.h"
#include "table/Table.h"

#include <QTest>

#include <limits>

using TableFixture::entries;
using TableFixture::fill;
using TableFixture::texts;

namespace {

// Counts the table's change reports.
class ChangeCounter final : public TableView {
public:
    int changes = 0;
    void TableChanged() override { ++changes; }
};

// An operation on a 2 x 2 table holding "a".."d", after `prepare` (if any) ran unobserved.
struct Operation {
    const char* name;
    void (*prepare)(Table&);
    void (*run)(Table&);
    bool changes;
};

const Operation kOperations[] = {
    {"ChangeItem", nullptr, [](Table& t) { t.ChangeItem(1, 1, "x"); }, true},
    {"SetBold", nullptr, [](Table& t) { t.SetBold(1, 1, true); }, true},
    {"SetItallic", nullptr, [](Table& t) { t.SetItallic(1, 2, true); }, true},
    {"SetUnderlined", nullptr, [](Table& t) { t.SetUnderlined(2, 1, true); }, true},
    {"SetColor", nullptr, [](Table& t) { t.SetColor(2, 2, 255); }, true},
    {"SetColumnHeader", nullptr, [](Table& t) { t.SetColumnHeader(1, "Name"); }, true},
    {"LetWidthColumn", nullptr, [](Table& t) { t.LetWidthColumn(2, 50); }, true},
    {"AddRow", nullptr, [](Table& t) { t.AddRow("", 1); }, true},
    {"AddMoreThanOneRow", nullptr, [](Table& t) { t.AddMoreThanOneRow(3); }, true},
    {"RemoveItem", nullptr, [](Table& t) { t.RemoveItem(1); }, true},
    {"Clear", nullptr, [](Table& t) { t.Clear(); }, true},
    {"ClearEntireList", nullptr, [](Table& t) { t.ClearEntireList(); }, true},
    {"AddColumn", nullptr, [](Table& t) { t.AddColumn(1, 80, "New"); }, true},
    {"RemoveColumn", nullptr, [](Table& t) { t.RemoveColumn(2); }, true},
    {"FindAndReplaceText", nullptr, [](Table& t) { t.FindAndReplaceText("c", "z"); }, true},
    {"undo", [](Table& t) { t.ChangeItem(1, 1, "x"); }, [](Table& t) { t.undo(); }, true},
    {"redo",
     [](Table& t) {
         t.ChangeItem(1, 1, "x");
         t.undo();
     },
     [](Table& t) { t.redo(); }, true},
    {"setCellText (readers, import)", nullptr, [](Table& t) { t.setCellText(1, 1, u"r"); }, true},
    {"resetRows (readers)", nullptr, [](Table& t) { t.resetRows(5); }, true},
    {"EnableEdit, DisableEdit", nullptr,
     [](Table& t) {
         t.DisableEdit(1);
         t.EnableEdit(1);
     },
     false},
    {"selection", nullptr,
     [](Table& t) {
         t.setISelected(2);
         t.setISelectedColumn(2);
     },
     false},
    {"replace without a match", nullptr, [](Table& t) { t.FindAndReplaceText("q", "z"); }, false},
    {"undo with nothing to undo", nullptr, [](Table& t) { t.undo(); }, false},
    {"ClearUndoRedo", nullptr, [](Table& t) { t.ClearUndoRedo(); }, false},
    {"out of range", nullptr,
     [](Table& t) {
         t.ChangeItem(9, 1, "x");
         t.SetColumnHeader(9, "x");
         t.RemoveColumn(9);
     },
     false},
};

} // namespace

class TestTableModel : public QObject {
    Q_OBJECT
private slots:
    void newTable();
    void outOfRange_data();
    void outOfRange();
    void textsOfEveryColumn();
    void widths_data();
    void widths();
    void editFlags();
    void addRow_data();
    void addRow();
    void addMoreThanOneRow();
    void removeItem_data();
    void removeItem();
    void removeTheOnlyRow();
    void hiddenCellsTravelWithTheirRow();
    void clearKeepsColumns();
    void clearEntireList();
    void addColumn_data();
    void addColumn();
    void addColumnAtTheLimit();
    void columnSlotRules_data();
    void columnSlotRules();
    void removeColumn();
    void directAccess();
    void setCellFromItsOwnTable();
    void setCells();
    void contentChangesAreReported_data();
    void contentChangesAreReported();
};

void TestTableModel::newTable() {
    Table t;
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(t.ColumnCount(), 1);
    QCOMPARE(t.GetColumnHeader(1), QString());
    QCOMPARE(t.GetWidthColumn(1), 100);
    QVERIFY(t.columnEditable(1));
    QCOMPARE(t.iSelected(), 0);
    QCOMPARE(t.iSelectedColumn(), 0);
    QVERIFY(t.UndoStore().empty());
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.DoNotRender());
    QCOMPARE(t.GetItem(1, 1), QString());
}

void TestTableModel::outOfRange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row 0") << 0 << 1;
    QTest::newRow("row above ListCount") << 4 << 1;
    QTest::newRow("column 0") << 1 << 0;
    QTest::newRow("column above ColumnCount") << 1 << 4;
    QTest::newRow("hidden column 32") << 1 << 32;
    QTest::newRow("negative") << -1 << -1;
}

void TestTableModel::outOfRange() {
    QFETCH(int, row);
    QFETCH(int, column);
    Table t;
    fill(t, {{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}});
    // A hidden cell in slot 32 of row 1 is still outside the cell accessors' range.
    t.setCell(1, 32, CellRef{u"hidden", true, true, true, 7});
    RecordingView view;
    t.setView(&view);

    QCOMPARE(t.GetItem(row, column), QString());
    QCOMPARE(t.GetItallic(row, column), false);
    QCOMPARE(t.GetUnderlined(row, column), false);
    QCOMPARE(t.GetColor(row, column), 0);

    t.ChangeItem(row, column, "x");
    t.SetBold(row, column, true);
    t.SetItallic(row, column, true);
    t.SetUnderlined(row, column, true);
    t.SetColor(row, column, 255);
    if (column < 1 || column > t.ColumnCount()) {
        t.SetColumnHeader(column, "x");
        t.LetWidthColumn(column, 50);
        QCOMPARE(t.GetColumnHeader(column), QString());
        QCOMPARE(t.GetWidthColumn(column), 0);
    }
    QVERIFY(t.UndoStore().empty());
    QVERIFY(view.calls.isEmpty());
    QCOMPARE(texts(t), (QList<QStringList>{{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}}));
    QCOMPARE(t.cellAt(1, 32).toCell(), (Cell{"hidden", true, true, true, 7}));
}

void TestTableModel::textsOfEveryColumn() {
    Table t;
    QStringList row;
    for (int c = 1; c <= 32; ++c) {
        row << QStringLiteral("c%1").arg(c);
    }
    fill(t, {row});
    QCOMPARE(t.ColumnCount(), 32);
    for (int c = 1; c <= 32; ++c) {
        QCOMPARE(t.GetItem(1, c), row[c - 1]);
    }
}

void TestTableModel::widths_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("expected");
    QTest::newRow("ordinary") << 80 << 80;
    QTest::newRow("clamped to 510") << 600 << 510;
    QTest::newRow("510") << 510 << 510;
    QTest::newRow("zero is allowed") << 0 << 0;
    QTest::newRow("negative becomes zero") << -7 << 0;
    QTest::newRow("unchanged still recorded") << 100 << 100;
}

void TestTableModel::widths() {
    QFETCH(int, width);
    QFETCH(int, expected);
    Table t;
    t.AddColumn(0, 60, "B");
    t.ClearUndoRedo();
    RecordingView view;
    t.setView(&view);
    t.LetWidthColumn(1, width);
    QCOMPARE(t.GetWidthColumn(1), expected);
    QCOMPARE(t.GetWidthColumn(2), 60);
    QCOMPARE(entries(t.UndoStore()), QStringList{"#SETWDT#1|100"});
    QCOMPARE(view.calls,
             (QStringList{"LayoutColumns", "RenderColumn(1)", "BuildHeader", "SetScrollers"}));
    QCOMPARE(t.GetWidthColumn(0), 0);
    QCOMPARE(t.GetWidthColumn(3), 0);
}

void TestTableModel::editFlags() {
    Table t;
    t.AddColumn(0, 50, "B");
    t.DisableEdit(2);
    QVERIFY(t.columnEditable(1));
    QVERIFY(!t.columnEditable(2));
    t.EnableEdit(2);
    QVERIFY(t.columnEditable(2));
    t.DisableEdit(3); // out of range: nothing
    QVERIFY(!t.columnEditable(3));
    QVERIFY(!t.columnEditable(0));
    QCOMPARE(t.UndoStore().size(), size_t(1)); // only the column's own record
}

void TestTableModel::addRow_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("result");
    QTest::newRow("append") << "x" << 0 << QStringList{"A", "B", "C", "x"} << 4;
    QTest::newRow("insert at 2") << "" << 2 << QStringList{"A", "", "B", "C"} << 2;
    QTest::newRow("insert at 1 with text") << "y" << 1 << QStringList{"y", "A", "B", "C"} << 1;
    QTest::newRow("insert before the last") << "" << 3 << QStringList{"A", "B", "", "C"} << 3;
    QTest::newRow("above ListCount appends") << "" << 5 << QStringList{"A", "B", "C", ""} << 4;
    QTest::newRow("ListCount + 1 appends") << "z" << 4 << QStringList{"A", "B", "C", "z"} << 4;
    QTest::newRow("negative appends") << "" << -2 << QStringList{"A", "B", "C", ""} << 4;
}

void TestTableModel::addRow() {
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QStringList, expected);
    QFETCH(int, result);
    Table t;
    fill(t, {{"A", "a2"}, {"B", "b2"}, {"C", "c2"}});
    t.SetBold(2, 1, true); // B's format moves with B
    t.ClearUndoRedo();
    RecordingView view;
    t.setView(&view);

    QCOMPARE(t.AddRow(text, index), result);
    QStringList column1;
    for (int r = 1; r <= t.ListCount(); ++r) {
        column1 << t.GetItem(r, 1);
    }
    QCOMPARE(column1, expected);
    QCOMPARE(t.GetItem(result, 2), QString());
    const int rowOfB = int(expected.indexOf("B")) + 1;
    QCOMPARE(t.cellAt(rowOfB, 1).Bold, true);
    QCOMPARE(t.GetItem(rowOfB, 2), QString("b2"));
    QCOMPARE(entries(t.UndoStore()), QStringList{QStringLiteral("#ADDITM#%1").arg(result)});
    QCOMPARE(view.calls, (QStringList{"FitNumberColumn", "RenderColumn(-1)", "SetScrollers"}));
}

void TestTableModel::addMoreThanOneRow() {
    Table t;
    fill(t, {{"a"}, {"b"}});
    RecordingView view;
    t.setView(&view);
    t.AddMoreThanOneRow(30);
    QCOMPARE(t.ListCount(), 32);
    QCOMPARE(t.GetItem(2, 1), QString("b"));
    QCOMPARE(t.cellAt(32, 1).toCell(), Cell{});
    QCOMPARE(entries(t.UndoStore()), QStringList{"#ADDMT1#30"});
    QCOMPARE(view.calls,
             (QStringList{"FitNumberColumn", "RenderColumn(-1)", "SetScrollers", "HideEditors"}));

    // A count below 1 cannot be undone by cutting rows off, and one that overflows the row
    // count cannot be held: both do nothing.
    t.AddMoreThanOneRow(0);
    t.AddMoreThanOneRow(-5);
    t.AddMoreThanOneRow(std::numeric_limits<int>::max()); // would wrap the row count
    QCOMPARE(t.ListCount(), 32);
    QCOMPARE(t.UndoStore().size(), size_t(1));
}

void TestTableModel::removeItem_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("neIzri");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("calls");
    const QStringList full{"ClampTopOffsetAfterRemove", "RenderColumn(-1)", "FitNumberColumn",
                           "SetScrollers"};
    QTest::newRow("first") << 1 << false << QStringList{"B", "C"} << full;
    QTest::newRow("middle") << 2 << false << QStringList{"A", "C"} << full;
    QTest::newRow("last") << 3 << false << QStringList{"A", "B"} << full;
    QTest::newRow("NeIzri skips scrolling and drawing")
        << 2 << true << QStringList{"A", "C"} << QStringList{"FitNumberColumn", "SetScrollers"};
    QTest::newRow("row 0") << 0 << false << QStringList{"A", "B", "C"} << QStringList{};
    QTest::newRow("above ListCount") << 4 << false << QStringList{"A", "B", "C"} << QStringList{};
}

void TestTableModel::removeItem() {
    QFETCH(int, index);
    QFETCH(bool, neIzri);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, calls);
    Table t;
    fill(t, {{"A"}, {"B"}, {"C"}});
    RecordingView view;
    t.setView(&view);
    t.RemoveItem(index, neIzri);
    QStringList column1;
    for (int r = 1; r <= t.ListCount(); ++r) {
        column1 << t.GetItem(r, 1);
    }
    QCOMPARE(column1, expected);
    QCOMPARE(view.calls, calls);
    QCOMPARE(t.UndoStore().size(), size_t(expected.size() == 3 ? 0 : 1));
}

void TestTableModel::removeTheOnlyRow() {
    // An empty row takes the only row's place and the journal keeps no trace of either: the
    // older records stay as they were, and what could be redone ends as after any edit.
    Table t;
    t.ChangeItem(1, 1, "a");
    t.SetBold(1, 1, true);
    t.SetColor(1, 1, 9);
    t.undo();
    t.setCell(1, 7, CellRef{u"hidden"});
    RecordingView view;
    t.setView(&view);
    t.RemoveItem(1);
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(t.cellAt(1, 1).toCell(), Cell{});
    QCOMPARE(t.cellAt(1, 7).toCell(), Cell{});
    QCOMPARE(entries(t.UndoStore()), (QStringList{"#SETBLD#1|1|-1", "#SETTXT#1|1|"}));
    QVERIFY(t.RedoStore().empty());
    QCOMPARE(view.calls, (QStringList{"ClampTopOffsetAfterRemove", "RenderColumn(-1)",
                                      "FitNumberColumn", "SetScrollers"}));
}

void TestTableModel::hiddenCellsTravelWithTheirRow() {
    // Cells above ColumnCount belong to their row: inserting or removing rows above it moves
    // them along with the visible cells.
    Table t;
    fill(t, {{"r1"}, {"r2"}, {"r3"}});
    t.setCell(2, 5, CellRef{u"hidden of r2", true, false, true, 99});
    t.AddRow("new", 1);
    QCOMPARE(t.GetItem(3, 1), QString("r2"));
    QCOMPARE(t.cellAt(3, 5).toCell(), (Cell{"hidden of r2", true, false, true, 99}));
    QCOMPARE(t.cellAt(2, 5).toCell(), Cell{});
    t.RemoveItem(1);
    t.RemoveItem(1);
    QCOMPARE(t.GetItem(1, 1), QString("r2"));
    QCOMPARE(t.cellAt(1, 5).Text, QStringView(u"hidden of r2"));
    QCOMPARE(t.cellAt(2, 5).toCell(), Cell{});
}

void TestTableModel::clearKeepsColumns() {
    Table t;
    fill(t, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    t.SetColumnHeader(2, "Second");
    t.LetWidthColumn(2, 77);
    t.DisableEdit(2);
    t.ClearUndoRedo();
    RecordingView view;
    t.setView(&view);
    t.Clear();
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(t.ColumnCount(), 2);
    QCOMPARE(texts(t), (QList<QStringList>{{"", ""}}));
    QCOMPARE(t.GetColumnHeader(2), QString("Second"));
    QCOMPARE(t.GetWidthColumn(2), 77);
    QVERIFY(!t.columnEditable(2));
    QCOMPARE(t.UndoStore().size(), size_t(5));
    QCOMPARE(view.calls, (QStringList{"FitNumberColumn", "ResetTopOffset", "RenderColumn(-1)",
                                      "SetScrollers"}));
}

void TestTableModel::clearEntireList() {
    Table t;
    fill(t, {{"a", "b", "c"}, {"d", "e", "f"}});
    t.SetColumnHeader(1, "First");
    t.LetWidthColumn(1, 150);
    t.DisableEdit(1);
    t.setCell(1, 9, CellRef{u"hidden"});
    t.ChangeItem(1, 1, "x");
    t.undo();
    QVERIFY(!t.RedoStore().empty());
    RecordingView view;
    t.setView(&view);
    t.ClearEntireList();
    QCOMPARE(t.ColumnCount(), 1);
    QCOMPARE(t.ListCount(), 1);
    QCOMPARE(t.GetItem(1, 1), QString());
    QCOMPARE(t.cellAt(1, 9).toCell(), Cell{});
    QCOMPARE(t.GetColumnHeader(1), QString("First"));
    QCOMPARE(t.GetWidthColumn(1), 150);
    QVERIFY(!t.columnEditable(1));
    QVERIFY(t.UndoStore().empty());
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.undo());
    QVERIFY(!view.calls.contains("RenderColumn(-1)"));
    QVERIFY(view.calls.contains("ScrollFullyLeft"));
    QVERIFY(view.calls.contains("ResetTopOffset"));
    QCOMPARE(view.calls.last(), QString("SetScrollers"));
}

void TestTableModel::addColumn_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QStringList>("row1");
    QTest::addColumn<QList<bool>>("editable");
    QTest::addColumn<int>("result");
    // Start: columns A (width 10), B (20, not editable), C (30) holding a, b, c.
    QTest::newRow("append, width raised to 5")
        << 0 << 3 << QStringList{"A", "B", "C", "N"} << QList<int>{10, 20, 30, 5}
        << QStringList{"a", "b", "c", ""} << QList<bool>{true, false, true, true} << 4;
    QTest::newRow("insert at 2") << 2 << 80 << QStringList{"A", "N", "B", "C"}
                                 << QList<int>{10, 80, 20, 30} << QStringList{"a", "", "b", "c"}
                                 << QList<bool>{true, true, false, true} << 2;
    QTest::newRow("insert at 3 takes B's edit flag")
        << 3 << 80 << QStringList{"A", "B", "N", "C"} << QList<int>{10, 20, 80, 30}
        << QStringList{"a", "b", "", "c"} << QList<bool>{true, false, false, true} << 3;
    QTest::newRow("insert at 1 is editable")
        << 1 << 80 << QStringList{"N", "A", "B", "C"} << QList<int>{80, 10, 20, 30}
        << QStringList{"", "a", "b", "c"} << QList<bool>{true, true, false, true} << 1;
    QTest::newRow("insert at ColumnCount + 1")
        << 4 << 100 << QStringList{"A", "B", "C", "N"} << QList<int>{10, 20, 30, 100}
        << QStringList{"a", "b", "c", ""} << QList<bool>{true, false, true, true} << 4;
    QTest::newRow("wide column kept")
        << 0 << 900 << QStringList{"A", "B", "C", "N"} << QList<int>{10, 20, 30, 900}
        << QStringList{"a", "b", "c", ""} << QList<bool>{true, false, true, true} << 4;
}

void TestTableModel::addColumn() {
    QFETCH(int, index);
    QFETCH(int, width);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, widths);
    QFETCH(QStringList, row1);
    QFETCH(QList<bool>, editable);
    QFETCH(int, result);
    Table t;
    fill(t, {{"a", "b", "c"}, {"", "x", ""}});
    const QStringList start{"A", "B", "C"};
    for (int c = 1; c <= 3; ++c) {
        t.SetColumnHeader(c, start[c - 1]);
        t.LetWidthColumn(c, 10 * c);
    }
    t.SetItallic(1, 2, true);
    t.DisableEdit(2);
    t.ClearUndoRedo();

    QCOMPARE(t.AddColumn(index, width, "N"), result);
    QCOMPARE(t.ColumnCount(), 4);
    QCOMPARE(texts(t)[0], row1);
    for (int c = 1; c <= 4; ++c) {
        QCOMPARE(t.GetColumnHeader(c), captions[c - 1]);
        QCOMPARE(t.GetWidthColumn(c), widths[c - 1]);
        QCOMPARE(t.columnEditable(c), editable[c - 1]);
    }
    const int columnOfB = int(captions.indexOf("B")) + 1;
    QVERIFY(t.GetItallic(1, columnOfB));
    QCOMPARE(t.GetItem(2, columnOfB), QString("x"));
    QCOMPARE(entries(t.UndoStore()), QStringList{QStringLiteral("#ADDCLM#%1").arg(result)});
}

void TestTableModel::addColumnAtTheLimit() {
    Table t;
    for (int c = 2; c <= 32; ++c) {
        t.AddColumn();
    }
    t.ClearUndoRedo();
    RecordingView view;
    t.setView(&view);
    QCOMPARE(t.AddColumn(0, 3, "X"), 33);
    QCOMPARE(t.AddColumn(5, 3, "X"), 5);
    QCOMPARE(t.ColumnCount(), 32);
    QVERIFY(t.UndoStore().empty());
    QVERIFY(view.calls.isEmpty());
    // Out of range insert positions change nothing either.
    Table small;
    QCOMPARE(small.AddColumn(3, 50, "X"), 3);
    QCOMPARE(small.AddColumn(-1, 50, "X"), -1);
    QCOMPARE(small.ColumnCount(), 1);
    QVERIFY(small.UndoStore().empty());
}

void TestTableModel::columnSlotRules_data() {
    // A two-column table whose row 1 holds "a", "b" and, hidden in slot 3, "h".
    QTest::addColumn<int>("operation");     // 0 append, 1 insert at 1, 2 insert at 3, 3 remove 1
    QTest::addColumn<QStringList>("cells"); // slots 1..4 afterwards
    QTest::newRow("append reveals the hidden slot") << 0 << QStringList{"a", "b", "h", ""};
    QTest::newRow("insert shifts over the hidden slot") << 1 << QStringList{"", "a", "b", ""};
    QTest::newRow("insert at ColumnCount + 1 resets its slot")
        << 2 << QStringList{"a", "b", "", ""};
    QTest::newRow("remove frees the last visible slot") << 3 << QStringList{"b", "", "h", ""};
}

void TestTableModel::columnSlotRules() {
    QFETCH(int, operation);
    QFETCH(QStringList, cells);
    Table t;
    fill(t, {{"a", "b"}});
    t.setCellText(1, 3, u"h");
    switch (operation) {
    case 0:
        t.AddColumn();
        break;
    case 1:
        t.AddColumn(1);
        break;
    case 2:
        t.AddColumn(3);
        break;
    default:
        t.RemoveColumn(1);
        break;
    }
    QStringList actual;
    for (int c = 1; c <= 4; ++c) {
        actual << t.cellAt(1, c).Text.toString();
    }
    QCOMPARE(actual, cells);
}

void TestTableModel::removeColumn() {
    Table t;
    fill(t, {{"a", "b", "c"}});
    t.SetColumnHeader(3, "C");
    t.LetWidthColumn(3, 33);
    t.DisableEdit(3);
    t.SetColor(1, 3, 255);
    t.ClearUndoRedo();
    RecordingView view;
    t.setView(&view);
    t.RemoveColumn(2);
    QCOMPARE(t.ColumnCount(), 2);
    QCOMPARE(texts(t), (QList<QStringList>{{"a", "c"}}));
    QCOMPARE(t.GetColor(1, 2), 255);
    QCOMPARE(t.GetColumnHeader(2), QString("C"));
    QCOMPARE(t.GetWidthColumn(2), 33);
    QVERIFY(!t.columnEditable(2));
    QCOMPARE(t.cellAt(1, 3).toCell(), Cell{});
    QCOMPARE(view.calls,
             (QStringList{"LayoutColumns", "RenderColumn(-1)", "BuildHeader", "SetScrollers"}));

    // Out of range with two or more columns: nothing.
    t.ClearUndoRedo();
    t.RemoveColumn(0);
    t.RemoveColumn(3);
    QCOMPARE(t.ColumnCount(), 2);
    QVERIFY(t.UndoStore().empty());

    // The only column stays; its rows are cleared as one undoable step, as Clear does.
    Table one;
    Table cleared;
    fill(one, {{"x"}, {"y"}});
    fill(cleared, {{"x"}, {"y"}});
    one.RemoveColumn(1);
    cleared.Clear();
    QCOMPARE(one.ColumnCount(), 1);
    QCOMPARE(texts(one), texts(cleared));
    QCOMPARE(entries(one.UndoStore()), entries(cleared.UndoStore()));
}

void TestTableModel::directAccess() {
    Table t;
    RecordingView view;
    t.setView(&view);
    t.resetRows(3);
    QCOMPARE(t.ListCount(), 3);
    QCOMPARE(view.calls, QStringList{"FitNumberColumn"});
    t.resetRows(0); // at least one row
    QCOMPARE(t.ListCount(), 1);
    t.resetRows(4);

    // Written the way a file reader fills rows: row by row, columns ascending.
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 32; c += 3) {
            t.setCell(r, c,
                      CellRef{QStringLiteral("%1:%2").arg(r).arg(c), c % 2 == 0, r == 2, c == 4,
                              r * 1000 + c});
        }
    }
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 32; ++c) {
            const Cell expected = c % 3 == 1 ? Cell{QStringLiteral("%1:%2").arg(r).arg(c),
                                                    c % 2 == 0, r == 2, c == 4, r * 1000 + c}
                                             : Cell{};
            QCOMPARE(t.cellAt(r, c).toCell(), expected);
        }
    }
    t.setCellText(2, 4, u"text only");
    QCOMPARE(t.cellAt(2, 4).toCell(), (Cell{"text only", true, true, true, 2004}));
    t.setCell(0, 1, CellRef{u"x"});
    t.setCell(5, 1, CellRef{u"x"});
    t.setCell(1, 33, CellRef{u"x"});
    t.setCellText(1, 0, u"x");
    QCOMPARE(t.cellAt(1, 33).toCell(), Cell{});
    QCOMPARE(t.cellAt(5, 1).toCell(), Cell{});
    QCOMPARE(t.GetItem(1, 1), QString("1:1"));
    QVERIFY(t.UndoStore().empty());

    view.calls.clear();
    t.redrawAll();
    QCOMPARE(view.calls, (QStringList{"RenderColumn(-1)", "SetScrollers"}));
}

void TestTableModel::setCellFromItsOwnTable() {
    // The source cell may be a view into the row being edited, or into the row that is
    // packed away when another row is opened.
    Table t;
    t.resetRows(3);
    t.setCellText(1, 1, u"first");
    t.setCell(2, 1, t.cellAt(1, 1)); // source: the row open for editing
    t.setCell(2, 2, t.cellAt(2, 1)); // source and target in the same open row
    const QString longText(5000, QChar(u'q'));
    t.setCellText(3, 1, longText);
    t.setCellText(3, 2, t.cellAt(3, 1).Text); // grows the buffer the source lives in
    QCOMPARE(t.cellAt(2, 1).Text, QStringView(u"first"));
    QCOMPARE(t.cellAt(2, 2).Text, QStringView(u"first"));
    QCOMPARE(t.cellAt(3, 2).Text.toString(), longText);
    QCOMPARE(t.GetItem(1, 1), QString("first"));
}

// A row's cells written at once land as if written one by one: into an empty row, and into a
// row that holds cells already (hidden ones included), a slot given twice taking the later cell.
void TestTableModel::setCells() {
    Table t;
    t.resetRows(3);
    t.setCell(2, 1, CellRef{u"kept", true, false, false, 1});
    t.setCell(2, 3, CellRef{u"replaced", false, true, false, 2});
    t.setCell(2, 20, CellRef{u"hidden", false, false, true, 3});
    RowDraft draft;
    draft.setCell(3, CellRef{u"first", true, true, true, 4});
    draft.setCell(5, CellRef{QStringView(), false, false, true, 5});
    draft.setCell(3, CellRef{u"later", false, false, true, 6});
    t.setCells(1, draft);
    t.setCells(2, draft);
    t.setCells(0, draft);
    t.setCells(4, draft);
    for (int row : {1, 2}) {
        QCOMPARE(t.cellAt(row, 3).toCell(), (Cell{"later", false, false, true, 6}));
        QCOMPARE(t.cellAt(row, 5).toCell(), (Cell{"", false, false, true, 5}));
        QCOMPARE(t.cellAt(row, 4).toCell(), Cell{});
    }
    QCOMPARE(t.cellAt(1, 1).toCell(), Cell{});
    QCOMPARE(t.cellAt(2, 1).toCell(), (Cell{"kept", true, false, false, 1}));
    QCOMPARE(t.cellAt(2, 20).toCell(), (Cell{"hidden", false, false, true, 3}));
    QCOMPARE(t.cellAt(3, 3).toCell(), Cell{});
    QCOMPARE(t.ListCount(), 3);
    QVERIFY(t.UndoStore().empty());
}

void TestTableModel::contentChangesAreReported_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kOperations)); ++i) {
        QTest::newRow(kOperations[i].name) << i;
    }
}

// Whatever changes the content tells the view, however it was made, so the window can mark
// the document changed; what changes nothing says nothing.
void TestTableModel::contentChangesAreReported() {
    QFETCH(int, index);
    const Operation& operation = kOperations[index];
    Table t;
    fill(t, {{"a", "b"}, {"c", "d"}});
    if (operation.prepare) {
        operation.prepare(t);
    }
    ChangeCounter view;
    t.setView(&view);
    operation.run(t);
    QCOMPARE(view.changes > 0, operation.changes);
}

QTEST_GUILESS_MAIN(TestTableModel)
#include "tst_tablemodel.moc"
