#pragma once

// Timing and the printed figures of the benchmarks: every figure stands beside its target, so a
// run reads as a list of "ok" and "MISSED".

#include <QElapsedTimer>
#include <QFile>
#include <QString>

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

// Where a run on one engine also writes its figures, one a line with tab-separated fields (what,
// unit, value, target, 1 when met), for the run on every engine to set them side by side.
inline constexpr auto kFiguresVariable = "ORVENTO_BENCH_FIGURES";
inline constexpr int kFigureFields = 5;

inline void recordFigure(const char* what, double value, const char* unit, double target, bool ok) {
    const QString path = qEnvironmentVariable(kFiguresVariable);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    file.write(QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                   .arg(QString::fromUtf8(what), QString::fromUtf8(unit))
                   .arg(value, 0, 'f', 3)
                   .arg(target, 0, 'f', 3)
                   .arg(ok ? 1 : 0)
                   .toUtf8());
}

inline void report(const char* what, double value, const char* unit, double target, bool ok) {
    std::printf("%-58s %10.1f %-3s target %8.1f %-3s %s\n", what, value, unit, target, unit,
                ok ? "ok" : "MISSED");
    recordFigure(what, value, unit, target, ok);
}

// A figure that must stay below its target.
inline void report(const char* what, double value, const char* unit, double target) {
    report(what, value, unit, target, value < target);
}

inline void report(const char* what, double value, double target) {
    report(what, value, "ms", target);
}

} // namespace orvento::bench
