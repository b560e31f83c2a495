#include "support/TableFixture.h"
#include "table/Table.h"

#include <QTest>

#include <functional>

using TableFixture::entries;
using TableFixture::fill;

namespace {

struct RecordCase {
    const char* name;
    std::function<void(Table&)> prepare; // not journalled: the stores are emptied afterwards
    std::function<void(Table&)> edit;
    QStringList expected; // the new records of UndoStore, position 1 first
};

void nothing(Table&) {}

// A 3 x 2 table: row 1 ("a", ""), row 2 ("ab" bold, "" italic in colour 9), row 3 empty.
void threeRows(Table& t) {
    fill(t, {{"a", ""}, {"ab", ""}, {"", ""}});
    t.setCell(2, 1, CellRef{u"ab", true, false, false, 0});
    t.setCell(2, 2, CellRef{u"", false, true, false, 9});
}

const QList<RecordCase>& recordCases() {
    static const QList<RecordCase> cases{
        {"#SETTXT# keeps a text with |",
         [](Table& t) { fill(t, {{"a|b"}}); },
         [](Table& t) { t.ChangeItem(1, 1, "new"); },
         {"#SETTXT#1|1|a|b"}},
        {"#SETTXT# of an empty cell",
         threeRows,
         [](Table& t) { t.ChangeItem(3, 2, "x"); },
         {"#SETTXT#3|2|"}},
        {"#SETBLD# of a clear flag",
         [](Table& t) {
             t.resetRows(3);
             t.AddColumn();
         },
         [](Table& t) { t.SetBold(3, 2, true); },
         {"#SETBLD#3|2|-1"}},
        {"#SETBLD# of a set flag, set again",
         threeRows,
         [](Table& t) { t.SetBold(2, 1, true); },
         {"#SETBLD#2|1|0"}},
        {"#SETITA# of a set flag",
         [](Table& t) {
             t.setCell(1, 1, CellRef{u"", false, true});
         },
         [](Table& t) { t.SetItallic(1, 1, false); },
         {"#SETITA#1|1|0"}},
        {"#SETUND#",
         [](Table& t) {
             t.resetRows(7);
             for (int c = 2; c <= 4; ++c) {
                 t.AddColumn();
             }
         },
         [](Table& t) { t.SetUnderlined(7, 4, true); },
         {"#SETUND#7|4|-1"}},
        {"#SETCLR#",
         [](Table& t) {
             threeRows(t);
             t.setCell(3, 2, CellRef{u"", false, false, false, 255});
         },
         [](Table& t) { t.SetColor(3, 2, 0); },
         {"#SETCLR#3|2|255"}},
        {"#SETCLR# negative",
         nothing,
         [](Table& t) {
             t.SetColor(1, 1, -5);
             t.SetColor(1, 1, 1);
         },
         {"#SETCLR#1|1|-5", "#SETCLR#1|1|0"}},
        {"#SETWDT#",
         [](Table& t) { t.AddColumn(0, 100); },
         [](Table& t) { t.LetWidthColumn(2, 600); },
         {"#SETWDT#2|100"}},
        {"#SETCLH#",
         [](Table& t) { t.AddColumn(0, 100, "Name"); },
         [](Table& t) { t.SetColumnHeader(2, "Other"); },
         {"#SETCLH#2|Name"}},
        {"#SETCLH# keeps | as it stands",
         [](Table& t) { t.SetColumnHeader(1, "a||#|b"); },
         [](Table& t) { t.SetColumnHeader(1, ""); },
         {"#SETCLH#1|a||#|b"}},
        {"#ADDITM# append", threeRows, [](Table& t) { t.AddRow("x"); }, {"#ADDITM#4"}},
        {"#ADDITM# insert", threeRows, [](Table& t) { t.AddRow("", 2); }, {"#ADDITM#2"}},
        {"#REMITM#",
         threeRows,
         [](Table& t) { t.RemoveItem(2); },
         {"#REMITM#2||#|1|ab|100|0|#|2||001|9"}},
        {"#REMITM# of an empty row",
         threeRows,
         [](Table& t) { t.RemoveItem(3); },
         {"#REMITM#3||#|1||000|0|#|2||000|0"}},
        {"#REMITM# flag order bold, underline, italic",
         [](Table& t) {
             t.setCell(1, 1, CellRef{u"x#y", false, true, true, -1});
             t.AddRow();
         },
         [](Table& t) { t.RemoveItem(1); },
         {"#REMITM#1||#|1|x#y|011|-1"}},
        {"#REMITM# escapes |",
         [](Table& t) {
             fill(t, {{"a|b", "||#|"}, {"z"}});
         },
         [](Table& t) { t.RemoveItem(1); },
         {"#REMITM#1||#|1|a||b|000|0|#|2|||||#|||000|0"}},
        {"#ADDMT1#", nothing, [](Table& t) { t.AddMoreThanOneRow(30); }, {"#ADDMT1#30"}},
        {"#ADDCLM# append",
         [](Table& t) { t.AddColumn(); },
         [](Table& t) { t.AddColumn(0, 50, "City"); },
         {"#ADDCLM#3"}},
        {"#ADDCLM# insert",
         [](Table& t) { t.AddColumn(); },
         [](Table& t) { t.AddColumn(1, 50, "City"); },
         {"#ADDCLM#1"}},
        {"clear group",
         [](Table& t) {
             fill(t, {{"a", ""}, {"", ""}});
         },
         [](Table& t) { t.Clear(); },
         {"#CLEARs#2", "1||#|1|a|000|0", "", "#CLEARe#"}},
        {"clear group skips empty cells, formatted or not",
         threeRows,
         [](Table& t) { t.Clear(); },
         {"#CLEARs#3", "1||#|1|a|000|0", "2||#|1|ab|100|0", "", "#CLEARe#"}},
        {"clear group of one empty row",
         nothing,
         [](Table& t) { t.Clear(); },
         {"#CLEARs#1", "", "#CLEARe#"}},
        {"clear group escapes |",
         [](Table& t) {
             fill(t, {{"", "x|"}, {"|#|"}});
         },
         [](Table& t) { t.Clear(); },
         {"#CLEARs#2", "1||#|2|x|||000|0", "2||#|1|||#|||000|0", "#CLEARe#"}},
        {"column group",
         [](Table& t) {
             fill(t, {{"", "x"}, {"", ""}});
             t.SetColumnHeader(2, "B");
             t.setCell(1, 2, CellRef{u"x", false, true, false, 255});
         },
         [](Table& t) { t.RemoveColumn(2); },
         {"#REMCLs#2|B|100", "x|001|255", "", "#REMCLe#2"}},
        {"column group escapes text and caption",
         [](Table& t) {
             fill(t, {{"a|b", "k"}, {"||#|", "l"}, {"", "m"}});
             t.SetColumnHeader(1, "C|D");
             t.setCell(3, 1, CellRef{u"", true, true, true, 5});
             t.LetWidthColumn(1, 42);
         },
         [](Table& t) { t.RemoveColumn(1); },
         {"#REMCLs#1|C||D|42", "a||b|000|0", "||||#|||000|0", "", "#REMCLe#1"}},
    };
    return cases;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void records_data();
    void records();
    void editsEndWhatCouldBeRedone_data();
    void editsEndWhatCouldBeRedone();
    void groupsAreOneBlockInFront();
    void clearUndoRedo();
};

void TestJournal::records_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < recordCases().size(); ++i) {
        QTest::newRow(recordCases()[i].name) << i;
    }
}

