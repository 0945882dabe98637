#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "reasoning/TProVal.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A distribution of the kind with the given number of distinct values. Seven pairs are the seven
// levels of the case's scale, as an uncertain change or link has them; more are spread over -4..+4.
TProVal Spread(const TCase& current, TProValKind kind, int pairs) {
    TProVal distribution(kind);
    if (pairs == 7) {
        distribution.SetFromVector(current, TProbVector{{0.05, 0.1, 0.15, 0.4, 0.15, 0.1, 0.05}});
        return distribution;
    }
    for (int i = 0; i < pairs; ++i) {
        distribution.Add(current, 1.0 / pairs, -4.0 + 8.0 * i / (pairs - 1) + 0.001 * i);
    }
    distribution.Cumulation = 1;
    return distribution;
}

void BM_SetToProduct(benchmark::State& state) {
    test::TCaseFixture fixture;
    const int pairs = static_cast<int>(state.range(0));
    const TProVal change = Spread(fixture.Case, TProValKind::pvChange, pairs);
    const TProVal multiplier = Spread(fixture.Case, TProValKind::pvMultiplier, pairs);
    TProVal product;
    product.SetToProduct(fixture.Case, multiplier, change);
    const std::uint64_t allocationsBefore = bench::AllocationCount();
    for (auto _ : state) {
        product.SetToProduct(fixture.Case, multiplier, change);
        benchmark::DoNotOptimize(product);
    }
    state.counters["pairs out"] = product.Count();
    state.counters["allocations per call"] = benchmark::Counter(
        static_cast<double>(bench::AllocationCount() - allocationsBefore) / state.iterations());
}
BENCHMARK(BM_SetToProduct)->Arg(7)->Arg(31);

void BM_SetToSum(benchmark::State& state) {
    test::TCaseFixture fixture;
    const int pairs = static_cast<int>(state.range(0));
    const TProVal a = Spread(fixture.Case, TProValKind::pvChange, pairs);
    const TProVal b = Spread(fixture.Case, TProValKind::pvChange, pairs);
    TProVal sum;
    sum.SetToSum(fixture.Case, a, b);
    const std::uint64_t allocationsBefore = bench::AllocationCount();
    for (auto _ : state) {
        sum.SetToSum(fixture.Case, a, b);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["pairs out"] = sum.Count();
    state.counters["allocations per call"] = benchmark::Counter(
        static_cast<double>(bench::AllocationCount() - allocationsBefore) / state.iterations());
}
BENCHMARK(BM_SetToSum)->Arg(7)->Arg(31);

// Adding to a distribution past the autofocus threshold: every value lands on a neighbour.
void BM_AddWithAutofocus(benchmark::State& state) {
    test::TCaseFixture fixture;
    const TProVal full = Spread(fixture.Case, TProValKind::pvChange, 31);
    TProVal distribution = full;
    int i = 0;
    for (auto _ : state) {
        distribution.Add(fixture.Case, 0.01, -4.0 + 0.37 * (i++ % 22));
        benchmark::DoNotOptimize(distribution);
    }
    state.counters["pairs"] = distribution.Count();
}
BENCHMARK(BM_AddWithAutofocus);

}  // namespace
}  // namespace kavo
