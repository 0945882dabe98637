#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "casefile/CaseJson.h"
#include "casefile/TCaseJsonReader.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "support/CaseDifferences.h"
#include "support/TCaseGenerator.h"

namespace kavo {
namespace {

// A small case in the exchange format, the base of the cases of refused documents.
constexpr const char* kSmallCase = R"({"format": "KAVO case", "version": 1, "name": "Dam",
  "tags": [{"name": "Red", "colors": {"light": "#ff0000", "mid": "#800000", "dark": "#000000"}}],
  "factors": [{"name": "Water", "tags": ["Red"]}, {"name": "Price", "stock": true}],
  "actors": [{"name": "Farmers", "shortName": "F", "actions": [{"name": "Irrigate"}]}],
  "arenas": [{"name": "Valley", "actors": [{"actor": "Farmers", "perception": {
    "factors": [
      {"factor": "Water", "x": 10, "y": 20, "goal": {"type": "standard", "level": 2, "priority": 3}},
      {"factor": "Irrigate [F]", "x": 100, "y": 20, "actionRange": [0, 1, 2], "chosenLevel": 1}],
    "links": [{"from": "Irrigate [F]", "to": "Water", "level": 2, "uncertainty": 1}]}}]}]})";

class CaseJsonTest : public test::CaseFileTest {
  protected:
    std::optional<TJsonProblem> Import(TCase& target, const std::string& json) {
        return TCaseJsonReader(target).Read(json);
    }
};

TEST_F(CaseJsonTest, SmallCaseReadsWithEverythingInPlace) {
    const std::optional<TJsonProblem> problem = Import(Case, kSmallCase);
    ASSERT_FALSE(problem.has_value()) << problem->Describe();
    EXPECT_EQ(Case.Name, "Dam");
    ASSERT_EQ(Case.TagList.Size(), 1);
    // Colours are stored with red in the low byte.
    EXPECT_EQ(Case.TagList[0]->LightColor, 0x0000FFu);
    EXPECT_EQ(Case.TagList[0]->MidColor, 0x000080u);
    EXPECT_TRUE(Case.FactorList.Find("Price")->IsStock);
    const TFactor* irrigate = Case.FactorList.Find("Irrigate [F]");
    ASSERT_NE(irrigate, nullptr);
    EXPECT_TRUE(irrigate->IsAction);
    EXPECT_EQ(irrigate->Owner, Case.ActorList.Find("Farmers"));
    const TPerception& perception = *Case.ArenaList[0]->Actors[0]->Perception;
    const TFiP* action = perception.FindFiP(irrigate);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->ChosenLevel, 1);
    EXPECT_EQ(action->FeasibleCount, 3);
    EXPECT_FALSE(action->ActionRange[-1]);
    const TGoal* goal = perception.GoalOf(perception.FindFiP(Case.FactorList.Find("Water")));
    ASSERT_NE(goal, nullptr);
    EXPECT_EQ(goal->Priority, 3);
    ASSERT_EQ(perception.Links.size(), 1u);
    EXPECT_EQ(perception.Links[0]->Uncertainty, 1);
    EXPECT_TRUE(Messages.Log.empty());
    EXPECT_FALSE(Case.Modified);
}

