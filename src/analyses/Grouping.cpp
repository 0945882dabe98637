#include "analyses/Grouping.h"

#include <algorithm>
#include <unordered_set>

#include "analyses/TAnalysisRun.h"
#include "casefile/TImageWriter.h"
#include "model/Formats.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGroup.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/Merge.h"

namespace kavo {

namespace {

using TGroups = std::vector<std::unique_ptr<TPseudoGroup>>;

constexpr const char* kRoundPrefix = "*Round";

TPseudoGroup& AddGroup(TGroups& groups, TCase& owningCase, TGroupKind kind, std::string caption,
                       std::string icon) {
    groups.push_back(std::make_unique<TPseudoGroup>(&owningCase, kind, std::move(caption)));
    groups.back()->Icon = std::move(icon);
    return *groups.back();
}

std::vector<const TGroup*> CheckedGroups(const TCase& owningCase, TGroupKind kind) {
    std::vector<const TGroup*> groups;
    for (const auto& group : owningCase.GroupList) {
        if (group->GroupKind == kind && group->Checked) {
            groups.push_back(group.get());
        }
    }
    return groups;
}

bool ByGroup(TGroupingMode mode) {
    return mode == TGroupingMode::gmAggregateByGroup || mode == TGroupingMode::gmClusterByGroup;
}

class TGroupCollector {
  public:
    TGroupCollector(TAnalysisRun& run, bool roundsOnly)
        : Run(run), Case(run.Case), Settings(run.Grouping), RoundsOnly(roundsOnly) {}

    TAnalysisGroups Collect() {
        CollectArenaGroups();
        for (const auto& arenaGroup : Groups.ArenaGroups) {
            CollectActorGroups(*arenaGroup);
        }
        CollectFactorGroups();
        return std::move(Groups);
    }

  private:
    bool PassesFilter(const TArena* arena) const {
        return !RoundsOnly || arena->Name.starts_with(kRoundPrefix);
    }

    void CollectArenaGroups() {
        TGroups& groups = Groups.ArenaGroups;
        const TGroupingMode mode = Settings.ArenaMode();
        if (ByGroup(mode)) {
            for (const TGroup* group : CheckedGroups(Case, TGroupKind::gkArena)) {
                TPseudoGroup& pseudo = AddGroup(groups, Case, TGroupKind::gkArena, group->Name,
                                                TagImageHtml(Run, *group));
                for (TConcept* arena : group->MemberList()) {
                    if (PassesFilter(static_cast<TArena*>(arena))) {
                        pseudo.Members.push_back(arena);
                    }
                }
            }
        } else if (mode == TGroupingMode::gmNone) {
            for (const auto& arena : Case.ArenaList) {
                if (PassesFilter(arena.get())) {
                    AddGroup(groups, Case, TGroupKind::gkArena, arena->Name, "")
                        .Members.push_back(arena.get());
                }
            }
        } else if (mode == TGroupingMode::gmSelected) {
            if (Settings.SelectedArena != nullptr && PassesFilter(Settings.SelectedArena)) {
                AddGroup(groups, Case, TGroupKind::gkArena, Settings.SelectedArena->Name, "")
                    .Members.push_back(Settings.SelectedArena);
            }
        } else {
            TPseudoGroup& all = AddGroup(groups, Case, TGroupKind::gkArena, "All arenas", "*");
            for (const auto& arena : Case.ArenaList) {
                if (PassesFilter(arena.get())) {
                    all.Members.push_back(arena.get());
                }
            }
        }
    }

    void Take(TPseudoGroup& group, TPerception* perception) {
        group.Perceptions.push_back(perception);
        Groups.Perceptions.push_back(perception);
    }

