#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/TFactor.h"
#include "reasoning/Inference.h"
#include "reasoning/TImPath.h"
#include "reasoning/TImPathSet.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using Pairs = std::vector<TPVPair>;

class InferenceTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    // A path as its factor names joined by "-".
    static std::string Text(const TPath& path) {
        std::string text = path.StartFactor()->Name;
        for (const TLink* link : path.Links()) {
            text += "-" + link->ToFiP->Factor->Name;
        }
        return text;
    }
    std::vector<std::string> PathTexts() const {
        std::vector<std::string> texts;
        for (const TPath path : P->Paths) {
            texts.push_back(Text(path));
        }
        return texts;
    }
    std::vector<std::string> CycleTexts() const {
        std::vector<std::string> texts;
        for (const TPath& cycle : P->Cycles) {
            texts.push_back(Text(cycle));
        }
        return texts;
    }
    std::vector<std::string> OrderNames() const {
        std::vector<std::string> names;
        for (const TFiP* fip : P->Order) {
            names.push_back(fip->Factor->Name);
        }
        return names;
    }
    Pairs ImpactPairs(const TFiP* from, const TFiP* to) const {
        const TImpact* impact = ImpactBetween(*P, from, to);
        return impact != nullptr ? impact->Multiplier.Pairs() : Pairs{};
    }

    test::TPerceptionBuilder Build{Case};
    TPerception* P = Build.Perception;
};

TEST_F(InferenceTest, ChainOfCertainLinks) {
    TFiP* a = Build.Action("A");
    TFiP* b = Build.Factor("B");
    TFiP* d = Build.Factor("D");
    Build.Link(a, b, 2);
    Build.Link(b, d, 1);
    InferInfluences(*P);
    EXPECT_EQ(PathTexts(), (std::vector<std::string>{"A [F]-B", "A [F]-B-D", "B-D"}));
    EXPECT_EQ(ImpactPairs(a, d), (Pairs{{1, 0.5}}));
    EXPECT_EQ(ImpactPairs(a, a), (Pairs{{1, 0}}));
    EXPECT_EQ(ImpactPairs(d, a), (Pairs{{1, 0}}));
    EXPECT_EQ(ImpactBetween(*P, a, d)->Vector[1], 1);
    EXPECT_EQ(P->Impacts.size(), 9u);
    EXPECT_TRUE(P->ResultsValid[TPerception::Inferred]);
    EXPECT_TRUE(P->InferenceComplete);
    EXPECT_EQ(Status.Texts.front(), "Inferring indirect influences: Farmer");
    EXPECT_EQ(Status.Texts.back(), "");
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(InferenceTest, ParallelCertainPathsAdd) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TFiP* d = Build.Factor("D");
    Build.Link(a, b, 2);
    Build.Link(a, d, 1);
    Build.Link(d, b, 3);
    InferInfluences(*P);
    EXPECT_EQ(ImpactPairs(a, b), (Pairs{{1, 2}}));
    EXPECT_EQ(ImpactBetween(*P, a, b)->Paths.size(), 2u);
}

TEST_F(InferenceTest, TwoFactorCycle) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(a, b);
    Build.Link(b, a);
    BuildPaths(*P);
    EXPECT_EQ(PathTexts(), (std::vector<std::string>{"A-B", "A-B-A", "B-A", "B-A-B"}));
    EXPECT_EQ(CycleTexts(), (std::vector<std::string>{"A-B-A", "B-A-B"}));
    EXPECT_TRUE(IsOnCycle(*P, a));
    EXPECT_EQ(P->CycleIndex, -1);
}

TEST_F(InferenceTest, ActionFeedingACycleDelaysTheFeedbackLink) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(x, a);
    Build.Link(a, b);
    TLink* back = Build.Link(b, a);
    InferInfluences(*P);
    EXPECT_EQ(OrderNames(), (std::vector<std::string>{"X [F]", "A", "B"}));
    EXPECT_EQ(P->DelayedLinks, std::vector<TLink*>{back});
}

// Literally applied, the fallback appended B a second time from Pending and its change counted
// twice.
TEST_F(InferenceTest, FallbackPlacesEveryFactorOnce) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(a, b);
    TLink* back = Build.Link(b, a);
    Build.Prospect(a, 1);
    Build.Prospect(b, 1);
    InferInfluences(*P);
    EXPECT_EQ(OrderNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(P->DelayedLinks, std::vector<TLink*>{back});
}