// Each refused document names the place of its fault as a JSON pointer.
TEST_F(CaseJsonTest, RefusedDocumentsNameThePlace) {
    const std::string perception = "/arenas/0/actors/0/perception";
    const struct {
        const char* From;
        const char* To;
        std::string Pointer;
        const char* Text;
    } cases[] = {
        {R"("x": 100)", R"("x": })", perception + "/factors/1/x", "syntax error"},
        {R"("version": 1)", R"("version": 2)", "/version", "reads version 1"},
        {R"("format": "KAVO case")", R"("format": "case")", "/format", "expected"},
        {R"(, "shortName": "F")", "", "/actors/0", "missing member \"shortName\""},
        {R"("x": 10,)", R"("x": 10, "z": 1,)", perception + "/factors/0/z", "unknown member"},
        {R"("y": 20,)", R"("y": "20",)", perception + "/factors/0/y", "expected an integer"},
        {R"("level": 2, "uncertainty": 1)", R"("level": 4, "uncertainty": 1)",
         perception + "/links/0/level", "from -3 to 3"},
        {R"("to": "Water")", R"("to": "Price")", perception + "/links/0/to", "does not show"},
        {R"("tags": ["Red"])", R"("tags": ["Blue"])", "/factors/0/tags/0", "no tag"},
        {R"({"name": "Price", )", R"({"name": "water", )", "/factors/1/name", "is taken"},
        {R"({"name": "Price", )", R"({"name": "<b>Price</b>", )", "/factors/1/name", "<b>"},
        {R"("name": "Dam")", R"("name": "Dam\nValley")", "/name", "line breaks"},
        {R"("chosenLevel": 1)", R"("chosenLevel": 3)", perception + "/factors/1/chosenLevel",
         "outside the action range"},
        {R"("x": 10,)", R"("x": 10, "actionRange": [0],)", perception + "/factors/0",
         "only an action"},
        {R"("type": "standard", "level": 2, "priority": 3)", R"("type": "custom")",
         perception + "/factors/0/goal", "missing member \"utilities\""},
        {R"("priority": 3)", R"("priority": 3, "utilities": [])",
         perception + "/factors/0/goal/utilities", "unknown member"},
        {R"({"actor": "Farmers")", R"({"actor": "Fishers")", "/arenas/0/actors/0/actor",
         "no actor"},
        {R"("light": "#ff0000")", R"("light": "red")", "/tags/0/colors/light", "#rrggbb"},
        {R"("name": "Dam",)", R"("name": "Dam", "options": {"baseLevel": 0},)",
         "/options/baseLevel", "may not be 0"},
    };
    for (const auto& c : cases) {
        const std::string json = test::ReplaceFirst(kSmallCase, c.From, c.To);
        ASSERT_NE(json, kSmallCase) << c.From;
        TCase target(Context);
        const std::optional<TJsonProblem> problem = Import(target, json);
        ASSERT_TRUE(problem.has_value()) << c.To;
        EXPECT_EQ(problem->Pointer, c.Pointer) << c.To;
        EXPECT_NE(problem->Text.find(c.Text), std::string::npos) << c.To << ": " << problem->Text;
    }
    TCase target(Context);
    const std::optional<TJsonProblem> empty = Import(target, "");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->Describe().substr(0, 26), "at the top of the document");
    EXPECT_TRUE(Messages.Log.empty());
}

// A case document read, exported and imported gives the same document and the same case; the
// import exports as the same JSON.
class CaseJsonRoundTripTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(CaseJsonRoundTripTest, DocumentToJsonToDocumentKeepsEverything) {
    test::TTestPlatform platform;
    TCase generated(platform.Context);
    test::TCaseGenerator(GetParam(), test::TCaseShape{}).Fill(generated);
    TImageWriter noImages;
    const auto document = [&](TCase& source) {
        return TCaseWriter(source, noImages, test::FixedClock).Document("");
    };
    TCase read(platform.Context);
    ASSERT_EQ(TCaseReader(read).ReadDocument(test::Join(document(generated))),
              TReadOutcome::roRead);
    platform.Messages.Log.clear();
    const std::vector<std::string> original = document(read);
    const std::string json = CaseJson(read);

    TCase imported(platform.Context);
    const std::optional<TJsonProblem> problem = TCaseJsonReader(imported).Read(json);
    ASSERT_FALSE(problem.has_value()) << problem->Describe();
    const std::vector<std::string> differences = test::CaseDifferences(read, imported);
    EXPECT_TRUE(differences.empty())
        << differences.size() << " differences, first: " << differences.front();
    EXPECT_EQ(document(imported), original);
    EXPECT_EQ(CaseJson(imported), json);
    EXPECT_TRUE(platform.Messages.Log.empty()) << platform.Messages.Log.front().Text;
}

INSTANTIATE_TEST_SUITE_P(Seeds, CaseJsonRoundTripTest, ::testing::Range<std::uint32_t>(1, 301));

}  // namespace
}  // namespace kavo
