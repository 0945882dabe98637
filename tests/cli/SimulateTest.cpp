#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "cli/CliRun.h"

namespace kavo {
namespace {

test::TCliRun Simulate(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"simulate"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return test::RunCli(command);
}

class SimulateTest : public test::CaseFileTest {
  protected:
    const std::string Example = std::string(KAVO_EXAMPLES) + "/Water";
    std::string Out() const { return (Scratch / "out").string(); }
};

TEST_F(SimulateTest, RoundsOfTheExampleTwiceAlike) {
    const std::string document = test::ReadFile(Example + "/KAVO case.htm");
    const test::TCliRun run = Simulate({Example, "--rounds", "2"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Output.find("\"start\":{\"round\":0,\"arena\":\"*Round  0\""), std::string::npos);
    EXPECT_NE(run.Output.find("{\"round\":2,\"arena\":\"*Round  2\""), std::string::npos);
    EXPECT_EQ(run.Output.find("{\"round\":3,"), std::string::npos);
    EXPECT_NE(run.Output.find("\"chosenActions\":[[\"Raise dam [Hydro]\","), std::string::npos);
    EXPECT_NE(run.Output.find("\"plotPercent\":"), std::string::npos);
    EXPECT_NE(run.Output.find("\"stoppedEarly\":false"), std::string::npos);
    EXPECT_EQ(run.Output.back(), '\n');
    EXPECT_EQ(Simulate({Example, "--rounds", "2"}).Output, run.Output);
    // Without --out nothing is written.
    EXPECT_EQ(test::ReadFile(Example + "/KAVO case.htm"), document);
}

TEST_F(SimulateTest, WrittenRoundsContinueLater) {
    const test::TCliRun first = Simulate({Example, "--rounds", "3", "--out", Out()});
    ASSERT_EQ(first.Status, 0);
    EXPECT_NE(first.Output.find("\"written\":\"" + Out() + "\""), std::string::npos);
    EXPECT_NE(test::ReadFile(Out() + "/KAVO case.htm").find("*Round  3"), std::string::npos);

    const test::TCliRun again =
        Simulate({Out(), "--from", "1", "--rounds", "1", "--lower", "Greenford Hydro"});
    EXPECT_EQ(again.Status, 0);
    EXPECT_NE(again.Output.find("{\"question\":\"Delete round 2 and later?\",\"answer\":\"Yes\"}"),
              std::string::npos);
    EXPECT_NE(again.Output.find("{\"command\":\"lower\",\"actor\":\"Greenford Hydro\","
                                "\"moved\":true}"),
              std::string::npos);
    EXPECT_NE(again.Output.find("\"actors\":[{\"actor\":\"City of Greenford\",\"priority\":1}"),
              std::string::npos);

    const test::TCliRun compiled = Simulate({Out(), "--rounds", "0"});
    EXPECT_EQ(compiled.Status, 0);
    EXPECT_NE(compiled.Output.find("\"question\":\"Delete all simulation rounds?\""),
              std::string::npos);
}

TEST_F(SimulateTest, CommandsThatCannotStart) {
    const std::vector<std::vector<std::string>> refused{
        {Example},
        {Example, "--rounds", "many"},
        {Example, "--rounds", "1", "--from", "2"},
        {Example, "--rounds", "1", "--raise", "Nobody"},
        {Example, "--rounds", "1", "--time-limit", "soon"},
        {Scratch.string(), "--rounds", "1"},
    };
    for (const auto& arguments : refused) {
        const test::TCliRun run = Simulate(arguments);
        EXPECT_EQ(run.Status, 2) << arguments.size();
        EXPECT_TRUE(run.Output.empty()) << arguments.size();
    }
}

TEST_F(SimulateTest, TimeLimitKeepsTheRoundsDone) {
    const test::TCliRun run =
        Simulate({Example, "--rounds", "5", "--time-limit", "0", "--out", Out()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("\"rounds\":[],\"stoppedEarly\":true"), std::string::npos);
    EXPECT_NE(test::ReadFile(Out() + "/KAVO case.htm").find("*Round  0"), std::string::npos);
}

}  // namespace
}  // namespace kavo
