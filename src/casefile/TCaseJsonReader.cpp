#include "casefile/TCaseJsonReader.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <vector>

#include "casefile/CaseJson.h"
#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/TProVal.h"

namespace kavo {

namespace {

using TJson = nlohmann::json;

// Thrown where the document breaks the format; Read turns it into its result.
struct TJsonFailure {
    std::string Pointer;
    std::string Text;
};

std::string PointerToken(std::string_view key) {
    std::string token;
    for (const char c : key) {
        token += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
    }
    return token;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Follows a parse to know the JSON pointer of the value being read when the syntax breaks.
class TPathTracker : public nlohmann::json_sax<TJson> {
  public:
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override {
        Frames.push_back({});
        return true;
    }
    bool key(string_t& name) override {
        Frames.back().Key = name;
        Frames.back().HasKey = true;
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override {
        TFrame frame;
        frame.IsArray = true;
        Frames.push_back(frame);
        return true;
    }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        std::string text = error.what();
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..."
        if (const std::size_t end = text.find("] "); text.starts_with("[") && end != text.npos) {
            text.erase(0, end + 2);
        }
        Failure = TJsonFailure{Pointer(), text};
        return false;
    }

    std::optional<TJsonFailure> Failure;

  private:
    struct TFrame {
        bool IsArray = false;
        std::size_t Index = 0;
        bool HasKey = false;
        std::string Key;
    };

    bool Value() {
        if (!Frames.empty()) {
            TFrame& top = Frames.back();
            top.Index += top.IsArray ? 1 : 0;
            top.HasKey = false;
        }
        return true;
    }
    bool Close() {
        Frames.pop_back();
        return Value();
    }
    std::string Pointer() const {
        std::string pointer;
        for (const TFrame& frame : Frames) {
            if (frame.IsArray) {
                pointer += "/" + std::to_string(frame.Index);
            } else if (frame.HasKey) {
                pointer += "/" + PointerToken(frame.Key);
            }
        }
        return pointer;
    }

    std::vector<TFrame> Frames;
};

// A value of the document with its place, and the checks of the format on it.
class TNode {
  public:
    TNode(const TJson& value, std::string pointer) : Value(value), Pointer(std::move(pointer)) {}

    [[noreturn]] void Fail(const std::string& text) const { throw TJsonFailure{Pointer, text}; }

    // An object whose members are among the allowed and hold the required ones.
    const TNode& Object(std::initializer_list<std::string_view> allowed,
                        std::initializer_list<std::string_view> required = {}) const {
        if (!Value.is_object()) {
            Fail("expected an object");
        }
        for (const auto& [name, member] : Value.items()) {
            if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
                TNode(member, Pointer + "/" + PointerToken(name)).Fail("unknown member");
            }
        }
        for (std::string_view name : required) {
            if (!Value.contains(name)) {
                Fail("missing member " + Quoted(name));
            }
        }
        return *this;
    }
    bool Has(std::string_view name) const { return Value.contains(name); }
    TNode operator[](std::string_view name) const {
        return TNode(Value.at(std::string(name)), Pointer + "/" + PointerToken(name));
    }
    std::vector<TNode> Items(std::size_t exactly = 0) const {
        if (!Value.is_array()) {
            Fail("expected an array");
        }
        if (exactly > 0 && Value.size() != exactly) {
            Fail("expected " + std::to_string(exactly) + " items");
        }
        std::vector<TNode> items;
        for (std::size_t i = 0; i < Value.size(); ++i) {
            items.emplace_back(Value[i], Pointer + "/" + std::to_string(i));
        }
        return items;
    }
    // The members' items, when the object has the member; none otherwise.
    std::vector<TNode> ItemsOf(std::string_view name) const {
        return Has(name) ? (*this)[name].Items() : std::vector<TNode>();
    }
    std::string Text() const {
        if (!Value.is_string()) {
            Fail("expected a string");
        }
        return Value.get<std::string>();
    }
    // A name: not empty once trimmed, without line breaks or other control characters.
    std::string Name() const {
        const std::string text = Text();
        if (std::any_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            Fail("a name may not hold line breaks or other control characters");
        }
        std::string trimmed = Trim(text);
        if (trimmed.empty()) {
            Fail("a name may not be empty");
        }
        return trimmed;
    }
    std::int64_t Integer(std::int64_t low, std::int64_t high) const {
        if (!Value.is_number_integer() &&
            !(Value.is_number_float() && std::trunc(Value.get<double>()) == Value.get<double>())) {
            Fail("expected an integer");
        }
        const double x = Value.get<double>();
        if (x < static_cast<double>(low) || x > static_cast<double>(high)) {
            Fail("expected an integer from " + std::to_string(low) + " to " + std::to_string(high));
        }
        return Value.is_number_unsigned()  ? static_cast<std::int64_t>(Value.get<std::uint64_t>())
               : Value.is_number_integer() ? Value.get<std::int64_t>()
                                           : static_cast<std::int64_t>(x);
    }
    int Level() const { return static_cast<int>(Integer(kMinLevel, kMaxLevel)); }
    double Number() const {
        if (!Value.is_number()) {
            Fail("expected a number");
        }
        return Value.get<double>();
    }
    double Positive() const {
        const double x = Number();
        if (!(x > 0)) {
            Fail("expected a number above 0");
        }
        return x;
    }
    bool Bool() const {
        if (!Value.is_boolean()) {
            Fail("expected true or false");
        }
        return Value.get<bool>();
    }

  private:
    const TJson& Value;
    std::string Pointer;
};

// Fills the case from the checked document, section by section.
class TJsonCaseBuilder {
  public:
    explicit TJsonCaseBuilder(TCase& target) : Case(target) {}

