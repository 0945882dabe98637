#include "analyses/TSimilarity.h"

#include <algorithm>
#include <functional>

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
            if (index.Factors.insert(fip->Factor).second) {
                index.Slots.emplace_back(fip->Factor, static_cast<int>(index.Slots.size()));
            }
        }
        std::ranges::sort(index.Slots, std::less<>());
        index.AllLinks.reserve(perception.Links.size());
        for (const auto& link : perception.Links) {
            const TLevelled<TLink>& levelled = index.AllLinks.emplace_back(
                TLevelled<TLink>{link.get(), TLevelledDistribution(Run->Case, link->Distribution)});
            index.Links.try_emplace(TPair{link->FromFiP->Factor, link->ToFiP->Factor}, &levelled);
        }
    }
    if (impacts && !index.HasImpacts) {
        EnsureInferred(perception);
        const std::size_t slots = index.Slots.size();
        index.ImpactAt.assign(slots * slots, -1);
        index.AllImpacts.reserve(perception.Impacts.size());
        for (const auto& impact : perception.Impacts) {
            const TLevelled<TImpact>& levelled = index.AllImpacts.emplace_back(TLevelled<TImpact>{
                impact.get(), TLevelledDistribution(Run->Case, impact->Multiplier)});
            const int from = index.SlotOf(impact->FromFactor);
            const int to = index.SlotOf(impact->ToFactor);
            if (from < 0 || to < 0) {
                continue;
            }
            std::int32_t& at = index.ImpactAt[static_cast<std::size_t>(from) * slots +
                                              static_cast<std::size_t>(to)];
            if (at < 0) {
                at = static_cast<std::int32_t>(index.AllImpacts.size() - 1);
            }
            if (impact->HasPaths()) {
                index.PathImpacts.push_back({&levelled, from, to});
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

int TSimilarity::TIndex::SlotOf(const void* factor) const {
    const auto slot = std::ranges::lower_bound(Slots, factor, std::less<>(),
                                               [](const auto& entry) { return entry.first; });
    return slot != Slots.end() && slot->first == factor ? slot->second : -1;
}

const TSimilarity::TLevelled<TImpact>* TSimilarity::TIndex::ImpactBetween(int from, int to) const {
    if (from < 0 || to < 0) {
        return nullptr;
    }
    const std::int32_t at =
        ImpactAt[static_cast<std::size_t>(from) * Slots.size() + static_cast<std::size_t>(to)];
    return at < 0 ? nullptr : &AllImpacts[static_cast<std::size_t>(at)];
}

std::vector<int> TSimilarity::Places(const TIndex& from, const TIndex& in) {
    std::vector<int> places(from.Slots.size(), -1);
    auto other = in.Slots.begin();
    for (const auto& [factor, slot] : from.Slots) {
        while (other != in.Slots.end() && std::less<>()(other->first, factor)) {
            ++other;
        }
        if (other != in.Slots.end() && other->first == factor) {
            places[static_cast<std::size_t>(slot)] = other->second;
        }
    }
    return places;
}

// Every path belongs to the impact of its start on its end factor, so paths and impacts are
// compared through the impacts that have a path. Impacts are looked up by the places of their
// factors, translated from one perception to the other.
void TSimilarity::ComparePaths(TPerception& b) {
    const TIndex& own = IndexOf(b, true);
    PathCount += static_cast<int>(b.Paths.size());
    std::vector<const TIndex*> columns;
    std::vector<std::vector<int>> there;
    for (TPerception* a : ColumnPerceptions) {
        columns.push_back(&IndexOf(*a, true));
        there.push_back(Places(own, *columns.back()));
    }
    for (const TIndex::TPathImpact& m : own.PathImpacts) {
        bool shared = false;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const std::vector<int>& place = there[k];
            const TLevelled<TImpact>* n = columns[k]->ImpactBetween(
                place[static_cast<std::size_t>(m.From)], place[static_cast<std::size_t>(m.To)]);
            if (n == nullptr) {
                continue;
            }
            shared = shared || n->Item->HasPaths();
            AddImpacts(*m.Impact, *n);
        }
        SharedPaths += shared ? static_cast<int>(m.Impact->Item->Paths.size()) : 0;
    }
    // Impacts that only A's perception reaches by a path.
    for (const TIndex* a : columns) {
        const std::vector<int> here = Places(*a, own);
        for (const TIndex::TPathImpact& n : a->PathImpacts) {
            const TLevelled<TImpact>* m = own.ImpactBetween(here[static_cast<std::size_t>(n.From)],
                                                            here[static_cast<std::size_t>(n.To)]);
            if (m != nullptr && !m->Item->HasPaths()) {
                AddImpacts(*m, *n.Impact);
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
