#include "analyses/TAnalysisCatalog.h"

#include "analyses/TActorActorAnalysis.h"
#include "analyses/TCausalRelations.h"
#include "analyses/TConflictAnalysis.h"
#include "analyses/TConnectivity.h"
#include "analyses/TControllability.h"
#include "analyses/TInferredStrategies.h"
#include "analyses/TIssueLinkage.h"
#include "analyses/TMCA.h"
#include "analyses/TRelevance.h"
#include "analyses/TResourceDependency.h"
#include "analyses/TRoundsOverview.h"
#include "analyses/TSimilarity.h"
#include "analyses/TSingleGoalStrategies.h"
#include "analyses/TSupportAnalysis.h"
#include "analyses/TTacticRating.h"

namespace kavo {

namespace {

using enum TFieldKind;

constexpr TAnalysisFamily kCase = TAnalysisFamily::afCase;
constexpr TAnalysisFamily kArena = TAnalysisFamily::afArena;
constexpr TAnalysisFamily kActor = TAnalysisFamily::afActor;
constexpr TAnalysisFamily kFactor = TAnalysisFamily::afFactor;

// One field of an entry: name, kind, default selection and hint.
struct TFieldEntry {
    const char* Name;
    TFieldKind Kind;
    bool Selected;
    const char* Hint = "";
};

const char* const kFullSetHint =
    "Check this field to view the complete set of strategies that perform best according to the "
    "actor rationality type. When this box is not checked, only those strategies are displayed "
    "that require minimal action, i.e., for which the sum of the absolute changes (relative to 0: "
    "no change) is lowest.";

// Adds each analysis as its own class, with the catalog's title, family, description and fields.
class TCatalogBuilder {
  public:
    explicit TCatalogBuilder(std::vector<std::unique_ptr<TAnalysis>>& analyses)
        : Analyses(analyses) {}

    template <typename T>
    TAnalysis& Add(const char* title, TAnalysisFamily family, const char* description,
                   std::initializer_list<TFieldEntry> fields) {
        Analyses.push_back(std::make_unique<T>(title, family));
        TAnalysis& analysis = *Analyses.back();
        analysis.Description = description;
        for (const TFieldEntry& entry : fields) {
            TAnalysisField& field = analysis.AddField(entry.Name, entry.Kind);
            field.Selected = entry.Selected;
            field.Hint = entry.Hint;
        }
        return analysis;
    }

