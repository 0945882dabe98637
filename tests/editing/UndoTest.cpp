#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/EditFixture.h"
#include "editing/EditKinds.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "reasoning/Merge.h"
#include "support/TCaseGenerator.h"

namespace kavo {
namespace {

class UndoTest : public test::TTestPlatform, public ::testing::Test {
  protected:
    // A case with every kind of record, from the seed.
    void Generate(std::uint32_t seed) {
        test::TCaseShape shape;
        shape.Arenas = 2;
        test::TCaseGenerator(seed, shape).Fill(Case);
    }
    std::string Document() { return test::DocumentOf(Case); }

    TCase Case{Context};
    const std::vector<std::string> NoFaults;
};

// Undo gives the document of before the edit, redo that of after it, for every kind of edit on
// several cases.
TEST_F(UndoTest, UndoAndRedoGiveTheDocumentsOfBeforeAndAfter) {
    Generate(7);
    test::TPicker pick(11);
    for (const test::TEditKind& kind : test::EditKinds()) {
        int made = 0;
        for (int attempt = 0; attempt < 20 && made < 3; ++attempt) {
            const std::string before = Document();
            TEdit edit;
            if (!kind.Make(edit, Case, pick)) {
                edit.Undo();
                ASSERT_EQ(Document(), before) << kind.Name << ": a refused edit changed the case";
                continue;
            }
            ++made;
            const std::string after = Document();
            ASSERT_EQ(test::InvariantFaults(Case), NoFaults) << kind.Name;
            edit.Undo();
            ASSERT_EQ(Document(), before) << kind.Name << " undone";
            ASSERT_EQ(test::InvariantFaults(Case), NoFaults) << kind.Name << " undone";
            edit.Redo();
            ASSERT_EQ(Document(), after) << kind.Name << " redone";
            ASSERT_EQ(test::InvariantFaults(Case), NoFaults) << kind.Name << " redone";
            // Every kind meets the whole case.
            edit.Undo();
        }
        EXPECT_GT(made, 0) << kind.Name << " never applied";
    }
}

// The undoable merge moves the items of a merge made aside into the analyst view: the view must
// come out as the plain merge makes it in place, item order, extent and rationality included.
TEST_F(UndoTest, MergeIntoAnalystViewGivesThePlainMerge) {
    // Round arenas take no links into actions: the merge aside must be made as in the round's view.
    int rounds = 0;
    for (const std::uint32_t seed : {7u, 12u, 21u, 30u}) {
        test::TCaseShape shape;
        shape.Arenas = 2;
        TCase edited{Context};
        TCase plain{Context};
        test::TCaseGenerator(seed, shape).Fill(edited);
        test::TCaseGenerator(seed, shape).Fill(plain);
        for (int index = 0; index < edited.ArenaList.Size(); ++index) {
            TArena& arena = *edited.ArenaList[index];
            ASSERT_FALSE(arena.AnalystView->FiPs.empty());
            rounds += arena.Name.starts_with("*Round") ? 1 : 0;
            MergeIntoAnalystView(*plain.ArenaList[index]);
            TEdit edit;
            MergeIntoAnalystView(edit, arena);
            EXPECT_EQ(edit.Focus, arena.AnalystView.get());
            EXPECT_TRUE(arena.AnalystView->Selection.empty());
        }
        EXPECT_EQ(test::DocumentOf(edited), test::DocumentOf(plain)) << "seed " << seed;
        EXPECT_EQ(test::InvariantFaults(edited), NoFaults);
    }
    EXPECT_GT(rounds, 0);
}

// A few hundred random edits with undos and redos between them, as a user makes them: after every
// step the document is the one of that place in the history.
TEST_F(UndoTest, RandomEditsUndosAndRedosKeepTheHistory) {
    Generate(3);
    test::TPicker pick(5);
    std::vector<TEdit> history;
    std::vector<std::string> documents{Document()};
    std::size_t done = 0;
    const std::vector<test::TEditKind>& kinds = test::EditKinds();
    for (int step = 0; step < 400; ++step) {
        const int choice = pick.Draw(0, 9);
        if (choice < 2 && done > 0) {
            history[--done].Undo();
        } else if (choice < 3 && done < history.size()) {
            history[done++].Redo();
        } else {
            const test::TEditKind& kind =
                kinds[static_cast<std::size_t>(pick.Draw(0, static_cast<int>(kinds.size()) - 1))];
            TEdit edit(kind.Name);
            if (!kind.Make(edit, Case, pick) || edit.Empty()) {
                edit.Undo();
                ASSERT_EQ(Document(), documents[done]) << "step " << step << ": " << kind.Name;
                continue;
            }
            // A new edit drops the edits undone before it, the newest first.
            while (history.size() > done) {
                history.pop_back();
            }
            documents.resize(done + 1);
            history.push_back(std::move(edit));
            documents.push_back(Document());
            ++done;
        }
        ASSERT_EQ(Document(), documents[done]) << "step " << step;
        ASSERT_EQ(test::InvariantFaults(Case), NoFaults) << "step " << step;
    }
    while (done > 0) {
        history[--done].Undo();
    }
    EXPECT_EQ(Document(), documents.front());
}

// The steps of a drag or a layout run merge into one edit. A later setting of a field merges into
// the earlier setting only across steps that set fields too: a step of another kind between them
// keeps its place in the order.
TEST(EditMergeTest, LaterSettingsMergeWithoutReorderingOtherSteps) {
    int x = 0;
    std::vector<int> list;
    TEdit run;
    run.Set(x, 1);
    run.Set(list, std::vector<int>{1, 2});
    for (int step = 2; step <= 4; ++step) {
        TEdit later;
        later.Set(x, step);
        run.Absorb(std::move(later));
    }
    TEdit removal;
    removal.RemoveRef(list, 2);
    run.Absorb(std::move(removal));
    TEdit setting;
    setting.Set(list, std::vector<int>{2, 3});
    run.Absorb(std::move(setting));
    EXPECT_EQ(x, 4);
    run.Undo();
    EXPECT_EQ(x, 0);
    EXPECT_TRUE(list.empty());
    run.Redo();
    EXPECT_EQ(x, 4);
    EXPECT_EQ(list, (std::vector<int>{2, 3}));
}

}  // namespace
}  // namespace kavo