    void Build(const TNode& root) {
        root.Object({"$schema", "format", "version", "name", "comment", "options", "grouping",
                     "analyses", "tags", "groups", "factors", "actors", "relations", "arenas"},
                    {"format", "version", "name"});
        if (root["format"].Text() != kCaseJsonFormat) {
            root["format"].Fail("expected " + Quoted(kCaseJsonFormat));
        }
        if (root["version"].Integer(0, INT32_MAX) != kCaseJsonVersion) {
            root["version"].Fail("this version of KAVO reads version " +
                                 std::to_string(kCaseJsonVersion));
        }
        Case.Name = root["name"].Name();
        Comment(root, Case);
        if (root.Has("options")) {
            Options(root["options"]);
        }
        if (root.Has("grouping")) {
            Grouping(root["grouping"]);
        }
        for (const TNode& item : root.ItemsOf("analyses")) {
            Analysis(item);
        }
        for (const TNode& item : root.ItemsOf("tags")) {
            Tag(item);
        }
        for (const TNode& item : root.ItemsOf("groups")) {
            Group(item);
        }
        for (const TNode& item : root.ItemsOf("factors")) {
            Factor(item, nullptr, false);
        }
        // Every actor first: short names must be known before any action or attribute is named.
        const std::vector<TNode> actors = root.ItemsOf("actors");
        std::vector<TActor*> created;
        for (const TNode& item : actors) {
            created.push_back(Actor(item));
        }
        for (std::size_t i = 0; i < actors.size(); ++i) {
            for (const TNode& item : actors[i].ItemsOf("attributes")) {
                Factor(item, created[i], false);
            }
            for (const TNode& item : actors[i].ItemsOf("actions")) {
                Factor(item, created[i], true);
            }
        }
        for (const TNode& item : root.ItemsOf("relations")) {
            Relation(item);
        }
        for (const TNode& item : root.ItemsOf("arenas")) {
            Arena(item);
        }
        Case.Modified = false;
    }

  private:
    static void Comment(const TNode& node, TCommentedObject& item) {
        item.Comment.clear();
        if (!node.Has("comment")) {
            return;
        }
        const std::string text = node["comment"].Text();
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find('\n', start);
            std::string line = text.substr(start, end == std::string::npos ? end : end - start);
            if (line.ends_with('\r')) {
                line.pop_back();
            }
            item.Comment.push_back(std::move(line));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        if (item.CommentIsEmpty()) {
            item.Comment.clear();
        }
    }

