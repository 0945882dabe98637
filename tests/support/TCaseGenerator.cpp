#include "support/TCaseGenerator.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo::test {

namespace {

// Texts a name may hold besides letters: some that HTML or the document treat specially and some
// beyond ASCII, none that the model refuses.
const std::vector<std::string> kOddTexts = {"_",      "&",      "&amp;", "<b>",    "'",
                                            "\u00e4", "\u20ac", "\"",    "&quot;", "\u00df",
                                            "__",     "=",      "|",     "-->",    "#"};

const std::vector<std::string> kCommentTexts = {
    "</td>",        "</p>", "</tr>",          "</table>",  "<tr class=\"comment\">",
    "<!-- tag -->", "&lt;", "<p class=cmnt>", "\u00fcber", "caf\u00e9 \u20ac",
    "<b>bold</b>",  "&amp;"};

double Parsed(const char* text) {
    double value = 0;
    std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

}  // namespace

int TCaseGenerator::Draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(Random);
}

bool TCaseGenerator::Chance(double p) {
    return std::bernoulli_distribution(p)(Random);
}

std::string TCaseGenerator::Name(const char* stem) {
    std::string name = std::string(stem) + " " + std::to_string(++Serial);
    if (Shape.HostileText && Chance(0.3)) {
        name +=
            kOddTexts[static_cast<std::size_t>(Draw(0, static_cast<int>(kOddTexts.size()) - 1))];
        name += "x";
    }
    return name;
}

std::vector<std::string> TCaseGenerator::Comment() {
    if (Chance(0.5)) {
        return {};
    }
    std::vector<std::string> lines;
    const int count = Draw(1, 3);
    for (int i = 0; i < count; ++i) {
        std::string line = "Line " + std::to_string(i);
        if (Shape.HostileText && Chance(0.2)) {
            line += " " + kCommentTexts[static_cast<std::size_t>(
                              Draw(0, static_cast<int>(kCommentTexts.size()) - 1))];
        }
        if (Chance(0.1)) {
            line = "";
        }
        lines.push_back(line);
    }
    return lines;
}

void TCaseGenerator::Fill(TCase& target) {
    target.Name = Name("Case");
    target.Comment = Comment();
    Options(target);
    Dictionary(target);
    Arenas(target);
}

void TCaseGenerator::Options(TCase& target) {
    static const double kLevels[] = {0.25, 0.5, 1, 1.5, 2, 3, 4, 6, 8, 12, 20};
    const auto level = [&](int from) { return kLevels[Draw(from, 10)]; };
    target.SetChangeLevels(level(0), level(3), level(6));
    target.SetUtilityLevels(level(0), level(3), level(6));
    target.SetLinkMultiplier(kLevels[Draw(3, 7)]);
    target.BaseLevel = kLevels[Draw(0, 10)];
    for (auto& entry : target.StdUtilityVectors.Entries) {
        entry = static_cast<std::int8_t>(Draw(-3, 3));
    }
    for (auto& entry : target.NegUtilityVectors.Entries) {
        entry = static_cast<std::int8_t>(Draw(-3, 0));
    }
    static const char* kFonts[] = {"MS Sans Serif", "Arial", "DejaVu Sans", "Small Fonts"};
    target.Font = TFont{kFonts[Draw(0, 3)], Draw(6, 14)};
    target.MaxWidth = Draw(200, 4000);
    target.MaxHeight = Draw(200, 2000);
    target.AutofocusThreshold = Draw(7, 100);
    target.AutofocusResolution = Draw(1, 20);
    target.Iterations = Draw(1, 9);
    target.Evaluations = Draw(1, 5000) * 100;
    for (int l = kMinLevel; l <= kMaxLevel; ++l) {
        target.DefaultActionRange[l] = Chance(0.7);
    }
    target.RangeBarShown = Chance(0.5);
    target.RandomSeed = static_cast<std::int32_t>(Random());
    target.SampleFromDistributions = Chance(0.5);
    target.AdaptGoals = Chance(0.5);
    target.MaintainActionRange = Chance(0.5);
    target.ArenaGrouping = static_cast<std::uint8_t>(Draw(0, 4));
    target.ActorGrouping = static_cast<std::uint8_t>(Draw(0, 5));
    target.FactorGrouping = static_cast<std::uint8_t>(Draw(0, 3));
    target.MentionedOnly = Chance(0.5);
    if (Chance(0.5)) {
        target.AnalysisLines = {
            "<meta name=\"KAVO analysis 0\" content=\"Factor overview=101\">",
            "<meta name=\"KAVO analysis 3\" content=\"Actor dependency=0011\">"};
    }
}

