#include "analyses/TQuickAnalysis.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "diagram/DiagramMarks.h"
#include "diagram/ReportIcons.h"
#include "diagram/TCanvas.h"
#include "diagram/TOffsetCanvas.h"
#include "model/Formats.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TTextMeasure.h"
#include "reasoning/Comparison.h"
#include "reasoning/Inference.h"
#include "reasoning/TConflict.h"
#include "reasoning/TImpact.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

constexpr TColor kNavy{0, 0, 128};
constexpr TColor kPurple{128, 0, 128};
constexpr TColor kBlue{0, 0, 255};
constexpr TColor kGrey{128, 128, 128};
// Ties can run into the thousands; the pane lists this many of each kind and counts the rest.
constexpr std::size_t kMaxListedStrategies = 20;

std::string Plural(long long count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string LevelText(int level) {
    return level > 0 ? "+" + std::to_string(level) : std::to_string(level);
}

const char* ConflictKindName(TConflictKind kind) {
    switch (kind) {
        case TConflictKind::ckGoals:
            return "goals";
        case TConflictKind::ckInfluences:
            return "causal links";
        case TConflictKind::ckProspects:
            return "prospects";
        case TConflictKind::ckTactics:
            return "actions";
    }
    return "";
}

// The name part of a detail line "name=value".
std::string DetailName(const std::string& detail) {
    return detail.substr(0, detail.rfind('='));
}

}  // namespace

TQuickAnalysis::TQuickAnalysis(const TTextMeasure& measure, TFont font)
    : Measure(measure), Font(std::move(font)), LineHeight(Measure.TextHeight(Font, "gh")) {}

void TQuickAnalysis::Clear() {
    Recorded.clear();
    TextLines.clear();
    CurrentLine.clear();
    X = 0;
    Y = 0;
    MaxX = 0;
    MaxY = 0;
}

std::string TQuickAnalysis::Text() const {
    std::string text;
    for (const std::string& line : TextLines) {
        text += line + "\n";
    }
    return text;
}

// --- Writing ---

void TQuickAnalysis::Reach(int x, int y) {
    MaxX = std::max(MaxX, x);
    MaxY = std::max(MaxY, y);
}

void TQuickAnalysis::Run(const std::string& text, TColor color) {
    Run(text, text, color);
}

void TQuickAnalysis::Run(const std::string& drawn, const std::string& copied, TColor color) {
    if (drawn.empty()) {
        return;
    }
    Recorded.emplace_back(std::in_place_type<TQuickText>, TQuickText{{X, Y}, drawn, color});
    CurrentLine += copied;
    X += Measure.TextWidth(Font, drawn);
    Reach(X, Y + LineHeight);
}

void TQuickAnalysis::Name(const TFactor& factor) {
    // As the diagram's labels show it: "_" stands for a blank.
    Run(ShownName(factor.Owner == nullptr ? factor.Name : BareName(factor.Name) + " "), kNavy);
    if (factor.Owner != nullptr) {
        Run("[" + factor.Owner->ShortName + "]", kPurple);
    }
}

void TQuickAnalysis::PerceptionName(const TPerception& perception) {
    if (const TAiA* record = perception.AiAOwner()) {
        Run("perception of ");
        Run("\"" + record->Actor->Name + "\"", kPurple);
    } else if (const TArena* arena = perception.ArenaOwner()) {
        Run("*Analyst view on ");
        Run("\"" + arena->Name + "\"", kBlue);
    } else {
        Run("\"" + perception.OwnerName() + "\"", kPurple);
    }
}

void TQuickAnalysis::Histogram(TPoint at, const TProbVector& vector, int extentRight) {
    Recorded.emplace_back(std::in_place_type<TQuickHistogram>, TQuickHistogram{at, vector});
    Reach(extentRight, at.Y + kHistogramIconHeight);
}

void TQuickAnalysis::RangeCell(int level) {
    Recorded.emplace_back(std::in_place_type<TQuickRangeCell>, TQuickRangeCell{{X, Y + 2}, level});
    CurrentLine += LevelText(level) + " ";
    X += kRangeCellSize + 2;
    Reach(X, Y + 2 + kRangeCellSize);
}

void TQuickAnalysis::NewLine() {
    TextLines.push_back(CurrentLine);
    CurrentLine.clear();
    X = 0;
    Y += LineHeight;
    Reach(X, Y);
}

void TQuickAnalysis::Line(const std::string& text) {
    Run(text);
    NewLine();
}