    void Tags(const TNode& node, TConcept& item) {
        for (const TNode& entry : node.ItemsOf("tags")) {
            TTag* tag = Case.TagList.Find(entry.Name());
            if (tag == nullptr) {
                entry.Fail("no tag of that name");
            }
            if (item.HasTag(tag)) {
                entry.Fail("the tag is given twice");
            }
            item.Tags.push_back(tag);
        }
    }

    void CheckName(const TNode& node, TConceptKind kind, const std::string& name,
                   bool owned = false) {
        const std::optional<std::string> forbidden = Case.ForbiddenText(kind, name, owned);
        // Arenas read from a case may be simulation rounds, named with a leading "*".
        if (forbidden && !(kind == TConceptKind::ckArena && *forbidden == "*")) {
            node.Fail("a name may not contain " + Quoted(*forbidden));
        }
    }

    template <typename T>
    void CheckUnique(const TNode& node, const TConceptList<T>& list, const std::string& name) {
        if (list.Find(name) != nullptr) {
            node.Fail("the name " + Quoted(name) + " is taken");
        }
    }

    static TActionRange Range(const TNode& node) {
        TActionRange range{};
        for (const TNode& entry : node.Items()) {
            const int level = entry.Level();
            if (range[level]) {
                entry.Fail("the level is given twice");
            }
            range[level] = true;
        }
        return range;
    }

    static void UtilityTable(const TNode& node, TUtilityVectors& vectors) {
        const std::vector<TNode> priorities = node.Items(3);
        for (int priority = 1; priority <= 3; ++priority) {
            const std::vector<TNode> goalLevels = priorities[priority - 1].Items(7);
            for (int goalLevel = kMinLevel; goalLevel <= kMaxLevel; ++goalLevel) {
                const std::vector<TNode> utilities = goalLevels[goalLevel + 3].Items(7);
                for (int change = kMinLevel; change <= kMaxLevel; ++change) {
                    vectors.At(priority, goalLevel, change) =
                        static_cast<std::int8_t>(utilities[change + 3].Level());
                }
            }
        }
    }

