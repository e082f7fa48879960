#pragma once

// The shared main of the in-process benchmark programs: one real window,
// made on first use and gone before the application object is.

#include "BenchWindow.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace quarnet::bench {

inline std::unique_ptr<BenchWindow>& sharedWindow()
{
    static std::unique_ptr<BenchWindow> window;
    return window;
}

inline BenchWindow& bench()
{
    if (!sharedWindow())
        sharedWindow() = std::make_unique<BenchWindow>();
    return *sharedWindow();
}

// Offscreen unless a platform is given.
inline int runBenchmarks(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow().reset();
    return 0;
}

} // namespace quarnet::bench
