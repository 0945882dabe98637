#include <benchmark/benchmark.h>

#include <string>

#include "model/TCase.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// Finding or creating a factor in a case that holds 10,000: half the calls find, half create.
void BM_FindOrCreateFactor(benchmark::State& state) {
    test::TCaseFixture fixture;
    for (int i = 0; i < 10000; ++i) {
        fixture.Case.FindOrCreateFactor("Factor " + std::to_string(i * 2));
    }
    int i = 0;
    for (auto _ : state) {
        const std::string name = "Factor " + std::to_string(i++ % 20000);
        benchmark::DoNotOptimize(fixture.Case.FindOrCreateFactor(name));
        if (fixture.Case.FactorList.Size() > 10100) {
            state.PauseTiming();
            for (int k = fixture.Case.FactorList.Size() - 1; k >= 0; --k) {
                TFactor* factor = fixture.Case.FactorList[k];
                if (std::stoi(factor->Name.substr(7)) % 2 == 1) {
                    fixture.Case.FactorList.Delete(factor);
                }
            }
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_FindOrCreateFactor);

}  // namespace
}  // namespace kavo