    void Options(const TNode& node) {
        node.Object({"font", "changeLevels", "linkMultiplier", "utilityLevels", "standardUtilities",
                     "negativeUtilities", "autofocusThreshold", "autofocusResolution", "iterations",
                     "rangeBarShown", "defaultActionRange", "evaluations", "maxWidth", "maxHeight",
                     "sampleFromDistributions", "randomSeed", "baseLevel", "adaptGoals",
                     "maintainActionRange"});
        if (node.Has("font")) {
            const TNode font = node["font"];
            font.Object({"name", "size"}, {"name", "size"});
            const std::string name = font["name"].Name();
            if (name.find_first_of("\"[]") != std::string::npos) {
                font["name"].Fail("a font name may not contain '\"', '[' or ']'");
            }
            Case.Font.Name = name;
            Case.Font.Size = static_cast<int>(font["size"].Integer(1, 1000));
        }
        const auto three = [&](const char* name, void (TCase::*set)(double, double, double)) {
            if (node.Has(name)) {
                const std::vector<TNode> levels = node[name].Items(3);
                (Case.*set)(levels[0].Positive(), levels[1].Positive(), levels[2].Positive());
            }
        };
        three("changeLevels", &TCase::SetChangeLevels);
        three("utilityLevels", &TCase::SetUtilityLevels);
        if (node.Has("linkMultiplier")) {
            Case.SetLinkMultiplier(node["linkMultiplier"].Positive());
        }
        if (node.Has("standardUtilities")) {
            UtilityTable(node["standardUtilities"], Case.StdUtilityVectors);
        }
        if (node.Has("negativeUtilities")) {
            UtilityTable(node["negativeUtilities"], Case.NegUtilityVectors);
        }
        const auto integer = [&](const char* name, auto& field, std::int64_t low,
                                 std::int64_t high) {
            if (node.Has(name)) {
                field = static_cast<std::remove_reference_t<decltype(field)>>(
                    node[name].Integer(low, high));
            }
        };
        const auto flag = [&](const char* name, bool& field) {
            if (node.Has(name)) {
                field = node[name].Bool();
            }
        };
        integer("autofocusThreshold", Case.AutofocusThreshold, 0, 1'000'000);
        integer("autofocusResolution", Case.AutofocusResolution, -1'000'000, 1'000'000);
        integer("iterations", Case.Iterations, 0, 1'000'000'000);
        integer("evaluations", Case.Evaluations, 0, INT64_MAX);
        integer("maxWidth", Case.MaxWidth, 0, 1'000'000);
        integer("maxHeight", Case.MaxHeight, 0, 1'000'000);
        integer("randomSeed", Case.RandomSeed, INT32_MIN, INT32_MAX);
        Case.Context().Random.Seed(static_cast<std::uint32_t>(Case.RandomSeed));
        flag("rangeBarShown", Case.RangeBarShown);
        flag("sampleFromDistributions", Case.SampleFromDistributions);
        flag("adaptGoals", Case.AdaptGoals);
        flag("maintainActionRange", Case.MaintainActionRange);
        if (node.Has("defaultActionRange")) {
            Case.DefaultActionRange = Range(node["defaultActionRange"]);
        }
        if (node.Has("baseLevel")) {
            const double level = node["baseLevel"].Number();
            // Round values are relative to the base level.
            if (level == 0) {
                node["baseLevel"].Fail("the base level may not be 0");
            }
            Case.BaseLevel = level;
        }
    }

    void Grouping(const TNode& node) {
        node.Object({"arena", "actor", "factor", "mentionedOnly"});
        const auto mode = [&](const char* name, std::uint8_t& field, int high) {
            if (node.Has(name)) {
                field = static_cast<std::uint8_t>(node[name].Integer(0, high));
            }
        };
        mode("arena", Case.ArenaGrouping, 4);
        mode("actor", Case.ActorGrouping, 5);
        mode("factor", Case.FactorGrouping, 3);
        if (node.Has("mentionedOnly")) {
            Case.MentionedOnly = node["mentionedOnly"].Bool();
        }
    }

    void Analysis(const TNode& node) {
        node.Object({"position", "name", "fields"}, {"position", "name", "fields"});
        const std::int64_t position = node["position"].Integer(0, 1000);
        const std::string name = node["name"].Name();
        if (name.find_first_of("=\"<>") != std::string::npos) {
            node["name"].Fail("an analysis name may not contain '=', '\"', '<' or '>'");
        }
        const std::string fields = node["fields"].Text();
        if (fields.find_first_not_of("01") != std::string::npos) {
            node["fields"].Fail("expected a string of 0 and 1");
        }
        Case.AnalysisLines.push_back("<meta name=\"KAVO analysis " + std::to_string(position) +
                                     "\" content=\"" + name + "=" + fields + "\">");
    }

    static std::uint32_t Color(const TNode& node) {
        const std::string text = node.Text();
        if (text.size() != 7 || text[0] != '#' ||
            text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
            node.Fail("expected a colour as \"#rrggbb\"");
        }
        const std::uint32_t rgb =
            static_cast<std::uint32_t>(std::stoul(text.substr(1), nullptr, 16));
        // Stored with red in the low byte.
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }

    void Tag(const TNode& node) {
        node.Object({"name", "colors", "comment"}, {"name"});
        const std::string name = node["name"].Name();
        CheckName(node["name"], TConceptKind::ckTag, name);
        CheckUnique(node["name"], Case.TagList, name);
        TTag* tag = Case.FindOrCreateTag(name);
        if (node.Has("colors")) {
            const TNode colors = node["colors"];
            colors.Object({"light", "mid", "dark"}, {"light", "mid", "dark"});
            tag->LightColor = Color(colors["light"]);
            tag->MidColor = Color(colors["mid"]);
            tag->DarkColor = Color(colors["dark"]);
        }
        Comment(node, *tag);
    }

    void Group(const TNode& node) {
        node.Object({"name", "kind", "checked", "tags"}, {"name", "kind"});
        const std::string name = node["name"].Name();
        CheckName(node["name"], TConceptKind::ckGroup, name);
        CheckUnique(node["name"], Case.GroupList, name);
        const std::string kind = node["kind"].Text();
        if (kind != "arena" && kind != "actor" && kind != "factor") {
            node["kind"].Fail("expected \"arena\", \"actor\" or \"factor\"");
        }
        TGroup* group = Case.FindOrCreateGroup(name, kind + "s");
        group->Checked = node.Has("checked") && node["checked"].Bool();
        Tags(node, *group);
        group->UpdateDescription();
    }

    // An unowned factor of the dictionary, or an action or attribute of the actor.
    void Factor(const TNode& node, TActor* actor, bool isAction) {
        if (actor == nullptr) {
            node.Object({"name", "stock", "action", "tags", "comment"}, {"name"});
        } else if (isAction) {
            node.Object({"name", "tags", "comment"}, {"name"});
        } else {
            node.Object({"name", "stock", "tags", "comment"}, {"name"});
        }
        const std::string name = node["name"].Name();
        CheckName(node["name"], TConceptKind::ckFactor, name, actor != nullptr);
        const std::string full = actor != nullptr ? name + " [" + actor->ShortName + "]" : name;
        CheckUnique(node["name"], Case.FactorList, full);
        const bool stock = node.Has("stock") && node["stock"].Bool();
        TFactor* factor = Case.FindOrCreateFactor(
            name, stock, isAction, actor != nullptr ? actor->ShortName : std::string());
        if (factor == nullptr) {
            node["name"].Fail("the name cannot be used");
        }
        if (actor == nullptr && node.Has("action") && node["action"].Bool()) {
            factor->IsAction = true;
            factor->IsStock = false;
        }
        Tags(node, *factor);
        Comment(node, *factor);
    }

    TActor* Actor(const TNode& node) {
        node.Object({"name", "shortName", "tags", "comment", "attributes", "actions"},
                    {"name", "shortName"});
        const std::string name = node["name"].Name();
        const std::string shortName = node["shortName"].Name();
        CheckName(node["name"], TConceptKind::ckActor, name);
        CheckName(node["shortName"], TConceptKind::ckActor, shortName);
        CheckUnique(node["name"], Case.ActorList, name);
        if (Case.ShortNameInUse(shortName, nullptr)) {
            node["shortName"].Fail("the short name " + Quoted(shortName) + " is taken");
        }
        TActor* actor = Case.FindOrCreateActor(name, shortName);
        if (actor == nullptr) {
            node["name"].Fail("the name cannot be used");
        }
        Tags(node, *actor);
        Comment(node, *actor);
        return actor;
    }

    TActor* KnownActor(const TNode& node) {
        TActor* actor = Case.ActorList.Find(node.Name());
        if (actor == nullptr) {
            node.Fail("no actor of that name");
        }
        return actor;
    }

    void Relation(const TNode& node) {
        node.Object({"from", "to", "affect", "cooperation", "dominance", "frankness", "comment"},
                    {"from", "to"});
        TActor* from = KnownActor(node["from"]);
        TActor* to = KnownActor(node["to"]);
        if (from == to) {
            node["to"].Fail("an actor has no relation to itself");
        }
        if (Case.FindRelation(from, to) >= 0) {
            node.Fail("a second relation from " + Quoted(from->Name) + " to " + Quoted(to->Name));
        }
        auto relation = std::make_unique<TActorRelation>(from, to);
        static constexpr const char* kTypes[] = {"affect", "cooperation", "dominance", "frankness"};
        for (int type = 0; type < kRelationTypeCount; ++type) {
            if (node.Has(kTypes[type])) {
                relation->Strength[static_cast<std::size_t>(type)] =
                    static_cast<std::int16_t>(node[kTypes[type]].Integer(type == 0 ? -5 : 0, 5));
            }
        }
        Comment(node, *relation);
        Case.Relations.push_back(std::move(relation));
    }

    void Arena(const TNode& node) {
        node.Object({"name", "tags", "comment", "analystView", "actors"}, {"name"});
        const std::string name = node["name"].Name();
        CheckName(node["name"], TConceptKind::ckArena, name);
        CheckUnique(node["name"], Case.ArenaList, name);
        TArena* arena = Case.FindOrCreateArena(name);
        if (arena == nullptr) {
            node["name"].Fail("the name cannot be used");
        }
        Tags(node, *arena);
        Comment(node, *arena);
        if (node.Has("analystView")) {
            Perception(node["analystView"], *arena->AnalystView);
        }
        for (const TNode& item : node.ItemsOf("actors")) {
            item.Object({"actor", "comment", "perception"}, {"actor"});
            TActor* actor = KnownActor(item["actor"]);
            if (std::any_of(arena->Actors.begin(), arena->Actors.end(),
                            [actor](const auto& record) { return record->Actor == actor; })) {
                item["actor"].Fail("the actor is in the arena already");
            }
            TAiA* record = arena->AddActor(actor);
            record->Priority = static_cast<int>(arena->Actors.size());
            Comment(item, *record);
            if (item.Has("perception")) {
                Perception(item["perception"], *record->Perception);
            }
        }
    }

    TFiP* KnownFiP(const TNode& node, const TPerception& perception) {
        const TFactor* factor = Case.FactorList.Find(node.Name());
        TFiP* fip = factor != nullptr ? perception.FindFiP(factor) : nullptr;
        if (fip == nullptr) {
            node.Fail("the perception does not show this factor");
        }
        return fip;
    }

    void Perception(const TNode& node, TPerception& perception) {
        node.Object({"factors", "links"});
        for (const TNode& item : node.ItemsOf("factors")) {
            FiP(item, perception);
        }
        for (const TNode& item : node.ItemsOf("links")) {
            item.Object({"from", "to", "level", "uncertainty", "comment"}, {"from", "to", "level"});
            TFiP* from = KnownFiP(item["from"], perception);
            TFiP* to = KnownFiP(item["to"], perception);
            if (from == to) {
                item["to"].Fail("a link cannot end where it starts");
            }
            if (perception.FindLink(from->Factor, to->Factor) != nullptr) {
                item.Fail("a second link from " + Quoted(from->Factor->Name) + " to " +
                          Quoted(to->Factor->Name));
            }
            const int level = item["level"].Level();
            const int degree =
                item.Has("uncertainty") ? static_cast<int>(item["uncertainty"].Integer(0, 3)) : 0;
            auto link = std::make_unique<TLink>(Case, from, to);
            link->Level = static_cast<std::int8_t>(level);
            link->Uncertainty = static_cast<std::uint8_t>(degree);
            link->Vector = UncertaintyProfile(degree, level);
            link->Distribution.SetMultiplier(Case, level, degree);
            Comment(item, *link);
            perception.Add(std::move(link));
        }
        perception.InvalidateResults();
        perception.Selection.clear();
    }

    std::unique_ptr<TGoal> Goal(const TNode& node) {
        const std::string type =
            node.Object({"type", "level", "priority", "utilities"}, {"type"})["type"].Text();
        if (type == "custom") {
            node.Object({"type", "utilities"}, {"utilities"});
            TLevels<std::int8_t> utilities;
            const std::vector<TNode> entries = node["utilities"].Items(7);
            for (int change = kMinLevel; change <= kMaxLevel; ++change) {
                utilities[change] = static_cast<std::int8_t>(entries[change + 3].Level());
            }
            return std::make_unique<TGoal>(nullptr, utilities);
        }
        if (type != "standard" && type != "negative") {
            node["type"].Fail("expected \"standard\", \"negative\" or \"custom\"");
        }
        node.Object({"type", "level", "priority"}, {"level", "priority"});
        return std::make_unique<TGoal>(
            Case, nullptr, type == "negative" ? TGoalType::gtNegative : TGoalType::gtStandard,
            node["level"].Level(), static_cast<int>(node["priority"].Integer(0, 3)));
    }

    void FiP(const TNode& node, TPerception& perception) {
        node.Object({"factor", "x", "y", "operator", "actionRange", "chosenLevel", "prospect",
                     "goal", "roundValue", "pendingChange", "comment"},
                    {"factor", "x", "y"});
        TFactor* factor = Case.FactorList.Find(node["factor"].Name());
        if (factor == nullptr) {
            node["factor"].Fail("no factor, action or attribute of that name");
        }
        if (perception.FindFiP(factor) != nullptr) {
            node["factor"].Fail("the perception shows this factor already");
        }
        auto fip = std::make_unique<TFiP>(factor);
        fip->X = static_cast<std::int32_t>(node["x"].Integer(INT32_MIN, INT32_MAX));
        fip->Y = static_cast<std::int32_t>(node["y"].Integer(INT32_MIN, INT32_MAX));
        if (node.Has("operator")) {
            static constexpr std::string_view kOperators[] = {"add", "mul", "min", "max"};
            const std::string name = node["operator"].Text();
            const auto* found = std::find(std::begin(kOperators), std::end(kOperators), name);
            if (found == std::end(kOperators)) {
                node["operator"].Fail("expected \"add\", \"mul\", \"min\" or \"max\"");
            }
            fip->Operator = static_cast<TOperator>(found - std::begin(kOperators));
        }
        if ((node.Has("actionRange") || node.Has("chosenLevel")) && !factor->IsAction) {
            node.Fail("only an action has an action range and a chosen level");
        }
        if (node.Has("actionRange")) {
            fip->ActionRange = Range(node["actionRange"]);
        }
        if (node.Has("chosenLevel")) {
            const int chosen = node["chosenLevel"].Level();
            if (!fip->ActionRange[chosen]) {
                node["chosenLevel"].Fail("the chosen level lies outside the action range");
            }
            fip->ChosenLevel = static_cast<std::int16_t>(chosen);
        }
        fip->UpdateFeasibleLevels();
        if (node.Has("roundValue")) {
            fip->RoundValue = node["roundValue"].Number();
        }
        if (node.Has("pendingChange")) {
            fip->PendingChange = node["pendingChange"].Number();
        }
        Comment(node, *fip);
        std::unique_ptr<TGoal> goal = node.Has("goal") ? Goal(node["goal"]) : nullptr;
        std::optional<std::pair<int, int>> prospect;
        if (node.Has("prospect")) {
            const TNode item = node["prospect"];
            item.Object({"level", "uncertainty"}, {"level"});
            prospect = {
                item["level"].Level(),
                item.Has("uncertainty") ? static_cast<int>(item["uncertainty"].Integer(0, 3)) : 0};
        }
        const int index = perception.Add(std::move(fip));
        TFiP* added = perception.FiPs[static_cast<std::size_t>(index)].get();
        if (prospect) {
            perception.Add(
                std::make_unique<TProspect>(Case, added, prospect->first, prospect->second));
        }
        if (goal) {
            goal->FiP = added;
            goal->UpdateSummary();
            perception.Add(std::move(goal));
        }
    }

    TCase& Case;
};

}  // namespace

std::string TJsonProblem::Describe() const {
    return (Pointer.empty() ? std::string("at the top of the document") : "at " + Pointer) + ": " +
           Text;
}

TCaseJsonReader::TCaseJsonReader(TCase& emptyCase) : Case(emptyCase) {}

std::optional<TJsonProblem> TCaseJsonReader::Read(std::string_view text) {
    const TJson document = TJson::parse(text, nullptr, false);
    if (document.is_discarded()) {
        TPathTracker tracker;
        TJson::sax_parse(text, &tracker);
        const TJsonFailure failure =
            tracker.Failure.value_or(TJsonFailure{"", "the document is not JSON"});
        return TJsonProblem{failure.Pointer, failure.Text};
    }
    try {
        TJsonCaseBuilder(Case).Build(TNode(document, ""));
    } catch (const TJsonFailure& failure) {
        return TJsonProblem{failure.Pointer, failure.Text};
    }
    return std::nullopt;
}

}  // namespace kavo
