#include "RecordingView.h"
#include "support/TableFixture.h"
#include "table/Table.h"

#include <QTest>

using TableFixture::entries;
using TableFixture::fill;
using TableFixture::texts;

Q_DECLARE_METATYPE(FindHit)

// Found by QCOMPARE through argument-dependent lookup.
char* toString(const FindHit& hit) {
    return QTest::toString(QStringLiteral("row %1 column %2 position %3")
                               .arg(hit.row)
                               .arg(hit.column)
                               .arg(hit.position));
}

namespace {

QList<QStringList> column(const QStringList& cells) {
    QList<QStringList> rows;
    for (const QString& cell : cells) {
        rows << QStringList{cell};
    }
    return rows;
}

// Ten rows of one column, empty but for the given (row, text) pairs.
QList<QStringList> tenRows(const QList<std::pair<int, QString>>& texts) {
    QStringList cells(10);
    for (const auto& [row, text] : texts) {
        cells[row - 1] = text;
    }
    return column(cells);
}

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void folding_data();
    void folding();
    void findOrder_data();
    void findOrder();
    void hostExactMatch_data();
    void hostExactMatch();
    void replace_data();
    void replace();
    void replacementsAreUndoable();
};

void TestFindReplace::folding_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<bool>("found");
    QTest::newRow("abc ~ ABC") << "ABC"
                               << "abc" << false << true;
    QTest::newRow("abc ~ AbC") << "AbC"
                               << "abc" << false << true;
    QTest::newRow("ABC ~ abc") << "abc"
                               << "ABC" << false << true;
    QTest::newRow("exact abc vs ABC") << "ABC"
                                      << "abc" << true << false;
    QTest::newRow("exact abc") << "abc"
                               << "abc" << true << true;
    QTest::newRow("È vs è") << "\u00C8"
                            << "\u00E8" << false << false;
    QTest::newRow("ä vs Ä") << "x\u00C4"
                            << "\u00E4" << false << false;
    QTest::newRow("и ~ И") << "\u0418"
                           << "\u0438" << false << true;
    QTest::newRow("ж ~ Ж") << "\u0416"
                           << "\u0436" << false << true;
    QTest::newRow("љ ~ Љ") << "\u0409"
                           << "\u0459" << false << true;
    QTest::newRow("ћ ~ Ћ") << "\u040B"
                           << "\u045B" << false << true;
    QTest::newRow("р ~ Р") << "\u0420"
                           << "\u0440" << false << true;
    QTest::newRow("ц ~ Ц") << "\u0426"
                           << "\u0446" << false << true;
    QTest::newRow("д ~ Д") << "\u0414"
                           << "\u0434" << false << true;
    QTest::newRow("л ~ Л") << "\u041B"
                           << "\u043B" << false << true;
    QTest::newRow("Л ~ л in the cell") << "\u043B"
                                       << "\u041B" << false << true;
    QTest::newRow("я vs Я (not in the table)") << "\u042F"
                                               << "\u044F" << false << false;
    QTest::newRow("а vs А (not in the table)") << "\u0410"
                                               << "\u0430" << false << false;
    QTest::newRow("exact и vs И") << "\u0418"
                                  << "\u0438" << true << false;
    QTest::newRow("digits and signs") << "#1|2"
                                      << "1|" << false << true;
    QTest::newRow("mixed word") << "xx\u0434\u041Bo WORLD"
                                << "\u0414\u043BO w" << false << true;
}

void TestFindReplace::folding() {
    QFETCH(QString, cell);
    QFETCH(QString, search);
    QFETCH(bool, exact);
    QFETCH(bool, found);
    Table t;
    fill(t, {{cell}});
    QCOMPARE(t.findMatch(search, exact, false, QString()).has_value(), found);

    // Replacing follows the same comparison.
    QCOMPARE(t.FindAndReplaceText(search, "#", false, exact), found);
}

