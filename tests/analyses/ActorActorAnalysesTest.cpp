#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TConflictAnalysis.h"
#include "analyses/TResourceDependency.h"
#include "analyses/TSimilarity.h"
#include "analyses/TSingleGoalStrategies.h"
#include "analyses/TSupportAnalysis.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TProspect.h"
#include "reasoning/Comparison.h"
#include "reasoning/TStrategy.h"
#include "support/TCaseGenerator.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

class ActorActorTest : public test::AnalysisTest {
  protected:
    template <typename T>
    T& Analysis(const char* title) {
        return dynamic_cast<T&>(*catalog.Find(title));
    }
    // The cells of one computed cell: B's perceptions in the row, A's in the column.
    Texts Cell(TActorActorAnalysis& analysis, std::vector<TPerception*> rows,
               std::vector<TPerception*> columns) {
        analysis.Run = &Run;
        analysis.RowPerceptions = std::move(rows);
        analysis.ColumnPerceptions = std::move(columns);
        analysis.Compute();
        return CellTexts(analysis.ValueCells());
    }

    TAnalysisCatalog catalog;
};

// --- Similarity ---

// The farmer sees X -> Y -> Z with certain links; the town sees X -> Y alike and X -> Q; the union
// sees only X; the grower's link X -> Y is uncertain.
class SimilarityTest : public ActorActorTest {
  protected:
    SimilarityTest() {
        test::TPerceptionBuilder farmer(Case, "Farmer");
        farmer.Link(farmer.Factor("X"), farmer.Factor("Y"));
        farmer.Link(farmer.Factor("Y"), farmer.Factor("Z"));
        Farmer = farmer.Perception;
        test::TPerceptionBuilder town(Case, "Town");
        town.Link(town.Factor("X"), town.Factor("Y"));
        town.Link(town.Factor("X"), town.Factor("Q"));
        Town = town.Perception;
        test::TPerceptionBuilder unionBuilder(Case, "Union");
        unionBuilder.Factor("X");
        Union = unionBuilder.Perception;
        test::TPerceptionBuilder grower(Case, "Grower");
        grower.Link(grower.Factor("X"), grower.Factor("Y"), 2, 2);
        Grower = grower.Perception;
        SelectAll(Similarity);
    }

    TSimilarity& Similarity = Analysis<TSimilarity>("Similarity of Perceived Causality");
    TPerception* Farmer;
    TPerception* Town;
    TPerception* Union;
    TPerception* Grower;
};

TEST_F(SimilarityTest, SharesOfTheRowPerceptionSeenByTheColumn) {
    struct TCase {
        const char* Name;
        TPerception* Row;
        std::vector<TPerception*> Columns;
        Texts Cells;
    };
    const TCase cases[] = {
        {"itself", Farmer, {Farmer}, {"100%", "100%", "100%", "100%", "100%"}},
        {"town", Farmer, {Town}, {"67%", "50%", "100%", "33%", "100%"}},
        {"union", Farmer, {Union}, {"33%", "0%", "-", "0%", "-"}},
        {"without links", Union, {Farmer}, {"100%", "-", "-", "-", "-"}},
        {"both", Farmer, {Farmer, Town}, {"100%", "100%", "100%", "100%", "100%"}},
        {"uncertain", Grower, {Grower}, {"100%", "100%", "88%", "100%", "88%"}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Cell(Similarity, {c.Row}, c.Columns), c.Cells) << c.Name;
    }
}

// --- Conflict ---

// The farmer wants W up and expects it to rise; the town wants W down and expects it to fall; both
// see Pump [F] -> W, the town with the opposite sign.
class ConflictTest : public ActorActorTest {
  protected:
    ConflictTest() {
        test::TPerceptionBuilder farmer(Case, "Farmer");
        TFiP* w = farmer.Factor("W");
        farmer.Goal(w, 2);
        farmer.Prospect(w, 1);
        farmer.Link(farmer.Action("Pump"), w, 2);
        Farmer = farmer.Perception;
        test::TPerceptionBuilder town(Case, "Town");
        TFiP* townW = town.Factor("W");
        town.Goal(townW, -2);
        town.Prospect(townW, -1);
        town.Link(town.Show(Case.FindOrCreateFactor("Pump [F]")), townW, -2);
        Town = town.Perception;
    }

