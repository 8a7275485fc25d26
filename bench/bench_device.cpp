// What one instrument exchange costs the program, and that waiting for a reply costs no CPU.

#include "core/app/clock.h"
#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double wallSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// sendCommand("D0000") against an instrument that answers at once: the software cost of one
// exchange, on the program's clock and event loop and on the virtual clock the tests use.
template <typename ClockType>
void BM_ExchangeImmediateReply(benchmark::State& state)
{
    ClockType clock;
    tork::SimulatedInstrument instrument(clock);
    instrument.setLatency(0);
    tork::DeviceLink link(instrument, clock);
    link.install();
    for (auto _ : state) benchmark::DoNotOptimize(link.readCurrent());
    state.counters["exchanges_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_ExchangeImmediateReply, tork::SystemClock)->UseRealTime();
BENCHMARK_TEMPLATE(BM_ExchangeImmediateReply, tork::VirtualClock);

// 3000 exchanges with an instrument that answers after 2 ms: the fraction of one core the
// process uses while the link waits. A wait that spins would show close to 1.
void BM_WaitingCpuShare(benchmark::State& state)
{
    tork::SystemClock clock;
    tork::SimulatedInstrument instrument(clock);
    instrument.setLatency(2);
    tork::DeviceLink link(instrument, clock);
    link.install();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpu0 = processCpuSeconds();
        const double wall0 = wallSeconds();
        for (int i = 0; i < 3000; ++i) benchmark::DoNotOptimize(link.readCurrent());
        cpu += processCpuSeconds() - cpu0;
        wall += wallSeconds() - wall0;
    }
    state.counters["cpu_share"] = cpu / wall;
    state.counters["ms_per_exchange"] = wall * 1000 / (3000.0 * state.iterations());
}
BENCHMARK(BM_WaitingCpuShare)->Iterations(1)->Repetitions(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QCoreApplication>(argc, argv); }
