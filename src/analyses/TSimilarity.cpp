#include "analyses/TSimilarity.h"

#include <algorithm>

#include "analyses/TAnalysisRun.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"

namespace kavo {

namespace {

void EnsureInferred(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
}

std::string CountCell(int count) {
    return "<td align=\"right\">" + std::to_string(count) + "</td>";
}

}  // namespace

bool TSimilarity::FactorsWanted() const {
    return FieldSelected(fSharedFactors);
}

bool TSimilarity::LinksWanted() const {
    return FieldSelected(fSharedLinks) || FieldSelected(fLinkSimilarity);
}

bool TSimilarity::PathsWanted() const {
    return FieldSelected(fSharedPaths) || FieldSelected(fPathSimilarity);
}

void TSimilarity::Compute() {
    FactorCount = SharedFactors = LinkCount = SharedLinks = PathCount = SharedPaths = 0;
    SharedLinkPairs = SharedImpacts = 0;
    LinkSimilarity = PathSimilarity = 0;
    for (TPerception* b : RowPerceptions) {
        if (FactorsWanted()) {
            CompareFactors(*b);
        }
        if (LinksWanted()) {
            CompareLinks(*b);
        }
        if (PathsWanted()) {
            ComparePaths(*b);
        }
    }
}

void TSimilarity::CompareFactors(const TPerception& b) {
    for (const auto& fip : b.FiPs) {
        ++FactorCount;
        const bool shared = std::ranges::any_of(ColumnPerceptions, [&](const TPerception* a) {
            return a->FindFiP(fip->Factor) != nullptr;
        });
        SharedFactors += shared ? 1 : 0;
    }
}

void TSimilarity::CompareLinks(const TPerception& b) {
    for (const auto& x : b.Links) {
        ++LinkCount;
        bool shared = false;
        for (const TPerception* a : ColumnPerceptions) {
            const TLink* y = a->FindLink(x->FromFiP->Factor, x->ToFiP->Factor);
            if (y == nullptr) {
                continue;
            }
            shared = true;
            ++SharedLinkPairs;
            LinkSimilarity += 1 - y->Distribution.LevelDistance(Run->Case, x->Distribution);
        }
        SharedLinks += shared ? 1 : 0;
    }
}

void TSimilarity::ComparePaths(TPerception& b) {
    EnsureInferred(b);
    for (TPerception* a : ColumnPerceptions) {
        EnsureInferred(*a);
    }
    for (const auto& p : b.Paths) {
        ++PathCount;
        const bool shared = std::ranges::any_of(ColumnPerceptions, [&](const TPerception* a) {
            return std::ranges::any_of(a->Paths, [&](const auto& q) {
                return q->StartFactor == p->StartFactor && q->EndFactor == p->EndFactor;
            });
        });
        SharedPaths += shared ? 1 : 0;
    }
    for (const auto& m : b.Impacts) {
        for (const TPerception* a : ColumnPerceptions) {
            const auto n = std::ranges::find_if(a->Impacts, [&](const auto& impact) {
                return impact->FromFactor == m->FromFactor && impact->ToFactor == m->ToFactor;
            });
            if (n == a->Impacts.end() || (!(*n)->HasPaths() && !m->HasPaths())) {
                continue;
            }
            ++SharedImpacts;
            PathSimilarity += 1 - (*n)->Multiplier.LevelDistance(Run->Case, m->Multiplier);
        }
    }
}

std::string TSimilarity::ValueCells() {
    return SelectedCells({
        {fSharedFactors, QuotientCell(fSharedFactors, SharedFactors, FactorCount, true)},
        {fSharedLinks, QuotientCell(fSharedLinks, SharedLinks, LinkCount, true)},
        {fLinkSimilarity, QuotientCell(fLinkSimilarity, LinkSimilarity, SharedLinkPairs, true)},
        {fSharedPaths, QuotientCell(fSharedPaths, SharedPaths, PathCount, true)},
        {fPathSimilarity, QuotientCell(fPathSimilarity, PathSimilarity, SharedImpacts, true)},
    });
}

std::string TSimilarity::ExtraHeaderCells() {
    std::string cells;
    cells += FactorsWanted() ? "<th>Factors</th>" : "";
    cells += LinksWanted() ? "<th>Links</th>" : "";
    cells += PathsWanted() ? "<th>Paths</th>" : "";
    return cells;
}

std::string TSimilarity::ExtraRowCells() {
    std::string cells;
    cells += FactorsWanted() ? CountCell(FactorCount) : "";
    cells += LinksWanted() ? CountCell(LinkCount) : "";
    cells += PathsWanted() ? CountCell(PathCount) : "";
    return cells;
}

}  // namespace kavo