    TConflictAnalysis& Conflict = Analysis<TConflictAnalysis>("Conflict");
    TPerception* Farmer;
    TPerception* Town;
};

TEST_F(ConflictTest, SumsTheComparisonsOfEveryPairOfPerceptions) {
    SelectAll(Conflict);
    EXPECT_EQ(Cell(Conflict, {Farmer}, {Farmer}),
              Texts({"1", "0", "1", "0", "1", "0.44", "1", "0"}));
    EXPECT_EQ(Cell(Conflict, {Farmer}, {Town}),
              Texts({"1", "1.1", "1", "0.33", "1", "0.44", "1", "0"}));
    // Two row perceptions against one column: the counts add up, the averages stay.
    EXPECT_EQ(Cell(Conflict, {Farmer, Farmer}, {Town}),
              Texts({"2", "1.1", "2", "0.33", "2", "0.44", "2", "0"}));
}

TEST_F(ConflictTest, WithoutASelectedFieldNothingIsComputedOrWritten) {
    Select(Conflict, {8});
    Conflict.Run = &Run;
    Conflict.RowPerceptions = {Farmer};
    Conflict.ColumnPerceptions = {Town};
    Conflict.Compute();
    EXPECT_EQ(Conflict.GoalConflicts.Count, 0);
    EXPECT_EQ(Conflict.ValueCells(), "");
    EXPECT_FALSE(Town->ResultsValid[TPerception::TacticsEvaluated]);
}

// Perceptions of a generated case, each compared with many others.
class GeneratedConflictTest : public ActorActorTest {
  protected:
    GeneratedConflictTest() {
        test::TCaseShape shape;
        shape.Arenas = 2;
        shape.ActorsPerArena = 4;
        shape.FiPsPerPerception = 12;
        shape.LinksPerPerception = 18;
        shape.HostileText = false;
        test::TCaseGenerator(11, shape).Fill(Case);
        Case.ForEachPerception(
            [&](TPerception& perception) { Perceptions.push_back(&perception); });
        Run.Grouping.ArenaGrouping = 3;
        Run.Grouping.ActorGrouping = 3;
        SelectAll(Conflict);
    }
    // The cells of the report's Conflict table, by the given catalog.
    Texts Report(TAnalysisCatalog& from) {
        std::ostringstream out;
        TAnalysisReport(from, Run, [] {
            return std::string("now");
        }).RunAnalysis(*from.Find("Conflict"), out);
        return CellTexts(out.str());
    }

    TConflictAnalysis& Conflict = Analysis<TConflictAnalysis>("Conflict");
    std::vector<TPerception*> Perceptions;
};

// Row perceptions against every column perception: the sums are those of the comparisons made one
// pair at a time, added in the same order.
TEST_F(GeneratedConflictTest, SumsThePairwiseComparisons) {
    ASSERT_GE(Perceptions.size(), 8U);
    const std::vector<TPerception*> rows(Perceptions.begin(), Perceptions.begin() + 3);
    Conflict.Run = &Run;
    Conflict.RowPerceptions = rows;
    Conflict.ColumnPerceptions = Perceptions;
    Conflict.Compute();

    TConflict goals(TConflictKind::ckGoals);
    TConflict prospects(TConflictKind::ckProspects);
    TConflict influences(TConflictKind::ckInfluences);
    TConflict actions(TConflictKind::ckTactics);
    const auto add = [](TConflict& sum, const std::unique_ptr<TConflict>& pair) {
        sum.Count += pair->Count;
        sum.Total += pair->Total;
    };
    for (TPerception* b : rows) {
        for (TPerception* a : Perceptions) {
            add(goals, CompareGoals(*b, *a));
            add(prospects, CompareProspects(*b, *a));
            add(influences, CompareInfluences(*b, *a));
            add(actions, CompareTactics(*b, *a));
        }
    }
    const std::pair<const TConflict*, const TConflict*> sums[] = {
        {&Conflict.GoalConflicts, &goals},
        {&Conflict.ProspectConflicts, &prospects},
        {&Conflict.InfluenceConflicts, &influences},
        {&Conflict.ActionConflicts, &actions},
    };
    for (const auto& [computed, expected] : sums) {
        EXPECT_EQ(computed->Count, expected->Count) << static_cast<int>(expected->Kind);
        EXPECT_EQ(computed->Total, expected->Total) << static_cast<int>(expected->Kind);
    }
    EXPECT_GT(influences.Total, 0);
    EXPECT_GT(goals.Count, 0);
}

