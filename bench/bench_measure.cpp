// Readings the measuring run takes per second from a simulated instrument that answers in
// 2 ms, in real time: the engine alone against the engine with the measurement window shown.
// The figure is the window's "Sampling Rate:" (readings in the 500 ms averaging window)
// doubled, and all readings of the 2.5 s sampling window over its length.

#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "core/measure/measuringrun.h"
#include "ui/measure/tkadec.h"
#include "benchmain.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Bench {
    tork::SystemClock clock;
    tork::SimulatedInstrument instrument{clock};
    tork::DeviceLink link{instrument, clock};
    tork::ProgramState state;
    tork::CurrentMeasurement measurement;
    tork::VirtualOperator hands{instrument, clock, tork::VirtualOperator::PointOrder{}};

    Bench()
    {
        instrument.setLatency(tork::SimulatedInstrument::kDefaultLatencyMs);
        link.install();
        state.rebuildTables();
        hands.setDelays(100, 100);
        hands.setEnabled(true);
    }
};

// Measures one point and reports its readings; the run stops after it.
void measureOnePoint(benchmark::State& state, tork::MeasuringRun& run, tork::VirtualOperator& hands)
{
    hands.setShownPoint([&run] { return run.currentPoint(); });
    int averaged = 0, sampled = 0;
    QObject::connect(&run, &tork::MeasuringRun::sampled, &run, [&](const tork::SampleView& s) {
        averaged = s.samplingCount;
        ++sampled;
    });
    QObject::connect(&run, &tork::MeasuringRun::pointCompleted, &run, [&run] { run.requestStop(); });
    double averagedTotal = 0, sampledTotal = 0;
    for (auto _ : state) {
        averaged = sampled = 0;
        run.start();
        averagedTotal += averaged;
        sampledTotal += sampled;
    }
    const double n = double(state.iterations());
    state.counters["readings_per_s"] = averagedTotal / n / 0.5;
    state.counters["window_readings_per_s"] = sampledTotal / n / 2.5;
}

void BM_EngineAlone(benchmark::State& state)
{
    Bench bench;
    tork::MeasuringRun run(bench.state, bench.measurement, bench.link, bench.clock);
    measureOnePoint(state, run, bench.hands);
}
BENCHMARK(BM_EngineAlone)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->UseRealTime();

void BM_WithWindowShown(benchmark::State& state)
{
    Bench bench;
    tork::TKadec window(bench.state, bench.measurement, bench.link, bench.clock);
    window.show();
    measureOnePoint(state, window.run(), bench.hands);
}
BENCHMARK(BM_WithWindowShown)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
