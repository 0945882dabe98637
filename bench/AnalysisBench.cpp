#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TAnalysisRun.h"
#include "analyses/TInferredStrategies.h"
#include "analyses/TSingleGoalStrategies.h"
#include "analyses/TSupportAnalysis.h"
#include "casefile/TCaseReader.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#include "support/TCaseGenerator.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using TClock = std::chrono::steady_clock;

// The analyses of the factor and arena families, by catalog position.
const char* const kTitles[] = {"Relevance",
                               "Connectivity and centrality",
                               "Controllability",
                               "Perceived Causal Relations",
                               "Issue Linkage",
                               "Similarity of Perceived Causality",
                               "Conflict",
                               "Resource Dependency",
                               "Support and Opposition",
                               "Rating of Tactics",
                               "Multi-Criteria Analysis",
                               "Single Goal Strategies",
                               "Inferred Strategies"};
constexpr int kLastTitle = static_cast<int>(std::size(kTitles)) - 1;

std::string Now() {
    return "now";
}

// A stream that counts the bytes it is given and keeps none.
class TCountingBuffer : public std::streambuf {
  public:
    std::size_t Count = 0;

  protected:
    int_type overflow(int_type c) override {
        ++Count;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        Count += static_cast<std::size_t>(n);
        return n;
    }
};

// Results of reasoning are cached in the perceptions: every run starts without them.
void ForgetResults(TCase& current) {
    current.ForEachPerception([](TPerception& perception) { perception.InvalidateResults(); });
}

// Times writing a report into a buffer that only counts its bytes, each iteration starting from
// perceptions without results; the bytes of the last report.
template <typename Write>
std::size_t TimeReport(benchmark::State& state, TCase& current, Write write) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ForgetResults(current);
        TCountingBuffer buffer;
        std::ostream out(&buffer);
        state.ResumeTiming();
        write(out);
        bytes = buffer.Count;
    }
    return bytes;
}

// The strategy evaluations per second of CPU time of the analyses that search strategies.
void CountEvaluations(benchmark::State& state, const TAnalysis& analysis) {
    std::int64_t evaluations = -1;
    if (const auto* single = dynamic_cast<const TSingleGoalStrategies*>(&analysis)) {
        evaluations = single->EvaluationsRun;
    } else if (const auto* inferred = dynamic_cast<const TInferredStrategies*>(&analysis)) {
        evaluations = inferred->EvaluationsRun;
    }
    if (evaluations >= 0) {
        state.counters["evaluations"] = static_cast<double>(evaluations);
        state.counters["evaluations_per_s"] = benchmark::Counter(
            static_cast<double>(evaluations) * state.iterations(), benchmark::Counter::kIsRate);
    }
}

// Runs one analysis of the catalog with every column field, reading (or generating) the case
// outside the timing.
void RunAnalysis(benchmark::State& state, TCase& current, const TGroupingSettings& grouping,
                 bool allFields, const std::vector<int>& moreFields = {}) {
    TAnalysisCatalog catalog;
    TAnalysis& analysis = *catalog.Find(kTitles[state.range(0)]);
    for (const auto& field : analysis.Fields) {
        field->Selected = field->Selected || (allFields && field->HasColumn());
    }
    for (const int field : moreFields) {
        analysis.FieldAt(field).Selected = true;
    }
    TImageWriter images;
    TAnalysisRun run(current, grouping, images, "");
    const std::size_t bytes = TimeReport(state, current, [&](std::ostream& out) {
        TAnalysisReport(catalog, run, Now).RunAnalysis(analysis, out);
    });
    state.SetLabel(analysis.Title);
    state.counters["report_kB"] = static_cast<double>(bytes) / 1e3;
    CountEvaluations(state, analysis);
}

struct TExample {
    TExample() { ReadCase(Case, std::string(KAVO_EXAMPLES) + "/Water"); }
    test::TTestPlatform Platform;
    TCase Case{Platform.Context};
};

TExample& Example() {
    static TExample example;
    return example;
}

// 20 arenas of 10 actors; every perception shows 60 factors joined by 60 links, most of them
// uncertain.
struct TGenerated {
    TGenerated() {
        test::TCaseShape shape;
        shape.Tags = 8;
        shape.Groups = 4;
        shape.Factors = 60;
        shape.Actors = 10;
        shape.Arenas = 20;
        shape.ActorsPerArena = 10;
        shape.FiPsPerPerception = 60;
        shape.LinksPerPerception = 60;
        shape.Relations = 20;
        shape.HostileText = false;
        test::TCaseGenerator(7, shape).Fill(Case);
    }
    test::TTestPlatform Platform;
    TCase Case{Platform.Context};
};

TGenerated& Generated() {
    static TGenerated generated;
    return generated;
}

TGroupingSettings Apart(const TCase& current) {
    TGroupingSettings grouping = TGroupingSettings::Of(current);
    grouping.ArenaGrouping = 3;
    grouping.ActorGrouping = 3;
    grouping.FactorGrouping = 3;
    grouping.MentionedOnly = true;
    return grouping;
}

// Each analysis on the example case with its own grouping, every column selected.
void BM_ExampleAnalysis(benchmark::State& state) {
    TCase& current = Example().Case;
    RunAnalysis(state, current, TGroupingSettings::Of(current), true);
}
BENCHMARK(BM_ExampleAnalysis)->DenseRange(0, kLastTitle)->Unit(benchmark::kMillisecond);

