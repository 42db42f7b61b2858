#pragma once

// Timing and the printed figures of the benchmarks: every figure stands beside its target, so a
// run reads as a list of "ok" and "MISSED".

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace orvento::bench {

// The figures are wall-clock times: read them beside the machine's load, printed first.
inline void printLoadAverage() {
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average at start: %.2f\n", load[0]);
}

inline double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

inline double millisecondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return elapsedMs(timer);
}

// The median of several runs: one run disturbed by the machine does not decide the figure.
inline double medianMilliseconds(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r)
        times.push_back(millisecondsOf(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char* what, double value, const char* unit, double target, bool ok) {
    std::printf("%-58s %10.1f %-3s target %8.1f %-3s %s\n", what, value, unit, target, unit,
                ok ? "ok" : "MISSED");
}

// A figure that must stay below its target.
inline void report(const char* what, double value, const char* unit, double target) {
    report(what, value, unit, target, value < target);
}

inline void report(const char* what, double value, double target) {
    report(what, value, "ms", target);
}

} // namespace orvento::bench
