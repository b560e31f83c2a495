#include "support/TableFixture.h"
#include "table/Table.h"

#include <QTest>

#include <map>
#include <random>

using TableFixture::difference;
using TableFixture::snapshot;

namespace {

/// Makes random journalled edits of every kind on a table.
///
/// The journal by design keeps nothing of a cell that has a format but no text when it clears
/// the table or removes a column, so before either of those the editor first gives such cells
/// their default format back, with journalled edits. Edits that are not undoable by design are
/// left out: ClearEntireList, ClearUndoRedo, removing the only row (it leaves no trace),
/// EnableEdit/DisableEdit (not journalled) and direct cell access (the file reader's path, which
/// empties the journal after it).
class RandomEditor {
public:
    RandomEditor(Table& table, quint32 seed) : m_t(table), m_rng(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return number(1, 100) <= percent; }

    QString text() {
        static const QStringList pieces{"a",    "b",      "A",      "|", "#",           "|#|",
                                        "||#|", "\u0438", "\u0418", " ", "#SETTXT#1|1|"};
        QString s;
        for (int n = number(0, 4); n > 0; --n) {
            s += pieces[number(0, int(pieces.size()) - 1)];
        }
        return s;
    }

    // Mostly in range, sometimes just outside.
    int row() { return chance(95) ? number(1, m_t.ListCount()) : number(0, m_t.ListCount() + 1); }
    int column() {
        return chance(95) ? number(1, m_t.ColumnCount()) : number(0, m_t.ColumnCount() + 1);
    }

    void fillStart() {
        for (int c = number(1, 5); c > 1; --c) {
            m_t.AddColumn(0, number(5, 200), text());
        }
        m_t.SetColumnHeader(1, text());
        m_t.LetWidthColumn(1, number(0, 510));
        m_t.resetRows(number(1, 8));
        for (int r = 1; r <= m_t.ListCount(); ++r) {
            for (int c = 1; c <= m_t.ColumnCount(); ++c) {
                const QString s = text();
                const bool formatted = !s.isEmpty() && chance(40);
                m_t.setCell(r, c,
                            CellRef{s, formatted && chance(50), formatted && chance(50),
                                    formatted && chance(50), formatted ? number(-5, 0xFFFFFF) : 0});
            }
        }
        m_t.ClearUndoRedo();
    }

    void edit() {
        const int kind = number(0, 15);
        m_lastWasReplay = kind == 15;
        switch (kind) {
        case 0:
        case 1:
            m_t.ChangeItem(row(), column(), text());
            break;
        case 2:
            m_t.SetBold(row(), column(), chance(50));
            break;
        case 3:
            m_t.SetItallic(row(), column(), chance(50));
            break;
        case 4:
            m_t.SetUnderlined(row(), column(), chance(50));
            break;
        case 5:
            m_t.SetColor(row(), column(), chance(50) ? number(-100, 100) : number(0, 0xFFFFFF));
            break;
        case 6:
            m_t.SetColumnHeader(column(), text());
            break;
        case 7:
            // Narrow widths often, below the minimum a new column gets.
            m_t.LetWidthColumn(column(), chance(40) ? number(-10, 6) : number(0, 700));
            break;
        case 8:
            m_t.AddRow(text(), number(-1, m_t.ListCount() + 2));
            break;
        case 9:
            m_t.AddMoreThanOneRow(number(1, 4));
            break;
        case 10:
            if (m_t.ListCount() > 1) {
                m_t.RemoveItem(number(1, m_t.ListCount()), chance(50));
            }
            break;
        case 11:
            if (chance(30)) {
                unformatEmptyCells(0);
                m_t.Clear();
            }
            break;
        case 12:
            m_t.AddColumn(number(0, m_t.ColumnCount() + 1), number(-3, 300), text());
            break;
        case 13: {
            const int c = column();
            unformatEmptyCells(m_t.ColumnCount() < 2 ? 0 : c);
            m_t.RemoveColumn(c);
            break;
        }
        case 14:
            m_t.setISelected(number(0, m_t.ListCount()));
            m_t.FindAndReplaceText(text(), text(), chance(50), chance(50));
            break;
        default:
            // Some of the history is undone and partly redone; the next edit ends the rest.
            m_t.undo(number(0, 4));
            m_t.redo(number(0, 2));
            break;
        }
    }

