#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "cli/CliRun.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using test::Occurrences;
using TInferRun = test::TCliRun;

TInferRun Infer(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"infer"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return test::RunCli(command);
}

class InferTest : public test::CaseFileTest {
  protected:
    const std::string Example = std::string(KAVO_EXAMPLES) + "/Water";
};

TEST_F(InferTest, EveryPerceptionOfTheExample) {
    const TInferRun run = Infer({Example});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Occurrences(run.Output, "\"owner\":"), 8);
    EXPECT_EQ(run.Output.back(), '\n');
    EXPECT_NE(run.Output.find("\"stoppedEarly\":false}\n"), std::string::npos);
    EXPECT_NE(run.Output.find("\"bestStrategies\":[{\"tactics\":[{"), std::string::npos);
}

// What another program needs to check every result: the rationality it was computed under, the
// feasible levels, the number of strategies searched and the distributions and outcomes of
// every strategy listed.
TEST_F(InferTest, RationalityAndResultsOfEveryStrategy) {
    const TInferRun run = Infer({Example, "--rationality", "7"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(Occurrences(run.Output, "\"rationality\":7,"), 8);
    EXPECT_NE(run.Output.find("\"feasibleLevels\":[0,1,-1,2,-2,3,-3],"), std::string::npos);
    EXPECT_NE(run.Output.find("\"strategyCount\":"), std::string::npos);
    // Every strategy listed carries its outcomes, the searched one included.
    EXPECT_EQ(Occurrences(run.Output, "{\"tactics\":"), Occurrences(run.Output, "\"outcomes\":"));
    EXPECT_NE(Infer({Example, "--rationality", "0"}).Output, run.Output);
    for (const char* bad : {"9", "-1", "1.5", "utility"}) {
        EXPECT_EQ(Infer({Example, "--rationality", bad}).Status, 2) << bad;
    }
}

// A ladder of uncertain links whose parallel paths share too many of them: the impacts combined
// under the bound on working paths say so, and so does the warning in the document.
TEST_F(InferTest, ApproximateImpactsAndTheirWarning) {
    test::TPerceptionBuilder build(Case);
    std::vector<std::vector<TFiP*>> layers;
    for (int layer = 0; layer < 8; ++layer) {
        layers.push_back({build.Factor("L" + std::to_string(layer) + "a"),
                          build.Factor("L" + std::to_string(layer) + "b")});
    }
    for (std::size_t layer = 0; layer + 1 < layers.size(); ++layer) {
        for (TFiP* from : layers[layer]) {
            for (TFiP* to : layers[layer + 1]) {
                build.Link(from, to, 2, 1);
            }
        }
    }
    ASSERT_TRUE(Save(Case, Scratch));
    const TInferRun run = Infer({Scratch.string(), "--actor", "Farmer"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("\"approximate\":true"), std::string::npos);
    EXPECT_NE(run.Output.find("\"messages\":[{\"kind\":\"warning\",\"text\":\"Some influences"),
              std::string::npos);
}

TEST_F(InferTest, SelectionOfPerceptions) {
    const struct {
        std::vector<std::string> Arguments;
        int Status;
        int Perceptions;
    } cases[] = {
        {{Example, "--arena", "Raising the dam", "--analyst"}, 0, 1},
        {{Example, "--arena", "Raising the dam"}, 0, 4},
        {{Example, "--actor", "River Trust", "--no-search"}, 0, 2},
        {{Example, "--arena", "No such arena"}, 2, 0},
        {{Example, "--actor", "River Trust", "--analyst"}, 2, 0},
        {{Example, "--time-limit", "soon"}, 2, 0},
        {{}, 2, 0},
    };
    for (const auto& c : cases) {
        const TInferRun run = Infer(c.Arguments);
        EXPECT_EQ(run.Status, c.Status) << c.Arguments.size();
        EXPECT_EQ(Occurrences(run.Output, "\"owner\":"), c.Perceptions) << c.Arguments.size();
    }
}

TEST_F(InferTest, NumbersCarryFullPrecision) {
    const TInferRun run = Infer({Example, "--arena", "Raising the dam", "--analyst"});
    EXPECT_NE(run.Output.find("0.20000000000000001"), std::string::npos);
}

// Twelve uncertain prospects of three pairs: 531,441 combinations, each evaluation estimated on
// a sample of 4,096, which the document says.
TEST_F(InferTest, EstimatedEvaluationsSaySo) {
    test::TPerceptionBuilder build(Case);
    TFiP* sum = build.Factor("Sum");
    for (int i = 0; i < 12; ++i) {
        TFiP* source = build.Factor("S" + std::to_string(i));
        build.Prospect(source, 1, 1);
        build.Link(source, sum);
    }
    build.Link(build.Action("X"), sum);
    build.Goal(sum, 2);
    ASSERT_TRUE(Save(Case, Scratch));
    const TInferRun run = Infer({Scratch.string(), "--actor", "Farmer"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Output.find("\"uncertainCombinations\":531441,\"sampledCombinations\":4096,"),
              std::string::npos);
    EXPECT_EQ(Occurrences(Infer({Example}).Output, "\"sampledCombinations\":0,"), 8);
}

// Sixteen factors each linked to every other: the time limit ends the work and the document says
// so.
TEST_F(InferTest, TimeLimitStopsAnExplodingPerception) {
    test::TPerceptionBuilder build(Case);
    std::vector<TFiP*> fips;
    for (int i = 0; i < 16; ++i) {
        fips.push_back(build.Factor("F" + std::to_string(i)));
    }
    for (TFiP* from : fips) {
        for (TFiP* to : fips) {
            if (from != to) {
                build.Link(from, to, 2, 1);
            }
        }
    }
    build.Goal(fips.back(), 1);
    ASSERT_TRUE(Save(Case, Scratch));
    const TInferRun run = Infer({Scratch.string(), "--actor", "Farmer", "--time-limit", "0.2"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("\"stoppedEarly\":true"), std::string::npos);
    EXPECT_NE(run.Output.find("\"stoppedEarly\":true}\n"), std::string::npos);
}

}  // namespace
}  // namespace kavo
