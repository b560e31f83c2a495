// Drawing cost of the grid: a full redraw must not grow with the table, and one arrow step
// must cost about one full redraw.
#include "gridview/List.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <memory>

namespace {

constexpr int Columns = 8;
constexpr int ColumnWidth = 70;

std::unique_ptr<List> makeList(int rows) {
    auto list = std::make_unique<List>();
    list->resize(700, 500);
    Table& t = list->table();
    t.LetWidthColumn(1, ColumnWidth);
    for (int c = 2; c <= Columns; ++c) {
        t.AddColumn(0, ColumnWidth, QStringLiteral("C%1").arg(c));
    }
    t.AddMoreThanOneRow(rows - 1);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            Cell cell{QStringLiteral("r%1c%2").arg(r).arg(c), (r + c) % 3 == 0, (r % 5) == 0, false,
                      (r * 97 + c) & 0xFFFFFF};
            t.setCell(r, c,
                      CellRef{cell.Text, cell.Bold, cell.Itallic, cell.Underlined, cell.Color});
        }
    }
    t.ClearUndoRedo();
    list->show();
    QApplication::processEvents();
    return list;
}

// The lists live until the process ends: destroyed with the other statics, after main() has
// destroyed the QApplication, a widget would crash the process on its way out.
List& largeList() {
    static List* const list = makeList(500000).release();
    return *list;
}

List& smallList() {
    static List* const list = makeList(100).release();
    return *list;
}

void BM_RenderAll_500000Rows(benchmark::State& state) {
    List& list = largeList();
    for (auto _ : state) {
        list.RenderColumn(-1);
    }
}

void BM_RenderAll_100Rows(benchmark::State& state) {
    List& list = smallList();
    for (auto _ : state) {
        list.RenderColumn(-1);
    }
}

// One tick of the arrow-repeat timer with the down arrow held: scrolls one row, redraws the
// visible rows and recomputes the bars. Direction flips at either end of the table.
void BM_ArrowStepDown_500000Rows(benchmark::State& state) {
    List& list = largeList();
    auto* timer = list.findChild<QTimer*>(QStringLiteral("tmrScroll"));
    timer->setProperty("Tag", QStringLiteral("D"));
    for (auto _ : state) {
        const int before = list.TopOffset();
        QMetaObject::invokeMethod(timer, "timeout");
        if (list.TopOffset() == before) {
            state.PauseTiming();
            const bool down = timer->property("Tag").toString() == QLatin1String("D");
            timer->setProperty("Tag", down ? QStringLiteral("G") : QStringLiteral("D"));
            state.ResumeTiming();
        }
    }
    timer->stop();
}

} // namespace

BENCHMARK(BM_RenderAll_500000Rows);
BENCHMARK(BM_RenderAll_100Rows);
BENCHMARK(BM_ArrowStepDown_500000Rows);