// --- Explaining ---

void TQuickAnalysis::Explain(TPerception& perception, const TFiP* fip, int rangeLevel,
                             const TLink* link) {
    Clear();
    if (Strategies) {
        if (!perception.ResultsValid[TPerception::StrategiesFound]) {
            FindStrategies(perception, true);
        }
        if (perception.ResultsValid[TPerception::StrategiesFound]) {
            ExplainStrategies(perception);
        }
    }
    if (link != nullptr) {
        ExplainLink(perception, *link);
    }
    if (fip != nullptr) {
        // Preparing may free and rebuild results, but never the perception's items.
        ExplainFiP(perception, *fip, rangeLevel);
    }
}

void TQuickAnalysis::ExplainFiP(TPerception& perception, const TFiP& fip, int rangeLevel) {
    if ((Influence || Noise) && !perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
    if (Noise && !perception.ResultsValid[TPerception::ChangesExpected]) {
        ExpectChanges(perception);
    }
    if (USF && IsLevel(rangeLevel) && !perception.ResultsValid[TPerception::TacticsEvaluated]) {
        EvaluateAllTactics(perception);
    }
    if (Influence && perception.ResultsValid[TPerception::Inferred]) {
        ExplainInfluence(perception, fip);
    }
    bool evaluated = false;
    if (Noise && perception.ResultsValid[TPerception::ChangesExpected] &&
        fip.InfluencingProspects > 0) {
        ExplainNoise(perception, fip);
        evaluated = true;
    }
    if (USF && IsLevel(rangeLevel) && perception.ResultsValid[TPerception::TacticsEvaluated] &&
        fip.AffectedGoals > 0) {
        ExplainEffect(perception, fip, rangeLevel);
        evaluated = true;
    }
    if (evaluated) {
        NoteEstimate(perception);
    }
}

void TQuickAnalysis::ExplainInfluence(const TPerception& perception, const TFiP& fip) {
    const TCase& owningCase = *perception.Case();
    for (const TPerceptionItem& item : perception.Selection) {
        const auto* target = std::get_if<TFiP*>(&item);
        if (target == nullptr) {
            continue;
        }
        const TImpact* impact = ImpactBetween(perception, &fip, *target);
        if (impact == nullptr) {
            continue;
        }
        const long long paths = static_cast<long long>(impact->Paths.size());
        Run(paths == 0 ? std::string("No path") : Plural(paths, "path"));
        Run(" from ");
        Name(*fip.Factor);
        Run(" to ");
        Name(*(*target)->Factor);
        NewLine();
        if (paths == 0) {
            continue;
        }
        Y += 2;
        Run("Total influence: ");
        Histogram({X, Y - 2}, impact->Multiplier.ToVector(owningCase), X + 22);
        Y += 2;
        NewLine();
        Line(" - vector: " + impact->Multiplier.AsVectorText(owningCase));
        Line(" - proval: " + impact->Multiplier.AsText(owningCase));
    }
}

void TQuickAnalysis::ExplainNoise(const TPerception& perception, const TFiP& fip) {
    const TCase& owningCase = *perception.Case();
    Y += 2;
    Run("Noise due to " + Plural(fip.InfluencingProspects, "prospect") + " on ");
    Name(*fip.Factor);
    Histogram({X + 3, Y - 2}, fip.AutonomousChange.ToVector(owningCase), X + 25);
    Y += 2;
    NewLine();
    Line(" - vector: " + fip.AutonomousChange.AsVectorText(owningCase));
    Line(" - proval: " + fip.AutonomousChange.AsText(owningCase));
}

void TQuickAnalysis::ExplainEffect(const TPerception& perception, const TFiP& fip, int level) {
    const TCase& owningCase = *perception.Case();
    const TProVal& utility = fip.LevelUtility[level];
    const TProVal& satisfaction = fip.LevelSatisfaction[level];
    const TProVal& frustration = fip.LevelFrustration[level];
    Run("Effect of ");
    RangeCell(level);
    Name(*fip.Factor);
    Run(" on " + Plural(fip.AffectedGoals, "goal") + ": " +
        FormatNumber(utility.RawMean(owningCase)) + "U, " +
        FormatPercent(satisfaction.Mean(owningCase)) + " satisfaction, " +
        FormatPercent(frustration.Mean(owningCase)) + " frustration");
    NewLine();
    Line(" - utility proval: " + utility.AsText(owningCase));
    Line(" - satisfaction proval: " + satisfaction.NormalizedText(owningCase));
    Line(" - frustration proval: " + frustration.NormalizedText(owningCase));
}

void TQuickAnalysis::ExplainLink(const TPerception& perception, const TLink& link) {
    const TCase& owningCase = *perception.Case();
    Y += 2;
    Run("Link at cursor: ");
    Histogram({X, Y - 2}, link.Distribution.ToVector(owningCase), X + 22);
    Y += 2;
    NewLine();
    Line(" - vector: " + link.Distribution.AsVectorText(owningCase));
    Line(" - proval: " + link.Distribution.AsText(owningCase));
}

void TQuickAnalysis::ExplainStrategies(const TPerception& perception) {
    const TStrategy& record = *perception.BestStrategy;
    // Only a perception without free actions has nothing to choose from.
    if (record.BestStrategies.empty() && record.WorstStrategies.empty()) {
        Line("No strategies: the perception has no free actions");
        return;
    }
    ExplainStrategyList(record.BestStrategies, "best");
    ExplainStrategyList(record.WorstStrategies, "worst");
    NoteEstimate(perception);
}

void TQuickAnalysis::ExplainStrategyList(const std::vector<std::unique_ptr<TStrategy>>& list,
                                         const std::string& kind) {
    if (list.size() == 1) {
        std::string title = kind + " strategy: ";
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
        Run(title);
    } else {
        Run(std::to_string(list.size()) + " " + kind + " strategies: ");
    }
    const std::size_t listed = std::min(list.size(), kMaxListedStrategies);
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0) {
            NewLine();
            Run(" - ");
        }
        const TStrategy& strategy = *list[i];
        for (std::size_t t = 0; t < strategy.Tactics.size(); ++t) {
            if (t > 0) {
                Run(", ");
            }
            RangeCell(strategy.Tactics[t].Level);
            Name(*strategy.Tactics[t].FiP->Factor);
        }
    }
    if (listed < list.size()) {
        NewLine();
        Run(" - ... and " + std::to_string(list.size() - listed) + " more");
    }
    NewLine();
}

