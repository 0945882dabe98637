#include "reasoning/Inference.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/TImPath.h"
#include "reasoning/TImPathSet.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "reasoning/TPathList.h"

namespace kavo {

namespace {

// How often the long loops let the user's events run.
constexpr std::size_t kPathsPerPump = 4096;
constexpr int kDistributionsPerPump = 256;

std::string InferringText(const TPerception& perception) {
    return "Inferring indirect influences: " + perception.OwnerName();
}

// Index of each FiP in its perception.
std::unordered_map<const TFiP*, std::size_t> FiPIndex(const TPerception& perception) {
    std::unordered_map<const TFiP*, std::size_t> index;
    for (std::size_t i = 0; i < perception.FiPs.size(); ++i) {
        index.emplace(perception.FiPs[i].get(), i);
    }
    return index;
}

// The depth-first walk of BuildPaths, with the FiPs on the current chain marked. The chain's links
// are a stack; each path found is copied from it into the perception's flat path list, with its
// multiplier: the path it extends times the new link, computed in working distributions that keep
// their storage.
class TPathWalk {
  public:
    explicit TPathWalk(TPerception& perception)
        : Perception(perception),
          Current(*perception.Case()),
          Index(FiPIndex(perception)),
          OnChain(perception.FiPs.size(), false) {}

    // False when the walk stopped early.
    bool Run() {
        for (const auto& fip : Perception.FiPs) {
            for (TLink* link : fip->OutLinks) {
                Chain.assign(1, link);
                if (!Keep(link->Distribution.Pairs())) {
                    return false;
                }
                const std::size_t first = Perception.Paths.size() - 1;
                const bool cycle = link->ToFiP->Factor == fip->Factor;
                const bool going = cycle || Extend(first, fip.get(), link->ToFiP);
                OnChain[Index.at(fip.get())] = false;
                if (!going) {
                    return false;
                }
            }
        }
        return true;
    }

  private:
    bool Keep(std::span<const TPVPair> multiplier) {
        if (!Admit()) {
            return false;
        }
        Perception.Paths.Add(Chain, multiplier);
        return true;
    }

    // The multiplier of the chain that extends path p by the link: p's multiplier times the
    // link's distribution, as TPath::Append forms it.
    std::span<const TPVPair> Extended(std::size_t p, const TLink* link) {
        const std::span<const TPVPair> before = Perception.Paths.PairsOf(p);
        const TProVal& next = link->Distribution;
        if (before.size() == 1 && next.Count() == 1 && !Current.Context().MonitorChanges) {
            // One pair times one pair: the product's single pair, as Add would insert it.
            const TPVPair& a = before.front();
            const TPVPair& b = next[0];
            Single = {a.Prob * b.Prob, a.Value * b.Value};
            return !(Single.Prob <= 0) ? std::span<const TPVPair>(&Single, 1)
                                       : std::span<const TPVPair>();
        }
        Perception.Paths[p].MultiplierInto(Factor);
        Product.Kind = Factor.Kind;
        Product.Cumulation = Factor.Cumulation;
        Product.SetPairs(Factor.Pairs());
        Product.SetToProduct(Current, Factor, next);
        return Product.Pairs();
    }

    // Lists the extensions of the chain of path p from start to end, each followed by its own
    // extensions; a chain back to its start is a cycle and goes no further.
    bool Extend(std::size_t p, const TFiP* start, const TFiP* end) {
        const std::size_t endIndex = Index.at(end);
        OnChain[Index.at(start)] = true;
        OnChain[endIndex] = true;
        bool going = true;
        for (TLink* link : end->OutLinks) {
            const TFiP* target = link->ToFiP;
            if (OnChain[Index.at(target)] && target != start) {
                continue;
            }
            const std::span<const TPVPair> multiplier = Extended(p, link);
            Chain.push_back(link);
            going = Keep(multiplier);
            if (going && target != start) {
                going = Extend(Perception.Paths.size() - 1, start, target);
            }
            Chain.pop_back();
            if (!going) {
                break;
            }
        }
        OnChain[endIndex] = false;
        return going;
    }