TEST_F(InferenceTest, FactorsThatCannotChangeStayOutOfTheOrder) {
    TFiP* idle = Build.Factor("Idle");
    TFiP* fed = Build.Factor("Fed");
    TFiP* x = Build.Action("X");
    TFiP* mixed = Build.Factor("Mixed");
    Build.Link(idle, fed);
    Build.Link(idle, mixed);
    Build.Link(x, mixed);
    FindOrder(*P);
    EXPECT_EQ(OrderNames(), (std::vector<std::string>{"X [F]", "Mixed"}));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(InferenceTest, BlockedFactorOffEveryCycleIsReported) {
    TFiP* a = Build.Action("A");
    TFiP* c = Build.Factor("C");
    TFiP* d = Build.Factor("D");
    TFiP* f = Build.Factor("F");
    Build.Link(a, c);
    Build.Link(d, c);
    Build.Link(d, f);
    Build.Link(f, d);
    InferInfluences(*P);
    EXPECT_EQ(OrderNames(), (std::vector<std::string>{"A [F]"}));
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_EQ(Messages.Log[0].Text, "KAVO check: Expected cycle but found none");
}

TEST_F(InferenceTest, SelectNextCycleWrapsAround) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TLink* ab = Build.Link(a, b);
    TLink* ba = Build.Link(b, a);
    BuildPaths(*P);
    SelectNextCycle(*P);
    EXPECT_EQ(P->Selection, (std::vector<TPerceptionItem>{a, b, ab, a, ba}));
    SelectNextCycle(*P);
    EXPECT_EQ(P->CycleIndex, 1);
    SelectNextCycle(*P);
    EXPECT_EQ(P->CycleIndex, 0);
    EXPECT_EQ(P->Selection.front(), TPerceptionItem{a});
}

// Both paths run through the same uncertain link X-Y: its uncertainty counts once, not once per
// path.
TEST_F(InferenceTest, SharedUncertainLinkCountsOnce) {
    TFiP* x = Build.Factor("X");
    TFiP* y = Build.Factor("Y");
    TFiP* z1 = Build.Factor("Z1");
    TFiP* z2 = Build.Factor("Z2");
    TFiP* w = Build.Factor("W");
    Build.Link(x, y, 2, 1);  // 0.1 at 0.5, 0.8 at 1, 0.1 at 2
    Build.Link(y, z1, 2);
    Build.Link(z1, w, 2);
    Build.Link(y, z2, 1);
    Build.Link(z2, w, 3);
    InferInfluences(*P);
    EXPECT_EQ(ImpactPairs(x, w), (Pairs{{0.1, 1}, {0.8, 2}, {0.1, 4}}));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(InferenceTest, UncertainAndCertainParallelPaths) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TFiP* d = Build.Factor("D");
    Build.Link(a, b, Pairs{{0.5, 1}, {0.5, 2}});
    Build.Link(a, d, 2);
    Build.Link(d, b, 2);
    InferInfluences(*P);
    EXPECT_EQ(ImpactPairs(a, b), (Pairs{{0.5, 2}, {0.5, 3}}));
}

TEST_F(InferenceTest, SplittingOnASharedLinkMixesItsValues) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TFiP* c = Build.Factor("C");
    TLink* shared = Build.Link(a, b, Pairs{{0.25, 1}, {0.75, 2}});
    TLink* fixed = Build.Link(b, c, 3);
    TLink* other = Build.Link(a, c, Pairs{{0.5, 1}, {0.5, 3}});
    {
        TImPathSet left;
        left.Paths.push_back(std::make_unique<TImPath>(std::vector<TLink*>{shared, fixed}));
        TImPathSet right;
        right.Paths.push_back(std::make_unique<TImPath>(std::vector<TLink*>{other}));
        right.Paths.push_back(std::make_unique<TImPath>(std::vector<TLink*>{shared}));
        EXPECT_EQ(SharedUncertainLinks(left, right), std::vector<TLink*>{shared});
        EXPECT_TRUE(SharedUncertainLinks(right, TImPathSet()).empty());

        left.SplitOn(shared);
        ASSERT_TRUE(left.Paths.empty());
        ASSERT_EQ(left.SubSets.size(), 1u);
        const TImPathSet& alternatives = *left.SubSets.front();
        EXPECT_TRUE(alternatives.IsAlternatives);
        ASSERT_EQ(alternatives.Paths.size(), 2u);
        EXPECT_TRUE(alternatives.Paths[0]->Links.empty());
        EXPECT_EQ(*alternatives.Paths[1]->Constant, (TPVPair{0.75, 4}));
        EXPECT_EQ(left.Distribution(Case).Pairs(), (Pairs{{0.25, 2}, {0.75, 4}}));
        EXPECT_EQ(alternatives.Distribution(Case).Cumulation, 1);
        EXPECT_TRUE(TImPathSet().Distribution(Case).Empty());
    }
    EXPECT_EQ(TImPath::Created, TImPath::Destroyed);
    EXPECT_EQ(TImPathSet::Created, TImPathSet::Destroyed);
}