void TestJournal::records() {
    QFETCH(int, index);
    const RecordCase& c = recordCases()[index];
    Table t;
    c.prepare(t);
    t.ClearUndoRedo();
    c.edit(t);
    QCOMPARE(entries(t.UndoStore()), c.expected);
    QVERIFY(t.RedoStore().empty());
}

void TestJournal::editsEndWhatCouldBeRedone_data() {
    records_data();
}

void TestJournal::editsEndWhatCouldBeRedone() {
    // Every journalled edit made outside undo and redo empties RedoStore.
    QFETCH(int, index);
    const RecordCase& c = recordCases()[index];
    Table t;
    c.prepare(t);
    t.ClearUndoRedo();
    t.SetColumnHeader(1, t.GetColumnHeader(1) + "*");
    QVERIFY(t.undo());
    QCOMPARE(t.RedoStore().size(), size_t(1));
    c.edit(t);
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.redo());
}

void TestJournal::groupsAreOneBlockInFront() {
    Table t;
    fill(t, {{"a", "b"}, {"c", "d"}});
    t.SetBold(1, 1, true);
    t.Clear();
    t.ChangeItem(1, 1, "e");
    t.RemoveColumn(1);
    QCOMPARE(entries(t.UndoStore()),
             (QStringList{"#REMCLs#1||100", "e|000|0", "#REMCLe#1", "#SETTXT#1|1|", "#CLEARs#2",
                          "1||#|1|a|100|0|#|2|b|000|0", "2||#|1|c|000|0|#|2|d|000|0", "#CLEARe#",
                          "#SETBLD#1|1|-1"}));
}

void TestJournal::clearUndoRedo() {
    Table t;
    t.ChangeItem(1, 1, "a");
    t.ChangeItem(1, 1, "b");
    t.undo();
    t.ClearUndoRedo();
    QVERIFY(t.UndoStore().empty());
    QVERIFY(t.RedoStore().empty());
    QVERIFY(!t.undo());
    QVERIFY(!t.redo());
    QCOMPARE(t.GetItem(1, 1), QString("a"));
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