// A report compares the perceptions as they are when it runs: what it learnt of them for one table
// does not outlive the table.
TEST_F(GeneratedConflictTest, ASecondReportSeesAChangedPerception) {
    const Texts before = Report(catalog);
    ASSERT_GT(before.size(), 20U);
    TPerception& changed = **std::ranges::find_if(Perceptions, [](const TPerception* perception) {
        return perception->AiAOwner() != nullptr && !perception->Links.empty();
    });
    changed.Remove(changed.Links.front().get());
    for (const auto& prospect : changed.Prospects) {
        prospect->Distribution.SetChange(Case, 3, 0);
    }
    changed.InvalidateResults();
    const Texts after = Report(catalog);
    EXPECT_NE(after, before);
    TAnalysisCatalog fresh;
    SelectAll(*fresh.Find("Conflict"));
    EXPECT_EQ(after, Report(fresh));
}

// --- Resource Dependency ---

// The town wants W up. In its view the farmer's Pump raises W and its own Fence lowers it; the
// union acts on nothing the town sees.
class ResourceDependencyTest : public ActorActorTest {
  protected:
    ResourceDependencyTest() {
        test::TPerceptionBuilder farmer(Case, "Farmer");
        farmer.Link(farmer.Action("Pump"), farmer.Factor("W"));
        Farmer = farmer.Perception;
        test::TPerceptionBuilder unionBuilder(Case, "Union");
        unionBuilder.Action("Strike");
        Union = unionBuilder.Perception;
        test::TPerceptionBuilder town(Case, "Town");
        TFiP* w = town.Factor("W");
        town.Goal(w, 2);
        town.Link(town.Show(Case.FindOrCreateFactor("Pump [F]")), w, 2);
        town.Link(town.Action("Fence"), w, -2);
        Town = town.Perception;
        test::TPerceptionBuilder idle(Case, "Idle");
        idle.Factor("W");
        Idle = idle.Perception;
        SelectAll(Dependency);
    }

    TResourceDependency& Dependency = Analysis<TResourceDependency>("Resource Dependency");
    TPerception* Farmer;
    TPerception* Union;
    TPerception* Town;
    TPerception* Idle;
};

TEST_F(ResourceDependencyTest, HowMuchTheColumnDependsOnTheRowActorsActions) {
    struct TCase {
        const char* Name;
        TPerception* Row;
        TPerception* Column;
        Texts Cells;
    };
    const TCase cases[] = {
        // Pump +1..+3 help the town; -3..-1 and 0, which leaves its goal unmet, do not.
        {"farmer's pump",
         Farmer,
         Town,
         {"1", "1", "43%", "1", "57%", "-0.25", "0.75", "0.75", "0%", "100%", "0%", "25%", "25%",
          "75%"}},
        {"nothing owned",
         Union,
         Town,
         {"0", "0", "-", "0", "-", "-0.25", "0", "0", "0%", "0%", "0%", "25%", "0%", "0%"}},
        {"no goals, no actions",
         Farmer,
         Idle,
         {"0", "0", "-", "0", "-", "0", "0", "0", "0%", "0%", "0%", "0%", "0%", "0%"}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Cell(Dependency, {c.Row}, {c.Column}), c.Cells) << c.Name;
    }
}

// --- Support and Opposition ---

// The farmer wants W up and can raise it with Pump. The town wants W down; it sees Pump raise W
// and can lower W with its own Fence.
class SupportTest : public ActorActorTest {
  protected:
    SupportTest() {
        test::TPerceptionBuilder farmer(Case, "Farmer");
        TFiP* w = farmer.Factor("W");
        farmer.Goal(w, 2);
        farmer.Link(farmer.Action("Pump"), w, 2);
        Farmer = farmer.Perception;
        test::TPerceptionBuilder town(Case, "Town");
        TFiP* townW = town.Factor("W");
        town.Goal(townW, -2);
        town.Link(town.Show(Case.FindOrCreateFactor("Pump [F]")), townW, 2);
        town.Link(town.Action("Fence"), townW, 2);
        Town = town.Perception;
        test::TPerceptionBuilder idle(Case, "Idle");
        idle.Factor("W");
        Idle = idle.Perception;
    }

