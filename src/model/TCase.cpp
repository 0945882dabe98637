#include "model/TCase.h"

#include <algorithm>
#include <cmath>

#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

namespace kavo {

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

int LevelOf(const TLevels<double>& levels, double x) {
    if (x >= levels[3]) {
        return 3;
    }
    if (x >= levels[2]) {
        return 2;
    }
    if (x >= levels[1]) {
        return 1;
    }
    if (x > levels[-1]) {
        return 0;
    }
    if (x > levels[-2]) {
        return -1;
    }
    if (x > levels[-3]) {
        return -2;
    }
    return -3;
}

}  // namespace

TCase::TCase(TContext& context)
    : TConcept(TConceptKind::ckCase, this, "New case"),
      Font(context.DefaultFont),
      MaxWidth(context.ScreenWidth),
      MaxHeight(context.ScreenHeight),
      ContextRef(&context) {
    MeasureSampleText();
}

TCase::~TCase() {
    // Perceptions refer to factors and actors: free them before the dictionary.
    ArenaList.Clear();
    Relations.clear();
}

void TCase::MeasureSampleText() {
    const TTextMeasure& measure = Context().Measure;
    SampleTextWidth = measure.TextWidth(Font, "MMWW");
    SampleTextHeight = measure.TextHeight(Font, "[hg]");
}

namespace {

// A text of a name that the case file cannot carry, for the message; the part of the name it
// stands for and what a name read from a file gets in its place.
struct TForbiddenText {
    std::string Text;
    std::size_t Position = 0;
    std::size_t Length = 0;
    std::string_view Replacement;
};

bool StartsMarkup(std::string_view name, std::size_t at) {
    if (name[at] != '<' || at + 1 >= name.size()) {
        return false;
    }
    const char next = name[at + 1];
    return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' ||
           next == '!' || next == '?';
}

// Where the markup that starts at `at` ends: behind its ">", as a browser reads it; without one,
// at the next blank.
std::size_t MarkupEnd(std::string_view name, std::size_t at) {
    const std::size_t close = name.find('>', at);
    if (close != std::string_view::npos) {
        return close + 1;
    }
    return std::min(name.find(' ', at), name.size());
}

std::optional<TForbiddenText> FindForbiddenText(TConceptKind kind, std::string_view name,
                                                bool owned) {
    // These texts mark the ends of names in the case document, so a name holding one of them would
    // come back cut or changed.
    const std::string upper = Upper(name);
    if (const std::size_t at = upper.find("&NBSP;"); at != std::string::npos) {
        return TForbiddenText{"&nbsp;", at, 6, " "};
    }
    for (const char* marker : {"</td>", "<span"}) {
        const std::size_t at = upper.find(Upper(marker));
        if (at != std::string::npos) {
            return TForbiddenText{marker, at, MarkupEnd(name, at) - at, ""};
        }
    }
    // Any other markup ("</table>", "<tr", "<!--", ...) may end a record early; a browser would
    // not show it either.
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (StartsMarkup(name, at)) {
            const std::size_t end = MarkupEnd(name, at);
            return TForbiddenText{std::string(name.substr(at, end - at)), at, end - at, ""};
        }
    }
    if (kind == TConceptKind::ckArena) {
        if (const std::size_t at = name.find('"'); at != std::string_view::npos) {
            return TForbiddenText{"\"", at, 1, "'"};
        }
    }
    const bool bracketMarksActor =
        kind == TConceptKind::ckActor || (kind == TConceptKind::ckFactor && !owned);
    if (bracketMarksActor) {
        if (const std::size_t at = name.find(" ["); at != std::string_view::npos) {
            return TForbiddenText{" [", at, 2, " ("};
        }
    }
    if (kind == TConceptKind::ckArena && !name.empty() && Trim(name).starts_with('*')) {
        return TForbiddenText{"*", name.find('*'), 1, ""};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> TCase::ForbiddenText(TConceptKind kind, std::string_view name,
                                                bool owned) const {
    const std::optional<TForbiddenText> found = FindForbiddenText(kind, name, owned);
    return found ? std::optional<std::string>(found->Text) : std::nullopt;
}

std::string TCase::CarriableName(TConceptKind kind, std::string_view name, bool owned) {
    std::string carried(name);
    // Every replacement makes the name shorter or takes away a text it cannot bring back.
    for (auto found = FindForbiddenText(kind, carried, owned); found && found->Text != "*";
         found = FindForbiddenText(kind, carried, owned)) {
        carried.replace(found->Position, found->Length, found->Replacement);
    }
    return carried;
}

bool TCase::RefuseName(TConceptKind kind, std::string_view name, bool owned) {
    const std::optional<std::string> text = ForbiddenText(kind, name, owned);
    if (!text) {
        return false;
    }
    if (*text == "*") {
        Messages().ShowWarning("Names beginning with \"*\" are reserved for simulation rounds");
    } else {
        Messages().ShowWarning("Names may not contain \"" + *text + "\"");
    }
    return true;
}

bool TCase::ShortNameInUse(std::string_view shortName, const TActor* except) const {
    return std::any_of(ActorList.begin(), ActorList.end(), [&](const auto& actor) {
        return actor.get() != except && SameName(actor->ShortName, shortName);
    });
}

TTag* TCase::FindOrCreateTag(std::string_view name) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return nullptr;
    }
    const int index = TagList.FindByName(trimmed);
    if (index >= 0) {
        return TagList[index];
    }
    if (RefuseName(TConceptKind::ckTag, trimmed, false)) {
        return nullptr;
    }
    Modified = true;
    return TagList.Insert(~index, std::make_unique<TTag>(this, trimmed));
}