TEST_F(InferenceTest, UncertainItemsAreProspectsThenLinks) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TLink* uncertain = Build.Link(a, b, 2, 2);
    Build.Link(b, a, 2, 0);
    TProspect* prospect = Build.Prospect(b, 1, 1);
    Build.Prospect(a, 1, 0);
    CollectUncertainItems(*P);
    EXPECT_EQ(P->UncertainItems,
              (std::vector<TUncertainItem>{TUncertainItem{prospect}, TUncertainItem{uncertain}}));
}

TEST_F(InferenceTest, EditingFreesTheResults) {
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TLink* link = Build.Link(a, b);
    InferInfluences(*P);
    P->Remove(link);
    EXPECT_FALSE(P->ResultsValid[TPerception::Inferred]);
    EXPECT_TRUE(P->Paths.empty());
    EXPECT_TRUE(P->Impacts.empty());
}

// A ladder of layers of two factors, each joined to both of the next by uncertain links: the
// parallel paths from the first layer to the last share so many uncertain links that conditioning
// on all their values would take more working paths than the bound allows.
TEST_F(InferenceTest, ImpactsBeyondTheSplitBoundAreMarkedApproximate) {
    std::vector<std::vector<TFiP*>> layers;
    for (int layer = 0; layer < 8; ++layer) {
        layers.push_back({Build.Factor("L" + std::to_string(layer) + "a"),
                          Build.Factor("L" + std::to_string(layer) + "b")});
    }
    for (std::size_t layer = 0; layer + 1 < layers.size(); ++layer) {
        for (TFiP* from : layers[layer]) {
            for (TFiP* to : layers[layer + 1]) {
                Build.Link(from, to, 2, 1);
            }
        }
    }
    InferInfluences(*P);
    EXPECT_TRUE(ImpactBetween(*P, layers[0][0], layers[7][0])->Approximate);
    // Two paths through one middle factor share no link apart from their first and last.
    EXPECT_FALSE(ImpactBetween(*P, layers[0][0], layers[2][0])->Approximate);
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_EQ(Messages.Log[0].Kind, test::TMessage::Kind::Warning);
    EXPECT_NE(Messages.Log[0].Text.find("combined as if independent"), std::string::npos);
}

// A status that lets the user cancel after some pumps.
class TCancellingStatus : public TStatus {
  public:
    explicit TCancellingStatus(TContext*& context, int pumps) : Context(context), Left(pumps) {}
    void SetStatusText(const std::string& text) override { Texts.push_back(text); }
    void PumpEvents() override {
        if (--Left <= 0) {
            Context->AnalysisCancelled = true;
        }
    }
    TContext*& Context;
    int Left;
    std::vector<std::string> Texts;
};

// Sixteen factors, each linked to every other: far more simple paths than can be listed.
void LinkEveryPair(test::TPerceptionBuilder& build) {
    std::vector<TFiP*> fips;
    for (int i = 0; i < 16; ++i) {
        fips.push_back(build.Factor("F" + std::to_string(i)));
    }
    for (TFiP* from : fips) {
        for (TFiP* to : fips) {
            if (from != to) {
                build.Link(from, to);
            }
        }
    }
}

TEST(InferenceLimits, ExplodingPathCountStopsAtTheBound) {
    test::TCaseFixture fixture;
    test::TPerceptionBuilder build(fixture.Case);
    LinkEveryPair(build);
    InferInfluences(*build.Perception);
    EXPECT_EQ(build.Perception->Paths.size(), kMaxPaths);
    EXPECT_FALSE(build.Perception->InferenceComplete);
    EXPECT_TRUE(build.Perception->ResultsValid[TPerception::Inferred]);
    EXPECT_EQ(build.Perception->Impacts.size(), 256u);
    ASSERT_EQ(fixture.Messages.Log.size(), 1u);
    EXPECT_EQ(fixture.Messages.Log[0].Kind, test::TMessage::Kind::Warning);
    EXPECT_NE(fixture.Messages.Log[0].Text.find("Inference stopped after 250000 causal paths"),
              std::string::npos);
    EXPECT_GT(fixture.Status.Pumps, 10);
}

TEST(InferenceLimits, CancelledInferenceIsNotValid) {
    TContext* context = nullptr;
    test::TRecordingMessages messages;
    TCancellingStatus status(context, 5);
    test::TFixedTextMeasure measure;
    TContext shared(messages, status, measure);
    context = &shared;
    TCase owningCase(shared);
    test::TPerceptionBuilder build(owningCase);
    LinkEveryPair(build);
    InferInfluences(*build.Perception);
    EXPECT_FALSE(build.Perception->ResultsValid[TPerception::Inferred]);
    EXPECT_FALSE(build.Perception->InferenceComplete);
    EXPECT_LT(build.Perception->Paths.size(), kMaxPaths);
    EXPECT_EQ(status.Texts.back(), "");
    EXPECT_TRUE(messages.Log.empty());
}

}  // namespace
}  // namespace kavo
