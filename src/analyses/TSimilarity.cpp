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

void TSimilarity::WriteTable(std::ostream& out) {
    Indexes.clear();
    TActorActorAnalysis::WriteTable(out);
    Indexes.clear();
}

const TSimilarity::TIndex& TSimilarity::IndexOf(TPerception& perception, bool impacts) {
    TIndex& index = Indexes[&perception];
    if (index.Factors.empty() && !perception.FiPs.empty()) {
        for (const auto& fip : perception.FiPs) {
            index.Factors.insert(fip->Factor);
        }
        index.AllLinks.reserve(perception.Links.size());
        for (const auto& link : perception.Links) {
            const TLevelled<TLink>& levelled = index.AllLinks.emplace_back(
                TLevelled<TLink>{link.get(), TLevelledDistribution(Run->Case, link->Distribution)});
            index.Links.try_emplace(TPair{link->FromFiP->Factor, link->ToFiP->Factor}, &levelled);
        }
    }
    if (impacts && !index.HasImpacts) {
        EnsureInferred(perception);
        index.AllImpacts.reserve(perception.Impacts.size());
        for (const auto& impact : perception.Impacts) {
            const TLevelled<TImpact>& levelled = index.AllImpacts.emplace_back(TLevelled<TImpact>{
                impact.get(), TLevelledDistribution(Run->Case, impact->Multiplier)});
            index.Impacts.try_emplace(TPair{impact->FromFactor, impact->ToFactor}, &levelled);
            if (impact->HasPaths()) {
                index.PathImpacts.push_back(&levelled);
            }
        }
        index.HasImpacts = true;
    }
    return index;
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
        const bool shared = std::ranges::any_of(ColumnPerceptions, [&](TPerception* a) {
            return IndexOf(*a, false).Factors.contains(fip->Factor);
        });
        SharedFactors += shared ? 1 : 0;
    }
}

void TSimilarity::CompareLinks(TPerception& b) {
    for (const TLevelled<TLink>& x : IndexOf(b, false).AllLinks) {
        ++LinkCount;
        bool shared = false;
        for (TPerception* a : ColumnPerceptions) {
            const auto& links = IndexOf(*a, false).Links;
            const auto y = links.find(TPair{x.Item->FromFiP->Factor, x.Item->ToFiP->Factor});
            if (y == links.end()) {
                continue;
            }
            shared = true;
            ++SharedLinkPairs;
            LinkSimilarity += 1 - y->second->Levels.LevelDistance(Run->Case, x.Levels);
        }
        SharedLinks += shared ? 1 : 0;
    }
}

// Every path belongs to the impact of its start on its end factor, so paths and impacts are
// compared through the impacts that have a path.
void TSimilarity::ComparePaths(TPerception& b) {
    const TIndex& own = IndexOf(b, true);
    PathCount += static_cast<int>(b.Paths.size());
    for (const TLevelled<TImpact>* m : own.PathImpacts) {
        const TPair ends{m->Item->FromFactor, m->Item->ToFactor};
        bool shared = false;
        for (TPerception* a : ColumnPerceptions) {
            const auto& impacts = IndexOf(*a, true).Impacts;
            const auto n = impacts.find(ends);
            if (n == impacts.end()) {
                continue;
            }
            shared = shared || n->second->Item->HasPaths();
            AddImpacts(*m, *n->second);
        }
        SharedPaths += shared ? static_cast<int>(m->Item->Paths.size()) : 0;
    }
    // Impacts that only A's perception reaches by a path.
    for (TPerception* a : ColumnPerceptions) {
        for (const TLevelled<TImpact>* n : IndexOf(*a, true).PathImpacts) {
            const auto m = own.Impacts.find(TPair{n->Item->FromFactor, n->Item->ToFactor});
            if (m != own.Impacts.end() && !m->second->Item->HasPaths()) {
                AddImpacts(*m->second, *n);
            }
        }
    }
}

void TSimilarity::AddImpacts(const TLevelled<TImpact>& m, const TLevelled<TImpact>& n) {
    ++SharedImpacts;
    PathSimilarity += 1 - n.Levels.LevelDistance(Run->Case, m.Levels);
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