void TQuickAnalysis::NoteEstimate(const TPerception& perception) {
    const std::uint64_t sampled = SampledCombinations(perception);
    if (sampled == 0) {
        return;
    }
    Run("(estimated on " + std::to_string(sampled) + " of " +
            std::to_string(UncertainCombinations(perception)) +
            " combinations of uncertain values)",
        kGrey);
    NewLine();
}

void TQuickAnalysis::ExplainConflicts(TPerception& shown, TPerception& other) {
    Clear();
    if (!Conflicts) {
        return;
    }
    // Each is recorded as soon as it is made and freed right after.
    ExplainConflict(*CompareGoals(shown, other));
    ExplainConflict(*CompareInfluences(shown, other));
    ExplainConflict(*CompareProspects(shown, other));
    ExplainConflict(*CompareTactics(shown, other));
}

void TQuickAnalysis::ExplainConflict(const TConflict& conflict) {
    Run(std::string("Conflicting ") + ConflictKindName(conflict.Kind) + " in ");
    PerceptionName(*conflict.Perception1);
    Run(" and ");
    PerceptionName(*conflict.Perception2);
    NewLine();
    std::string names;
    for (const std::string& detail : conflict.Details) {
        names += (names.empty() ? "" : ", ") + DetailName(detail);
    }
    const std::string shared =
        ", # shared = " + std::to_string(conflict.Count) + " [" + names + "]";
    Run("- conflict = " + Fixed(conflict.Mean(), 4) + shared,
        "- conflict = " + Fixed(conflict.Mean(), 2) + shared, {});
    NewLine();
}

// --- Drawing ---

void TQuickAnalysis::Draw(TCanvas& canvas) const {
    for (const TQuickMark& mark : Recorded) {
        if (const auto* text = std::get_if<TQuickText>(&mark)) {
            canvas.SetFont(Font, text->Color);
            canvas.TextOut(text->At, text->Text);
        } else if (const auto* histogram = std::get_if<TQuickHistogram>(&mark)) {
            TOffsetCanvas placed(canvas, histogram->At);
            DrawHistogramIcon(placed, histogram->Vector);
        } else if (const auto* cell = std::get_if<TQuickRangeCell>(&mark)) {
            DrawRangeCell(canvas, cell->At, cell->Level, TRangeCellState::rcInside);
        }
    }
}

}  // namespace kavo
