#pragma once
// The main of a benchmark program that needs a Qt application object: windows and pictures
// are drawn offscreen unless a platform is chosen, then Google Benchmark runs.

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <type_traits>

template <typename Application>
int runBenchmarks(int argc, char** argv)
{
    if (!std::is_same_v<Application, QCoreApplication> && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
