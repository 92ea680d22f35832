#pragma once
// The benchmarks that time widgets run them on an offscreen platform: no
// display is needed and no window manager's work enters the times.

#include <QApplication>
#include <benchmark/benchmark.h>

namespace bench {

inline int RunWidgetBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace bench
