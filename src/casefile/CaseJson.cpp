#include "casefile/CaseJson.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "casefile/CaseFileText.h"
#include "casefile/TLineScanner.h"
#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {

namespace {

using TJson = nlohmann::ordered_json;

constexpr const char* kOperatorNames[] = {"add", "mul", "min", "max"};
constexpr const char* kGoalTypeNames[] = {"standard", "negative", "custom"};
constexpr const char* kGroupKindNames[] = {"arena", "actor", "factor"};
constexpr const char* kRelationKeys[] = {"affect", "cooperation", "dominance", "frankness"};

void AddComment(const TCommentedObject& item, TJson& target) {
    if (item.CommentIsEmpty()) {
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < item.Comment.size(); ++i) {
        text += (i > 0 ? "\n" : "") + item.Comment[i];
    }
    target["comment"] = text;
}

void AddTags(const TConcept& item, TJson& target) {
    if (item.Tags.empty()) {
        return;
    }
    TJson names = TJson::array();
    for (const TTag* tag : item.Tags) {
        names.push_back(tag->Name);
    }
    target["tags"] = std::move(names);
}

// "#rrggbb" of a colour stored with red in the low byte.
std::string ColorText(std::uint32_t stored) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (stored >> shift) & 0xFF;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

TJson LevelList(const TActionRange& range) {
    TJson levels = TJson::array();
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        if (range[level]) {
            levels.push_back(level);
        }
    }
    return levels;
}

// Priority 1..3, then goal level -3..+3, then the utility of each change level -3..+3.
TJson UtilityTable(const TUtilityVectors& vectors) {
    TJson priorities = TJson::array();
    for (int priority = 1; priority <= 3; ++priority) {
        TJson goalLevels = TJson::array();
        for (int goalLevel = kMinLevel; goalLevel <= kMaxLevel; ++goalLevel) {
            TJson utilities = TJson::array();
            for (int change = kMinLevel; change <= kMaxLevel; ++change) {
                utilities.push_back(vectors.At(priority, goalLevel, change));
            }
            goalLevels.push_back(std::move(utilities));
        }
        priorities.push_back(std::move(goalLevels));
    }
    return priorities;
}

TJson Options(const TCase& source) {
    const auto positive = [](const TLevels<double>& levels) {
        return TJson::array({levels[1], levels[2], levels[3]});
    };
    return TJson{
        {"font", {{"name", source.Font.Name}, {"size", source.Font.Size}}},
        {"changeLevels", positive(source.ChangeLevels)},
        {"linkMultiplier", source.LinkMultipliers[3]},
        {"utilityLevels", positive(source.UtilityLevels)},
        {"standardUtilities", UtilityTable(source.StdUtilityVectors)},
        {"negativeUtilities", UtilityTable(source.NegUtilityVectors)},
        {"autofocusThreshold", source.AutofocusThreshold},
        {"autofocusResolution", source.AutofocusResolution},
        {"iterations", source.Iterations},
        {"rangeBarShown", source.RangeBarShown},
        {"defaultActionRange", LevelList(source.DefaultActionRange)},
        {"evaluations", source.Evaluations},
        {"maxWidth", source.MaxWidth},
        {"maxHeight", source.MaxHeight},
        {"sampleFromDistributions", source.SampleFromDistributions},
        {"randomSeed", source.RandomSeed},
        {"baseLevel", source.BaseLevel},
        {"adaptGoals", source.AdaptGoals},
        {"maintainActionRange", source.MaintainActionRange},
    };
}

TJson Analyses(const TCase& source) {
    TJson analyses = TJson::array();
    for (const std::string& line : source.AnalysisLines) {
        TLineScanner scan(line);
        const std::optional<std::int64_t> position =
            ReadInteger(scan.Between("KAVO analysis ", "\""));
        scan.Skip("content=\"");
        const std::string_view name = scan.Between("", "=");
        const std::string_view fields = scan.Between("", "\"");
        if (position && *position >= 0) {
            analyses.push_back({{"position", *position}, {"name", name}, {"fields", fields}});
        }
    }
    return analyses;
}