    void CollectActorGroups(TPseudoGroup& arenaGroup) {
        TGroups& groups = arenaGroup.SubGroups;
        std::vector<TArena*> arenas;
        for (TConcept* arena : arenaGroup.Members) {
            arenas.push_back(static_cast<TArena*>(arena));
        }
        switch (Settings.ActorMode()) {
            case TGroupingMode::gmAggregateByGroup:
            case TGroupingMode::gmClusterByGroup:
                for (const TGroup* group : CheckedGroups(Case, TGroupKind::gkActor)) {
                    TPseudoGroup& pseudo = AddGroup(groups, Case, TGroupKind::gkActor, group->Name,
                                                    TagImageHtml(Run, *group));
                    const std::vector<TConcept*> members = group->MemberList();
                    for (TArena* arena : arenas) {
                        for (const auto& record : arena->Actors) {
                            if (std::ranges::find(members, record->Actor) != members.end()) {
                                Take(pseudo, record->Perception.get());
                            }
                        }
                    }
                }
                break;
            case TGroupingMode::gmNone:
                for (const auto& actor : Case.ActorList) {
                    TPseudoGroup& pseudo =
                        AddGroup(groups, Case, TGroupKind::gkActor, actor->Name, "");
                    for (TArena* arena : arenas) {
                        for (const auto& record : arena->Actors) {
                            if (record->Actor == actor.get()) {
                                Take(pseudo, record->Perception.get());
                            }
                        }
                    }
                }
                std::erase_if(groups, [](const auto& group) { return group->Perceptions.empty(); });
                break;
            case TGroupingMode::gmSelected:
                CollectSelectedActor(arenas, groups);
                break;
            case TGroupingMode::gmAnalysts: {
                TPseudoGroup& pseudo =
                    AddGroup(groups, Case, TGroupKind::gkActor, "*All analysts", "*");
                for (TArena* arena : arenas) {
                    Take(pseudo, arena->AnalystView.get());
                }
                break;
            }
            case TGroupingMode::gmTotal: {
                TPseudoGroup& pseudo =
                    AddGroup(groups, Case, TGroupKind::gkActor, "All actors", "*");
                for (TArena* arena : arenas) {
                    for (const auto& record : arena->Actors) {
                        Take(pseudo, record->Perception.get());
                    }
                }
                break;
            }
        }
    }

    void CollectSelectedActor(const std::vector<TArena*>& arenas, TGroups& groups) {
        if (Settings.SelectedArena == nullptr) {
            return;
        }
        if (Settings.SelectedAiA == nullptr) {
            TPseudoGroup& pseudo = AddGroup(groups, Case, TGroupKind::gkActor, "*Analyst", "");
            for (TArena* arena : arenas) {
                Take(pseudo, arena->AnalystView.get());
            }
            return;
        }
        const TActor* actor = Settings.SelectedAiA->Actor;
        TPseudoGroup& pseudo = AddGroup(groups, Case, TGroupKind::gkActor, actor->Name, "");
        for (TArena* arena : arenas) {
            for (const auto& record : arena->Actors) {
                if (record->Actor == actor) {
                    Take(pseudo, record->Perception.get());
                }
            }
        }
    }

    void CollectFactorGroups() {
        std::unordered_set<const TFactor*> mentioned;
        for (const TPerception* perception : Groups.Perceptions) {
            for (const auto& fip : perception->FiPs) {
                mentioned.insert(fip->Factor);
            }
        }
        const auto admitted = [&](const TConcept* factor) {
            return !Settings.MentionedOnly ||
                   mentioned.contains(static_cast<const TFactor*>(factor));
        };
        TGroups& groups = Groups.FactorGroups;
        const TGroupingMode mode = Settings.FactorMode();
        if (ByGroup(mode)) {
            for (const TGroup* group : CheckedGroups(Case, TGroupKind::gkFactor)) {
                TPseudoGroup& pseudo = AddGroup(groups, Case, TGroupKind::gkFactor, group->Name,
                                                TagImageHtml(Run, *group));
                std::ranges::copy_if(group->MemberList(), std::back_inserter(pseudo.Members),
                                     admitted);
            }
        } else if (mode == TGroupingMode::gmNone) {
            for (const auto& factor : Case.FactorList) {
                if (admitted(factor.get())) {
                    AddGroup(groups, Case, TGroupKind::gkFactor, FactorDisplayName(factor->Name),
                             FactorIconHtml(*factor))
                        .Members.push_back(factor.get());
                }
            }
        } else {
            TPseudoGroup& all = AddGroup(groups, Case, TGroupKind::gkFactor, "All factors", "*");
            for (const auto& factor : Case.FactorList) {
                if (admitted(factor.get())) {
                    all.Members.push_back(factor.get());
                }
            }
        }
    }

