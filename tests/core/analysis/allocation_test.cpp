// The computation runs without touching the heap: every allocation of this test program
// passes through the counting operator new below.

#include "core/analysis/analysis.h"
#include "records.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocationCount{0};
int* volatile keptProbe = nullptr;  // keeps the probe allocation from being optimised away
}

void* operator new(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace tork {
namespace {

TEST(AnalysisAllocation, CountingOperatorNewSeesAllocations)
{
    const long before = allocationCount.load();
    keptProbe = new int(7);
    delete keptProbe;
    EXPECT_EQ(allocationCount.load() - before, 1);
}

TEST(AnalysisAllocation, ComputationAllocatesNothing)
{
    const AnalysisRecord record = test::mixedRecord();
    const std::array<double, kMeridianCount>& factors = builtInCompensationFactors();
    AnalysisResult result = computeAnalysis(record, factors);  // first use of any static tables

    const long before = allocationCount.load();
    result = computeAnalysis(record, factors);
    const long during = allocationCount.load() - before;

    EXPECT_EQ(during, 0);
    EXPECT_GT(result.energyAverage, 0);
}

}  // namespace
}  // namespace tork