void TCaseGenerator::Dictionary(TCase& target) {
    for (int i = 0; i < Shape.Tags; ++i) {
        if (TTag* tag = target.FindOrCreateTag(Name("Tag"))) {
            tag->LightColor = static_cast<std::uint32_t>(Draw(0, 0xFFFFFF));
            tag->MidColor = static_cast<std::uint32_t>(Draw(0, 0xFFFFFF));
            tag->DarkColor = static_cast<std::uint32_t>(Draw(0, 0xFFFFFF));
            tag->Comment = Comment();
        }
    }
    const auto tagRandomly = [&](TConcept& item) {
        for (const auto& tag : target.TagList) {
            if (Chance(0.3)) {
                item.Tags.insert(item.Tags.begin() + Draw(0, static_cast<int>(item.Tags.size())),
                                 tag.get());
            }
        }
    };
    static const char* kGroupKinds[] = {"arenas", "actors", "factors"};
    for (int i = 0; i < Shape.Groups; ++i) {
        if (TGroup* group = target.FindOrCreateGroup(Name("Group"), kGroupKinds[Draw(0, 2)])) {
            group->Checked = Chance(0.5);
            tagRandomly(*group);
            group->UpdateDescription();
        }
    }
    for (int i = 0; i < Shape.Factors; ++i) {
        if (TFactor* factor = target.FindOrCreateFactor(Name("Factor"), Chance(0.3))) {
            tagRandomly(*factor);
            factor->Comment = Comment();
        }
    }
    for (int i = 0; i < Shape.Actors; ++i) {
        const std::string shortName = "S" + std::to_string(i) + (Chance(0.2) ? "_x" : "");
        TActor* actor = target.FindOrCreateActor(Name("Actor"), shortName);
        if (actor == nullptr) {
            continue;
        }
        tagRandomly(*actor);
        actor->Comment = Comment();
        for (int k = 0; k < Shape.AttributesPerActor + Shape.ActionsPerActor; ++k) {
            const bool isAction = k >= Shape.AttributesPerActor;
            if (TFactor* factor = target.FindOrCreateFactor(Name(isAction ? "Act" : "Attr"),
                                                            Chance(0.3), isAction, shortName)) {
                tagRandomly(*factor);
                factor->Comment = Comment();
            }
        }
    }
    for (int i = 0; i < Shape.Relations && target.ActorList.Size() > 1; ++i) {
        TActor* from = target.ActorList[Draw(0, target.ActorList.Size() - 1)];
        TActor* to = target.ActorList[Draw(0, target.ActorList.Size() - 1)];
        if (from == to || target.FindRelation(from, to) >= 0) {
            continue;
        }
        auto relation = std::make_unique<TActorRelation>(from, to);
        relation->Strength = {
            static_cast<std::int16_t>(Draw(-5, 5)), static_cast<std::int16_t>(Draw(0, 1)),
            static_cast<std::int16_t>(Draw(0, 1)), static_cast<std::int16_t>(Draw(0, 1))};
        relation->Comment = Comment();
        target.Relations.push_back(std::move(relation));
    }
}

void TCaseGenerator::Arenas(TCase& target) {
    for (int i = 0; i < Shape.Arenas; ++i) {
        // Some arenas are simulation rounds, whose analyst view shows the state of the factors.
        const int kind = Shape.HostileText ? Draw(0, 5) : 5;
        const std::string name = kind == 0   ? "*Round  0"
                                 : kind == 1 ? "*Round  " + std::to_string(Draw(1, 99))
                                             : Name("Arena");
        const int before = target.ArenaList.Size();
        TArena* arena = target.FindOrCreateArena(name);
        if (arena == nullptr || target.ArenaList.Size() == before) {
            continue;
        }
        for (const auto& tag : target.TagList) {
            if (Chance(0.3)) {
                arena->Tags.push_back(tag.get());
            }
        }
        arena->Comment = Comment();
        std::vector<TActor*> actors;
        for (const auto& actor : target.ActorList) {
            actors.push_back(actor.get());
        }
        std::shuffle(actors.begin(), actors.end(), Random);
        actors.resize(std::min<std::size_t>(actors.size(), Shape.ActorsPerArena));
        for (TActor* actor : actors) {
            TAiA* record = arena->AddActor(actor);
            record->Priority = static_cast<int>(arena->Actors.size());
            record->Comment = Comment();
            Perception(target, *record->Perception, false);
        }
        Perception(target, *arena->AnalystView,
                   arena->Name.starts_with("*Round") && arena->Name != "*Round  0");
    }
}