void TestFindReplace::findOrder_data() {
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("search");
    QTest::addColumn<FindHit>("hit"); // row 0: no match

    QTest::newRow("after the current row first")
        << tenRows({{2, "ab"}, {7, "xab"}}) << 5 << "ab" << FindHit{7, 1, 2};
    QTest::newRow("wraps to row 1 before the current row")
        << tenRows({{2, "ab"}, {5, "ab"}}) << 5 << "ab" << FindHit{2, 1, 1};
    QTest::newRow("the current row last") << tenRows({{5, "ab"}}) << 5 << "ab" << FindHit{5, 1, 1};
    QTest::newRow("at the last row: from row 1")
        << tenRows({{3, "ab"}, {10, "ab"}}) << 10 << "ab" << FindHit{3, 1, 1};
    QTest::newRow("at the last row: row 10 in the one pass")
        << tenRows({{10, "ab"}}) << 10 << "ab" << FindHit{10, 1, 1};
    QTest::newRow("no current row: from row 1")
        << column({"", "ab", "ab"}) << 0 << "ab" << FindHit{2, 1, 1};
    QTest::newRow("columns in order")
        << QList<QStringList>{{"", "zab", "ab"}} << 0 << "ab" << FindHit{1, 2, 2};
    QTest::newRow("position of the match")
        << QList<QStringList>{{"xyab"}} << 0 << "ab" << FindHit{1, 1, 3};
    QTest::newRow("leftmost position")
        << QList<QStringList>{{"abab"}} << 0 << "ab" << FindHit{1, 1, 1};
    QTest::newRow("substring at 1") << QList<QStringList>{{"ab"}} << 0 << "a" << FindHit{1, 1, 1};
    QTest::newRow("shorter cell never matches")
        << QList<QStringList>{{"a"}} << 0 << "ab" << FindHit{};
    QTest::newRow("nothing") << column({"a", "b"}) << 1 << "c" << FindHit{};
    QTest::newRow("empty search text") << column({"a", ""}) << 0 << "" << FindHit{};
}

void TestFindReplace::findOrder() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, selected);
    QFETCH(QString, search);
    QFETCH(FindHit, hit);
    Table t;
    fill(t, rows);
    // A hidden cell is never searched.
    t.setCellText(1, 20, search);
    t.setISelected(selected);
    const auto found = t.findMatch(search, false, false, QString());
    QCOMPARE(found.value_or(FindHit{}), hit);
    QCOMPARE(t.iSelected(), selected);
}

void TestFindReplace::hostExactMatch_data() {
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QString>("hostText");
    QTest::addColumn<FindHit>("hit");
    QTest::newRow("substring refused, whole cell found")
        << QStringList{"xaby", "ab"} << "ab" << true << "ab" << FindHit{2, 1, 1};
    QTest::newRow("case differs") << QStringList{"AB"} << "ab" << true << "ab" << FindHit{};
    QTest::newRow("whole cell through folding always counts")
        << QStringList{"xab", "AB"} << "ab" << false << "ab" << FindHit{2, 1, 1};
    QTest::newRow("cell equal to the host's text")
        << QStringList{"xab"} << "ab" << false << "xab" << FindHit{1, 1, 2};
}

void TestFindReplace::hostExactMatch() {
    QFETCH(QStringList, cells);
    QFETCH(QString, search);
    QFETCH(bool, exact);
    QFETCH(QString, hostText);
    QFETCH(FindHit, hit);
    Table t;
    fill(t, column(cells));
    QCOMPARE(t.findMatch(search, exact, true, hostText).value_or(FindHit{}), hit);
}