// The same with every arena, actor and factor apart: the largest tables of the example.
void BM_ExampleAnalysisApart(benchmark::State& state) {
    TCase& current = Example().Case;
    RunAnalysis(state, current, Apart(current), true);
}
BENCHMARK(BM_ExampleAnalysisApart)->DenseRange(0, kLastTitle)->Unit(benchmark::kMillisecond);

// The same with total aggregation of arenas and actors.
void BM_ExampleAnalysisAggregated(benchmark::State& state) {
    TCase& current = Example().Case;
    TGroupingSettings grouping = Apart(current);
    grouping.ArenaGrouping = 0;
    grouping.ActorGrouping = 0;
    RunAnalysis(state, current, grouping, true);
}
BENCHMARK(BM_ExampleAnalysisAggregated)->DenseRange(0, kLastTitle)->Unit(benchmark::kMillisecond);

// Each analysis on the generated case, every arena, actor and factor apart, with the default
// fields.
void BM_GeneratedAnalysis(benchmark::State& state) {
    TCase& current = Generated().Case;
    RunAnalysis(state, current, Apart(current), false);
}
BENCHMARK(BM_GeneratedAnalysis)
    ->DenseRange(0, kLastTitle)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Support and Opposition on the generated case with "Let A optimize": A searches its other
// actions around each of B's ideal strategies.
void BM_GeneratedSupportOptimizing(benchmark::State& state) {
    TCase& current = Generated().Case;
    RunAnalysis(state, current, Apart(current), false, {TSupportAnalysis::fLetAOptimize});
}
BENCHMARK(BM_GeneratedSupportOptimizing)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole catalog on the generated case in one report, as a user runs it: the perceptions'
// inferences, tactic ratings and strategies are made once and shared by the analyses that read
// them. Argument 0 leaves out Resource Dependency and Support and Opposition, the two slowest
// (their own benchmarks above measure them); 1 runs every analysis.
void BM_GeneratedCatalog(benchmark::State& state) {
    TCase& current = Generated().Case;
    const bool everyAnalysis = state.range(0) != 0;
    TAnalysisCatalog catalog;
    for (const auto& analysis : catalog.Analyses) {
        analysis->Selected = everyAnalysis || (analysis->Title != "Resource Dependency" &&
                                               analysis->Title != "Support and Opposition");
    }
    TImageWriter images;
    TAnalysisRun run(current, Apart(current), images, "");
    const std::size_t bytes = TimeReport(state, current, [&](std::ostream& out) {
        TAnalysisReport(catalog, run, Now).WriteTo(out);
    });
    state.counters["report_kB"] = static_cast<double>(bytes) / 1e3;
}
BENCHMARK(BM_GeneratedCatalog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// A status whose event pump cancels once the given time has passed since the start, and that
// records when it cancelled and the longest time between two pumps.
class TCancelAfter : public TStatus {
  public:
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {
        const TClock::time_point now = TClock::now();
        LongestGap = std::max(LongestGap, now - Last);
        Last = now;
        if (!Cancelled && now - Start >= After) {
            Context->AnalysisCancelled = true;
            Cancelled = now;
        }
    }
    void Begin(TContext& context, TClock::duration after) {
        Context = &context;
        After = after;
        Start = Last = TClock::now();
        Cancelled.reset();
        LongestGap = {};
        context.AnalysisCancelled = false;
    }

    TContext* Context = nullptr;
    TClock::duration After{};
    TClock::time_point Start;
    TClock::time_point Last;
    std::optional<TClock::time_point> Cancelled;
    TClock::duration LongestGap{};
};

// How long the generated case's report takes to stop after the user cancels it 200 ms into the
// analysis at the given position.
void BM_CancelLatency(benchmark::State& state) {
    test::TRecordingMessages messages;
    TCancelAfter status;
    test::TFixedTextMeasure measure;
    TContext context(messages, status, measure);
    TCase current(context);
    {
        test::TCaseShape shape;
        shape.Factors = 60;
        shape.Actors = 10;
        shape.Arenas = 20;
        shape.ActorsPerArena = 10;
        shape.FiPsPerPerception = 60;
        shape.LinksPerPerception = 60;
        shape.HostileText = false;
        test::TCaseGenerator(7, shape).Fill(current);
    }
    TAnalysisCatalog catalog;
    TAnalysis& analysis = *catalog.Find(kTitles[state.range(0)]);
    TImageWriter images;
    TAnalysisRun run(current, Apart(current), images, "");
    double latency = 0;
    double gap = 0;
    for (auto _ : state) {
        ForgetResults(current);
        TCountingBuffer buffer;
        std::ostream out(&buffer);
        status.Begin(context, std::chrono::milliseconds(200));
        TAnalysisReport(catalog, run, Now).RunAnalysis(analysis, out);
        const TClock::time_point end = TClock::now();
        if (status.Cancelled) {
            latency = std::chrono::duration<double, std::milli>(end - *status.Cancelled).count();
        }
        gap = std::chrono::duration<double, std::milli>(status.LongestGap).count();
    }
    state.SetLabel(analysis.Title);
    state.counters["latency_ms"] = latency;
    state.counters["longest_gap_ms"] = gap;
}
BENCHMARK(BM_CancelLatency)
    ->DenseRange(0, 4)
    ->DenseRange(11, 12)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace kavo
