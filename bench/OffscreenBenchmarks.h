// SPDX-License-Identifier: MIT
#pragma once

// runOffscreenBenchmarks runs a benchmark program's benchmarks inside a Qt application of type
// App (QGuiApplication to paint, QApplication for widgets), on the offscreen platform unless
// another one is asked for, so that the benchmarks need no display.

#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace corvida::bench {

template <typename App>
int runOffscreenBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    App application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace corvida::bench
