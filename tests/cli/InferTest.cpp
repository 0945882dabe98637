#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "cli/CliRun.h"
#include "model/TGoal.h"
#include "model/TLevels.h"
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
}

// Action P (levels 0, +1, +2; chosen +2) drives Y and Z through links of multiplier 1. The goal on
// Y rates a change of +1 at utility +2 and +2 at -1; the goal on Z rates +2 at -2 and every other
// change at 0, its best, so that it is satisfied wherever it sees no loss. That makes the
// three strategies, with utilities in units of the top utility level (4 by default):
//   P = 0: utility 0 + 0 = 0,           satisfaction (0 + 1) / 2 = 0.5, frustration 0
//   P = 1: utility 2/4 + 0 = 0.5,       satisfaction (1 + 1) / 2 = 1,   frustration 0
//   P = 2: utility -1/4 - 2/4 = -0.75,  satisfaction 0,                 frustration 2 / 2 = 1
class InferKnownValuesTest : public InferTest {
  protected:
    void SetUp() override {
        InferTest::SetUp();
        test::TPerceptionBuilder build(Case);
        TFiP* p = build.Action("P");
        p->ActionRange = TActionRange{{false, false, false, true, true, true, false}};
        p->UpdateFeasibleLevels();
        p->ChosenLevel = 2;
        TFiP* y = build.Factor("Y");
        TFiP* z = build.Factor("Z");
        build.Link(p, y);
        build.Link(p, z);
        build.Perception->Add(
            std::make_unique<TGoal>(y, TLevels<std::int8_t>{{0, 0, 0, 0, 2, -1, 0}}));
        build.Perception->Add(
            std::make_unique<TGoal>(z, TLevels<std::int8_t>{{0, 0, 0, 0, 0, -2, 0}}));
        ASSERT_TRUE(Save(Case, Scratch));
    }

    TInferRun Run(const std::string& rationality) {
        return Infer({Scratch.string(), "--actor", "Farmer", "--rationality", rationality});
    }

    // The results of the strategy with P at the level, as every strategy of the document shows
    // them.
    static std::string Results(int level) {
        const struct {
            const char* Utility;
            const char* Satisfaction;
            const char* Frustration;
        } values[] = {{"0", "0.5", "0"}, {"0.5", "1", "0"}, {"-0.75", "0", "1"}};
        const auto& v = values[level];
        const std::string change = std::to_string(level);
        const auto pairs = [](const std::string& value) { return "[[1," + value + "]],"; };
        return std::string("\"utility\":") + pairs(v.Utility) + "\"utilityMean\":" + v.Utility +
               ",\"satisfaction\":" + pairs(v.Satisfaction) +
               "\"satisfactionMean\":" + v.Satisfaction +
               ",\"frustration\":" + pairs(v.Frustration) + "\"frustrationMean\":" + v.Frustration +
               ",\"outcomes\":[{\"goal\":\"Y\",\"change\":" + pairs(change) +
               "\"changeMean\":" + change + "},{\"goal\":\"Z\",\"change\":" + pairs(change) +
               "\"changeMean\":" + change + "}]";
    }
    static std::string Strategy(int level) {
        return "{\"tactics\":[{\"action\":\"P [F]\",\"level\":" + std::to_string(level) + "}]," +
               Results(level) + "}";
    }
    static std::string List(const std::vector<int>& levels) {
        std::string text = "[";
        for (const int level : levels) {
            text += (text.size() > 1 ? "," : "") + Strategy(level);
        }
        return text + "]";
    }
};

TEST_F(InferKnownValuesTest, StrategiesUnderEachRationality) {
    const struct {
        const char* Rationality;
        const char* BestScore;
        const char* WorstScore;
        std::vector<int> Best;
        std::vector<int> Worst;
        const char* DefaultScore;
        const char* ChosenScore;
    } cases[] = {
        {"0", "0.5", "-0.75", {1}, {2}, "0", "-0.75"},
        {"1", "0.5", "-0.75", {1}, {2}, "0", "-0.75"},
        {"3", "1", "0", {1}, {2}, "0.5", "0"},
        // Frustration: P = 0 and P = 1 tie for the best, least action first; minus a mean
        // frustration of 0 is written -0.
        {"6", "-0", "-1", {0, 1}, {2}, "-0", "-1"},
        // Least regret scores every strategy 0: all three tie both ways.
        {"2", "0", "0", {0, 1, 2}, {0, 1, 2}, "0", "0"},
    };
    for (const auto& c : cases) {
        const TInferRun run = Run(c.Rationality);
        const std::string& out = run.Output;
        SCOPED_TRACE(c.Rationality);
        EXPECT_EQ(run.Status, 0);
        EXPECT_NE(out.find("\"rationality\":" + std::string(c.Rationality) + ","),
                  std::string::npos);
        EXPECT_NE(out.find("\"feasibleLevels\":[0,1,2],"), std::string::npos);
        EXPECT_NE(out.find("\"default\":{\"tactics\":[{\"action\":\"P [F]\",\"level\":0}],"
                           "\"score\":" +
                           std::string(c.DefaultScore) + "," + Results(0) + "}"),
                  std::string::npos);
        EXPECT_NE(out.find("\"chosen\":{\"tactics\":[{\"action\":\"P [F]\",\"level\":2}],"
                           "\"score\":" +
                           std::string(c.ChosenScore) + "," + Results(2) + "}"),
                  std::string::npos);
        const int first = c.Best.front();
        EXPECT_NE(out.find("\"best\":{\"tactics\":[{\"action\":\"P [F]\",\"level\":" +
                           std::to_string(first) + "}],\"bestScore\":" + c.BestScore +
                           ",\"worstScore\":" + c.WorstScore +
                           ",\"strategyCount\":3,\"evaluations\":3,\"complete\":true," +
                           Results(first) + ",\"bestStrategies\":" + List(c.Best) +
                           ",\"worstStrategies\":" + List(c.Worst) + "}"),
                  std::string::npos)
            << out;
    }
}

// A rationality outside 0..8 is refused with a message, before anything is computed.
TEST_F(InferKnownValuesTest, RationalityOutOfRange) {
    for (const char* bad : {"9", "-1", "1.5", "utility"}) {
        const TInferRun run = test::RunCli({"infer", Scratch.string(), "--rationality", bad}, true);
        EXPECT_EQ(run.Status, 2) << bad;
        EXPECT_NE(run.Output.find("kavo-cli infer: --rationality"), std::string::npos) << bad;
        EXPECT_EQ(run.Output.find("\"perceptions\""), std::string::npos) << bad;
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