    bool Admit() {
        const std::size_t count = Perception.Paths.size();
        if (count >= kMaxPaths) {
            Current.Messages().ShowWarning(
                "Inference stopped after " + std::to_string(kMaxPaths) +
                " causal paths in the perception of " + Perception.OwnerName() +
                ": too many paths to follow them all; influences and cycles are incomplete");
            return false;
        }
        if (count > 0 && count % kPathsPerPump == 0) {
            TContext& context = Current.Context();
            context.Status.SetStatusText(InferringText(Perception) + " (" + std::to_string(count) +
                                         " paths)");
            context.Status.PumpEvents();
            if (context.AnalysisCancelled) {
                return false;
            }
        }
        return true;
    }

    TPerception& Perception;
    const TCase& Current;
    std::unordered_map<const TFiP*, std::size_t> Index;
    std::vector<bool> OnChain;
    std::vector<TLink*> Chain;
    // Working distributions of Extended.
    TProVal Factor;
    TProVal Product;
    TPVPair Single{};
};

// The working state of FindOrder: membership of each FiP in Order, Pending and Dead.
class TOrdering {
  public:
    explicit TOrdering(TPerception& perception)
        : Perception(perception),
          Index(FiPIndex(perception)),
          InOrder(perception.FiPs.size(), false),
          InPending(perception.FiPs.size(), false),
          IsDead(perception.FiPs.size(), false) {}

    void Run() {
        Perception.Order.clear();
        Perception.DelayedLinks.clear();
        PlaceRoots();
        CloseDead();
        Fallback();
        Drain();
    }

  private:
    bool Ordered(const TFiP* fip) const { return InOrder[Index.at(fip)]; }
    bool Waiting(const TFiP* fip) const { return InPending[Index.at(fip)]; }
    bool Dead(const TFiP* fip) const { return IsDead[Index.at(fip)]; }
    bool CanStart(const TFiP* fip) const {
        return fip->Factor->IsAction || Perception.ProspectOf(fip) != nullptr;
    }

    void Append(TFiP* fip) {
        Perception.Order.push_back(fip);
        InOrder[Index.at(fip)] = true;
        if (Waiting(fip)) {
            InPending[Index.at(fip)] = false;
            std::erase(Pending, fip);
        }
    }
    void AddTargets(const TFiP* fip) {
        for (TLink* link : fip->OutLinks) {
            if (!Waiting(link->ToFiP) && !Ordered(link->ToFiP)) {
                Pending.push_back(link->ToFiP);
                InPending[Index.at(link->ToFiP)] = true;
            }
        }
    }
    // Cuts the links into a FiP that enters the order before its causes do.
    void DelayOpenLinks(const TFiP* fip) {
        for (TLink* link : fip->InLinks) {
            if (!Waiting(link->FromFiP) && !Ordered(link->FromFiP)) {
                Perception.DelayedLinks.push_back(link);
            }
        }
    }
    bool Ready(const TFiP* fip) const {
        return std::all_of(fip->InLinks.begin(), fip->InLinks.end(), [this](const TLink* link) {
            return Ordered(link->FromFiP) || Dead(link->FromFiP);
        });
    }

    void PlaceRoots() {
        for (const auto& fip : Perception.FiPs) {
            if (!fip->InLinks.empty()) {
                continue;
            }
            if (CanStart(fip.get())) {
                Append(fip.get());
                AddTargets(fip.get());
            } else {
                Kill(fip.get());
            }
        }
    }
    void Kill(TFiP* fip) {
        DeadList.push_back(fip);
        IsDead[Index.at(fip)] = true;
    }
    void CloseDead() {
        bool added = true;
        while (added) {
            added = false;
            for (std::size_t i = 0; i < DeadList.size(); ++i) {
                for (TLink* link : DeadList[i]->OutLinks) {
                    TFiP* target = link->ToFiP;
                    const bool fedByDeadOnly =
                        std::all_of(target->InLinks.begin(), target->InLinks.end(),
                                    [this](const TLink* in) { return Dead(in->FromFiP); });
                    if (!Dead(target) && fedByDeadOnly) {
                        Kill(target);
                        added = true;
                    }
                }
            }
        }
    }
    // With nothing to start from, every FiP that can change on its own enters the order; each
    // enters once and leaves Pending when it does.
    void Fallback() {
        if (!Pending.empty() || Perception.Order.size() >= Perception.FiPs.size()) {
            return;
        }
        for (const auto& fip : Perception.FiPs) {
            if (Ordered(fip.get()) || !CanStart(fip.get())) {
                continue;
            }
            Append(fip.get());
            DelayOpenLinks(fip.get());
            AddTargets(fip.get());
        }
    }
    void Drain() {
        while (!Pending.empty()) {
            bool moved = false;
            for (std::size_t k = Pending.size(); k-- > 0;) {
                TFiP* fip = Pending[k];
                if (Ready(fip)) {
                    Append(fip);
                    AddTargets(fip);
                    moved = true;
                }
            }
            if (moved || Pending.empty()) {
                continue;
            }
            const auto blocked = std::find_if(Pending.begin(), Pending.end(), [this](TFiP* fip) {
                return IsOnCycle(Perception, fip);
            });
            if (blocked == Pending.end()) {
                Perception.Case()->Messages().ShowError(
                    "KAVO check: Expected cycle but found none");
                return;
            }
            TFiP* fip = *blocked;
            Append(fip);
            DelayOpenLinks(fip);
            AddTargets(fip);
        }
    }

