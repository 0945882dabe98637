#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "support/TCaseGenerator.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A generated case of the given number of arenas, each with 10 actors whose perceptions (and the
// analyst view) show 60 factors joined by 120 links. Kept for the whole run, and saved into a
// folder of its own under the temporary folder: kavo-bench-case-ARENAS.
struct TBenchCase {
    explicit TBenchCase(int arenas)
        : Folder((std::filesystem::temp_directory_path() /
                  ("kavo-bench-case-" + std::to_string(arenas)))
                     .string()) {
        test::TCaseShape shape;
        shape.Tags = 8;
        shape.Groups = 4;
        shape.Factors = 60;
        shape.Actors = 10;
        shape.Arenas = arenas;
        shape.ActorsPerArena = 10;
        shape.FiPsPerPerception = 60;
        shape.LinksPerPerception = 120;
        shape.Relations = 20;
        shape.HostileText = false;
        test::TCaseGenerator(7, shape).Fill(Case);
        WriteCase(Case, Folder);
    }

    test::TTestPlatform Platform;
    TCase Case{Platform.Context};
    std::string Folder;
};

TBenchCase& BenchCase(int arenas) {
    static std::map<int, std::unique_ptr<TBenchCase>> cases;
    auto& entry = cases[arenas];
    if (!entry) {
        entry = std::make_unique<TBenchCase>(arenas);
    }
    return *entry;
}

void Report(benchmark::State& state, const TBenchCase& source, std::uint64_t allocations) {
    const auto bytes = std::filesystem::file_size(source.Folder + "/KAVO case.htm");
    state.counters["document_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// Saving: the document built line by line, written beside the old one and renamed over it.
void BM_WriteCase(benchmark::State& state) {
    TBenchCase& source = BenchCase(static_cast<int>(state.range(0)));
    TImageWriter noImages;
    const std::uint64_t before = bench::AllocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(TCaseWriter(source.Case, noImages).Save(source.Folder));
    }
    Report(state, source, bench::AllocationCount() - before);
}
BENCHMARK(BM_WriteCase)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

// Reading the saved document into a new case, which is freed again.
void BM_ReadCase(benchmark::State& state) {
    TBenchCase& source = BenchCase(static_cast<int>(state.range(0)));
    const std::uint64_t before = bench::AllocationCount();
    for (auto _ : state) {
        TCase read(source.Platform.Context);
        benchmark::DoNotOptimize(ReadCase(read, source.Folder));
    }
    Report(state, source, bench::AllocationCount() - before);
}
BENCHMARK(BM_ReadCase)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