    TSupportAnalysis& Support = Analysis<TSupportAnalysis>("Support and Opposition");
    TPerception* Farmer;
    TPerception* Town;
    TPerception* Idle;
};

TEST_F(SupportTest, HowTheColumnExperiencesTheRowsIdealStrategy) {
    using F = TSupportAnalysis::Field;
    struct TCase {
        const char* Name;
        std::vector<int> Fields;
        TPerception* Row;
        TPerception* Column;
        Texts Cells;
    };
    const TCase cases[] = {
        {"as B leaves it",
         {F::fUtility, F::fSatisfaction, F::fFrustration},
         Farmer,
         Town,
         {"-1", "0%", "100%"}},
        {"A optimizes",
         {F::fUtility, F::fLetAOptimize, F::fAdaptation},
         Farmer,
         Town,
         {"0.50", "Fence [T]", " "}},
        {"B agrees with itself", {F::fUtility}, Farmer, Farmer, {"0.50"}},
        {"B without actions",
         {F::fUtility, F::fSatisfaction, F::fAdaptation},
         Idle,
         Town,
         {"-", "-", ""}},
        {"A without goals", {F::fUtility, F::fLetAOptimize}, Farmer, Idle, {"0"}},
    };
    for (const TCase& c : cases) {
        Select(Support, c.Fields);
        EXPECT_EQ(Cell(Support, {c.Row}, {c.Column}), c.Cells) << c.Name;
    }
}

// A's adaptation names the levels A chooses for its own actions, or keeps when it does not choose.
TEST_F(SupportTest, AdaptationShowsTheLevelsOfAsOtherActions) {
    using F = TSupportAnalysis::Field;
    Support.Run = &Run;
    Support.RowPerceptions = {Farmer};
    Support.ColumnPerceptions = {Town};
    for (const auto& [optimize, level] : {std::pair{true, "r-3-1.gif"}, {false, "r0-1.gif"}}) {
        Select(Support, optimize ? std::vector<int>{F::fLetAOptimize, F::fAdaptation}
                                 : std::vector<int>{F::fAdaptation});
        Support.Compute();
        const std::string cells = Support.ValueCells();
        EXPECT_NE(cells.find(std::string("<td class=\"sn\"><img src=\"gif/") + level),
                  std::string::npos)
            << cells;
        EXPECT_EQ(cells.find("Pump"), std::string::npos) << "B's own action is fixed";
    }
}

// --- Work shared by the cells of a table ---

// The analyses as they were before a table kept what its cells share: every cell computes all its
// searches and evaluations itself.
class TUncachedDependency : public TResourceDependency {
  public:
    using TResourceDependency::TResourceDependency;

  protected:
    void TableStarted() override {}
};

class TUncachedSupport : public TSupportAnalysis {
  public:
    using TSupportAnalysis::TSupportAnalysis;

  protected:
    void TableStarted() override {}
};

class TUncachedSingleGoal : public TSingleGoalStrategies {
  public:
    using TSingleGoalStrategies::TSingleGoalStrategies;

    void Compute() override {
        Unacted.clear();
        TSingleGoalStrategies::Compute();
    }
};

// Two copies of a generated case, one for each way of computing; every actor acts in both arenas,
// so rows of different arenas share their actors, and most columns see the same actions held.
class SharedWorkTest : public ::testing::Test {
  protected:
    struct TSide {
        test::TTestPlatform Platform;
        TCase Case{Platform.Context};
        TAnalysisCatalog Catalog;
    };

    SharedWorkTest() {
        test::TCaseShape shape;
        shape.Arenas = 2;
        shape.Actors = 3;
        shape.ActorsPerArena = 3;
        shape.FiPsPerPerception = 12;
        shape.LinksPerPerception = 16;
        shape.HostileText = false;
        for (TSide* side : {&Cached, &Uncached}) {
            test::TCaseGenerator(5, shape).Fill(side->Case);
        }
        Replace<TUncachedDependency>(Uncached.Catalog, "Resource Dependency");
        Replace<TUncachedSupport>(Uncached.Catalog, "Support and Opposition");
        Replace<TUncachedSingleGoal>(Uncached.Catalog, "Single Goal Strategies");
    }

