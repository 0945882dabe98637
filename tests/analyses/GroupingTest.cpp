#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/Grouping.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;

// Two arenas of the north, one also of the south, and a round arena; three actors, two of them
// green (one also northern); factors of which some are mentioned in no perception.
class GroupingTest : public test::AnalysisTest {
  protected:
    GroupingTest() {
        TTag* green = Case.FindOrCreateTag("Green");
        TTag* north = Case.FindOrCreateTag("North");
        TTag* south = Case.FindOrCreateTag("South");
        Dam = Case.FindOrCreateArena("Dam");
        Dam->Tags = {north};
        Drought = Case.FindOrCreateArena("Drought");
        Drought->Tags = {north, south};
        Round = Case.FindOrCreateArena("*Round  0");
        Farmer = Case.FindOrCreateActor("Farmer", "F");
        Farmer->Tags = {green};
        Town = Case.FindOrCreateActor("Town", "T");
        Town->Tags = {green, north};
        Trust = Case.FindOrCreateActor("Trust", "R");
        Water = Case.FindOrCreateFactor("Water");
        Water->Tags = {green};
        Price = Case.FindOrCreateFactor("Price");
        Irrigate = Case.FindOrCreateFactor("Irrigate", false, true, "F");
        Irrigate->Tags = {green};
        Case.FindOrCreateFactor("Unused");
        DamFarmer = Show(Dam->AddActor(Farmer)->Perception.get(), {Water, Irrigate});
        DamTown = Show(Dam->AddActor(Town)->Perception.get(), {Water});
        DroughtFarmer = Show(Drought->AddActor(Farmer)->Perception.get(), {Price});
        DroughtTrust = Drought->AddActor(Trust)->Perception.get();
        Show(Dam->AnalystView.get(), {Price});
        Group("North arenas", "arenas", {north}, true);
        Group("South arenas", "arenas", {south}, false);
        Group("Greens", "actors", {green, north}, true);
        Group("Green factors", "factors", {green}, true);
    }

    TPerception* Show(TPerception* perception, const std::vector<TFactor*>& factors) {
        for (TFactor* factor : factors) {
            perception->Add(std::make_unique<TFiP>(factor));
        }
        return perception;
    }
    void Group(const char* name, const char* kind, std::vector<TTag*> tags, bool checked) {
        TGroup* group = Case.FindOrCreateGroup(name, kind);
        group->Tags = std::move(tags);
        group->Checked = checked;
    }
    void Modes(int arena, int actor, int factor, bool mentionedOnly = false) {
        Run.Grouping.ArenaGrouping = static_cast<std::uint8_t>(arena);
        Run.Grouping.ActorGrouping = static_cast<std::uint8_t>(actor);
        Run.Grouping.FactorGrouping = static_cast<std::uint8_t>(factor);
        Run.Grouping.MentionedOnly = mentionedOnly;
    }
    // "caption icon: members" of each group; actor groups list their perceptions' owners.
    static Texts Describe(const std::vector<std::unique_ptr<TPseudoGroup>>& groups) {
        Texts texts;
        for (const auto& group : groups) {
            std::string text = group->Caption + " " + group->Icon + ":";
            for (const TConcept* member : group->Members) {
                text += " " + member->Name;
            }
            for (const TPerception* perception : group->Perceptions) {
                const TAiA* record = perception->AiAOwner();
                text += " " + (record != nullptr ? record->Arena->Name + "/" + record->Actor->Name
                                                 : perception->ArenaOwner()->Name + "/analyst");
            }
            texts.push_back(text);
        }
        return texts;
    }
    Texts ActorGroups(const TAnalysisGroups& groups) {
        Texts texts;
        for (const auto& arenaGroup : groups.ArenaGroups) {
            for (const std::string& text : Describe(arenaGroup->SubGroups)) {
                texts.push_back(arenaGroup->Caption + " > " + text);
            }
        }
        return texts;
    }

    TArena* Dam;
    TArena* Drought;
    TArena* Round;
    TActor* Farmer;
    TActor* Town;
    TActor* Trust;
    TFactor* Water;
    TFactor* Price;
    TFactor* Irrigate;
    TPerception* DamFarmer;
    TPerception* DamTown;
    TPerception* DroughtFarmer;
    TPerception* DroughtTrust;
};