    TAnalysisRun& Run;
    TCase& Case;
    const TGroupingSettings& Settings;
    const bool RoundsOnly;
    TAnalysisGroups Groups;
};

// The "Arenas:" (Actors:, Factors:) heading of the section and what follows it.
class TSectionWriter {
  public:
    TSectionWriter(TAnalysisRun& run, std::vector<std::string>& lines) : Run(run), Lines(lines) {}

    void Write() {
        const TGroupingSettings& settings = Run.Grouping;
        Lines.insert(Lines.end(), {"<p class=bihdr>Grouping of concepts</p>", "<table>"});
        Dimension(TGroupKind::gkArena, "Arenas", settings.ArenaMode(),
                  "aggregation over all arenas", ArenaSelection());
        if (settings.ActorMode() != TGroupingMode::gmAnalysts) {
            Dimension(TGroupKind::gkActor, "Actors", settings.ActorMode(),
                      "aggregation over all actors", ActorSelection());
        } else {
            Heading("Actors:");
        }
        // A factor mode that the dialog does not offer can come only from elsewhere.
        const std::string factorSelection =
            "<td><img src=\"gif/factor.gif\"></td><td bgcolor=\"red\"><b>ERROR!</b></td>";
        if (settings.FactorGrouping == static_cast<std::uint8_t>(TGroupingMode::gmSelected)) {
            Heading("Factors:");
            Lines.push_back("  <tr><td></td>" + factorSelection + "</tr>");
        } else {
            Dimension(TGroupKind::gkFactor, "Factors", settings.FactorMode(),
                      "aggregation over all factors", factorSelection);
        }
        if (settings.MentionedOnly) {
            Lines.push_back(
                "  <tr><td colspan=3 align=\"left\"><i><b>Note:</b> Only factors mentioned in "
                "perceptions are shown</i></td></tr>");
        }
        Lines.push_back("</table>");
    }

  private:
    void Heading(const std::string& text) {
        Lines.push_back("  <tr><td colspan=3 align=\"left\"><i>" + text + "</i></td></tr>");
    }

    std::string Cell(const std::string& word, const std::string& text) const {
        return "<td><img src=\"gif/" + word + ".gif\"></td><td>" + text + "</td>";
    }

    std::string Missing(const std::string& word, const std::string& what) const {
        return "<td><img src=\"gif/" + word + ".gif\"></td><td bgcolor=\"red\"><b>" + what +
               "</b></td>";
    }

    std::string ArenaSelection() const {
        const TArena* arena = Run.Grouping.SelectedArena;
        return arena != nullptr ? Cell("arena", "arena \"" + arena->Name + "\" only")
                                : Missing("arena", "no arena selected");
    }

    std::string ActorSelection() const {
        if (Run.Grouping.SelectedArena == nullptr) {
            return Missing("actor", "no actor selected");
        }
        if (const TAiA* record = Run.Grouping.SelectedAiA) {
            return Cell("actor", "actor \"" + record->Actor->Name + "\" only");
        }
        return Cell("analyst", "Analyst view");
    }

