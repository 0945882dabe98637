#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kavo {

class TActor;
class TArena;
class TCase;
class TConcept;
class TFactor;
class TGoal;
class TGroup;
enum class TGroupKind;

enum class TPlotType {
    ptTactics = 0,
    ptChanges = 1,
    ptGoals = 2,
    ptUtilities = 3,
    ptSatisfaction = 4,
    ptFrustration = 5,
};

// Which of the two checks an actor group applies to factors.
enum class TGroupFilter { gfPerceptions = 0, gfFactors = 1, gfBoth = 2 };

struct TPlotPoint {
    double X = 0;
    double Y = 0;
    friend bool operator==(const TPlotPoint&, const TPlotPoint&) = default;
};

// One line of a chart.
struct TPlotSeries {
    std::string Name;
    std::vector<TPlotPoint> Points;
    // Drawn as steps: each value holds until the next point.
    bool Stairs = false;
};

// The fixed left axis of a chart; none lets the chart choose.
struct TPlotAxis {
    double Minimum = 0;
    double Maximum = 0;
    double Tick = 1;
    // Every tick labelled "0" (the actions chart, whose lines each have their own base).
    bool ZeroLabels = false;
};

// One row of the goals chart: an actor's goal on a factor round by round.
struct TGoalRow {
    std::string Label;
    // One per round column; null where the round has no such goal.
    std::vector<const TGoal*> Goals;
};

// What one chart of the simulation shows: lines over the rounds, or for the goals chart a table
// of goal marks. Rounds are plotted at x = 1, 2, ... in the case's arena order, after the start
// at x = 0.
struct TPlotData {
    std::string Title;
    std::vector<TPlotSeries> Series;
    std::optional<TPlotAxis> Axis;
    // The legend lists the series bottom up, so that it reads in ascending order.
    bool LegendInverted = true;
    // Goals chart: a column per round arena, round 0 included, and a row per goal.
    std::vector<std::string> Columns;
    std::vector<TGoalRow> Rows;
    // Set when nothing can be plotted.
    std::string Error;
};

// The contents of the simulation charts of a case, under the group filters. Groups are looked up
// by name: a group that does not exist, is of another kind or is not checked selects nothing.
class TRoundPlot {
  public:
    TRoundPlot(const TCase& owningCase, std::string actorGroup = {}, std::string factorGroup = {},
               TGroupFilter filter = TGroupFilter::gfPerceptions);

    TPlotData Compute(TPlotType type) const;

    bool ActorPasses(const TActor* actor) const;
    bool FactorPasses(const TFactor* factor) const;

  private:
    TPlotData Tactics() const;
    TPlotData Changes() const;
    TPlotData Goals() const;
    TPlotData Outcomes(TPlotType type) const;

    const TCase& Case;
    TGroupFilter Filter;
    // The members of the selected groups; none when no group is selected.
    std::optional<std::set<const TConcept*>> Actors;
    std::optional<std::set<const TConcept*>> Factors;
    const TArena* RoundZero = nullptr;
    std::vector<TArena*> Rounds;
};

// The checked group of that name and kind, or null.
const TGroup* CheckedGroup(const TCase& owningCase, const std::string& name, TGroupKind kind);

}  // namespace kavo