TEST_F(GroupingTest, ArenaGroupsByMode) {
    struct TCase {
        int Mode;
        bool Selected;
        Texts Groups;
    };
    const TCase cases[] = {
        {0, false, {"All arenas *: *Round  0 Dam Drought"}},
        {1, false, {"North arenas <img src=\"gif/tag1.gif\">: Dam Drought"}},
        {2, false, {"North arenas <img src=\"gif/tag1.gif\">: Dam Drought"}},
        {3, false, {"*Round  0 : *Round  0", "Dam : Dam", "Drought : Drought"}},
        {4, false, {}},
        {4, true, {"Drought : Drought"}},
        {7, false, {"All arenas *: *Round  0 Dam Drought"}},
    };
    for (const TCase& c : cases) {
        Modes(c.Mode, 3, 3);
        Run.Grouping.SelectedArena = c.Selected ? Drought : nullptr;
        EXPECT_EQ(Describe(CollectAnalysisGroups(Run, false).ArenaGroups), c.Groups) << c.Mode;
    }
}

TEST_F(GroupingTest, RoundsOnlyTakesTheRoundArenas) {
    Modes(3, 3, 3);
    EXPECT_EQ(Describe(CollectAnalysisGroups(Run, true).ArenaGroups),
              Texts{"*Round  0 : *Round  0"});
    Modes(4, 3, 3);
    Run.Grouping.SelectedArena = Dam;
    EXPECT_TRUE(CollectAnalysisGroups(Run, true).ArenaGroups.empty());
}

TEST_F(GroupingTest, ActorGroupsByMode) {
    struct TCase {
        int Mode;
        TAiA* Selected;
        Texts Groups;
    };
    const TCase cases[] = {
        {0, nullptr, {"All > All actors *: Dam/Farmer Dam/Town Drought/Farmer Drought/Trust"}},
        // Town carries two of the group's tags and counts once.
        {1,
         nullptr,
         {"All > Greens <img src=\"gif/tag_0_1.gif\">: Dam/Farmer Dam/Town Drought/Farmer"}},
        {3,
         nullptr,
         {"All > Farmer : Dam/Farmer Drought/Farmer", "All > Town : Dam/Town",
          "All > Trust : Drought/Trust"}},
        {4, nullptr, {"All > *Analyst : *Round  0/analyst Dam/analyst Drought/analyst"}},
        {4, Drought->Actors.front().get(), {"All > Farmer : Dam/Farmer Drought/Farmer"}},
        {5, nullptr, {"All > *All analysts *: *Round  0/analyst Dam/analyst Drought/analyst"}},
    };
    for (const TCase& c : cases) {
        Modes(0, c.Mode, 3);
        Run.Grouping.SelectedArena = Drought;
        Run.Grouping.SelectedAiA = c.Selected;
        TAnalysisGroups groups = CollectAnalysisGroups(Run, false);
        for (auto& group : groups.ArenaGroups) {
            group->Caption = "All";
        }
        EXPECT_EQ(ActorGroups(groups), c.Groups) << c.Mode;
    }
    EXPECT_EQ(Icons.Written, Texts{"icons/tag_0_1.gif"});
}

TEST_F(GroupingTest, ActorGroupsWithoutPerceptionsOrSelection) {
    Modes(4, 3, 3);
    Run.Grouping.SelectedArena = Round;
    EXPECT_TRUE(ActorGroups(CollectAnalysisGroups(Run, false)).empty());
    Modes(3, 4, 3);
    Run.Grouping.SelectedArena = nullptr;
    EXPECT_TRUE(ActorGroups(CollectAnalysisGroups(Run, false)).empty());
}

TEST_F(GroupingTest, FactorGroupsByModeAndMention) {
    struct TCase {
        int Mode;
        bool MentionedOnly;
        Texts Groups;
    };
    const TCase cases[] = {
        {0, false, {"All factors *: Irrigate [F] Price Unused Water"}},
        {0, true, {"All factors *: Irrigate [F] Price Water"}},
        {1, true, {"Green factors <img src=\"gif/tag0.gif\">: Irrigate [F] Water"}},
        {3,
         true,
         {"Irrigate <span class=ac>[F]</span> <img src=\"gif/action.gif\">: Irrigate [F]",
          "Price <img src=\"gif/factor.gif\">: Price",
          "Water <img src=\"gif/factor.gif\">: Water"}},
    };
    for (const TCase& c : cases) {
        Modes(3, 3, c.Mode, c.MentionedOnly);
        EXPECT_EQ(Describe(CollectAnalysisGroups(Run, false).FactorGroups), c.Groups) << c.Mode;
    }
    // Only the town's perception is taken, and it mentions water alone.
    Modes(4, 4, 0, true);
    Run.Grouping.SelectedArena = Dam;
    Run.Grouping.SelectedAiA = Dam->Actors[1].get();
    EXPECT_EQ(Describe(CollectAnalysisGroups(Run, false).FactorGroups),
              Texts{"All factors *: Water"});
    // Nothing selected, so no perception and no factor is admitted.
    Run.Grouping.SelectedArena = nullptr;
    Run.Grouping.SelectedAiA = nullptr;
    EXPECT_EQ(Describe(CollectAnalysisGroups(Run, false).FactorGroups), Texts{"All factors *:"});
}

