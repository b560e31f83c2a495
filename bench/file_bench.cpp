// Opening and saving a 500,000 x 8 table of short texts, each beside a baseline measured in the
// same run: reading and splitting the same bytes, writing the same bytes, copying a buffer.
// `file_bench --memory` instead reports the peak memory of opening the stored file.
#include "qelfile/DatabaseFile.h"
#include "qelfile/format/QelScrambler.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"

#include "ProcessUsage.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 500000;
constexpr int kColumns = 8;
constexpr qint64 kBlock = 1048576;

// Lets every password in and gives "pw" as a new one.
ScriptedPrompts withPassword() {
    ScriptedPrompts prompts;
    prompts.newPassword = QStringLiteral("pw");
    return prompts;
}

void fillTable(Table& table) {
    for (int c = 2; c <= kColumns; ++c) {
        table.AddColumn(0, 90, QStringLiteral("Column %1").arg(c));
    }
    table.resetRows(kRows);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kColumns; ++c) {
            const QString text = QStringLiteral("t%1-%2").arg(r).arg(c);
            table.setCell(r, c, CellRef{text, c == 2, false, c == 5, c == 3 ? 255 : 0});
        }
    }
}

// The table and its two files, made once.
struct Fixture {
    QTemporaryDir dir;
    Table table;
    ScriptedPrompts prompts = withPassword();
    DatabaseFile file{table, &prompts};
    QString plain = dir.filePath(QStringLiteral("plain.QEL"));
    QString stored = dir.filePath(QStringLiteral("stored.QEL"));
    QByteArray plainBytes;

    Fixture() {
        fillTable(table);
        if (!file.SaveFileAs(plain, false).ok() || !file.SaveFileAs(stored, true).ok()) {
            std::abort();
        }
        QFile in(plain);
        in.open(QIODevice::ReadOnly);
        plainBytes = in.readAll();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Opening into a table that holds the previous document, as the Open command does.
void BM_Open(benchmark::State& state, QString Fixture::*which) {
    Fixture& f = fixture();
    Table table;
    DatabaseFile file(table, &f.prompts);
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        if (!file.OpenFile(f.*which).ok() || table.ListCount() != kRows) {
            state.SkipWithError("open failed");
        }
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * f.plainBytes.size());
}

// Opening into a new window's empty table: the same, without freeing the previous document's
// rows inside the measurement.
void BM_OpenPlainIntoEmptyTable(benchmark::State& state) {
    Fixture& f = fixture();
    ProcessUsage usage;
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<Table>();
        DatabaseFile file(*table, &f.prompts);
        state.ResumeTiming();
        usage.resume();
        if (!file.OpenFile(f.plain).ok() || table->ListCount() != kRows) {
            state.SkipWithError("open failed");
        }
        usage.pause();
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * f.plainBytes.size());
}

// Baseline: the same bytes read in the same blocks and cut into lines at CR LF.
void BM_ReadAndSplitLines(benchmark::State& state) {
    Fixture& f = fixture();
    QByteArray block(kBlock, Qt::Uninitialized);
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        QFile in(f.plain);
        in.open(QIODevice::ReadOnly);
        qint64 lines = 0;
        qint64 got;
        while ((got = in.read(block.data(), kBlock)) > 0) {
            const char* p = block.constData();
            const char* end = p + got;
            while (const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p))) {
                benchmark::DoNotOptimize(cr - p);
                ++lines;
                p = cr + 2;
                if (p >= end) {
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * f.plainBytes.size());
}

void BM_SavePlain(benchmark::State& state) {
    Fixture& f = fixture();
    const QString target = f.dir.filePath(QStringLiteral("saved.QEL"));
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        if (!f.file.SaveFileAs(target, false).ok()) {
            state.SkipWithError("save failed");
        }
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * f.plainBytes.size());
}

// Baseline: the same bytes written the same way, in blocks through a QSaveFile (a temporary
// file flushed to the disk and renamed over the target).
void BM_WriteSameBytes(benchmark::State& state) {
    Fixture& f = fixture();
    const QString target = f.dir.filePath(QStringLiteral("written.QEL"));
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        QSaveFile out(target);
        out.open(QIODevice::WriteOnly);
        for (qint64 at = 0; at < f.plainBytes.size(); at += kBlock) {
            out.write(f.plainBytes.constData() + at, qMin(kBlock, f.plainBytes.size() - at));
        }
        if (!out.commit()) {
            state.SkipWithError("write failed");
        }
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * f.plainBytes.size());
}

void BM_ScrambleChunk(benchmark::State& state) {
    QByteArray chunk(kBlock, 'a');
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        QelScrambler::scramble(chunk.data(), chunk.size());
        benchmark::ClobberMemory();
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * kBlock);
}

// Baseline: copying the chunk.
void BM_CopyChunk(benchmark::State& state) {
    QByteArray from(kBlock, 'a');
    QByteArray to(kBlock, 'b');
    ProcessUsage usage;
    usage.resume();
    for (auto _ : state) {
        std::memcpy(to.data(), from.constData(), kBlock);
        benchmark::ClobberMemory();
    }
    usage.pause();
    usage.report(state);
    state.SetBytesProcessed(state.iterations() * kBlock);
}

BENCHMARK(BM_ReadAndSplitLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Open, Plain, &Fixture::plain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenPlainIntoEmptyTable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Open, Stored, &Fixture::stored)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePlain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyChunk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrambleChunk)->Unit(benchmark::kMicrosecond);

// Resident and peak resident memory of this process, in KiB.
long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::strlen(field)));
        }
    }
    return -1;
}

// Peak memory of opening a stored file into an empty table in this process, against what the
// loaded table keeps: the difference is what reading needed beyond the table itself.
int measureOpen(const char* path) {
    ScriptedPrompts prompts = withPassword();
    auto table = std::make_unique<Table>();
    DatabaseFile file(*table, &prompts);
    // Writing 5 to clear_refs resets the peak to the current resident size.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKiB("VmRSS:");
    const bool ok = file.OpenFile(QString::fromLocal8Bit(path)).ok() && table->ListCount() == kRows;
    const long after = statusKiB("VmRSS:");
    const long peak = statusKiB("VmHWM:");
    std::printf("open stored: %s\n", ok ? "ok" : "FAILED");
    std::printf("resident before          %8ld KiB\n", before);
    std::printf("table kept (after-before) %8ld KiB\n", after - before);
    std::printf("peak during open - before %8ld KiB\n", peak - before);
    std::printf("peak beyond the table     %8ld KiB (one chunk is %lld KiB)\n", peak - after,
                kBlock / 1024);
    return ok ? 0 : 1;
}

// Makes the stored file, then measures its opening in a fresh process, whose heap holds
// nothing freed that the reader could reuse unseen.
int reportMemory(const char* self) {
    Fixture& f = fixture();
    std::printf("file size                 %8lld KiB\n", f.plainBytes.size() / 1024);
    const std::string command =
        std::string("'") + self + "' --measure-open '" + f.stored.toStdString() + "'";
    std::fflush(stdout);
    return std::system(command.c_str()) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0) {
        return reportMemory(argv[0]);
    }
    if (argc > 2 && std::strcmp(argv[1], "--measure-open") == 0) {
        return measureOpen(argv[2]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
