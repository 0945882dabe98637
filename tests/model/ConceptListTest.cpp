#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/TConceptList.h"
#include "model/TTag.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::TMessage;

class ConceptListTest : public ::testing::Test {
  protected:
    // A list of tags with the given names, inserted where the search puts them.
    void Fill(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            const int position = List.FindByName(name);
            ASSERT_LT(position, 0) << name;
            List.Insert(~position, std::make_unique<TTag>(nullptr, name));
        }
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& tag : List) {
            names.push_back(tag->Name);
        }
        return names;
    }

    TConceptList<TTag> List;
    test::TRecordingMessages Messages;
};

TEST_F(ConceptListTest, KeepsNamesSortedAndFindsThemWithoutRegardToCase) {
    Fill({"_under", "Zebra", "apple", "Apples", "mango"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"apple", "Apples", "mango", "Zebra", "_under"}));
    EXPECT_EQ(List.FindByName("APPLE"), 0);
    EXPECT_EQ(List.FindByName("zebra"), 3);
    EXPECT_EQ(List.FindByName("banana"), ~2);
    EXPECT_EQ(List.FindByName("~tilde"), ~5);
    EXPECT_EQ(List.FindByName(""), ~0);
}

TEST_F(ConceptListTest, RenameMovesTheConceptToItsNewPlace) {
    Fill({"a", "c", "e", "g"});
    EXPECT_EQ(List.RenameIn(*List[0], "f", Messages), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "e", "f", "g"}));
    EXPECT_EQ(List.RenameIn(*List[3], "  b  ", Messages), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "c", "e", "f"}));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(ConceptListTest, ChangingOnlyTheLetterCaseKeepsThePosition) {
    Fill({"alpha", "beta", "gamma"});
    EXPECT_EQ(List.RenameIn(*List[1], "BETA", Messages), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"alpha", "BETA", "gamma"}));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(ConceptListTest, RefusedNamesLeaveTheListUnchanged) {
    struct Case {
        const char* NewName;
        const char* Warning;
    };
    const Case cases[] = {
        {"Gamma", "Names must be unique: \"gamma\" is in use already"},
        {"ALPHA", "Names must be unique: \"alpha\" is in use already"},
        {"", "Name cannot be empty string"},
        {"   \t", "Name cannot be empty string"},
    };
    Fill({"alpha", "beta", "gamma"});
    for (const Case& c : cases) {
        Messages.Log.clear();
        EXPECT_LT(List.RenameIn(*List[1], c.NewName, Messages), 0) << c.NewName;
        EXPECT_EQ(Names(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
        EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Warning, c.Warning}}));
    }
}

TEST_F(ConceptListTest, RenamingTheOnlyConceptNeverClashes) {
    Fill({"only"});
    EXPECT_EQ(List.RenameIn(*List[0], "ONLY", Messages), 0);
    EXPECT_EQ(List.RenameIn(*List[0], " other ", Messages), 0);
    EXPECT_EQ(List[0]->Name, "other");
    EXPECT_TRUE(Messages.Log.empty());
}

}  // namespace
}  // namespace kavo
