#include "diagram/CaseImageSet.h"

#include <algorithm>
#include <array>
#include <utility>

#include "diagram/CaseIcons.h"
#include "diagram/DiagramMarks.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TagIcon.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#include "model/TTag.h"

namespace kavo {

namespace {

using TImages = std::vector<TCaseImage>;

std::string Str(int n) {
    return std::to_string(n);
}

void AddKindIcons(TImages& images) {
    static constexpr std::array<std::pair<const char*, TCaseIcon>, 23> kIcons{{
        {"notag", TCaseIcon::ciNoTag},
        {"case", TCaseIcon::ciCase},
        {"arena", TCaseIcon::ciArena},
        {"analyst", TCaseIcon::ciAnalyst},
        {"actor", TCaseIcon::ciActor},
        {"factor", TCaseIcon::ciFactor},
        {"attribute", TCaseIcon::ciAttribute},
        {"action", TCaseIcon::ciAction},
        {"stockfactor", TCaseIcon::ciStockFactor},
        {"stockattribute", TCaseIcon::ciStockAttribute},
        {"count", TCaseIcon::ciCount},
        {"percent", TCaseIcon::ciPercent},
        {"sum", TCaseIcon::ciSum},
        {"mean", TCaseIcon::ciMean},
        {"stddev", TCaseIcon::ciStdDev},
        {"proval", TCaseIcon::ciProVal},
        {"tactic", TCaseIcon::ciTactic},
        {"utfunc", TCaseIcon::ciUtFunc},
        {"tozero", TCaseIcon::ciToZero},
        {"topos", TCaseIcon::ciToPos},
        {"toneg", TCaseIcon::ciToNeg},
        {"detail", TCaseIcon::ciDetail},
        {"plot", TCaseIcon::ciPlot},
    }};
    for (const auto& [name, icon] : kIcons) {
        images.push_back({name, kKindIconSize, kKindIconSize, false,
                          [icon = icon](TCanvas& canvas) { DrawCaseIcon(canvas, icon); }});
    }
}

void AddGoalIcons(TImages& images) {
    for (const bool negative : {false, true}) {
        for (int level = -3; level <= 3; ++level) {
            for (int priority = negative ? 1 : 0; priority <= 3; ++priority) {
                images.push_back({(negative ? "gnc" : "gc") + Str(level) + "p" + Str(priority),
                                  kGoalIconSize, kGoalIconSize, false, [=](TCanvas& canvas) {
                                      DrawGoalIcon(canvas, level, priority, negative);
                                  }});
            }
        }
    }
}

void AddLinkAndProspectIcons(TImages& images) {
    for (int level = 3; level >= -3; --level) {
        for (int degree = 0; degree <= 3; ++degree) {
            images.push_back({"l" + Str(level) + "u" + Str(degree), kLinkIconWidth, kLinkIconHeight,
                              false,
                              [=](TCanvas& canvas) { DrawLinkIcon(canvas, level, degree); }});
        }
    }
    for (int level = -3; level <= 3; ++level) {
        for (int degree = 0; degree <= 3; ++degree) {
            images.push_back({"p" + Str(level) + "u" + Str(degree), kGoalIconSize, kGoalIconSize,
                              false, [=](TCanvas& canvas) { DrawProspectIcon(canvas, level); }});
        }
    }
}

void AddRangeCells(TImages& images) {
    for (int state = 0; state <= 2; ++state) {
        for (int level = -3; level <= 3; ++level) {
            images.push_back(
                {"r" + Str(level) + "-" + Str(state), kRangeCellSize, kRangeCellSize, false,
                 [=](TCanvas& canvas) {
                     DrawRangeCell(canvas, {0, 0}, level, static_cast<TRangeCellState>(state));
                 }});
        }
    }
}

void AddRelationAndOperatorIcons(TImages& images) {
    const auto relation = [&](int type, int strength) {
        images.push_back({"art" + Str(type) + "s" + Str(strength), kRelationIconWidth,
                          kRelationIconHeight, false,
                          [=](TCanvas& canvas) { DrawRelationIcon(canvas, type, strength); }});
    };
    for (const int strength : {1, 2, 3, 4, 5, -1, -2, -3, -4, -5}) {
        relation(0, strength);
    }
    for (int type = 1; type <= 3; ++type) {
        relation(type, 1);
    }
    for (int op = 0; op <= 3; ++op) {
        images.push_back(
            {"fipag" + Str(op), kRelationIconWidth, kRelationIconHeight, true,
             [=](TCanvas& canvas) { DrawOperatorIcon(canvas, static_cast<TOperator>(op)); }});
    }
}

void AddTagIcons(TCase& owningCase, TImages& images) {
    int index = 0;
    for (const auto& tag : owningCase.TagList) {
        const TTag* drawn = tag.get();
        images.push_back(
            {"tag" + Str(index++), kTagIconSize, kTagIconSize, false, [drawn](TCanvas& canvas) {
                 DrawTagIcon(canvas, *drawn, TColor::FromStored(drawn->LightColor));
             }});
    }
}

// A picture of the perception as it is, without the selection of whoever is editing it.
void AddPerception(TPerception& perception, std::string name, TImages& images) {
    PlacePerception(perception);
    const int width = std::max(1, perception.Extent.Right);
    const int height = std::max(1, perception.Extent.Bottom);
    images.push_back({std::move(name), width, height, false, [&perception](TCanvas& canvas) {
                          if (perception.FiPs.empty()) {
                              return;
                          }
                          auto selection = std::move(perception.Selection);
                          perception.Selection.clear();
                          DrawPerception(perception, canvas, TDrawMode::dmNormal);
                          perception.Selection = std::move(selection);
                      }});
}

void AddPerceptions(TCase& owningCase, TImages& images) {
    int arenaIndex = 0;
    for (const auto& arena : owningCase.ArenaList) {
        AddPerception(*arena->AnalystView, "aview" + Str(arenaIndex), images);
        int actorIndex = 0;
        for (const auto& record : arena->Actors) {
            AddPerception(*record->Perception, "ar" + Str(arenaIndex) + "ac" + Str(actorIndex++),
                          images);
        }
        ++arenaIndex;
    }
}

}  // namespace

std::vector<TCaseImage> CaseImageSet(TCase& owningCase) {
    TImages images;
    AddKindIcons(images);
    AddGoalIcons(images);
    AddLinkAndProspectIcons(images);
    AddRangeCells(images);
    AddRelationAndOperatorIcons(images);
    AddTagIcons(owningCase, images);
    AddPerceptions(owningCase, images);
    return images;
}

std::vector<TCaseImage> ReportImageSet(TCase& owningCase) {
    TImages images;
    AddKindIcons(images);
    AddRangeCells(images);
    AddTagIcons(owningCase, images);
    return images;
}

}  // namespace kavo