  private:
    std::vector<std::unique_ptr<TAnalysis>>& Analyses;
};

void FactorEntries(TCatalogBuilder& catalog) {
    catalog.Add<TRelevance>(
        "Relevance", kFactor,
        "Factor relevance is measured as occurrence (the number of actor perceptions in which a "
        "factor appears) and importance, where the number of actor goals stated for a factor and "
        "the interest these goeals represent are relevance indicators.",
        {
            {"Occurrences", fkCount, true},
            {"Occ / actor", fkPercent, false},
            {"Goals", fkCount, true},
            {"Goals / actor", fkPercent, false},
            {"Total priority", fkSum, false,
             "Priorities range from -3 to 3 and are set automatically by KAVO when default goals "
             "are chosen."},
            {"Avg. priority", fkMean, true},
            {"Total stake", fkSum, false,
             "An actor's stake in a factor is defined as the absolute difference between the "
             "highest and lowest utility he attributes to a change in this factor. NOTE: Stake is "
             "scaled to a value between 0 and 1."},
            {"Avg. stake", fkMean, true},
            {"Total interest", fkSum, false,
             "When Umax is the the highest utility a actor attributes to a change in a factor, "
             "then the interest he takes in this factor is defined as the sum (for all 7 possible "
             "changes c) of the difference (Umax - Uc), divided by 12. This division by 12 scales "
             "Interest to a value between 0 and 1."},
            {"Avg. interest", fkMean, true},
        });
    catalog.Add<TConnectivity>(
        "Connectivity and centrality", kFactor,
        "Factor connectivity is measured as the number of causal links that connect to a factor. "
        "Factor centrality is measured as the number of paths on which a factor occurs. The "
        "strength and certainty of the relations is not taken into account.\r\nUse the Perceived "
        "Causal Relations analysis to investigate these aspects.",
        {
            {"Links IN", fkCount, false},
            {"IN / actor", fkMean, false},
            {"Links OUT", fkCount, false},
            {"OUT / actor", fkMean, false},
            {"Links", fkCount, false},
            {"Links / actor", fkMean, true},
            {"Paths", fkCount, false},
            {"Paths / actor", fkMean, false},
        });
    catalog.Add<TControllability>(
        "Controllability", kFactor,
        "The extent to which a factor may be controlled depends on the existence of both actions "
        "and prospects that can influence the factor. Actions can be taken to cause a factor to "
        "change, or to counter external influences. Uncertain prospects generate \"noise\" which "
        "reduces controllability.\r\nControllability is not expressed in a single measure because "
        "there is no straightforward relation between controlled influence and \"noise\".",
        {
            {"Prospects", fkCount, true, "Number of prospects that influence factor"},
            {"\"Noise\" due to prospects", fkProVal, false,
             "Expected autonomous change in factor (changes caused by prospected changes in other "
             "factors)"},
            {"Actions", fkCount, true, "Number of actions that influence factor"},
            {"Influence of actions", fkProVal, false,
             "Average strength (influence multiplier) of paths from actions to factor"},
        });
    catalog.Add<TTacticRating>(
        "Rating of Tactics", kFactor,
        "This analysis produces an overview of how the selected actor(s) value(s) selected "
        "tactics.\r\nEach row in this table corresponds to a particular tactic (action + change), "
        "each column to an actor (group).\r\nActors and actions can be selected using the grouping "
        "feature of KAVO.\r\nDo not aggregate factors, as the analysis is appropriate for single "
        "tactics only. Use the Multi-Criteria Analysis to view details on the aggregate ratings.",
        {
            {"Affected goals", fkCount, true},
            {"Expected utility", fkMean, true},
            {"Std.dev. utility", fkStdDev, false},
            {"Satisfaction", fkPercent, false},
            {"Frustration", fkPercent, false},
        });
}

void ActorEntries(TCatalogBuilder& catalog) {
    catalog.Add<TCausalRelations>(
        "Perceived Causal Relations", kActor,
        "This analysis produces an tabular representation of an actor perception. It "
        "complements the perception graph, as it also shows inferred relations between "
        "factors.\r\nThe cells in this table show the causal influence that can be inferred "
        "from the links in the perception graph. If more than one actor is selected, causal "
        "influences are averaged.",
        {
            {"Paths", fkCount, false},
            {"Influence", fkMean, false},
            {"Uncertainty", fkStdDev, false},
            {"Histogram", fkProVal, true},
        });
    catalog.Add<TMCA>(
        "Multi-Criteria Analysis", kActor,
        "This analysis results in a multi-criteria overview.\r\nNOTE: The format deviates from "
        "standard MCA-tables. Each major row in this table corresponds to a particular tactic "
        "(action + change). Each column corresponds to an actor perception (or several, if actors "
        "have been grouped).The cells show the expected utility of tactics on goal factors.",
        {
            {"Goal", fkUtFunc, false,
             "Histogram showing the appreciation of changes in the goal factor.\r\nNOTE: Averaged "
             "if several actors in the column group have a goal for this factor."},
            {"Effect", fkProVal, false,
             "Histogram showing the change caused by the tactic.\r\nNOTE: Effect is averaged if "
             "several actors in the column group perceive a causal relation between tactic and "
             "goal."},
            {"Expected utility", fkSum, true,
             "Sum of expected utilities for all actors in the column group."},
            {"Std.dev. utility", fkStdDev, false,
             "Standard deviation of expected utilities for all actors in the column group."},
        });
    catalog.Add<TSingleGoalStrategies>(
        "Single Goal Strategies", kActor,
        "This analysis produces an overview of the combinations of a SUBSET of tactics that, from "
        "the selected actor perspective, would yield the best results for each goal seperatly."
        "\r\nEach major row in this table corresponds to a particular goal, each subrow "
        "corresponds to an action. The first column shows for each action (subrow) the best "
        "tactic, or several if these produce the same result.The next columns show for the "
        "combined selection of tactics (major row) the results in terms of expected utility, "
        "satisfaction and frustration.\r\nNOTE: The best single goal strategies are inferred "
        "using the specified actor rationality type.",
        {
            {"Goal", fkUtFunc, true,
             "Histogram showing the appreciation of changes in the goal factor."},
            {"Tactics", fkTactic, true,
             "List of tactics for which there exists a path to the goal factor."},
            {"Utility", fkMean, true},
            {"Satisfaction", fkPercent, false},
            {"Frustration", fkPercent, false},
            {"Full set", fkDetail, false, kFullSetHint},
        });
    catalog.Add<TInferredStrategies>(
        "Inferred Strategies", kActor,
        "This analysis produces an overview of the combinations of tactics that, from the "
        "selected actor perspective, would yield the best results, and/or those combinations that "
        "would yield the worst results.\r\nEach row in this table corresponds to a particular "
        "action, each column reflects a strategy. The cells show the specific tactic (action + "
        "change). The three bottom rows of the table show the expected utility, satisfaction and "
        "frustration, respectively.\r\nThe first column for each actor shows the \"base case\", "
        "i.e., the overall strategy in which no action is taken by any actor.The tactics in this "
        "column are trivial (always 0) but the difference in consequences between base case and "
        "the two other strategies is an indicator for the sense of urgency of an actor.The fourth "
        "column shows the outcome of the chosen strategy.\r\nNOTE: The ideal and worst strategies "
        "are inferred using the specified actor rationality type.",
        {
            {"Base", fkTactic, false},
            {"Ideal", fkTactic, true},
            {"Worst", fkTactic, false},
            {"Chosen", fkTactic, false,
             "Assumes the chosen tactics. A tactic can be chosen by Ctrl-clicking on the range bar "
             "of the corresponding action in a perception graph."},
            {"Details", fkDetail, false,
             "Check this field to view a multi-criteria assessment of the strategies."},
            {"Full set", fkDetail, false, kFullSetHint},
        });
}

void RoundsEntry(TCatalogBuilder& catalog) {
    catalog.Add<TRoundsOverview>(
        "Overview of rounds", kCase,
        "This analysis produces an overview of the simulation rounds that have been executed using "
        "a compiled *Analyst view as pseudo-reality.\r\nEach row in this table corresponds to a "
        "particular factor, each column to a round. The cells show the relative change as a "
        "histogram or as a percentage (relative to the base value set in the Options dialogue), "
        "the number of affected goals  and the expected utility, satisfaction and frustration, "
        "respectively",
        {
            {"Change", fkProVal, true, "As calculated in the *Analyst view of the *Round X arena"},
            {"Pending change", fkProVal, true,
             "Changes due to feedback loops calculated in the *Analyst view of the *Round X "
             "arena"},
            {"Affected goals", fkCount, false,
             "Cumulative if more than one perception is selected for the analysis"},
            {"Utility", fkSum, true, "Cumulative over all goals in selected perception(s)"},
            {"Satisfaction", fkMean, false,
             "Averaged if more than one perception is selected for the analysis"},
            {"Frustration", fkMean, false,
             "Averaged if more than one perception is selected for the analysis"},
            {"Plot results", fkPlot, true,
             "Check this field to view a graphic display of the actions, changes, utilities, "
             "frustration, or satisfaction"},
        });
}

void ActorPairEntries(TCatalogBuilder& catalog) {
    TAnalysis& support = catalog.Add<TSupportAnalysis>(
        "Support and Opposition", kArena,
        "This analysis produces an overview with indicators showing how the \"column actors\" "
        "value the preferred strategies of the \"row actors\". The cells show the utility, "
        "satisfaction and/or frustration that the \"column actor\" A expects from the strategy of "
        "the \"row actor\" B. By default, no tactic (change 0) is assumed for actions that do not "
        "occur in B's perception, and only the highest utility/satisfaction/frustration for A are "
        "shown. Check the \"Let A optimize\" field to evaluate B's preferred tactics while letting "
        "A choose the tactics for actions that do not occur in B's perception. Since actors may "
        "rate several strategies equally high, B's preferred strategies are numbered, where the "
        "numbers correspond to those in the overview generated by the Inferred Strategies "
        "analysis.",
        {
            {"Utility", fkMean, true},
            {"Satisfaction", fkPercent, false},
            {"Frustration", fkPercent, false},
            {"Full strategy set", fkDetail, false,
             "Check this field to see utility/satisfaction/frustration for each of B's ideal "
             "strategies."},
            {"Let A optimize", fkDetail, false,
             "Check this field to evaluate row actor B's ideal strategy after column actor A has "
             "chosen the tactics for the remaining actions in A's perception."},
            {"A's adaptation", fkTactic, false,
             "Check this field to see how column actor A adapts to row actor B's ideal strategy."},
            {"Plot results", fkPlot, true,
             "Check this field to view a graphic display of support (or lack thereof).\r\nNOTE: "
             "For \"column actors\" with multiple ideal strategies, the graph uses the highest "
             "support values."},
        });
    support.CellCaption = "Cell values indicate how A experiences B's ideal strategies";
    support.GraphLegend = " indicates how A experiences B's ideal strategy";

    TAnalysis& similarity = catalog.Add<TSimilarity>(
        "Similarity of Perceived Causality", kArena,
        "Similarity is measured for factors and causal relations as the ratio \"shared/own\" where "
        "\"shared\" is the number of factors (relations) that occur in both actor perceptions and "
        "\"own\" is the number of factors (relations) in the perception of column actor A only."
        "\r\nSimilarity is measured for single links as well as for paths.",
        {
            {"Shared factors", fkPercent, true,
             "# factors in actor A's perception that also occur in actor B's perception divided by "
             "# factors in B's perception"},
            {"Shared links", fkPercent, false,
             "# links in actor A's perception that also occur in actor B's perception divided by "
             "# links in B's perception"},
            {"Link similarity", fkPercent, false},
            {"Shared paths", fkPercent, false,
             "# paths in actor A's perception that also occur in actor B's perception divided by "
             "# paths in B's perception"},
            {"Path similarity", fkPercent, true,
             "NOTE: Path similarity is based on the combined influence of all paths from one "
             "factor to another."},
            {"Plot results", fkPlot, true,
             "Check this field to view a graphic display of similarities."},
        });
    similarity.CellCaption = "Cell values reflect how much of B's perception is shared by A";
    similarity.GraphLegend = " reflects part of A's perception shared by B";
    similarity.GraphReversed = true;

    TAnalysis& conflict = catalog.Add<TConflictAnalysis>(
        "Conflict", kArena,
        "Actors may have conflicting perceptions. Conflict is measured on four aspects:\r\n(1) "
        "goals: difference in direction of desired changes, weighted by priority (any value > 0 "
        "indicates a goal conflict)\r\n(2) prospects: difference in direction of foreseen "
        "changes, weighted by probability (values between 0 and 1 indicate a difference in "
        "magnitude only, values between 1 and 2 indicate a difference in direction of the "
        "foreseen change\r\n(3) direction of causal influences: inverse links, weighted by "
        "influence\r\n(4) utility of actions: difference in expected utility, summed over full "
        "action range\r\nNOTE: To see details (the factors that are involved in a conflict), open "
        "the Quick Analysis dialog, check the conflict box, select an actor in the upper left "
        "pane, and move the mouse over another actor.",
        {
            {"Goals", fkCount, false, "Total number of goals in perceptions of A and B"},
            {"Goal Conflict", fkMean, true},
            {"Prospects", fkCount, false, "Total number of prospects in perceptions of A and B"},
            {"Prospect Conflict", fkMean, true},
            {"Influences", fkCount, false,
             "Total number of causal influences between two factors (aggregated paths) in "
             "perceptions of A and B"},
            {"Influence Conflict", fkMean, true},
            {"Actions", fkCount, false, "Total number of actions in perceptions of A and B"},
            {"Action Conflict", fkMean, true},
            {"Plot results", fkPlot, true,
             "Check this field to view a graphic display of conflicts (or lack thereof)."},
        });
    conflict.CellCaption =
        "Cell values indicate how strongly A is opposed to B's ideas (table is symmetric)";
    conflict.GraphLegend = " B's ideas oppose A's";

    TAnalysis& dependency = catalog.Add<TResourceDependency>(
        "Resource Dependency", kArena,
        "Resource dependency measures the extent to which actor A is dependent on the actions of "
        "actor B to achieve his goals.\r\nNote that goal achievement can be measured in different "
        "ways: expected utility, satisfaction, and avoided frustration.In this analysis, the "
        "rationality type specified for actor A is used to rate tactics.Tactics are rated "
        "relative to the \"base case\", i.e., the overall strategy in which no action is taken by "
        "any actor.",
        {
            {"Relevant Actions", fkCount, false,
             "Actions are relevant if they affect at least one goal."},
            {"Opportune Actions", fkCount, false,
             "Actions are potentially opportune if the expected utility is positive for at least "
             "one change in the feasible action range."},
            {"OT / action range", fkPercent, false,
             "Tactics are opportune if their expected utility is positive. The ratio indicates the "
             "\"size of the carrot\" of actor B."},
            {"Threatening Actions", fkCount, false,
             "Actions are potentially threatening if the expected utility is negative for at least "
             "one change in the feasible action range."},
            {"TT / action range", fkPercent, false,
             "Tactics are threatening if their expected utility is negative. The ratio indicates "
             "the \"size of the stick\" of actor B."},
            {"Base utility", fkSum, false, "Utility for the \"base case\""},
            {"Utility to gain", fkSum, false, "Relative to the \"base case\""},
            {"Utility to lose", fkSum, false, "Relative to the \"base case\""},
            {"Base satisfaction", fkPercent, false, "Satisfaction for the \"base case\""},
            {"Satisfaction to gain", fkPercent, false,
             "NOTE: percent points added to the \"base case\" rating"},
            {"Satisfaction to lose", fkPercent, false,
             "NOTE: percent points added to the \"base case\" rating"},
            {"Base frustration", fkPercent, false, "Frustration for the \"base case\""},
            {"Avoidable frustration", fkPercent, false,
             "NOTE: percent points added to the \"base case\" rating"},
            {"Additional frustration", fkPercent, false,
             "NOTE: percent points added to the \"base case\" rating"},
            {"Show dependency graph", fkPlot, false},
        });
    dependency.CellCaption =
        "Cell values indicate how strongly A believes it's goal achievement may be affected by "
        "B's actions";
    dependency.GraphLegend = " reflects how strongly A's actions can affect B";
    dependency.GraphReversed = true;
}

void ArenaPairEntry(TCatalogBuilder& catalog) {
    TAnalysis& linkage = catalog.Add<TIssueLinkage>(
        "Issue Linkage", kCase,
        "The issues addressed in two different arenas may be \"linked\" in the sense that have "
        "actors and/or factors in common. This analysis produces an overview of these linkages, "
        "as well as indicators for the existence of dilemmas due to actions that may be seen as "
        "beneficial for one issue but damaging for the other issue.\r\nNOTE: The table is "
        "assymmetrical because the percentages are relative to the \"row arena\".",
        {
            {"Common Actors", fkCount, false,
             "Actors that have interests and/or can act in both arenas"},
            {"CA / arena", fkPercent, false,
             "The percentage of actors in common with the other arena. \r\nNOTE: Relative to # "
             "actors in \"row arena\""},
            {"Common Factors", fkCount, false,
             "Factors that are perceived as relevant for both issues"},
            {"CF / arena", fkPercent, false,
             "The percentage of factors in common with the other arena. \r\nNOTE: Relative to # "
             "factors in \"row arena\""},
            {"Shared interest", fkCount, false,
             "Changes in factors that are rated positively in both arenas. NOTE: A change in a "
             "factor is rated on the basis of its impact on goal factors."},
            {"Shared / total", fkPercent, false,
             "NOTE: Relative to total interest in \"row arena\""},
            {"Conflicting interest", fkCount, false,
             "Changes in factors that are rated positively in one arena, but negatively in the "
             "other"},
            {"Conflicting / total", fkPercent, false,
             "NOTE: Relative to total interest in \"row arena\""},
            {"Show linkage graph", fkPlot, false},
        });
    linkage.GraphLegend = " reflects relevance of B relative to A";
}

}  // namespace

TAnalysisCatalog::TAnalysisCatalog() {
    TCatalogBuilder catalog(Analyses);
    FactorEntries(catalog);
    ActorEntries(catalog);
    RoundsEntry(catalog);
    ActorPairEntries(catalog);
    ArenaPairEntry(catalog);
    for (const auto& analysis : Analyses) {
        analysis->TakeSelection();
    }
}

TAnalysisCatalog::~TAnalysisCatalog() = default;

TAnalysis* TAnalysisCatalog::Find(std::string_view title) const {
    for (const auto& analysis : Analyses) {
        if (analysis->Title == title) {
            return analysis.get();
        }
    }
    return nullptr;
}

bool TAnalysisCatalog::Runs(const TAnalysis& analysis) const {
    return analysis.Selected && FamilySelected[static_cast<std::size_t>(analysis.Family)];
}

std::vector<std::string> TAnalysisCatalog::SelectionLines() const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < Analyses.size(); ++i) {
        // An analysis that does not run keeps no line: reading a line turns its analysis on.
        if (!Runs(*Analyses[i])) {
            continue;
        }
        std::string bits;
        for (const auto& field : Analyses[i]->Fields) {
            bits += field->Selected ? '1' : '0';
        }
        if (bits.find('1') != std::string::npos) {
            lines.push_back("<meta name=\"KAVO analysis " + std::to_string(i) + "\" content=\"" +
                            Analyses[i]->Title + "=" + bits + "\">");
        }
    }
    return lines;
}