    bool lastEditWasReplay() const { return m_lastWasReplay; }

private:
    // column 0: every column.
    void unformatEmptyCells(int column) {
        for (int r = 1; r <= m_t.ListCount(); ++r) {
            for (int c = 1; c <= m_t.ColumnCount(); ++c) {
                if ((column && c != column) || !m_t.GetItem(r, c).isEmpty()) {
                    continue;
                }
                const CellRef cell = m_t.cellAt(r, c);
                if (cell.Bold) {
                    m_t.SetBold(r, c, false);
                }
                if (cell.Itallic) {
                    m_t.SetItallic(r, c, false);
                }
                if (cell.Underlined) {
                    m_t.SetUnderlined(r, c, false);
                }
                if (cell.Color) {
                    m_t.SetColor(r, c, 0);
                }
            }
        }
    }

    Table& m_t;
    std::mt19937 m_rng;
    bool m_lastWasReplay = false;
};

/// The table as it was whenever UndoStore had a given size along the history that undo and
/// redo walk: every undo or redo that brings the store back to that size must bring back
/// that table.
class History {
public:
    void record(const Table& t) {
        const size_t size = t.UndoStore().size();
        // What lay above the current store was undone and is not part of the history.
        m_states.erase(m_states.upper_bound(size), m_states.end());
        m_states[size] = snapshot(t);
    }
    /// Empty when the table matches the state for the store's size, or none is known.
    QString check(const Table& t) const {
        const auto it = m_states.find(t.UndoStore().size());
        if (it == m_states.end()) {
            return QString();
        }
        const QString diff = difference(snapshot(t), it->second);
        return diff.isEmpty() ? QString()
                              : QStringLiteral("at store size %1: %2").arg(it->first).arg(diff);
    }
    qsizetype size() const { return qsizetype(m_states.size()); }

private:
    std::map<size_t, TableFixture::Snapshot> m_states;
};

} // namespace

class TestJournalProperty : public QObject {
    Q_OBJECT
private slots:
    void undoAllAndRedoAll_data();
    void undoAllAndRedoAll();
};

void TestJournalProperty::undoAllAndRedoAll_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u, 89u, 144u, 2005u}) {
        QTest::addRow("seed %u", seed) << seed;
    }
}

void TestJournalProperty::undoAllAndRedoAll() {
    QFETCH(quint32, seed);
    Table t;
    RandomEditor editor(t, seed);
    editor.fillStart();
    const auto start = snapshot(t);
    History history;
    history.record(t);

    for (int i = 0; i < 400; ++i) {
        editor.edit();
        if (editor.lastEditWasReplay()) {
            const QString diff = history.check(t);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
        history.record(t);
    }
    while (t.redo(editor.number(0, 3))) {
        history.record(t);
    }
    const auto final = snapshot(t);
    QVERIFY(t.UndoStore().size() > 100);
    QVERIFY(history.size() > 100);

    // One step at a time first, then in batches of random size.
    for (const int most : {1, 5}) {
        while (t.undo(editor.number(1, most))) {
            const QString diff = history.check(t);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
        QVERIFY2(snapshot(t) == start, qPrintable(difference(snapshot(t), start)));
        QVERIFY(t.UndoStore().empty());

        while (t.redo(editor.number(1, most))) {
            const QString diff = history.check(t);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
        QVERIFY2(snapshot(t) == final, qPrintable(difference(snapshot(t), final)));
        QVERIFY(t.RedoStore().empty());
    }
}

QTEST_GUILESS_MAIN(TestJournalProperty)
#include "tst_journalproperty.moc"