TArena* TCase::FindOrCreateArena(std::string_view name) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return nullptr;
    }
    const int index = ArenaList.FindByName(trimmed);
    if (index >= 0) {
        return ArenaList[index];
    }
    if (!trimmed.starts_with('*') && RefuseName(TConceptKind::ckArena, trimmed, false)) {
        return nullptr;
    }
    Modified = true;
    return ArenaList.Insert(~index, std::make_unique<TArena>(this, trimmed));
}

TActor* TCase::FindOrCreateActor(std::string_view name, std::string_view shortName) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return nullptr;
    }
    const int index = ActorList.FindByName(trimmed);
    if (index >= 0) {
        return ActorList[index];
    }
    std::string shortText = Trim(shortName);
    if (shortText.empty()) {
        shortText = trimmed;
    }
    if (RefuseName(TConceptKind::ckActor, trimmed, false) ||
        RefuseName(TConceptKind::ckActor, shortText, false)) {
        return nullptr;
    }
    if (ShortNameInUse(shortText, nullptr)) {
        Messages().ShowWarning("Short actor name already in use");
        return nullptr;
    }
    Modified = true;
    return ActorList.Insert(~index, std::make_unique<TActor>(this, trimmed, shortText));
}

TFactor* TCase::FindOrCreateFactor(std::string_view name, bool isStock, bool isAction,
                                   std::string_view shortName) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return nullptr;
    }
    const std::string key =
        shortName.empty() ? trimmed : trimmed + " [" + std::string(shortName) + "]";
    if (TFactor* existing = FactorList.Find(key)) {
        return existing;
    }
    if (RefuseName(TConceptKind::ckFactor, trimmed, false)) {
        return nullptr;
    }
    auto factor = std::make_unique<TFactor>(this, trimmed);
    if (!shortName.empty()) {
        factor->IsAction = isAction;
        factor->IsStock = !isAction && isStock;
        factor->Owner = FindActorByShortName(shortName);
        if (factor->Owner == nullptr) {
            Messages().ShowError("Actor \"" + std::string(shortName) + "\" undefined");
        } else {
            factor->Name = key;
            (isAction ? factor->Owner->Actions : factor->Owner->Attributes).push_back(factor.get());
        }
    } else {
        factor->IsStock = isStock;
    }
    // Without its actor the record keeps the bare name, which may be taken or sort elsewhere.
    const int index = FactorList.FindByName(factor->Name);
    if (index >= 0) {
        return FactorList[index];
    }
    factor->LayOutBox();
    Modified = true;
    return FactorList.Insert(~index, std::move(factor));
}

TGroup* TCase::FindOrCreateGroup(std::string_view name, std::string_view kindText) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return nullptr;
    }
    const int index = GroupList.FindByName(trimmed);
    if (index >= 0) {
        return GroupList[index];
    }
    if (RefuseName(TConceptKind::ckGroup, trimmed, false)) {
        return nullptr;
    }
    const TGroupKind kind = kindText == "arenas"   ? TGroupKind::gkArena
                            : kindText == "actors" ? TGroupKind::gkActor
                                                   : TGroupKind::gkFactor;
    Modified = true;
    return GroupList.Insert(~index, std::make_unique<TGroup>(this, trimmed, kind));
}

TConcept* TCase::FindOrCreate(TConceptKind kind, std::string_view name, bool isStock, bool isAction,
                              std::string_view extra) {
    switch (kind) {
        case TConceptKind::ckTag:
            return FindOrCreateTag(name);
        case TConceptKind::ckArena:
            return FindOrCreateArena(name);
        case TConceptKind::ckActor:
            return FindOrCreateActor(name, extra);
        case TConceptKind::ckFactor:
            return FindOrCreateFactor(name, isStock, isAction, extra);
        case TConceptKind::ckGroup:
            return FindOrCreateGroup(name, extra);
        case TConceptKind::ckCase:
            break;
    }
    return nullptr;
}