    TPerception& Perception;
    std::unordered_map<const TFiP*, std::size_t> Index;
    std::vector<TFiP*> Pending;
    std::vector<TFiP*> DeadList;
    std::vector<bool> InOrder;
    std::vector<bool> InPending;
    std::vector<bool> IsDead;
};

bool HasUncertainLink(const TImPath& path) {
    return std::any_of(path.Links.begin(), path.Links.end(),
                       [](const TLink* link) { return link->Distribution.Count() >= 2; });
}

TProVal CertainOne(const TCase& current) {
    TProVal one(TProValKind::pvMultiplier);
    one.Add(current, 1, 1);
    one.Cumulation = 1;
    return one;
}

TProVal CertainZero() {
    TProVal zero(TProValKind::pvMultiplier);
    zero.SetZero();
    return zero;
}

// Lets events run now and then while an impact is computed; the result of a cancelled computation
// is not used.
void PumpNowAndThen(const TCase& current) {
    static int calls = 0;
    if (++calls % kDistributionsPerPump == 0) {
        current.Context().Status.PumpEvents();
    }
}

// Beyond this many working paths, splitting on shared links gives way to treating the halves of
// a path set as independent.
constexpr double kMaxSplitPaths = 4096;
// Splits given up since the inference began.
int ApproximatedSplits = 0;

// How many working paths splitting the set on the links would make.
double SplitSize(const TImPathSet& set, const std::vector<TLink*>& links) {
    const std::unordered_set<const TLink*> splitting(links.begin(), links.end());
    double size = 0;
    for (const auto& path : set.Paths) {
        double alternatives = 1;
        for (const TLink* link : path->Links) {
            if (splitting.contains(link)) {
                alternatives *= link->Distribution.Count();
            }
        }
        size += alternatives;
    }
    return size;
}

// The links of U with the number of U's paths each occurs in, in order of first appearance.
struct TLinkUse {
    TLink* Link;
    std::size_t UseCount;
};

std::vector<TLinkUse> CountUses(const TImPathSet& set) {
    std::vector<TLinkUse> uses;
    std::unordered_map<const TLink*, std::size_t> position;
    for (const auto& path : set.Paths) {
        for (TLink* link : path->Links) {
            const auto [place, added] = position.emplace(link, uses.size());
            if (added) {
                uses.push_back({link, 1});
            } else {
                ++uses[place->second].UseCount;
            }
        }
    }
    return uses;
}

// The uncertain part of a set of paths that each hold an uncertain link.
TProVal UncertainPart(const TCase& current, TImPathSet& uncertain) {
    std::vector<TLinkUse> uses = CountUses(uncertain);
    TProVal common = CertainOne(current);
    for (std::size_t i = uses.size(); i-- > 0;) {
        if (uses[i].UseCount != uncertain.Paths.size()) {
            continue;
        }
        common.MultiplyBy(current, uses[i].Link->Distribution);
        for (const auto& path : uncertain.Paths) {
            std::erase(path->Links, uses[i].Link);
        }
        uses.erase(uses.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (uses.empty()) {
        return common;
    }
    const TLink* picked = uses.front().Link;
    for (const TLinkUse& use : uses) {
        if (use.Link->Distribution.Count() > picked->Distribution.Count()) {
            picked = use.Link;
        }
    }
    TImPathSet through;
    TImPathSet around;
    for (const auto& path : uncertain.Paths) {
        auto clone = path->Clone();
        if (clone->IndexOf(picked) >= 0) {
            std::erase(clone->Links, picked);
            through.Paths.push_back(std::move(clone));
        } else {
            around.Paths.push_back(std::move(clone));
        }
    }
    TProVal a;
    TProVal b;
    std::vector<TLink*> shared = SharedUncertainLinks(through, around);
    if (!shared.empty() &&
        SplitSize(through, shared) + SplitSize(around, shared) > kMaxSplitPaths) {
        // Conditioning on every shared value would multiply the working paths beyond reach; the
        // halves are then combined as if independent.
        shared.clear();
        ++ApproximatedSplits;
    }
    if (!shared.empty()) {
        for (const TLink* link : shared) {
            through.SplitOn(link);
            around.SplitOn(link);
        }
        a = through.Distribution(current);
        b = around.Distribution(current);
    } else {
        a = PathSetDistribution(current, through);
        b = PathSetDistribution(current, around);
    }
    if (a.Empty()) {
        a = picked->Distribution;
    } else {
        a.MultiplyBy(current, picked->Distribution);
    }
    TProVal result;
    if (b.Empty()) {
        result = std::move(a);
    } else {
        result.SetToSum(current, a, b);
    }
    result.MultiplyBy(current, common);
    return result;
}

}  // namespace

bool BuildPaths(TPerception& perception) {
    perception.Impacts.clear();
    perception.Cycles.clear();
    perception.Paths.clear();
    const bool complete = TPathWalk(perception).Run();
    // A cycle is listed unless an earlier one has the same links. Cycles with equal links have the
    // same hash, so only those are compared.
    const TPathList& paths = perception.Paths;
    const auto hashOf = [&paths](std::size_t p) {
        const std::span<TLink* const> links = paths.LinksOf(p);
        std::size_t hash = links.size();
        for (const TLink* link : links) {
            hash = hash * 1000003u ^ std::hash<const TLink*>{}(link);
        }
        return hash;
    };
    std::vector<std::pair<std::size_t, std::size_t>> cycles;
    for (std::size_t p = 0; p < paths.size(); ++p) {
        if (paths[p].IsCycle()) {
            cycles.emplace_back(hashOf(p), p);
        }
    }
    std::sort(cycles.begin(), cycles.end());
    std::vector<bool> repeated(paths.size(), false);
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        for (std::size_t j = i; j-- > 0 && cycles[j].first == cycles[i].first;) {
            if (!repeated[cycles[j].second] &&
                paths[cycles[j].second].SameAs(paths[cycles[i].second])) {
                repeated[cycles[i].second] = true;
                break;
            }
        }
    }
    std::sort(cycles.begin(), cycles.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    for (const auto& [hash, p] : cycles) {
        if (!repeated[p]) {
            perception.Cycles.push_back(paths[p]);
        }
    }
    perception.CycleIndex = -1;
    perception.InferenceComplete = complete;
    return complete;
}

void FindOrder(TPerception& perception) {
    TOrdering(perception).Run();
}

void InferInfluences(TPerception& perception) {
    const TCase& current = *perception.Case();
    TContext& context = current.Context();
    const std::string text = InferringText(perception);
    context.Status.SetStatusText(text);
    context.Status.PumpEvents();

    const bool complete = BuildPaths(perception);
    if (context.AnalysisCancelled) {
        perception.ResultsValid[TPerception::Inferred] = false;
        context.Status.SetStatusText("");
        return;
    }
    FindOrder(perception);

    // The paths of every ordered pair of FiPs, gathered in one pass.
    const std::size_t n = perception.FiPs.size();
    std::unordered_map<const TFactor*, std::size_t> factorIndex;
    for (std::size_t i = 0; i < n; ++i) {
        factorIndex.emplace(perception.FiPs[i]->Factor, i);
    }
    perception.Impacts.clear();
    perception.Impacts.reserve(n * n);
    for (const auto& from : perception.FiPs) {
        for (const auto& to : perception.FiPs) {
            perception.Impacts.push_back(std::make_unique<TImpact>(from->Factor, to->Factor));
        }
    }
    // Each impact's paths in one allocation: counted first, then placed.
    std::vector<std::size_t> impactOf(perception.Paths.size());
    std::vector<std::size_t> counts(n * n, 0);
    for (const TPath path : perception.Paths) {
        const std::size_t i =
            factorIndex.at(path.StartFactor()) * n + factorIndex.at(path.EndFactor());
        impactOf[path.Index()] = i;
        ++counts[i];
    }
    for (std::size_t i = 0; i < n * n; ++i) {
        perception.Impacts[i]->Paths.reserve(counts[i]);
    }
    for (const TPath path : perception.Paths) {
        perception.Impacts[impactOf[path.Index()]]->Paths.push_back(path);
    }

    TImPath::Created = TImPath::Destroyed = 0;
    TImPathSet::Created = TImPathSet::Destroyed = 0;
    ApproximatedSplits = 0;
    for (std::size_t i = 0; i < perception.Impacts.size(); ++i) {
        TImpact* impact = perception.Impacts[i].get();
        if (impact->Paths.size() > 1 && i % n == 0) {
            context.Status.SetStatusText(text + " (impacts of " + std::to_string(i / n + 1) +
                                         " of " + std::to_string(n) + " factors)");
        }
        context.Status.PumpEvents();
        if (context.AnalysisCancelled) {
            perception.ResultsValid[TPerception::Inferred] = false;
            context.Status.SetStatusText("");
            return;
        }
        ComputeImpact(current, impact);
    }
    if (TImPath::Created != TImPath::Destroyed) {
        current.Messages().ShowError(std::to_string(TImPath::Created) + " paths created, " +
                                     std::to_string(TImPath::Destroyed) + " freed");
    }
    if (TImPathSet::Created != TImPathSet::Destroyed) {
        current.Messages().ShowError(std::to_string(TImPathSet::Created) + " path sets created, " +
                                     std::to_string(TImPathSet::Destroyed) + " freed");
    }
    if (ApproximatedSplits > 0) {
        current.Messages().ShowWarning(
            "Some influences in the perception of " + perception.OwnerName() +
            " share too many uncertain links to follow every combination of their values; they "
            "were combined as if independent");
    }
    perception.InferenceComplete = complete;
    perception.ResultsValid = {true, false, false, false};
    context.Status.SetStatusText("");
}

void ComputeImpact(const TCase& current, TImpact* impact) {
    if (impact == nullptr) {
        current.Messages().ShowError("Unexpectd NIL while calculating path impact");
        return;
    }
    const int approximatedBefore = ApproximatedSplits;
    if (impact->Paths.empty()) {
        impact->Multiplier = CertainZero();
    } else if (impact->Paths.size() == 1) {
        impact->Multiplier = impact->Paths.front().Multiplier();
    } else {
        TProVal certainSum = CertainZero();
        TImPathSet uncertain;
        // Working distributions that keep their storage from path to path; the sum is formed as
        // IncreaseBy forms it.
        TProVal multiplier;
        TProVal before;
        for (const TPath path : impact->Paths) {
            if (path.MultiplierPairs().size() >= 2) {
                const std::span<TLink* const> links = path.Links();
                uncertain.Paths.push_back(
                    std::make_unique<TImPath>(std::vector<TLink*>(links.begin(), links.end())));
            } else {
                path.MultiplierInto(multiplier);
                before = certainSum;
                certainSum.SetToSum(current, before, multiplier);
            }
        }
        if (uncertain.Paths.empty()) {
            impact->Multiplier = std::move(certainSum);
        } else {
            impact->Multiplier = PathSetDistribution(current, uncertain);
            impact->Multiplier.IncreaseBy(current, certainSum);
        }
    }
    impact->Vector = impact->Multiplier.ToVector(current);
    impact->Approximate = ApproximatedSplits != approximatedBefore;
}

TProVal PathSetDistribution(const TCase& current, const TImPathSet& set) {
    PumpNowAndThen(current);
    if (set.Paths.size() == 1 && !set.Paths.front()->Links.empty()) {
        const std::vector<TLink*>& links = set.Paths.front()->Links;
        TProVal product = links.front()->Distribution;
        for (std::size_t i = 1; i < links.size(); ++i) {
            product.MultiplyBy(current, links[i]->Distribution);
        }
        return product;
    }
    if (set.Paths.size() < 2) {
        return TProVal(TProValKind::pvMultiplier);
    }
    TProVal certainSum = CertainZero();
    TImPathSet uncertain;
    for (std::size_t i = set.Paths.size(); i-- > 0;) {
        const TImPath& path = *set.Paths[i];
        if (HasUncertainLink(path)) {
            uncertain.Paths.push_back(std::make_unique<TImPath>(path.Links));
            continue;
        }
        TProVal product;
        product.SetMultiplier(current, 2, 0);
        for (const TLink* link : path.Links) {
            product.MultiplyBy(current, link->Distribution);
        }
        certainSum.IncreaseBy(current, product);
    }
    if (uncertain.Paths.empty()) {
        return certainSum;
    }
    TProVal result = UncertainPart(current, uncertain);
    result.Focus(20);
    result.IncreaseBy(current, certainSum);
    return result;
}

std::vector<TLink*> SharedUncertainLinks(const TImPathSet& a, const TImPathSet& b) {
    std::unordered_set<const TLink*> inB;
    for (const auto& path : b.Paths) {
        inB.insert(path->Links.begin(), path->Links.end());
    }
    std::vector<TLink*> shared;
    std::unordered_set<const TLink*> listed;
    for (const auto& path : a.Paths) {
        for (TLink* link : path->Links) {
            if (link->Distribution.Count() >= 2 && inB.contains(link) &&
                listed.insert(link).second) {
                shared.push_back(link);
            }
        }
    }
    return shared;
}

TImpact* ImpactBetween(const TPerception& perception, const TFiP* from, const TFiP* to) {
    const std::size_t n = perception.FiPs.size();
    if (perception.Impacts.size() == n * n) {
        // Impacts are laid out by FiP index as long as the FiPs are those inferred from.
        const auto index = [&perception](const TFiP* fip) {
            const auto& fips = perception.FiPs;
            return static_cast<std::size_t>(
                std::find_if(fips.begin(), fips.end(),
                             [fip](const auto& entry) { return entry.get() == fip; }) -
                fips.begin());
        };
        const std::size_t i = index(from);
        const std::size_t j = index(to);
        if (i < n && j < n) {
            TImpact* impact = perception.Impacts[i * n + j].get();
            if (impact->FromFactor == from->Factor && impact->ToFactor == to->Factor) {
                return impact;
            }
        }
    }
    for (const auto& impact : perception.Impacts) {
        if (impact->FromFactor == from->Factor && impact->ToFactor == to->Factor) {
            return impact.get();
        }
    }
    return nullptr;
}

bool IsOnCycle(const TPerception& perception, const TFiP* fip) {
    return std::any_of(perception.Cycles.begin(), perception.Cycles.end(),
                       [fip](const TPath& cycle) { return cycle.Visits(fip->Factor); });
}

void CollectUncertainItems(TPerception& perception) {
    perception.UncertainItems.clear();
    for (const auto& prospect : perception.Prospects) {
        if (prospect->Distribution.Count() > 1) {
            perception.UncertainItems.emplace_back(prospect.get());
        }
    }
    for (const auto& link : perception.Links) {
        if (link->Distribution.Count() > 1) {
            perception.UncertainItems.emplace_back(link.get());
        }
    }
}

std::uint64_t UncertainCombinations(const TPerception& perception) {
    std::uint64_t combinations = 1;
    const auto multiply = [&combinations](const TProVal& distribution) {
        const std::uint64_t count = distribution.Count();
        if (count > 1) {
            const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
            combinations = combinations > most / count ? most : combinations * count;
        }
    };
    for (const auto& prospect : perception.Prospects) {
        multiply(prospect->Distribution);
    }
    for (const auto& link : perception.Links) {
        multiply(link->Distribution);
    }
    return combinations;
}

std::uint64_t SampledCombinations(const TPerception& perception) {
    return UncertainCombinations(perception) > kMaxCombinations ? kMaxCombinations : 0;
}

void SelectNextCycle(TPerception& perception) {
    perception.Selection.clear();
    if (perception.Cycles.empty()) {
        return;
    }
    const int count = static_cast<int>(perception.Cycles.size());
    perception.CycleIndex = perception.CycleIndex + 1 >= count ? 0 : perception.CycleIndex + 1;
    const TPath& cycle = perception.Cycles[static_cast<std::size_t>(perception.CycleIndex)];
    perception.Selection.emplace_back(cycle.Links().front()->FromFiP);
    for (TLink* link : cycle.Links()) {
        perception.Selection.emplace_back(link->ToFiP);
        perception.Selection.emplace_back(link);
    }
}

}  // namespace kavo
