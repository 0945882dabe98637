#include "support/CaseDifferences.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo::test {

namespace {

std::string CommentText(const TCommentedObject& item) {
    std::string text;
    for (const std::string& line : item.Comment) {
        text += line + "\n";
    }
    return Trim(text);
}

std::string Names(const std::vector<TTag*>& tags) {
    std::string text;
    for (const TTag* tag : tags) {
        text += tag->Name + ";";
    }
    return text;
}

template <typename T>
std::string Text(const T& value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

template <typename T, std::size_t N>
std::string Text(const std::array<T, N>& values) {
    std::string text;
    for (const T& value : values) {
        text += Text(+value) + ",";
    }
    return text;
}

std::string Text(const TProVal& distribution) {
    std::string text = Text(static_cast<int>(distribution.Kind)) + ":";
    for (const TPVPair& pair : distribution.Pairs()) {
        text += "(" + Text(pair.Prob) + "," + Text(pair.Value) + ")";
    }
    return text;
}

// Collects differences under a path of names.
class TComparer {
  public:
    std::vector<std::string> Found;

    template <typename T>
    void Same(const std::string& what, const T& expected, const T& actual) {
        const std::string a = Text(expected);
        const std::string b = Text(actual);
        if (a != b) {
            Found.push_back(what + ": expected " + a + ", got " + b);
        }
    }
    void Same(const std::string& what, const std::string& expected, const std::string& actual) {
        if (expected != actual) {
            Found.push_back(what + ": expected \"" + expected + "\", got \"" + actual + "\"");
        }
    }
    void Concept(const std::string& what, const TConcept& a, const TConcept& b) {
        Same(what + " name", a.Name, b.Name);
        Same(what + " tags", Names(a.Tags), Names(b.Tags));
        Same(what + " comment", CommentText(a), CommentText(b));
    }
    bool SameSize(const std::string& what, std::size_t a, std::size_t b) {
        Same(what + " count", static_cast<long>(a), static_cast<long>(b));
        return a == b;
    }
};

std::vector<const TFiP*> SortedFiPs(const TPerception& perception) {
    std::vector<const TFiP*> fips;
    for (const auto& fip : perception.FiPs) {
        fips.push_back(fip.get());
    }
    std::stable_sort(fips.begin(), fips.end(), [](const TFiP* a, const TFiP* b) {
        return CompareNames(a->Factor->Name, b->Factor->Name) < 0;
    });
    return fips;
}

std::vector<const TLink*> SortedLinks(const TPerception& perception) {
    std::vector<const TLink*> links;
    for (const auto& link : perception.Links) {
        links.push_back(link.get());
    }
    std::stable_sort(links.begin(), links.end(), [](const TLink* a, const TLink* b) {
        const int order = CompareNames(a->FromFiP->Factor->Name, b->FromFiP->Factor->Name);
        return order != 0 ? order < 0
                          : CompareNames(a->ToFiP->Factor->Name, b->ToFiP->Factor->Name) < 0;
    });
    return links;
}

void ComparePerceptions(TComparer& c, const std::string& what, const TPerception& a,
                        const TPerception& b) {
    const std::vector<const TFiP*> fa = SortedFiPs(a);
    const std::vector<const TFiP*> fb = SortedFiPs(b);
    if (c.SameSize(what + " FiPs", fa.size(), fb.size())) {
        for (std::size_t i = 0; i < fa.size(); ++i) {
            const TFiP& x = *fa[i];
            const TFiP& y = *fb[i];
            const std::string at = what + " FiP " + x.Factor->Name;
            c.Same(at + " factor", x.Factor->Name, y.Factor->Name);
            c.Same(at + " operator", static_cast<int>(x.Operator), static_cast<int>(y.Operator));
            c.Same(at + " X", x.X, y.X);
            c.Same(at + " Y", x.Y, y.Y);
            c.Same(at + " range", x.ActionRange.Values, y.ActionRange.Values);
            c.Same(at + " chosen level", x.ChosenLevel, y.ChosenLevel);
            c.Same(at + " feasible levels", x.FeasibleLevels, y.FeasibleLevels);
            c.Same(at + " feasible count", x.FeasibleCount, y.FeasibleCount);
            c.Same(at + " round value", x.RoundValue, y.RoundValue);
            c.Same(at + " pending change", x.PendingChange, y.PendingChange);
            c.Same(at + " comment", CommentText(x), CommentText(y));
            const TGoal* ga = a.GoalOf(&x);
            const TGoal* gb = b.GoalOf(&y);
            c.Same(at + " has goal", ga != nullptr, gb != nullptr);
            if (ga != nullptr && gb != nullptr) {
                c.Same(at + " goal type", static_cast<int>(ga->GoalType),
                       static_cast<int>(gb->GoalType));
                c.Same(at + " goal level", +ga->Level, +gb->Level);
                c.Same(at + " goal priority", +ga->Priority, +gb->Priority);
                c.Same(at + " goal utilities", ga->Utilities.Values, gb->Utilities.Values);
                c.Same(at + " goal low", +ga->LowUtility, +gb->LowUtility);
                c.Same(at + " goal high", +ga->HighUtility, +gb->HighUtility);
            }
            const TProspect* pa = a.ProspectOf(&x);
            const TProspect* pb = b.ProspectOf(&y);
            c.Same(at + " has prospect", pa != nullptr, pb != nullptr);
            if (pa != nullptr && pb != nullptr) {
                c.Same(at + " prospect level", +pa->Level, +pb->Level);
                c.Same(at + " prospect uncertainty", +pa->Uncertainty, +pb->Uncertainty);
                c.Same(at + " prospect vector", pa->Vector.Values, pb->Vector.Values);
                c.Same(at + " prospect distribution", Text(pa->Distribution),
                       Text(pb->Distribution));
            }
        }
    }
    c.SameSize(what + " goals", a.Goals.size(), b.Goals.size());
    c.SameSize(what + " prospects", a.Prospects.size(), b.Prospects.size());
    const std::vector<const TLink*> la = SortedLinks(a);
    const std::vector<const TLink*> lb = SortedLinks(b);
    if (c.SameSize(what + " links", la.size(), lb.size())) {
        for (std::size_t i = 0; i < la.size(); ++i) {
            const TLink& x = *la[i];
            const TLink& y = *lb[i];
            const std::string at =
                what + " link " + x.FromFiP->Factor->Name + " -> " + x.ToFiP->Factor->Name;
            c.Same(at + " cause", x.FromFiP->Factor->Name, y.FromFiP->Factor->Name);
            c.Same(at + " effect", x.ToFiP->Factor->Name, y.ToFiP->Factor->Name);
            c.Same(at + " level", +x.Level, +y.Level);
            c.Same(at + " uncertainty", +x.Uncertainty, +y.Uncertainty);
            c.Same(at + " vector", x.Vector.Values, y.Vector.Values);
            c.Same(at + " distribution", Text(x.Distribution), Text(y.Distribution));
            c.Same(at + " comment", CommentText(x), CommentText(y));
        }
    }
}

void CompareOptions(TComparer& c, const TCase& a, const TCase& b) {
    c.Same("font", a.Font.Name + "/" + Text(a.Font.Size), b.Font.Name + "/" + Text(b.Font.Size));
    c.Same("change levels", a.ChangeLevels.Values, b.ChangeLevels.Values);
    c.Same("link multipliers", a.LinkMultipliers.Values, b.LinkMultipliers.Values);
    c.Same("utility levels", a.UtilityLevels.Values, b.UtilityLevels.Values);
    c.Same("max utility", a.MaxUtility, b.MaxUtility);
    c.Same("base level", a.BaseLevel, b.BaseLevel);
    c.Same("standard utility vectors", a.StdUtilityVectors.Entries, b.StdUtilityVectors.Entries);
    c.Same("negative utility vectors", a.NegUtilityVectors.Entries, b.NegUtilityVectors.Entries);
    c.Same("max width", a.MaxWidth, b.MaxWidth);
    c.Same("max height", a.MaxHeight, b.MaxHeight);
    c.Same("autofocus threshold", a.AutofocusThreshold, b.AutofocusThreshold);
    c.Same("autofocus resolution", a.AutofocusResolution, b.AutofocusResolution);
    c.Same("iterations", a.Iterations, b.Iterations);
    c.Same("evaluations", a.Evaluations, b.Evaluations);
    c.Same("default action range", a.DefaultActionRange.Values, b.DefaultActionRange.Values);
    c.Same("range bar", a.RangeBarShown, b.RangeBarShown);
    c.Same("random seed", a.RandomSeed, b.RandomSeed);
    c.Same("sample", a.SampleFromDistributions, b.SampleFromDistributions);
    c.Same("adapt goals", a.AdaptGoals, b.AdaptGoals);
    c.Same("maintain action range", a.MaintainActionRange, b.MaintainActionRange);
    c.Same("grouping",
           Text(+a.ArenaGrouping) + Text(+a.ActorGrouping) + Text(+a.FactorGrouping) +
               Text(a.MentionedOnly),
           Text(+b.ArenaGrouping) + Text(+b.ActorGrouping) + Text(+b.FactorGrouping) +
               Text(b.MentionedOnly));
    std::string la, lb;
    for (const std::string& line : a.AnalysisLines) {
        la += line + "\n";
    }
    for (const std::string& line : b.AnalysisLines) {
        lb += line + "\n";
    }
    c.Same("analysis lines", la, lb);
}

void CompareDictionary(TComparer& c, const TCase& a, const TCase& b) {
    if (c.SameSize("tags", a.TagList.Size(), b.TagList.Size())) {
        for (int i = 0; i < a.TagList.Size(); ++i) {
            const TTag& x = *a.TagList[i];
            const TTag& y = *b.TagList[i];
            c.Concept("tag " + x.Name, x, y);
            c.Same("tag " + x.Name + " colours",
                   Text(x.LightColor) + "/" + Text(x.MidColor) + "/" + Text(x.DarkColor),
                   Text(y.LightColor) + "/" + Text(y.MidColor) + "/" + Text(y.DarkColor));
        }
    }
    if (c.SameSize("groups", a.GroupList.Size(), b.GroupList.Size())) {
        for (int i = 0; i < a.GroupList.Size(); ++i) {
            const TGroup& x = *a.GroupList[i];
            const TGroup& y = *b.GroupList[i];
            c.Concept("group " + x.Name, x, y);
            c.Same("group " + x.Name + " kind", static_cast<int>(x.GroupKind),
                   static_cast<int>(y.GroupKind));
            c.Same("group " + x.Name + " checked", x.Checked, y.Checked);
        }
    }
    if (c.SameSize("factors", a.FactorList.Size(), b.FactorList.Size())) {
        for (int i = 0; i < a.FactorList.Size(); ++i) {
            const TFactor& x = *a.FactorList[i];
            const TFactor& y = *b.FactorList[i];
            const std::string at = "factor " + x.Name;
            c.Concept(at, x, y);
            c.Same(at + " owner", x.Owner ? x.Owner->Name : "", y.Owner ? y.Owner->Name : "");
            c.Same(at + " action", x.IsAction, y.IsAction);
            c.Same(at + " stock", x.IsStock, y.IsStock);
        }
    }
    if (c.SameSize("actors", a.ActorList.Size(), b.ActorList.Size())) {
        for (int i = 0; i < a.ActorList.Size(); ++i) {
            const TActor& x = *a.ActorList[i];
            const TActor& y = *b.ActorList[i];
            const std::string at = "actor " + x.Name;
            c.Concept(at, x, y);
            c.Same(at + " short name", x.ShortName, y.ShortName);
            const auto names = [](const std::vector<TFactor*>& factors) {
                std::string text;
                for (const TFactor* factor : factors) {
                    text += factor->Name + ";";
                }
                return text;
            };
            c.Same(at + " attributes", names(x.Attributes), names(y.Attributes));
            c.Same(at + " actions", names(x.Actions), names(y.Actions));
        }
    }
    if (c.SameSize("relations", a.Relations.size(), b.Relations.size())) {
        for (std::size_t i = 0; i < a.Relations.size(); ++i) {
            const TActorRelation& x = *a.Relations[i];
            const TActorRelation& y = *b.Relations[i];
            const std::string at = "relation " + Text(i);
            c.Same(at + " from", x.From->Name, y.From->Name);
            c.Same(at + " to", x.To->Name, y.To->Name);
            c.Same(at + " strengths", x.Strength, y.Strength);
            c.Same(at + " comment", CommentText(x), CommentText(y));
        }
    }
}

}  // namespace

std::vector<std::string> CaseDifferences(const TCase& expected, const TCase& actual) {
    TComparer c;
    c.Same("case name", expected.Name, actual.Name);
    c.Same("case comment", CommentText(expected), CommentText(actual));
    CompareOptions(c, expected, actual);
    CompareDictionary(c, expected, actual);
    if (c.SameSize("arenas", expected.ArenaList.Size(), actual.ArenaList.Size())) {
        for (int i = 0; i < expected.ArenaList.Size(); ++i) {
            const TArena& x = *expected.ArenaList[i];
            const TArena& y = *actual.ArenaList[i];
            const std::string at = "arena " + x.Name;
            c.Concept(at, x, y);
            ComparePerceptions(c, at + " analyst view", *x.AnalystView, *y.AnalystView);
            if (!c.SameSize(at + " actors", x.Actors.size(), y.Actors.size())) {
                continue;
            }
            for (std::size_t k = 0; k < x.Actors.size(); ++k) {
                const TAiA& r = *x.Actors[k];
                const TAiA& s = *y.Actors[k];
                const std::string in = at + " actor " + r.Actor->Name;
                c.Same(in + " name", r.Actor->Name, s.Actor->Name);
                c.Same(in + " priority", r.Priority, s.Priority);
                c.Same(in + " comment", CommentText(r), CommentText(s));
                ComparePerceptions(c, in, *r.Perception, *s.Perception);
            }
        }
    }
    return c.Found;
}

}  // namespace kavo::test