TActor* TCase::FindActorByShortName(std::string_view shortName) const {
    for (const auto& actor : ActorList) {
        if (actor->ShortName == shortName) {
            return actor.get();
        }
    }
    return nullptr;
}

int TCase::FindRelation(const TActor* a, const TActor* b) const {
    for (std::size_t i = 0; i < Relations.size(); ++i) {
        if (Relations[i]->From == a && Relations[i]->To == b) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TAiA* TCase::AddActorToArena(TArena& arena, std::string_view name, std::string_view shortName) {
    const std::string typedName = Trim(name);
    std::string typedShort = Trim(shortName);
    if (typedName.empty()) {
        return nullptr;
    }
    if (typedShort.empty()) {
        typedShort = typedName;
    }
    for (const auto& record : arena.Actors) {
        const TActor* actor = record->Actor;
        if (actor->Name != typedName && actor->ShortName != typedShort) {
            continue;
        }
        if (actor->Name != typedName) {
            Messages().ShowWarning("Short actor name already in use");
            return nullptr;
        }
        if (actor->ShortName != typedShort) {
            Messages().ShowWarning("Short actor name does not match full name");
            return nullptr;
        }
        return record.get();
    }
    TActor* actor = FindOrCreateActor(typedName, typedShort);
    if (actor == nullptr) {
        return nullptr;
    }
    for (const auto& record : arena.Actors) {
        if (record->Actor == actor) {
            return record.get();
        }
    }
    Modified = true;
    return arena.AddActor(actor);
}

void TCase::ForEachPerception(const std::function<void(TPerception&)>& visit) const {
    for (const auto& arena : ArenaList) {
        visit(*arena->AnalystView);
        for (const auto& record : arena->Actors) {
            visit(*record->Perception);
        }
    }
}

void TCase::ApplyDefaultActionRange() {
    ForEachPerception([](TPerception& perception) { perception.ApplyDefaultActionRange(); });
}

void TCase::CountRescaledFactor(double ratioX, double ratioY) {
    ScaleSumX += ratioX;
    ScaleSumY += ratioY;
    ++RescaledCount;
}

void TCase::ApplyCaseFont() {
    const int oldWidth = SampleTextWidth;
    const int oldHeight = SampleTextHeight;
    MeasureSampleText();
    if (SampleTextWidth == oldWidth && SampleTextHeight == oldHeight) {
        FontScaleX = FontScaleY = 1;
    } else {
        ScaleSumX = ScaleSumY = 0;
        RescaledCount = 0;
        for (const auto& factor : FactorList) {
            factor->LayOutBox();
        }
        if (RescaledCount > 0) {
            FontScaleX = ScaleSumX / RescaledCount;
            FontScaleY = ScaleSumY / RescaledCount;
        } else {
            FontScaleX = FontScaleY = 1;
        }
    }
    ForEachPerception([](TPerception& perception) { perception.ApplyCaseSettings(); });
    Modified = true;
}

void TCase::SetLinkMultiplier(double m) {
    LinkMultipliers[3] = m;
    LinkMultipliers[-3] = -m;
    LinkMultipliers[1] = m != 0 ? 1 / m : 0;
    LinkMultipliers[-1] = -LinkMultipliers[1];
}

void TCase::SetChangeLevels(double l1, double l2, double l3) {
    ChangeLevels = TLevels<double>{{-l3, -l2, -l1, 0, l1, l2, l3}};
}

void TCase::SetUtilityLevels(double l1, double l2, double l3) {
    UtilityLevels = TLevels<double>{{-l3, -l2, -l1, 0, l1, l2, l3}};
    MaxUtility = l3;
}

int TCase::ChangeLevelOf(double x) const {
    return LevelOf(ChangeLevels, x);
}

int TCase::MultiplierLevelOf(double x) const {
    return LevelOf(LinkMultipliers, x);
}

int TCase::ExtendedChangeLevelOf(double x) const {
    const TLevels<double>& levels = ChangeLevels;
    const double step = levels[3] - levels[2] != 0 ? levels[3] - levels[2] : 1;
    if (x >= levels[3]) {
        return 3 + static_cast<int>(std::min(3.0, std::trunc((x - levels[3]) / step)));
    }
    const int level = LevelOf(levels, x);
    if (level > -3) {
        return level;
    }
    return -3 - static_cast<int>(std::min(3.0, std::trunc((std::abs(x) - levels[3]) / step)));
}

std::string TCase::NewTagName() const {
    if (TagList.FindByName("New tag") < 0) {
        return "New tag";
    }
    for (int n = 1;; ++n) {
        std::string name = "New tag " + std::to_string(n);
        if (TagList.FindByName(name) < 0) {
            return name;
        }
    }
}

}  // namespace kavo