void TestFindReplace::replace_data() {
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("src");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QList<QStringList>>("expected");
    QTest::addColumn<QStringList>("records"); // UndoStore, position 1 first

    QTest::newRow("all: aaaa") << column({"aaaa"}) << 0 << "a"
                               << "b" << true << false << column({"bbbb"})
                               << QStringList{"#SETTXT#1|1|bbba", "#SETTXT#1|1|bbaa",
                                              "#SETTXT#1|1|baaa", "#SETTXT#1|1|aaaa"};
    QTest::newRow("all: longer replacement")
        << column({"ab ab"}) << 0 << "ab"
        << "xyz" << true << false << column({"xyz xyz"})
        << QStringList{"#SETTXT#1|1|xyz ab", "#SETTXT#1|1|ab ab"};
    QTest::newRow("all: inserted text not examined again")
        << column({"a a"}) << 0 << "a"
        << "aa" << true << false << column({"aa aa"})
        << QStringList{"#SETTXT#1|1|aa a", "#SETTXT#1|1|a a"};
    QTest::newRow("all: non-overlapping")
        << column({"aaa"}) << 0 << "aa"
        << "b" << true << false << column({"ba"}) << QStringList{"#SETTXT#1|1|aaa"};
    QTest::newRow("all: whole cells in one row")
        << QList<QStringList>{{"ab", "ab"}} << 0 << "ab"
        << "c" << true << false << QList<QStringList>{{"c", "c"}}
        << QStringList{"#SETTXT#1|2|ab", "#SETTXT#1|1|ab"};
    QTest::newRow("one: only the first match")
        << QList<QStringList>{{"xaxa", "a"}, {"a", ""}} << 0 << "a"
        << "b" << false << false << QList<QStringList>{{"xbxa", "a"}, {"a", ""}}
        << QStringList{"#SETTXT#1|1|xaxa"};
    QTest::newRow("one: whole cell")
        << column({"AB"}) << 0 << "ab"
        << "" << false << false << column({""}) << QStringList{"#SETTXT#1|1|AB"};
    QTest::newRow("exact: case kept")
        << column({"aAa"}) << 0 << "A"
        << "-" << true << true << column({"a-a"}) << QStringList{"#SETTXT#1|1|aAa"};
    QTest::newRow("folded: every case")
        << column({"aAa"}) << 0 << "A"
        << "-" << true << false << column({"---"})
        << QStringList{"#SETTXT#1|1|--a", "#SETTXT#1|1|-Aa", "#SETTXT#1|1|aAa"};
    QTest::newRow("one: starts at the current row")
        << column({"a", "", "a", "a", ""}) << 3 << "a"
        << "b" << false << false << column({"a", "", "b", "a", ""}) << QStringList{"#SETTXT#3|1|a"};
    QTest::newRow("one: wraps to row 1")
        << column({"a", "", "", "", ""}) << 3 << "a"
        << "b" << false << false << column({"b", "", "", "", ""}) << QStringList{"#SETTXT#1|1|a"};
    QTest::newRow("one: at the last row starts at 1")
        << column({"", "a", "", "", "a"}) << 5 << "a"
        << "b" << false << false << column({"", "b", "", "", "a"}) << QStringList{"#SETTXT#2|1|a"};
    QTest::newRow("all: every row once from the current row")
        << column({"a", "a", "a", "a"}) << 3 << "a"
        << "aa" << true << false << column({"aa", "aa", "aa", "aa"})
        << QStringList{"#SETTXT#2|1|a", "#SETTXT#1|1|a", "#SETTXT#4|1|a", "#SETTXT#3|1|a"};
    QTest::newRow("no match") << column({"abc"}) << 0 << "x"
                              << "y" << true << false << column({"abc"}) << QStringList{};
    QTest::newRow("empty search text replaces nothing")
        << column({"abc", ""}) << 0 << ""
        << "y" << true << false << column({"abc", ""}) << QStringList{};
}

void TestFindReplace::replace() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, selected);
    QFETCH(QString, src);
    QFETCH(QString, replacement);
    QFETCH(bool, all);
    QFETCH(bool, exact);
    QFETCH(QList<QStringList>, expected);
    QFETCH(QStringList, records);
    Table t;
    fill(t, rows);
    t.setCellText(1, 30, u"a hidden ab"); // hidden cells are left alone
    t.setISelected(selected);
    t.SetColumnHeader(1, "h");
    t.undo(); // leaves something that could be redone
    RecordingView view;
    t.setView(&view);

    QCOMPARE(t.FindAndReplaceText(src, replacement, all, exact), !records.isEmpty());
    QCOMPARE(texts(t), expected);
    QCOMPARE(entries(t.UndoStore()), records);
    QCOMPARE(t.RedoStore().empty(), !records.isEmpty());
    QCOMPARE(t.iSelected(), selected);
    QCOMPARE(t.cellAt(1, 30).Text, QStringView(u"a hidden ab"));
    QCOMPARE(view.calls, QStringList{"RenderColumn(-1)"});
}

void TestFindReplace::replacementsAreUndoable() {
    Table t;
    fill(t, {{"a|a", "ba"}, {"A", "x"}});
    t.SetBold(1, 1, true);
    const auto before = TableFixture::snapshot(t);
    QVERIFY(t.FindAndReplaceText("a", "|#|", true));
    QCOMPARE(texts(t), (QList<QStringList>{{"|#|||#|", "b|#|"}, {"|#|", "x"}}));
    QVERIFY(t.cellAt(1, 1).Bold);
    QVERIFY(t.undo(4));
    QVERIFY(TableFixture::snapshot(t) == before);
    QVERIFY(t.redo(4));
    QCOMPARE(texts(t), (QList<QStringList>{{"|#|||#|", "b|#|"}, {"|#|", "x"}}));
}

QTEST_GUILESS_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
