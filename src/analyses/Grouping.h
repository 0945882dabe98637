#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TAnalysisRun;
class TConcept;
class TFactor;
class TPerception;
class TPseudoGroup;

// The groups of one analysis run, owned by it: arena groups, each with its actor groups, and
// factor groups. Either list may be empty (no checked group, nothing selected).
struct TAnalysisGroups {
    std::vector<std::unique_ptr<TPseudoGroup>> ArenaGroups;
    std::vector<std::unique_ptr<TPseudoGroup>> FactorGroups;
    // Every perception the actor groups took, in the order taken.
    std::vector<TPerception*> Perceptions;
};

// Builds the groups of a run from the run's grouping and the case window's selection. With
// roundsOnly, only arenas whose names begin with "*Round" take part.
TAnalysisGroups CollectAnalysisGroups(TAnalysisRun& run, bool roundsOnly);

// The perception that unites the perceptions of an actor group's members, goals included, with
// their uncertainties averaged; owned by the caller.
std::unique_ptr<TPerception> MergedPerception(TPseudoGroup& actorGroup);

// One factor group per member of the group, each headed by the factor's name and kind icon: the
// rows of a factor group clustered by group.
std::vector<std::unique_ptr<TPseudoGroup>> MemberGroups(TAnalysisRun& run,
                                                        const TPseudoGroup& group);

// The image markup of a concept's tags: gif/notag.gif, gif/tagN.gif for the tag at position N of
// the case's tag list, or gif/tag_N_M... for several, whose combined icon is written into the run's
// image folder.
std::string TagImageHtml(TAnalysisRun& run, const TConcept& item);

// The icon markup of a factor by its kind: action, attribute or factor.
std::string FactorIconHtml(const TFactor& factor);

// Appends the report's "Grouping of concepts" section: the modes of arenas, actors and factors
// with the checked groups.
void WriteGroupingSection(TAnalysisRun& run, std::vector<std::string>& lines);

}  // namespace kavo
