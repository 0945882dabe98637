#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/GroupingEdits.h"
#include "editing/TEdit.h"
#include "model/TCase.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

class GroupingEditsTest : public test::TCaseFixture, public ::testing::Test {};

TEST_F(GroupingEditsTest, NewGroupsTakeTheFirstFreeNumberWhateverTheLetterCase) {
    Case.FindOrCreateGroup("ACTOR GROUP", "actors");
    Case.FindOrCreateGroup("Actor group 2", "actors");
    TEdit first;
    TGroup* one = AddGroup(first, Case, TGroupKind::gkActor);
    TEdit second;
    TGroup* three = AddGroup(second, Case, TGroupKind::gkActor);
    TEdit arena;
    TGroup* arenas = AddGroup(arena, Case, TGroupKind::gkArena);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(three, nullptr);
    ASSERT_NE(arenas, nullptr);
    EXPECT_EQ(one->Name, "Actor group 1");
    EXPECT_EQ(three->Name, "Actor group 3");
    EXPECT_EQ(arenas->Name, "Arena group");
    EXPECT_EQ(one->GroupKind, TGroupKind::gkActor);
    EXPECT_EQ(arenas->GroupKind, TGroupKind::gkArena);
    EXPECT_EQ(arenas->Comment, std::vector<std::string>{"{}"});
    EXPECT_EQ(first.Name, "New group");
    second.Undo();
    EXPECT_LT(Case.GroupList.FindByName("Actor group 3"), 0);
    second.Redo();
    EXPECT_EQ(Case.GroupList[Case.GroupList.FindByName("Actor group 3")], three);
}

TEST_F(GroupingEditsTest, TagsFollowTheTagListAndTheCommentDescribesThem) {
    TTag* blue = Case.FindOrCreateTag("Blue");
    TTag* green = Case.FindOrCreateTag("Green");
    Case.FindOrCreateTag("Red");
    TGroup* group = Case.FindOrCreateGroup("Nature", "factors");
    TEdit edit;
    SetGroupTags(edit, Case, *group, {green, blue});
    EXPECT_EQ(group->Tags, (std::vector<TTag*>{blue, green}));
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Blue, Green}"});
    edit.Undo();
    EXPECT_TRUE(group->Tags.empty());
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{}"});
    edit.Redo();
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Blue, Green}"});
}

TEST_F(GroupingEditsTest, ModesChecksAndMentionedOnlyUndo) {
    TGroup* group = Case.FindOrCreateGroup("Nature", "factors");
    TEdit edit;
    SetGroupingMode(edit, Case, TGroupKind::gkArena, 2);
    SetGroupingMode(edit, Case, TGroupKind::gkActor, 5);
    SetGroupingMode(edit, Case, TGroupKind::gkFactor, 0);
    SetMentionedOnly(edit, Case, false);
    SetGroupChecked(edit, *group, true);
    EXPECT_EQ(edit.Name, "Change grouping of arenas");
    EXPECT_EQ(Case.ArenaGrouping, 2);
    EXPECT_EQ(Case.ActorGrouping, 5);
    EXPECT_EQ(Case.FactorGrouping, 0);
    EXPECT_FALSE(Case.MentionedOnly);
    EXPECT_TRUE(group->Checked);
    edit.Undo();
    EXPECT_EQ(Case.ArenaGrouping, 4);
    EXPECT_EQ(Case.ActorGrouping, 4);
    EXPECT_EQ(Case.FactorGrouping, 3);
    EXPECT_TRUE(Case.MentionedOnly);
    EXPECT_FALSE(group->Checked);

    // The mode already set is no change.
    TEdit same;
    SetGroupingMode(same, Case, TGroupKind::gkFactor, 3);
    EXPECT_TRUE(same.Empty());
}

}  // namespace
}  // namespace kavo