TJson Tags(const TCase& source) {
    TJson tags = TJson::array();
    for (const auto& tag : source.TagList) {
        TJson item{{"name", tag->Name},
                   {"colors",
                    {{"light", ColorText(tag->LightColor)},
                     {"mid", ColorText(tag->MidColor)},
                     {"dark", ColorText(tag->DarkColor)}}}};
        AddComment(*tag, item);
        tags.push_back(std::move(item));
    }
    return tags;
}

TJson Groups(const TCase& source) {
    TJson groups = TJson::array();
    for (const auto& group : source.GroupList) {
        TJson item{{"name", group->Name},
                   {"kind", kGroupKindNames[static_cast<int>(group->GroupKind)]},
                   {"checked", group->Checked}};
        AddTags(*group, item);
        groups.push_back(std::move(item));
    }
    return groups;
}

// A factor of the dictionary; an action or attribute under its actor, by its bare name.
TJson Factor(const TFactor& factor, bool underActor) {
    TJson item{{"name", underActor ? BareName(factor.Name) : factor.Name}};
    if (!factor.IsAction) {
        item["stock"] = factor.IsStock;
    } else if (!underActor) {
        // An action whose actor was lost stays an action.
        item["action"] = true;
    }
    AddTags(factor, item);
    AddComment(factor, item);
    return item;
}

TJson Factors(const TCase& source) {
    TJson factors = TJson::array();
    for (const auto& factor : source.FactorList) {
        if (factor->Owner == nullptr) {
            factors.push_back(Factor(*factor, false));
        }
    }
    return factors;
}

TJson Actors(const TCase& source) {
    TJson actors = TJson::array();
    for (const auto& actor : source.ActorList) {
        TJson item{{"name", actor->Name}, {"shortName", actor->ShortName}};
        AddTags(*actor, item);
        AddComment(*actor, item);
        TJson attributes = TJson::array();
        for (const TFactor* attribute : actor->Attributes) {
            attributes.push_back(Factor(*attribute, true));
        }
        TJson actions = TJson::array();
        for (const TFactor* action : actor->Actions) {
            actions.push_back(Factor(*action, true));
        }
        item["attributes"] = std::move(attributes);
        item["actions"] = std::move(actions);
        actors.push_back(std::move(item));
    }
    return actors;
}

TJson Relations(const TCase& source) {
    TJson relations = TJson::array();
    for (const auto& relation : source.Relations) {
        TJson item{{"from", relation->From->Name}, {"to", relation->To->Name}};
        for (int type = 0; type < kRelationTypeCount; ++type) {
            item[kRelationKeys[type]] = relation->Strength[static_cast<std::size_t>(type)];
        }
        AddComment(*relation, item);
        relations.push_back(std::move(item));
    }
    return relations;
}

TJson Goal(const TGoal& goal) {
    TJson item{{"type", kGoalTypeNames[static_cast<int>(goal.GoalType)]}};
    if (goal.GoalType == TGoalType::gtCustom) {
        item["utilities"] = goal.Utilities.Values;
    } else {
        item["level"] = goal.Level;
        item["priority"] = goal.Priority;
    }
    return item;
}

TJson FiP(const TPerception& perception, const TFiP& fip) {
    TJson item{{"factor", fip.Factor->Name},
               {"x", fip.X},
               {"y", fip.Y},
               {"operator", kOperatorNames[static_cast<int>(fip.Operator)]}};
    if (fip.Factor->IsAction) {
        item["actionRange"] = LevelList(fip.ActionRange);
        if (IsLevel(fip.ChosenLevel)) {
            item["chosenLevel"] = fip.ChosenLevel;
        }
    }
    if (const TProspect* prospect = perception.ProspectOf(&fip)) {
        item["prospect"] = {{"level", prospect->Level}, {"uncertainty", prospect->Uncertainty}};
    }
    if (const TGoal* goal = perception.GoalOf(&fip)) {
        item["goal"] = Goal(*goal);
    }
    if (fip.RoundValue != 0) {
        item["roundValue"] = fip.RoundValue;
    }
    if (fip.PendingChange != 0) {
        item["pendingChange"] = fip.PendingChange;
    }
    AddComment(fip, item);
    return item;
}