void TCaseGenerator::Perception(TCase& target, TPerception& perception, bool roundState) {
    static const char* kRoundValues[] = {"0",    "12",   "-3",       "2.35",  "0.125",
                                         "-0.5", "45.5", "1.00E-05", "12300", "-7.25"};
    std::vector<TFactor*> factors;
    for (const auto& factor : target.FactorList) {
        factors.push_back(factor.get());
    }
    std::shuffle(factors.begin(), factors.end(), Random);
    factors.resize(std::min<std::size_t>(factors.size(), Shape.FiPsPerPerception));
    for (TFactor* factor : factors) {
        auto fip = std::make_unique<TFiP>(factor);
        fip->X = Draw(-50, 2000);
        fip->Y = Draw(-50, 1500);
        fip->Operator = static_cast<TOperator>(Draw(0, 3));
        fip->Comment = Comment();
        if (factor->IsAction) {
            for (int l = kMinLevel; l <= kMaxLevel; ++l) {
                fip->ActionRange[l] = Chance(0.6);
            }
            if (Chance(0.4)) {
                fip->ChosenLevel = static_cast<std::int16_t>(Draw(kMinLevel, kMaxLevel));
                fip->ActionRange[fip->ChosenLevel] = true;
            }
            fip->UpdateFeasibleLevels();
        }
        TFiP* added = fip.get();
        perception.Add(std::move(fip));
        if (Chance(0.4)) {
            perception.Add(std::make_unique<TProspect>(target, added, Draw(-3, 3), Draw(0, 3)));
        }
        const int goal = Draw(0, 5);
        if (goal == 0) {
            perception.Add(std::make_unique<TGoal>(target, added, TGoalType::gtStandard,
                                                   Draw(-3, 3), Draw(0, 3)));
        } else if (goal == 1) {
            perception.Add(std::make_unique<TGoal>(target, added, TGoalType::gtNegative,
                                                   Draw(-3, 3), Draw(1, 3)));
        } else if (goal == 2) {
            TLevels<std::int8_t> utilities;
            for (auto& u : utilities.Values) {
                u = static_cast<std::int8_t>(Draw(-3, 3));
            }
            perception.Add(std::make_unique<TGoal>(added, utilities));
        } else if (roundState) {
            added->RoundValue = Parsed(kRoundValues[Draw(0, 9)]);
            added->PendingChange = Parsed(kRoundValues[Draw(0, 9)]);
        }
    }
    const int n = static_cast<int>(perception.FiPs.size());
    // Drawn pairs that are taken already are drawn again, a bounded number of times.
    const auto wanted = static_cast<std::size_t>(Shape.LinksPerPerception);
    for (int i = 0; i < 10 * Shape.LinksPerPerception && n > 1 && perception.Links.size() < wanted;
         ++i) {
        TFiP* from = perception.FiPs[static_cast<std::size_t>(Draw(0, n - 1))].get();
        TFiP* to = perception.FiPs[static_cast<std::size_t>(Draw(0, n - 1))].get();
        if (from == to || perception.FindLink(from->Factor, to->Factor) != nullptr) {
            continue;
        }
        auto link = std::make_unique<TLink>(target, from, to);
        link->Level = static_cast<std::int8_t>(Draw(-3, 3));
        link->Uncertainty = static_cast<std::uint8_t>(Draw(0, 3));
        link->Vector = UncertaintyProfile(link->Uncertainty, link->Level);
        link->Distribution.SetMultiplier(target, link->Level, link->Uncertainty);
        link->Comment = Comment();
        perception.Add(std::move(link));
    }
    perception.Selection.clear();
}

}  // namespace kavo::test
