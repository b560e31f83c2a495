// The table core on a 500,000 x 8 table of short texts, each figure beside a baseline
// measured in the same run:
//   find (no match, every cell)  vs  a plain case-sensitive indexOf over the same texts
//   Clear, and its undo          vs  deep-copying the rows
//   AddRow at row 1, RemoveItem(1) vs  moving the row handles alone
//   resident memory per row      vs  the bytes the rows take in a plain .QEL file
// Run with --benchmark_repetitions=N --benchmark_report_aggregates_only=true for medians.

#include "table/RowBlock.h"
#include "table/RowStore.h"
#include "table/Table.h"

#include "ProcessUsage.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include <malloc.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int Rows = 500'000;
constexpr int Columns = 8;
constexpr int TextLength = 8;

// Deterministic 8-character texts over a-p, so that a search for "ab~" keeps finding its
// first two characters without ever matching.
QString textFor(int row, int column) {
    quint32 x = quint32(row) * 2654435761u ^ quint32(column) * 40503u;
    QString s(TextLength, Qt::Uninitialized);
    for (int i = 0; i < TextLength; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = QChar(u'a' + ((x >> 16) & 15));
    }
    return s;
}

// The texts in one buffer, as plain views: the baseline's data.
struct PlainTexts {
    QString buffer;
    std::vector<QStringView> views;
};

const PlainTexts& plainTexts() {
    static const PlainTexts texts = [] {
        PlainTexts t;
        t.buffer.reserve(qsizetype(Rows) * Columns * TextLength);
        for (int r = 1; r <= Rows; ++r) {
            for (int c = 1; c <= Columns; ++c) {
                t.buffer += textFor(r, c);
            }
        }
        t.views.reserve(size_t(Rows) * Columns);
        for (qsizetype i = 0; i < t.buffer.size(); i += TextLength) {
            t.views.push_back(QStringView(t.buffer).mid(i, TextLength));
        }
        return t;
    }();
    return texts;
}

// Fills the rows the way the file reader does: row by row, columns ascending.
void fill(Table& table) {
    table.ClearEntireList();
    for (int c = 2; c <= Columns; ++c) {
        table.AddColumn(0, 80, QStringLiteral("C%1").arg(c));
    }
    table.resetRows(Rows);
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            table.setCell(r, c, CellRef{textFor(r, c), c == 2, false, c == 3, c == 4 ? 255 : 0});
        }
    }
    table.ClearUndoRedo();
}

Table& bigTable() {
    static const std::unique_ptr<Table> table = [] {
        auto t = std::make_unique<Table>();
        fill(*t);
        return t;
    }();
    return *table;
}

// The same rows in a store of their own, to deep-copy as a baseline: each row's bytes into a
// heap block of its own.
const RowStore& bigStore() {
    static const std::unique_ptr<RowStore> store = [] {
        auto s = std::make_unique<RowStore>();
        s->reset(Rows);
        const Table& t = bigTable();
        for (int r = 1; r <= Rows; ++r) {
            for (int c = 1; c <= Columns; ++c) {
                s->setCell(r, c, t.cellAt(r, c));
            }
        }
        return s;
    }();
    return *store;
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

// --- find ----------------------------------------------------------------------------------

void BM_FindNoMatchFolded(benchmark::State& state) {
    Table& t = bigTable();
    t.setISelected(0);
    const QString needle = QStringLiteral("ab~");
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.findMatch(needle, false, false, QString()));
    }
    usage.pause();
    usage.report(state);
    state.counters["cells"] = double(Rows) * Columns;
}

void BM_FindNoMatchExact(benchmark::State& state) {
    Table& t = bigTable();
    t.setISelected(0);
    const QString needle = QStringLiteral("ab~");
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.findMatch(needle, true, false, QString()));
    }
    usage.pause();
    usage.report(state);
}

void BM_Baseline_IndexOfScan(benchmark::State& state) {
    const PlainTexts& texts = plainTexts();
    const QString needle = QStringLiteral("ab~");
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        qsizetype found = 0;
        for (const QStringView text : texts.views) {
            found += text.indexOf(needle, 0, Qt::CaseSensitive) >= 0;
        }
        benchmark::DoNotOptimize(found);
    }
    usage.pause();
    usage.report(state);
}

// --- Clear and its undo --------------------------------------------------------------------

void BM_Clear(benchmark::State& state) {
    Table& t = bigTable();
    ProcessUsage usage;
    for (auto _ : state) {
        usage.resume();
        t.Clear();
        usage.pause();
        state.PauseTiming();
        t.undo();
        state.ResumeTiming();
    }
    usage.report(state);
}

void BM_ClearUndo(benchmark::State& state) {
    Table& t = bigTable();
    ProcessUsage usage;
    for (auto _ : state) {
        state.PauseTiming();
        t.Clear();
        state.ResumeTiming();
        usage.resume();
        t.undo();
        usage.pause();
    }
    usage.report(state);
}

