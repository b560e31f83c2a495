#pragma once

// System time, user time and minor page faults of the process (every thread of it) during the
// timed parts of a benchmark, reported per iteration beside its median: memory handed back to
// the system and faulted in again shows in the first and the last.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

class ProcessUsage {
public:
    void resume() { m_start = now(); }
    void pause() {
        const Sample end = now();
        m_systemSeconds += end.systemSeconds - m_start.systemSeconds;
        m_userSeconds += end.userSeconds - m_start.userSeconds;
        m_faults += end.faults - m_start.faults;
    }
    void report(benchmark::State& state) const {
        state.counters["sys_ms"] =
            benchmark::Counter(m_systemSeconds * 1e3, benchmark::Counter::kAvgIterations);
        state.counters["user_ms"] =
            benchmark::Counter(m_userSeconds * 1e3, benchmark::Counter::kAvgIterations);
        state.counters["minflt"] =
            benchmark::Counter(double(m_faults), benchmark::Counter::kAvgIterations);
    }

private:
    struct Sample {
        double systemSeconds = 0;
        double userSeconds = 0;
        long faults = 0;
    };
    static Sample now() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return {double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) * 1e-6,
                double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) * 1e-6,
                usage.ru_minflt};
    }

    Sample m_start;
    double m_systemSeconds = 0;
    double m_userSeconds = 0;
    long m_faults = 0;
};
