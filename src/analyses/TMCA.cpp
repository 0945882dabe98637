#include "analyses/TMCA.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "analyses/TAnalysisRun.h"
#include "model/Formats.h"
#include "model/TConcept.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLevels.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TProVal.h"

namespace kavo {

namespace {

// What the tactic brings to one goal factor over the column's goals on it.
struct TGoalFactorRow {
    TFactor* Factor;
    TProVal Effect{TProValKind::pvChange};
    TProVal Utility{TProValKind::pvUtility};
    // Per level -3..+3: the sum of the goals' utility vectors, then their rounded average.
    std::array<int, 7> Utilities{};
};

std::string NoBreak(const std::string& text) {
    return text.find('-') != std::string::npos ? "<nobr>" + text + "</nobr>" : text;
}

std::string NameColumns(const TFactor* factor) {
    return "<td width=16><img src=\"gif/" + KindWord(factor) + ".gif\"></td><td>" +
           FactorDisplayName(factor->Name) + "</td>";
}

}  // namespace

std::string TMCA::ValueCells() {
    TCase& current = Run->Case;
    TProVal tactic(TProValKind::pvChange);
    tactic.SetChange(current, TacticChange, 0);
    std::vector<TGoalFactorRow> rows;
    for (TPerception* perception : ColumnPerceptions) {
        if (!perception->ResultsValid[TPerception::Inferred]) {
            InferInfluences(*perception);
        }
        const TFiP* action = RowFactors.empty() ? nullptr : perception->FindFiP(RowFactors.front());
        if (action == nullptr) {
            continue;
        }
        for (const auto& goal : perception->Goals) {
            const TImpact* impact = ImpactBetween(*perception, action, goal->FiP);
            if (impact == nullptr || !impact->HasPaths()) {
                continue;
            }
            auto row = std::find_if(rows.begin(), rows.end(), [&](const TGoalFactorRow& r) {
                return r.Factor == goal->FiP->Factor;
            });
            if (row == rows.end()) {
                rows.push_back({goal->FiP->Factor});
                row = rows.end() - 1;
            }
            TProVal effect;
            effect.SetToProduct(current, impact->Multiplier, tactic);
            row->Effect.Cumulate(current, effect);
            row->Utility.Cumulate(current, Utility(*goal, effect));
            for (int level = kMinLevel; level <= kMaxLevel; ++level) {
                row->Utilities[static_cast<std::size_t>(level - kMinLevel)] +=
                    goal->Utilities[level];
            }
        }
    }
    for (TGoalFactorRow& row : rows) {
        const double count = row.Effect.Cumulation;
        for (int& sum : row.Utilities) {
            sum = static_cast<int>(std::nearbyint(sum / count));
        }
    }

    std::string cells;
    bool namesShown = false;
    // The names go in front of the values of the first cell written among the first three.
    const auto names = [&](const TFactor* factor) {
        return namesShown ? std::string() : NameColumns(factor);
    };
    if (FieldSelected(fGoal)) {
        cells += "<td valign=\"top\"><table width=\"100%\">";
        for (const TGoalFactorRow& row : rows) {
            TGoal averaged(nullptr, TLevels<std::int8_t>{});
            for (int level = kMinLevel; level <= kMaxLevel; ++level) {
                averaged.Utilities[level] = static_cast<std::int8_t>(
                    row.Utilities[static_cast<std::size_t>(level - kMinLevel)]);
            }
            cells += "<tr><td width=\"16\"><img src=\"gif/" + KindWord(row.Factor) +
                     ".gif\"></td><td>" + FactorDisplayName(row.Factor->Name) +
                     "</td><td align=\"center\"><img src=\"gif/" + Run->UtilityImage(averaged) +
                     ".gif\"></td></tr>";
        }
        cells += "</table></td>";
        namesShown = true;
    }
    if (FieldSelected(fEffect)) {
        cells += "<td valign=\"top\"><table width=\"100%\">";
        for (const TGoalFactorRow& row : rows) {
            cells += "<tr>" + names(row.Factor) + "<td align=\"center\"><img src=\"gif/" +
                     Run->HistogramImage(row.Effect) + ".gif\"></td></tr>";
        }
        cells += "</table></td>";
        namesShown = true;
    }
    if (FieldSelected(fUtility)) {
        cells += "<td valign=\"bottom\"><table width=\"100%\">";
        double sum = 0;
        double positive = 0;
        double negative = 0;
        for (const TGoalFactorRow& row : rows) {
            const double u = row.Utility.RawMean(current);
            cells += "<tr>" + names(row.Factor) + NumberCell(fUtility, u) + "</tr>";
            sum += u;
            positive += u > 0 ? u : 0;
            negative += u < 0 ? u : 0;
        }
        if (!rows.empty()) {
            const char* colour = sum > 0 ? "lime" : sum == 0 ? "silver" : "red";
            cells += std::string("<tr>") + (namesShown ? "<td>" : "<td colspan=\"3\">") +
                     "<table border=\"0\" width=\"100%\"><tr><td align=\"right\" bgcolor=\"" +
                     colour + "\"><b>Sum: " + NoBreak(FormatNumber(sum)) + "</b>";
            if (positive != sum && negative != sum) {
                const char* direction = sum > 0 ? "pos" : sum == 0 ? "zero" : "neg";
                cells += "</td><td bgcolor=\"yellow\">+" + FormatNumber(positive) +
                         "&nbsp;<img src=\"gif/to" + direction +
                         ".gif\" align=\"absbottom\">&nbsp;" + NoBreak(FormatNumber(negative));
            }
            cells += "</td></tr></table></td></tr>";
        }
        cells += "</table></td>";
        namesShown = true;
    }
    if (FieldSelected(fStdDevUtility)) {
        cells += "<td valign=\"top\"><table width=\"100%\">";
        for (const TGoalFactorRow& row : rows) {
            cells += "<tr>" + names(row.Factor) +
                     NumberCell(fStdDevUtility, row.Utility.StdDev(current)) + "</tr>";
        }
        cells += "</table></td>";
    }
    return cells;
}

}  // namespace kavo
