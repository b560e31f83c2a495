// The main() of the benchmarks that need widgets: an offscreen QApplication with the Qt
// platform installed, then every benchmark the command line selects.
#include "platform/QtPlatform.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QtPlatform platform;
    Platform::install(&platform);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
