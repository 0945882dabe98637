#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/EditFixture.h"
#include "editing/EditKinds.h"
#include "editing/TEdit.h"
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

}  // namespace
}  // namespace kavo