    void Dimension(TGroupKind kind, const std::string& title, TGroupingMode mode,
                   const std::string& total, const std::string& selection) {
        const std::string word = GroupKindWord(kind);
        Heading(title + ":");
        const auto row = [&](const std::string& cells) {
            Lines.push_back("  <tr><td></td>" + cells + "</tr>");
        };
        switch (mode) {
            case TGroupingMode::gmTotal:
                row(Cell(word, total));
                break;
            case TGroupingMode::gmAggregateByGroup:
            case TGroupingMode::gmClusterByGroup:
                Groups(kind, title, mode, word);
                break;
            case TGroupingMode::gmNone:
                row(Cell(word, "no grouping"));
                break;
            case TGroupingMode::gmSelected:
            case TGroupingMode::gmAnalysts:
                row(selection);
                break;
        }
    }

    void Groups(TGroupKind kind, const std::string& title, TGroupingMode mode,
                const std::string& word) {
        const std::vector<const TGroup*> checked = CheckedGroups(Run.Case, kind);
        if (checked.empty()) {
            Lines.push_back("  <tr><td></td>" + Missing(word, "no " + word + "s selected") +
                            "</tr>");
            return;
        }
        Lines.back() = "  <tr><td colspan=3 align=\"left\"><i>" + title + " <u>" +
                       (mode == TGroupingMode::gmAggregateByGroup ? "aggregated" : "clustered") +
                       "</u> by group:</i></td></tr>";
        for (const TGroup* group : checked) {
            Lines.push_back("  <tr class=\"" + word + " group" +
                            (group->Checked ? " CHECKED" : "") + "\">");
            Lines.push_back("    <td width=16>" + TagImageHtml(Run, *group) +
                            "</td><td width=16><img src=\"gif/" + word + ".gif\"></td>");
            Lines.push_back("    <td>" + group->Name + "</td>");
            Lines.push_back("  </tr>");
        }
    }

    TAnalysisRun& Run;
    std::vector<std::string>& Lines;
};

}  // namespace

TAnalysisGroups CollectAnalysisGroups(TAnalysisRun& run, bool roundsOnly) {
    return TGroupCollector(run, roundsOnly).Collect();
}

std::unique_ptr<TPerception> MergedPerception(TPseudoGroup& actorGroup) {
    auto merged = std::make_unique<TPerception>(&actorGroup);
    for (const TPerception* perception : actorGroup.Perceptions) {
        MergeFrom(*merged, *perception, true);
    }
    NormalizeUncertainties(*merged);
    return merged;
}

std::vector<std::unique_ptr<TPseudoGroup>> MemberGroups(TAnalysisRun& run,
                                                        const TPseudoGroup& group) {
    TGroups members;
    for (TConcept* member : group.Members) {
        const auto* factor = static_cast<const TFactor*>(member);
        AddGroup(members, run.Case, TGroupKind::gkFactor, FactorDisplayName(factor->Name),
                 FactorIconHtml(*factor))
            .Members.push_back(member);
    }
    return members;
}

std::string TagImageHtml(TAnalysisRun& run, const TConcept& item) {
    if (item.Tags.empty()) {
        return "<img src=\"gif/notag.gif\">";
    }
    std::string name = "tag";
    for (const TTag* tag : item.Tags) {
        name += (item.Tags.size() > 1 ? "_" : "") + std::to_string(run.Case.TagList.IndexOf(tag));
    }
    if (item.Tags.size() > 1 && !run.ImageFolder.empty()) {
        if (auto failure =
                run.Images.WriteCombinedTagIcon(item.Tags, run.ImageFolder + name + ".gif")) {
            run.Case.Messages().ShowError(*failure);
        }
    }
    return "<img src=\"gif/" + name + ".gif\">";
}

std::string FactorIconHtml(const TFactor& factor) {
    return "<img src=\"gif/" +
           std::string(factor.IsAction        ? "action"
                       : factor.IsAttribute() ? "attribute"
                                              : "factor") +
           ".gif\">";
}

void WriteGroupingSection(TAnalysisRun& run, std::vector<std::string>& lines) {
    TSectionWriter(run, lines).Write();
}

}  // namespace kavo
