#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "casefile/CaseFileFixture.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"

namespace kavo {
namespace {

// A saved case with an arena "Market" in which the actor "Government" (short name "Gov") sees
// its tax lower the water use, which it wants down, and rain raise the water level.
class QuickTest : public test::CaseFileTest {
  protected:
    QuickTest() {
        TArena* market = Case.FindOrCreateArena("Market");
        TAiA* record = Case.AddActorToArena(*market, "Government", "Gov");
        TPerception& perception = *record->Perception;
        const auto show = [&perception](TFactor* factor) {
            perception.Add(std::make_unique<TFiP>(factor));
            return perception.FiPs.back().get();
        };
        TFiP* tax = show(Case.FindOrCreateFactor("Water tax", false, true, "Gov"));
        TFiP* use = show(Case.FindOrCreateFactor("Water_use"));
        TFiP* rain = show(Case.FindOrCreateFactor("Rain"));
        TFiP* level = show(Case.FindOrCreateFactor("Water level"));
        perception.Add(std::make_unique<TLink>(Case, tax, use));
        TLink& lowers = *perception.Links.back();
        lowers.Level = -2;
        lowers.Vector = UncertaintyProfile(0, -2);
        lowers.Distribution.SetMultiplier(Case, -2, 0);
        perception.Add(std::make_unique<TLink>(Case, rain, level));
        perception.Add(std::make_unique<TGoal>(Case, use, TGoalType::gtStandard, -2, 2));
        Folder = Scratch / "case";
        EXPECT_TRUE(Save(Case, Folder));
    }

    // The exit status of kavo-cli quick with the arguments; its output goes to Output.
    int Quick(const std::string& arguments) {
        const std::string command = std::string("\"") + KAVO_CLI_PATH + "\" quick \"" +
                                    Folder.string() + "\" --arena Market " + arguments + " 2>&1";
        Output.clear();
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            Output.append(buffer, n);
        }
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::filesystem::path Folder;
    std::string Output;
};

TEST_F(QuickTest, LinkShowsItsMultiplier) {
    ASSERT_EQ(Quick("--actor Gov --item 'Rain -> water level'"), 0) << Output;
    EXPECT_EQ(Output,
              "Link at cursor: \n"
              " - vector: (0, 0, 0, 0, 0, 1, 0)\n"
              " - proval: [(1, 1)]\n");
}

TEST_F(QuickTest, ActionShowsItsInfluenceOnTheGoalsAndTheEffectOfALevel) {
    ASSERT_EQ(Quick("--actor Government --item 'water tax' --level 1 --strategies"), 0) << Output;
    EXPECT_EQ(Output,
              "Best strategy: +2 Water tax [Gov]\n"
              "3 worst strategies: -1 Water tax [Gov]\n"
              " - -2 Water tax [Gov]\n"
              " - -3 Water tax [Gov]\n"
              "1 path from Water tax [Gov] to Water use\n"
              "Total influence: \n"
              " - vector: (0, 1, 0, 0, 0, 0, 0)\n"
              " - proval: [(1, -1)]\n"
              "Effect of +1 Water tax [Gov] on 1 goal: 0.25U, 50% satisfaction, 0% frustration\n"
              " - utility proval: [(1, 0.25)]\n"
              " - satisfaction proval: [(1, 0.5)]\n"
              " - frustration proval: [(1, 0)]\n");
}

TEST_F(QuickTest, InfluenceOnTheNamedFactorsOnly) {
    ASSERT_EQ(Quick("--actor Gov --item 'water tax' --to Rain --to 'Water use'"), 0) << Output;
    EXPECT_TRUE(
        Output.starts_with("No path from Water tax [Gov] to Rain\n"
                           "1 path from Water tax [Gov] to Water use\n"))
        << Output;
}

TEST_F(QuickTest, UnknownNamesAndBadLevelsAreRefused) {
    for (const std::string& arguments :
         {std::string("--actor Gov"), std::string("--actor Gov --item Snow"),
          std::string("--actor Gov --item 'Rain -> Water tax'"),
          std::string("--actor Gov --item Rain --to Snow"),
          std::string("--actor Gov --item Rain --level 4"),
          std::string("--actor Nobody --item Rain")}) {
        EXPECT_EQ(Quick(arguments), 2) << arguments;
        EXPECT_TRUE(Output.starts_with("kavo-cli quick: ")) << arguments << ": " << Output;
    }
}

}  // namespace
}  // namespace kavo
