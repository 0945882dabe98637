#include <gtest/gtest.h>

#include "model/TGroup.h"
#include "model/TTag.h"
#include "simulation/SimulationFixture.h"
#include "simulation/TProValStatistics.h"
#include "simulation/TRoundPlot.h"

namespace kavo {
namespace {

using test::TPerceptionBuilder;

using Points = std::vector<TPlotPoint>;

// Farmers (short name F) own Irrigate and want a good Harvest; the City (C) owns Tax and has no
// goal. Rain falls by a level each round; Soil never changes.
class RoundPlotTest : public test::TSimulationFixture, public ::testing::Test {
  protected:
    void SetUp() override {
        TPerceptionBuilder& f = In("W", "Farmers");
        TFiP* harvest = f.Factor("Harvest");
        f.Link(f.Action("Irrigate"), harvest, 1);
        f.Prospect(f.Factor("Rain"), -1);
        f.Link(f.Factor("Rain"), harvest);
        f.Factor("Soil");
        f.Goal(harvest, 1);
        TPerceptionBuilder& c = In("W", "City");
        c.Link(c.Action("Tax"), c.Factor("Budget"));
        Play(2);
    }
    static std::vector<std::string> Names(const TPlotData& data) {
        std::vector<std::string> names;
        for (const TPlotSeries& series : data.Series) {
            names.push_back(series.Name);
        }
        return names;
    }
    // An actor group of the given actors, checked.
    void Group(const std::string& name, std::initializer_list<const char*> actors) {
        TTag* tag = Case.FindOrCreateTag(name + " tag");
        TGroup* group = Case.FindOrCreateGroup(name, "actors");
        group->Tags.push_back(tag);
        group->Checked = true;
        for (const char* actor : actors) {
            Case.ActorList.Find(actor)->Tags.push_back(tag);
        }
    }
};

TEST_F(RoundPlotTest, ActionsAsStairsAroundTheirOwnBase) {
    const TPlotData data = TRoundPlot(Case).Compute(TPlotType::ptTactics);
    EXPECT_EQ(data.Title, "Actions taken over time");
    // Descending by short name: Farmers (F) below the City (C) in the legend, which is inverted.
    EXPECT_EQ(Names(data), (std::vector<std::string>{"Irrigate [F]", "Tax [C]"}));
    ASSERT_TRUE(data.Axis.has_value());
    EXPECT_EQ(data.Axis->Minimum, 3);
    EXPECT_EQ(data.Axis->Maximum, 18);
    EXPECT_EQ(data.Axis->Tick, 7);
    EXPECT_TRUE(data.Series[0].Stairs);
    // Irrigation makes up for the rain (+1 level for -1 in round 1); the City's tax reaches no goal
    // of the City, so it keeps its least action.
    EXPECT_EQ(data.Series[0].Points.front(), (TPlotPoint{0, 7}));
    EXPECT_EQ(data.Series[1].Points, (Points{{0, 14}, {1, 14}, {2, 14}}));
}

TEST_F(RoundPlotTest, ChangesLeaveOutFactorsThatNeverChange) {
    const TPlotData sampled = TRoundPlot(Case).Compute(TPlotType::ptChanges);
    EXPECT_EQ(sampled.Title, "Changes in factors over time (in % relative to base level)");
    EXPECT_FALSE(sampled.Axis.has_value());
    const std::vector<std::string> names = Names(sampled);
    EXPECT_EQ(std::find(names.begin(), names.end(), "Soil"), names.end());
    ASSERT_NE(std::find(names.begin(), names.end(), "Rain"), names.end());
    const TPlotSeries& rain = sampled.Series[static_cast<std::size_t>(
        std::find(names.begin(), names.end(), "Rain") - names.begin())];
    EXPECT_EQ(rain.Points, (Points{{0, 0}, {1, -10}, {2, -10}}));

    // Without drawn values the chart reads the change scale.
    Case.SampleFromDistributions = false;
    const TPlotData levels = TRoundPlot(Case).Compute(TPlotType::ptChanges);
    EXPECT_EQ(levels.Title, "Changes in factors over time (on 7-point change scale)");
    ASSERT_TRUE(levels.Axis.has_value());
    EXPECT_EQ(levels.Axis->Minimum, -3.5);
    EXPECT_EQ(levels
                  .Series[static_cast<std::size_t>(std::find(names.begin(), names.end(), "Rain") -
                                                   names.begin())]
                  .Points,
              (Points{{0, 0}, {1, -1}, {2, -1}}));
}

TEST_F(RoundPlotTest, AnActorWithoutGoalsPlotsZero) {
    for (const TPlotType type :
         {TPlotType::ptUtilities, TPlotType::ptSatisfaction, TPlotType::ptFrustration}) {
        const TPlotData data = TRoundPlot(Case).Compute(type);
        ASSERT_EQ(Names(data), (std::vector<std::string>{"Farmers", "City"}));
        EXPECT_EQ(data.Series[1].Points, (Points{{0, 0}, {1, 0}, {2, 0}}));
    }
    const TPlotData utility = TRoundPlot(Case).Compute(TPlotType::ptUtilities);
    EXPECT_EQ(utility.Axis->Minimum, -1);
    EXPECT_EQ(utility.Axis->Tick, 0.5);
    EXPECT_EQ(TRoundPlot(Case).Compute(TPlotType::ptSatisfaction).Axis->Maximum, 100);
}

TEST_F(RoundPlotTest, GroupFilters) {
    Group("Townsfolk", {"City"});
    const auto names = [this](TGroupFilter filter, TPlotType type) {
        return Names(TRoundPlot(Case, "Townsfolk", {}, filter).Compute(type));
    };
    // To factors: only what the group's actors own.
    EXPECT_EQ(names(TGroupFilter::gfFactors, TPlotType::ptTactics),
              (std::vector<std::string>{"Tax [C]"}));
    EXPECT_TRUE(names(TGroupFilter::gfFactors, TPlotType::ptChanges).empty());
    // To perceptions: what the group's actors perceive.
    EXPECT_EQ(names(TGroupFilter::gfPerceptions, TPlotType::ptTactics),
              (std::vector<std::string>{"Tax [C]"}));
    EXPECT_EQ(names(TGroupFilter::gfPerceptions, TPlotType::ptUtilities),
              (std::vector<std::string>{"City"}));
    // A group that is not checked selects nothing.
    Case.GroupList.Find("Townsfolk")->Checked = false;
    EXPECT_EQ(names(TGroupFilter::gfBoth, TPlotType::ptUtilities).size(), 2u);
}

TEST_F(RoundPlotTest, GoalsRoundByRound) {
    const TPlotData data = TRoundPlot(Case).Compute(TPlotType::ptGoals);
    EXPECT_EQ(data.Title, "Actor goals over time");
    EXPECT_EQ(data.Columns, (std::vector<std::string>{"0", "1", "2"}));
    ASSERT_EQ(data.Rows.size(), 1u);
    EXPECT_EQ(data.Rows[0].Label, "F: Harvest");
    ASSERT_EQ(data.Rows[0].Goals.size(), 3u);
    for (const TGoal* goal : data.Rows[0].Goals) {
        EXPECT_NE(goal, nullptr);
    }
}

TEST_F(RoundPlotTest, NothingWithoutRoundZero) {
    TakeSimulationArenas(Case);
    EXPECT_EQ(TRoundPlot(Case).Compute(TPlotType::ptChanges).Error, "*Round 0 is missing");
}

TEST(ProValStatisticsTest, APointPerPeriodOfEachKind) {
    test::TCaseFixture fixture;
    TProValStatistics statistics;
    EXPECT_EQ(statistics.SamplePeriod(), 500);
    TProVal wide(TProValKind::pvChange);
    wide.Add(fixture.Case, 0.25, -2);
    wide.Add(fixture.Case, 0.75, 4);
    wide.Cumulation = 1;
    TProVal narrow(TProValKind::pvChange);
    narrow.SetZero();
    for (int i = 0; i < 499; ++i) {
        statistics.Observe("RawMean", i % 2 == 0 ? wide : narrow);
    }
    statistics.Observe("SetToSum", TProVal(TProValKind::pvUtility));
    const auto& values = statistics.Lines(1, TProValStatistics::vaValue);
    EXPECT_TRUE(values.Mean.empty());
    statistics.Observe("RawMean", narrow);
    ASSERT_EQ(values.Mean.size(), 1u);
    EXPECT_EQ(values.Maximum[0], 4);
    EXPECT_EQ(values.Minimum[0], -2);
    // 250 wide ones with mean value 1, 250 narrow ones with 0.
    EXPECT_DOUBLE_EQ(values.Mean[0], 0.5);
    const auto& counts = statistics.Lines(1, TProValStatistics::vaCount);
    EXPECT_EQ(counts.Maximum[0], 2);
    EXPECT_EQ(counts.Minimum[0], 1);
    EXPECT_EQ(statistics.Pending(1), 0);
    EXPECT_EQ(statistics.Pending(3), 1);
    EXPECT_TRUE(statistics.Lines(3, TProValStatistics::vaCount).Mean.empty());

    statistics.Reset();
    EXPECT_TRUE(values.Mean.empty());
    EXPECT_EQ(statistics.Pending(3), 0);
}

}  // namespace
}  // namespace kavo
