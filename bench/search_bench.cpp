// The file search over a tree of 100,000 entries in 10,000 folders (9 files each, one of them
// a database file): the walk as a test runs it, the walk on the window's worker thread with
// its reports taken by an event loop, and a plain recursive QDirIterator walk of the same
// tree as the baseline. The last two measure how soon Stop and closing the window end a
// running search.
#include "ui/search/SearchFolder.h"
#include "ui/search/SearchListener.h"
#include "ui/search/SearchRunner.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>

namespace {

constexpr int TopFolders = 100;
constexpr int SubfoldersEach = 99;
constexpr int FilesEach = 9;

// Made once for the whole run, so every benchmark walks the same tree, warm in the cache.
QString tree() {
    static QTemporaryDir folder;
    static const bool made = [] {
        const auto fill = [](const QString& path) {
            QDir().mkdir(path);
            for (int file = 0; file < FilesEach; ++file) {
                const QString name = file == 0   ? QStringLiteral("/db.QEL")
                                     : file == 1 ? QStringLiteral("/notes%1.qel.txt").arg(file)
                                                 : QStringLiteral("/file%1.txt").arg(file);
                QFile(path + name).open(QIODevice::WriteOnly);
            }
        };
        for (int top = 0; top < TopFolders; ++top) {
            const QString topPath = folder.path() + QStringLiteral("/d%1").arg(top);
            fill(topPath);
            for (int sub = 0; sub < SubfoldersEach; ++sub) {
                fill(topPath + QStringLiteral("/e%1").arg(sub));
            }
        }
        return true;
    }();
    Q_UNUSED(made);
    return folder.path();
}

constexpr qint64 Folders = TopFolders * (1 + SubfoldersEach);
// Each folder is an entry of its parent.
constexpr qint64 Entries = Folders * (1 + FilesEach);

struct Counter final : SearchListener {
    qint64 entries = 0;
    qint64 matches = 0;
    void examined(qint64 count) override { entries += count; }
    void found(const QString&, const QString&) override { ++matches; }
    void statusChanged(const QString&) override {}
};

void BM_SearchFolder(benchmark::State& state) {
    const QString root = tree();
    for (auto _ : state) {
        Counter counter;
        SearchFolder(counter).run(root, QStringLiteral("*.QEL"), QString());
        if (counter.matches != Folders) {
            state.SkipWithError("wrong number of files found");
        }
        benchmark::DoNotOptimize(counter.entries);
    }
    state.counters["entries"] = double(Entries);
}

void BM_SearchRunnerWithEventLoop(benchmark::State& state) {
    const QString root = tree();
    for (auto _ : state) {
        SearchRunner runner;
        qint64 found = 0;
        QEventLoop loop;
        QObject::connect(
            &runner, &SearchRunner::filesFound,
            [&found](const QStringList& paths, const QString&) { found += paths.size(); });
        QObject::connect(&runner, &SearchRunner::finished, &loop, &QEventLoop::quit);
        runner.start(root, QStringLiteral("*.QEL"), QString());
        loop.exec();
        if (found != Folders) {
            state.SkipWithError("wrong number of files found");
        }
    }
}

void BM_Baseline_QDirIteratorWalk(benchmark::State& state) {
    const QString root = tree();
    for (auto _ : state) {
        qint64 entries = 0;
        qint64 found = 0;
        QDirIterator walk(root,
                          QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                          QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            walk.next();
            ++entries;
            if (walk.fileName().endsWith(u".QEL", Qt::CaseInsensitive) &&
                walk.fileInfo().isFile()) {
                ++found;
            }
        }
        if (found != Folders) {
            state.SkipWithError("wrong number of files found");
        }
        benchmark::DoNotOptimize(entries);
    }
}

// From Stop (or the window's cancel) to the search's end, a few milliseconds into the walk.
void endSoonAfterStart(benchmark::State& state, bool cancel) {
    const QString root = tree();
    for (auto _ : state) {
        SearchRunner runner;
        QEventLoop loop;
        QObject::connect(&runner, &SearchRunner::finished, &loop, &QEventLoop::quit);
        runner.start(root, QStringLiteral("*.QEL"), QString());
        QThread::msleep(5);
        QElapsedTimer timer;
        timer.start();
        if (cancel) {
            runner.cancel();
        } else {
            runner.stop();
            loop.exec();
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}

void BM_FromStopToDone(benchmark::State& state) {
    endSoonAfterStart(state, false);
}

void BM_FromCloseToEnded(benchmark::State& state) {
    endSoonAfterStart(state, true);
}

} // namespace

BENCHMARK(BM_SearchFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchRunnerWithEventLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Baseline_QDirIteratorWalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FromStopToDone)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_FromCloseToEnded)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    tree();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