TJson Perception(const TPerception& perception) {
    TJson factors = TJson::array();
    for (const auto& fip : perception.FiPs) {
        factors.push_back(FiP(perception, *fip));
    }
    TJson links = TJson::array();
    for (const auto& link : perception.Links) {
        TJson item{{"from", link->FromFiP->Factor->Name},
                   {"to", link->ToFiP->Factor->Name},
                   {"level", link->Level},
                   {"uncertainty", link->Uncertainty}};
        AddComment(*link, item);
        links.push_back(std::move(item));
    }
    return TJson{{"factors", std::move(factors)}, {"links", std::move(links)}};
}

TJson Arenas(const TCase& source) {
    TJson arenas = TJson::array();
    for (const auto& arena : source.ArenaList) {
        TJson item{{"name", arena->Name}};
        AddTags(*arena, item);
        AddComment(*arena, item);
        item["analystView"] = Perception(*arena->AnalystView);
        TJson actors = TJson::array();
        for (const auto& record : arena->Actors) {
            TJson actor{{"actor", record->Actor->Name}};
            AddComment(*record, actor);
            actor["perception"] = Perception(*record->Perception);
            actors.push_back(std::move(actor));
        }
        item["actors"] = std::move(actors);
        arenas.push_back(std::move(item));
    }
    return arenas;
}

bool IsFlat(const TJson& value) {
    return std::none_of(value.begin(), value.end(),
                        [](const TJson& item) { return item.is_structured(); });
}

// Indented two blanks a level, as dump does, but a list of plain values stays on one line: the
// utility tables and action ranges read as rows.
void Write(const TJson& value, int depth, std::string& out) {
    const auto dump = [](const TJson& plain) {
        // The model's texts are UTF-8; a byte that is not is written as U+FFFD rather than lost.
        return plain.dump(-1, ' ', false, TJson::error_handler_t::replace);
    };
    if (!value.is_structured() || value.empty()) {
        out += dump(value);
        return;
    }
    if (value.is_array() && IsFlat(value)) {
        out += "[";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += (i > 0 ? ", " : "") + dump(value[i]);
        }
        out += "]";
        return;
    }
    const std::string inner(static_cast<std::size_t>(2 * (depth + 1)), ' ');
    out += value.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (const auto& [key, item] : value.items()) {
        out += (first ? "" : ",\n") + inner;
        if (value.is_object()) {
            out += dump(TJson(key)) + ": ";
        }
        Write(item, depth + 1, out);
        first = false;
    }
    out += "\n" + std::string(static_cast<std::size_t>(2 * depth), ' ') +
           (value.is_object() ? "}" : "]");
}

}  // namespace

std::string CaseJson(const TCase& source) {
    TJson document{
        {"format", kCaseJsonFormat}, {"version", kCaseJsonVersion}, {"name", source.Name}};
    AddComment(source, document);
    document["options"] = Options(source);
    document["grouping"] = {{"arena", source.ArenaGrouping},
                            {"actor", source.ActorGrouping},
                            {"factor", source.FactorGrouping},
                            {"mentionedOnly", source.MentionedOnly}};
    document["analyses"] = Analyses(source);
    document["tags"] = Tags(source);
    document["groups"] = Groups(source);
    document["factors"] = Factors(source);
    document["actors"] = Actors(source);
    document["relations"] = Relations(source);
    document["arenas"] = Arenas(source);
    std::string text;
    Write(document, 0, text);
    return text + "\n";
}

}  // namespace kavo