void BM_Baseline_DeepCopyRows(benchmark::State& state) {
    const RowStore& store = bigStore();
    std::vector<void*> rows(static_cast<size_t>(Rows), nullptr);
    const auto copyRows = [&] {
        for (int r = 1; r <= Rows; ++r) {
            if (const RowBlock* block = store.block(r)) {
                const auto bytes = size_t(block->byteSize());
                rows[size_t(r - 1)] = std::memcpy(std::malloc(bytes), block, bytes);
            }
        }
    };
    const auto freeRows = [&] {
        for (void*& block : rows) {
            std::free(std::exchange(block, nullptr));
        }
    };
    // The heap keeps the copies' memory between iterations instead of handing it back to the
    // system: every copy takes memory already there, so the baseline is the copying and the
    // allocator's work, not faulting memory in.
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    ProcessUsage usage;
    for (auto _ : state) {
        usage.resume();
        copyRows();
        benchmark::DoNotOptimize(rows.data());
        usage.pause();
        state.PauseTiming();
        freeRows();
        state.ResumeTiming();
    }
    usage.report(state);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024); // the default
}

// --- rows at the top -----------------------------------------------------------------------

void BM_AddRowAt1(benchmark::State& state) {
    Table& t = bigTable();
    ProcessUsage usage;
    for (auto _ : state) {
        usage.resume();
        t.AddRow(QString(), 1);
        usage.pause();
        state.PauseTiming();
        t.RemoveItem(1);
        t.ClearUndoRedo();
        state.ResumeTiming();
    }
    usage.report(state);
}

void BM_RemoveItem1(benchmark::State& state) {
    Table& t = bigTable();
    ProcessUsage usage;
    for (auto _ : state) {
        state.PauseTiming();
        t.AddRow(QString(), 1);
        state.ResumeTiming();
        usage.resume();
        t.RemoveItem(1);
        usage.pause();
        state.PauseTiming();
        t.ClearUndoRedo();
        state.ResumeTiming();
    }
    usage.report(state);
}

void BM_Baseline_InsertHandleAt1(benchmark::State& state) {
    std::vector<void*> handles(size_t(Rows), nullptr);
    ProcessUsage usage;
    for (auto _ : state) {
        usage.resume();
        handles.insert(handles.begin(), nullptr);
        benchmark::DoNotOptimize(handles.data());
        usage.pause();
        state.PauseTiming();
        handles.erase(handles.begin());
        state.ResumeTiming();
    }
    usage.report(state);
}

void BM_Baseline_EraseHandleAt1(benchmark::State& state) {
    std::vector<void*> handles(size_t(Rows), nullptr);
    ProcessUsage usage;
    for (auto _ : state) {
        state.PauseTiming();
        handles.insert(handles.begin(), nullptr);
        state.ResumeTiming();
        usage.resume();
        handles.erase(handles.begin());
        benchmark::DoNotOptimize(handles.data());
        usage.pause();
    }
    usage.report(state);
}

// --- filling and memory --------------------------------------------------------------------

void BM_FillRowByRow(benchmark::State& state) {
    Table t;
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        fill(t);
    }
    usage.pause();
    usage.report(state);
    state.counters["ns_per_cell"] =
        benchmark::Counter(double(Rows) * Columns, benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

struct MemoryFigures {
    double residentPerRow = 0;
    double qelPerRow = 0;
};

MemoryFigures g_memory;

// Measured first, before anything else has touched the heap, so the resident growth is the
// table's own.
void measureMemory() {
    const qint64 before = residentBytes();
    {
        const Table& t = bigTable();
        g_memory.residentPerRow = double(residentBytes() - before) / Rows;
        qint64 qelBytes = 0;
        for (int r = 1; r <= Rows; ++r) {
            for (int c = 1; c <= Columns; ++c) {
                const CellRef cell = t.cellAt(r, c);
                // text#colour#flags#column#row, then CR LF
                qelBytes += cell.Text.toUtf8().size() + 1 + QByteArray::number(cell.Color).size() +
                            1 + 3 + 1 + QByteArray::number(c).size() + 1 +
                            QByteArray::number(r).size() + 2;
            }
        }
        g_memory.qelPerRow = double(qelBytes) / Rows;
    }
}

void BM_MemoryPerRow(benchmark::State& state) {
    // Nothing to time: the figures were measured at start-up and are reported here.
    for (auto _ : state) {
    }
    state.counters["resident_bytes_per_row"] = g_memory.residentPerRow;
    state.counters["qel_bytes_per_row"] = g_memory.qelPerRow;
    state.counters["ratio"] = g_memory.residentPerRow / g_memory.qelPerRow;
}

} // namespace

BENCHMARK(BM_MemoryPerRow)->Iterations(1);
BENCHMARK(BM_FindNoMatchFolded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNoMatchExact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_IndexOfScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_DeepCopyRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddRowAt1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RemoveItem1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_InsertHandleAt1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_EraseHandleAt1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRowByRow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    measureMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
