#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/TActor.h"
#include "model/TActorRelation.h"
#include "model/TArena.h"
#include "model/TConcept.h"
#include "model/TConceptList.h"
#include "model/TContext.h"
#include "model/TFactor.h"
#include "model/TFont.h"
#include "model/TGroup.h"
#include "model/TLevels.h"
#include "model/TTag.h"
#include "model/TUtilityVectors.h"

namespace kavo {

class TPerception;

inline constexpr const char* kCaseVersion = "1.3.3";

// The root of the model: one per open case. Owns every concept in sorted lists, the relations
// between actors and the case's options. Concepts are created only through FindOrCreate.
class TCase : public TConcept {
  public:
    explicit TCase(TContext& context);
    ~TCase();

    TContext& Context() const { return *ContextRef; }
    TMessages& Messages() const { return ContextRef->Messages; }

    TConceptList<TTag> TagList;
    TConceptList<TFactor> FactorList;
    TConceptList<TActor> ActorList;
    TConceptList<TArena> ArenaList;
    TConceptList<TGroup> GroupList;
    // In insertion order; at most one per ordered pair of actors.
    std::vector<std::unique_ptr<TActorRelation>> Relations;

    bool Modified = false;
    // Grouping modes of the analyses.
    bool MentionedOnly = true;
    std::uint8_t ArenaGrouping = 4;
    std::uint8_t ActorGrouping = 4;
    std::uint8_t FactorGrouping = 3;
    // The analysis selection lines of the case file as read, written back unchanged: nothing of a
    // file is lost on the next save while the analysis catalog does not keep the selections.
    std::vector<std::string> AnalysisLines;
    std::string Version = kCaseVersion;
    // The case's folder, ending in "/"; empty for a case never saved or read.
    std::string Folder;

    // Font of the labels in diagrams, and what applying a new one measured.
    TFont Font;
    double FontScaleX = 0;
    double FontScaleY = 0;
    int RescaledCount = 0;
    int SampleTextWidth = 0;
    int SampleTextHeight = 0;

    TLevels<double> LinkMultipliers{{-2, -1, -0.5, 0, 0.5, 1, 2}};
    TLevels<double> ChangeLevels{{-4, -2, -1, 0, 1, 2, 4}};
    TLevels<double> UtilityLevels{{-4, -2, -1, 0, 1, 2, 4}};
    // Change values are relative to this value in the simulation.
    double BaseLevel = 10;
    // Always UtilityLevels[+3].
    double MaxUtility = 4;
    TUtilityVectors StdUtilityVectors = TUtilityVectors::DefaultStandard();
    TUtilityVectors NegUtilityVectors = TUtilityVectors::DefaultNegative();
    // Size of the drawing area of every perception diagram, pixels.
    int MaxWidth = 0;
    int MaxHeight = 0;
    int AutofocusThreshold = 30;
    // Percent.
    int AutofocusResolution = 5;
    int Iterations = 1;
    std::int64_t Evaluations = 100;
    TActionRange DefaultActionRange = kFullActionRange;
    bool RangeBarShown = true;
    // 0..8: utility, satisfaction or frustration, each by expected value, MaxiMin or least regret.
    std::uint8_t DefaultRationality = 0;
    std::int32_t RandomSeed = 123456789;
    bool SampleFromDistributions = true;
    bool AdaptGoals = true;
    bool MaintainActionRange = false;

    // Find or create. Each returns null when the trimmed name is empty, and after a warning when
    // the name cannot be stored in a case file.
    TTag* FindOrCreateTag(std::string_view name);
    TArena* FindOrCreateArena(std::string_view name);
    // An existing actor keeps its own short name; an empty short name means the name.
    TActor* FindOrCreateActor(std::string_view name, std::string_view shortName = {});
    // With a short name: the action (action flag set) or attribute of that actor. An existing
    // factor keeps its flags.
    TFactor* FindOrCreateFactor(std::string_view name, bool isStock = false, bool isAction = false,
                                std::string_view shortName = {});
    // The kind text "arenas" or "actors" makes an arena or actor group, anything else a factor
    // group.
    TGroup* FindOrCreateGroup(std::string_view name, std::string_view kindText);
    // All kinds through one door: extra is the short name for actors and factors, the kind text
    // for groups.
    TConcept* FindOrCreate(TConceptKind kind, std::string_view name, bool isStock = false,
                           bool isAction = false, std::string_view extra = {});

    TActor* FindActorByShortName(std::string_view shortName) const;
    // Index in Relations of the relation from a to b, or -1.
    int FindRelation(const TActor* a, const TActor* b) const;

    // The text of the name that a case file cannot carry for this kind of concept, if any: the
    // texts that end names in the document ("</td>", "<span", "&nbsp;"), any other markup ("<"
    // before a letter, "/", "!" or "?"), a double quote in an arena's name, " [" in an actor's or
    // an unowned factor's, and "*" at the start of an arena's.
    std::optional<std::string> ForbiddenText(TConceptKind kind, std::string_view name,
                                             bool owned = false) const;
    // The name as a case document can carry it, for names read from a file: markup removed,
    // "&nbsp;" as a blank, a double quote as "'", " [" as " (". A leading "*" stays: arenas read
    // from a file may be simulation rounds.
    static std::string CarriableName(TConceptKind kind, std::string_view name, bool owned = false);
    // True, after a warning that names the text, when the name holds text that a case file cannot
    // carry for this kind of concept (owned: the factor belongs to an actor).
    bool RefuseName(TConceptKind kind, std::string_view name, bool owned);
    // Whether an actor other than except has the short name, without regard to letter case.
    bool ShortNameInUse(std::string_view shortName, const TActor* except) const;

    // Adds an actor, found or created by name, to the arena and returns its record there. An actor
    // the arena already holds is not added again: its record is returned, or null after a warning
    // when the typed short name belongs to another actor or does not match the typed name's actor.
    TAiA* AddActorToArena(TArena& arena, std::string_view name, std::string_view shortName);

    // Every perception: each arena's analyst view, then each actor's perception in it.
    void ForEachPerception(const std::function<void(TPerception&)>& visit) const;
    void ApplyDefaultActionRange();
    // Lays every box out again in Font and rescales the diagrams when the sizes changed.
    void ApplyCaseFont();
    // Accumulates the ratios of a factor's new box size to its old one while a font is applied.
    void CountRescaledFactor(double ratioX, double ratioY);
    // Sets the link multiplier m: level +3 is m, +1 is 1/m, negative levels mirror them.
    void SetLinkMultiplier(double m);
    // Sets the change or utility levels from their positive half; keeps MaxUtility.
    void SetChangeLevels(double l1, double l2, double l3);
    void SetUtilityLevels(double l1, double l2, double l3);

    // Level -3..+3 of a change value: a value whose magnitude reaches a level's value belongs to
    // it.
    int ChangeLevelOf(double x) const;
    // Level -3..+3 of a link multiplier, by the same rule.
    int MultiplierLevelOf(double x) const;
    // Level -6..+6 of a change value: beyond +3 (-3), one more level per step of the top interval.
    int ExtendedChangeLevelOf(double x) const;

    // The default name of a new tag: "New tag", else "New tag 1", "New tag 2" and so on.
    std::string NewTagName() const;

  private:
    void MeasureSampleText();

    TContext* ContextRef;
    double ScaleSumX = 0;
    double ScaleSumY = 0;
};

}  // namespace kavo