void TAnalysisCatalog::ApplySelectionLine(std::string_view line) {
    if (line.find("<meta name=\"KAVO analysis") == std::string_view::npos) {
        return;
    }
    static constexpr std::string_view kContent = "content=\"";
    const std::size_t start = line.find(kContent);
    if (start == std::string_view::npos) {
        return;
    }
    const std::string_view content = line.substr(start + kContent.size());
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    TAnalysis* analysis = Find(content.substr(0, equals));
    if (analysis == nullptr) {
        return;
    }
    std::string_view bits = content.substr(equals + 1);
    bits = bits.substr(0, bits.find('"'));
    for (std::size_t i = 0; i < analysis->Fields.size() && i < bits.size(); ++i) {
        analysis->Fields[i]->Selected = bits[i] == '1';
    }
    analysis->Selected = true;
    FamilySelected[static_cast<std::size_t>(analysis->Family)] = true;
}

void TAnalysisCatalog::ApplySelectionLines(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    for (const auto& analysis : Analyses) {
        analysis->Selected = false;
    }
    for (const std::string& line : lines) {
        ApplySelectionLine(line);
    }
}

std::string TAnalysisCatalog::FamilyCaption(TAnalysisFamily family) {
    static constexpr std::array<const char*, 4> kCaptions{
        "Case level properties", "Arena level properties", "Actor level properties",
        "Factor level properties"};
    return kCaptions[static_cast<std::size_t>(family)];
}

int TAnalysisCatalog::FamilyImageIndex(TAnalysisFamily family) {
    static constexpr std::array<int, 4> kIcons{0, 1, 3, 4};
    return kIcons[static_cast<std::size_t>(family)];
}

std::string TAnalysisCatalog::FamilyExplanation(TAnalysisFamily family) {
    static constexpr std::array<const char*, 4> kExplanations{
        "Analyses that allow comparison over different arenas.",
        "Analyses involving different actors within one arena.",
        "Analyses focusing on one or more actors.",
        "Analyses focusing on one or more factors.\r\nNote that actions are considered to be a "
        "special type of factor."};
    return kExplanations[static_cast<std::size_t>(family)];
}

}  // namespace kavo