TEST_F(GroupingTest, GroupingSectionTellsTheModes) {
    const auto section = [&] {
        Texts lines;
        WriteGroupingSection(Run, lines);
        return lines;
    };
    Modes(0, 0, 0, true);
    EXPECT_EQ(section(),
              (Texts{
                  "<p class=bihdr>Grouping of concepts</p>",
                  "<table>",
                  "  <tr><td colspan=3 align=\"left\"><i>Arenas:</i></td></tr>",
                  "  <tr><td></td><td><img src=\"gif/arena.gif\"></td><td>aggregation over all "
                  "arenas</td></tr>",
                  "  <tr><td colspan=3 align=\"left\"><i>Actors:</i></td></tr>",
                  "  <tr><td></td><td><img src=\"gif/actor.gif\"></td><td>aggregation over all "
                  "actors</td></tr>",
                  "  <tr><td colspan=3 align=\"left\"><i>Factors:</i></td></tr>",
                  "  <tr><td></td><td><img src=\"gif/factor.gif\"></td><td>aggregation over all "
                  "factors</td></tr>",
                  "  <tr><td colspan=3 align=\"left\"><i><b>Note:</b> Only factors mentioned in "
                  "perceptions are shown</i></td></tr>",
                  "</table>",
              }));
    Modes(2, 5, 1);
    Case.GroupList.Find("Green factors")->Checked = false;
    EXPECT_EQ(section(),
              (Texts{
                  "<p class=bihdr>Grouping of concepts</p>",
                  "<table>",
                  "  <tr><td colspan=3 align=\"left\"><i>Arenas <u>clustered</u> by "
                  "group:</i></td></tr>",
                  "  <tr class=\"arena group CHECKED\">",
                  "    <td width=16><img src=\"gif/tag1.gif\"></td><td width=16><img "
                  "src=\"gif/arena.gif\"></td>",
                  "    <td>North arenas</td>",
                  "  </tr>",
                  "  <tr><td colspan=3 align=\"left\"><i>Actors:</i></td></tr>",
                  "  <tr><td colspan=3 align=\"left\"><i>Factors:</i></td></tr>",
                  "  <tr><td></td><td><img src=\"gif/factor.gif\"></td><td bgcolor=\"red\"><b>no "
                  "factors selected</b></td></tr>",
                  "</table>",
              }));
}

TEST_F(GroupingTest, GroupingSectionNamesTheSelection) {
    struct TCase {
        int Arena;
        int Actor;
        bool ArenaSelected;
        bool ActorSelected;
        std::string ArenaRow;
        std::string ActorRow;
    };
    const std::string noArena =
        "<td><img src=\"gif/arena.gif\"></td><td bgcolor=\"red\"><b>no "
        "arena selected</b></td>";
    const TCase cases[] = {
        {4, 4, false, false, noArena,
         "<td><img src=\"gif/actor.gif\"></td><td bgcolor=\"red\"><b>no actor selected</b></td>"},
        {4, 4, true, false, "<td><img src=\"gif/arena.gif\"></td><td>arena \"Dam\" only</td>",
         "<td><img src=\"gif/analyst.gif\"></td><td>Analyst view</td>"},
        {4, 4, true, true, "<td><img src=\"gif/arena.gif\"></td><td>arena \"Dam\" only</td>",
         "<td><img src=\"gif/actor.gif\"></td><td>actor \"Town\" only</td>"},
        {3, 3, true, true, "<td><img src=\"gif/arena.gif\"></td><td>no grouping</td>",
         "<td><img src=\"gif/actor.gif\"></td><td>no grouping</td>"},
    };
    for (const TCase& c : cases) {
        Modes(c.Arena, c.Actor, 3);
        Run.Grouping.SelectedArena = c.ArenaSelected ? Dam : nullptr;
        Run.Grouping.SelectedAiA = c.ActorSelected ? Dam->Actors[1].get() : nullptr;
        Texts lines;
        WriteGroupingSection(Run, lines);
        ASSERT_GE(lines.size(), 6u);
        EXPECT_EQ(lines[3], "  <tr><td></td>" + c.ArenaRow + "</tr>");
        EXPECT_EQ(lines[5], "  <tr><td></td>" + c.ActorRow + "</tr>");
    }
}

}  // namespace
}  // namespace kavo