    template <typename T>
    static void Replace(TAnalysisCatalog& catalog, const char* title) {
        auto& slot = *std::ranges::find_if(
            catalog.Analyses, [&](const auto& analysis) { return analysis->Title == title; });
        auto replacement = std::make_unique<T>(slot->Title, slot->Family);
        replacement->Description = slot->Description;
        replacement->CellCaption = slot->CellCaption;
        replacement->GraphReversed = slot->GraphReversed;
        for (const auto& field : slot->Fields) {
            replacement->AddField(field->Name, field->Kind) = *field;
        }
        slot = std::move(replacement);
    }

    // The report of one table, then what it left in the case: the working values of every FiP,
    // a line each, and the state of the random generator.
    static std::vector<std::string> Run(TSide& side, const char* title,
                                        const std::vector<int>& fields) {
        TAnalysis& analysis = *side.Catalog.Find(title);
        for (std::size_t i = 0; i < analysis.Fields.size(); ++i) {
            analysis.Fields[i]->Selected =
                fields.empty() || std::ranges::find(fields, static_cast<int>(i)) != fields.end();
        }
        TImageWriter images;
        TGroupingSettings grouping = TGroupingSettings::Of(side.Case);
        grouping.ArenaGrouping = 3;
        grouping.ActorGrouping = 3;
        grouping.FactorGrouping = 3;
        TAnalysisRun run(side.Case, grouping, images, "");
        std::ostringstream report;
        TAnalysisReport(side.Catalog, run, [] {
            return std::string("now");
        }).RunAnalysis(analysis, report);
        std::vector<std::string> lines{report.str()};
        side.Case.ForEachPerception([&](TPerception& perception) {
            for (const auto& fip : perception.FiPs) {
                std::ostringstream line;
                line.precision(17);
                line << perception.OwnerName() << ' ' << fip->ProspectValue << ' '
                     << fip->CurrentChange << ' ' << fip->PendingChange;
                for (const TPVPair& pair : fip->Change.Pairs()) {
                    line << ' ' << pair.Prob << ':' << pair.Value;
                }
                lines.push_back(line.str());
            }
        });
        lines.push_back(std::to_string(side.Case.Context().Random.State));
        return lines;
    }

    // Runs each step on both sides and compares what they show and leave.
    void CompareSteps() {
        using F = TSupportAnalysis::Field;
        struct TStep {
            const char* Title;
            std::vector<int> Fields;
            // A cell the table shows.
            const char* Shown = "<td align=\"right\">0.";
        };
        const TStep steps[] = {
            {"Resource Dependency", {}},
            {"Support and Opposition",
             {F::fUtility, F::fSatisfaction, F::fFrustration, F::fFullStrategySet, F::fAdaptation}},
            {"Support and Opposition",
             {F::fUtility, F::fSatisfaction, F::fFrustration, F::fFullStrategySet,
              F::fLetAOptimize}},
            {"Support and Opposition", {}},
            {"Resource Dependency", {}},
            // The dash of a goal that no action reaches.
            {"Single Goal Strategies", {}, "<td align=\"center\">-</td>"},
        };
        for (const TStep& step : steps) {
            const std::vector<std::string> cached = Run(Cached, step.Title, step.Fields);
            const std::vector<std::string> uncached = Run(Uncached, step.Title, step.Fields);
            ASSERT_EQ(cached.size(), uncached.size());
            EXPECT_NE(cached.front().find(step.Shown), std::string::npos)
                << step.Title << " shows no value";
            for (std::size_t i = 0; i < cached.size(); ++i) {
                EXPECT_EQ(cached[i], uncached[i]) << step.Title << ", fields " << step.Fields.size()
                                                  << (i == 0 ? ": report" : ": working values");
            }
        }
    }

    TSide Cached;
    TSide Uncached;
};

// Cells that share their searches or evaluations show what they would show each on its own, and
// the table leaves the perceptions and the random generator as computing every cell would: the
// working values are saved with the case and drawn, and later draws follow the generator.
TEST_F(SharedWorkTest, TablesLeaveWhatComputingEveryCellLeaves) {
    CompareSteps();
}

// The same where A's searches sample strategies a random stride apart instead of visiting all.
TEST_F(SharedWorkTest, SampledSearchesLeaveWhatComputingEveryCellLeaves) {
    for (TSide* side : {&Cached, &Uncached}) {
        side->Case.Evaluations = 3;
    }
    CompareSteps();
}

}  // namespace
}  // namespace kavo
