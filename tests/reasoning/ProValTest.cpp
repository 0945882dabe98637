#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

#include "reasoning/TProVal.h"
#include "reasoning/TProValMonitor.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::TMessage;
using Pairs = std::vector<TPVPair>;

class ProValTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    TProVal Make(TProValKind kind, const Pairs& pairs, int cumulation = 1) {
        TProVal distribution(kind);
        for (const TPVPair& pair : pairs) {
            distribution.Add(Case, pair.Prob, pair.Value);
        }
        distribution.Cumulation = cumulation;
        return distribution;
    }
    TProVal Change(const Pairs& pairs, int cumulation = 1) {
        return Make(TProValKind::pvChange, pairs, cumulation);
    }
};

TEST_F(ProValTest, AddMergesEqualValuesAndIgnoresNoMass) {
    TProVal distribution(TProValKind::pvChange);
    distribution.Add(Case, 0.5, 1);
    distribution.Add(Case, 0.5, 1);
    distribution.Add(Case, 0, 3);
    distribution.Add(Case, -1, 3);
    distribution.Add(Case, 0.2, -1);
    EXPECT_EQ(distribution.Pairs(), (Pairs{{0.2, -1}, {1, 1}}));
    EXPECT_EQ(distribution.Cumulation, 0);
}

TEST_F(ProValTest, AutofocusMergesNearValuesOncePastTheThreshold) {
    struct Case_ {
        double Existing;
        double Added;
        bool Merges;
    };
    const Case_ cases[] = {
        {96, 100, true},                 // |100 - 96| <= 5 % of 100
        {94, 100, false}, {0, 0, true},  // zero merges with an exact zero only
        {0.01, 0, false}, {-96, -100, true}, {-94, -100, false},
    };
    for (const Case_& c : cases) {
        TProVal distribution(TProValKind::pvChange);
        distribution.Add(Case, 1, c.Existing);
        for (int i = 0; i < 30; ++i) {
            distribution.Add(Case, 1, 1000 + 100 * i);
        }
        ASSERT_EQ(distribution.Count(), 31);
        distribution.Add(Case, 1, c.Added);
        EXPECT_EQ(distribution.Count(), c.Merges ? 31 : 32) << c.Existing << " " << c.Added;
        if (c.Merges) {
            EXPECT_EQ(distribution[0], (TPVPair{2, c.Existing}));
        }
    }
}

TEST_F(ProValTest, AutofocusStaysOffUpToTheThreshold) {
    TProVal distribution(TProValKind::pvChange);
    for (int i = 0; i < 30; ++i) {
        distribution.Add(Case, 1, 1000 + 100 * i);
    }
    distribution.Add(Case, 1, 1001);
    EXPECT_EQ(distribution.Count(), 31);
}

// Adding many values at once gives the list that adding them one by one gives, pair for pair and
// bit for bit: runs of equal values, values within the autofocus tolerance of each other (just
// inside and just outside it), zeros of both signs, no mass, values met again after others came
// between (every other round draws from a few values only) and lists that run downwards after
// Negate; with thresholds that the lists cross early, late or never.
TEST_F(ProValTest, AddAllEqualsAddingOneByOne) {
    std::uint32_t state = 12345;
    const auto below = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    const double base[] = {-4, -2, -1, -0.0, 0, 0.5, 1, 2, 4, 2.1, 1.95, 4.2, 3.8, 0.9};
    for (const int threshold : {-1, 0, 3, 30, 1000}) {
        Case.AutofocusThreshold = threshold;
        for (int round = 0; round < 40; ++round) {
            std::vector<double> probs;
            std::vector<double> values;
            double value = 0;
            for (int i = 0; i < 300; ++i) {
                // Runs of the same value, values near a tolerance edge, and spread values.
                switch (below(4)) {
                    case 0:
                        break;
                    case 1:
                        value = base[below(std::size(base))];
                        break;
                    case 2: {
                        const double edge = value * Case.AutofocusResolution / 100;
                        value += below(2) == 0 ? edge : std::nextafter(edge, 0.0);
                        break;
                    }
                    default:
                        value = round % 2 == 1 ? base[below(6)]
                                               : static_cast<double>(below(2001)) / 100 - 10;
                        break;
                }
                probs.push_back(below(10) == 0 ? (below(2) == 0 ? 0.0 : -0.25)
                                               : static_cast<double>(1 + below(7)) / 4096);
                values.push_back(value);
            }
            for (const bool negated : {false, true}) {
                SCOPED_TRACE(::testing::Message() << "threshold " << threshold << ", round "
                                                  << round << (negated ? ", negated" : ""));
                TProVal one(TProValKind::pvChange);
                TProVal all(TProValKind::pvChange);
                // The same values in two calls: the places found in the first must not mislead
                // the second.
                TProVal halves(TProValKind::pvChange);
                if (negated) {
                    for (TProVal* list : {&one, &all, &halves}) {
                        list->Add(Case, 0.5, -3);
                        list->Add(Case, 0.5, 3.5);
                        list->Negate();
                    }
                }
                for (std::size_t i = 0; i < values.size(); ++i) {
                    one.Add(Case, probs[i], values[i]);
                }
                all.AddAll(Case, probs.data(), values.data(), values.size());
                ASSERT_EQ(all.Pairs(), one.Pairs());
                const std::size_t half = values.size() / 2;
                halves.AddAll(Case, probs.data(), values.data(), half);
                halves.AddAll(Case, probs.data() + half, values.data() + half,
                              values.size() - half);
                ASSERT_EQ(halves.Pairs(), one.Pairs());
                for (std::size_t i = 0; i < one.Pairs().size(); ++i) {
                    ASSERT_EQ(std::signbit(all[static_cast<int>(i)].Value),
                              std::signbit(one[static_cast<int>(i)].Value));
                }
            }
        }
    }
}

TEST_F(ProValTest, BuildingFromLevels) {
    TProVal change;
    change.SetChange(Case, 3, 1);
    EXPECT_EQ(change.Kind, TProValKind::pvChange);
    EXPECT_EQ(change.Pairs(), (Pairs{{0.2, 2}, {0.8, 4}}));
    EXPECT_EQ(change.Cumulation, 1);
    TProVal multiplier;
    multiplier.SetMultiplier(Case, -1, 0);
    EXPECT_EQ(multiplier.Kind, TProValKind::pvMultiplier);
    EXPECT_EQ(multiplier.Pairs(), (Pairs{{1, -0.5}}));
    change.SetChange(Case, 0, 2);
    EXPECT_EQ(change.Pairs(), (Pairs{{0.05, -2}, {0.15, -1}, {0.6, 0}, {0.15, 1}, {0.05, 2}}));
    change.SetZero();
    EXPECT_EQ(change.Pairs(), (Pairs{{1, 0}}));
    change.Clear();
    EXPECT_TRUE(change.Empty());
    EXPECT_EQ(change.Cumulation, 0);
    EXPECT_EQ(change.Kind, TProValKind::pvChange);
}

TEST_F(ProValTest, EveryUncertaintyProfileSumsToOne) {
    for (int degree = 0; degree <= 3; ++degree) {
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            double sum = 0;
            for (int i = kMinLevel; i <= kMaxLevel; ++i) {
                sum += UncertaintyProfile(degree, level)[i];
            }
            EXPECT_NEAR(sum, 1, 1e-12) << degree << " " << level;
        }
        EXPECT_EQ(UncertaintyProfile(degree, 0)[0], (std::array{1.0, 0.8, 0.6, 0.4})[degree]);
    }
}

TEST_F(ProValTest, ProductTakesTheKindOfTheNonMultiplier) {
    TProVal multiplier;
    multiplier.SetMultiplier(Case, 2, 0);
    TProVal change;
    change.SetChange(Case, 1, 0);
    TProVal product;
    product.SetToProduct(Case, multiplier, change);
    EXPECT_EQ(product.Kind, TProValKind::pvChange);
    product.SetToProduct(Case, change, multiplier);
    EXPECT_EQ(product.Kind, TProValKind::pvChange);
    const TProVal a = Change({{0.5, -1}, {0.5, 2}});
    const TProVal b = Make(TProValKind::pvMultiplier, {{0.5, 2}, {0.5, -1}}, 3);
    product.SetToProduct(Case, a, b);
    EXPECT_EQ(product.Pairs(), (Pairs{{0.5, -2}, {0.25, 1}, {0.25, 4}}));
    EXPECT_EQ(product.Cumulation, 3);
    product.MultiplyBy(Case, b);
    EXPECT_EQ(product.Pairs(), (Pairs{{0.375, -4}, {0.125, -1}, {0.375, 2}, {0.125, 8}}));
}

TEST_F(ProValTest, SumOfDifferentKindsIsReportedAndTakesTheFirstKind) {
    const TProVal a = Change({{0.5, -1}, {0.5, 1}});
    const TProVal b = Make(TProValKind::pvUtility, {{1, 2}});
    TProVal sum;
    sum.SetToSum(Case, a, b);
    EXPECT_EQ(sum.Kind, TProValKind::pvChange);
    EXPECT_EQ(sum.Pairs(), (Pairs{{0.5, 1}, {0.5, 3}}));
    EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Error,
                                                    "Should not combine different ProValTypes"}}));
    TProVal total = a;
    total.IncreaseBy(Case, a);
    EXPECT_EQ(total.Pairs(), (Pairs{{0.25, -2}, {0.5, 0}, {0.25, 2}}));
}

TEST_F(ProValTest, CumulateBuildsAMixture) {
    TProVal mixture = Change({{1, 2}});
    mixture.Cumulate(Case, Change({{1, 4}}));
    EXPECT_EQ(mixture.Pairs(), (Pairs{{1, 2}, {1, 4}}));
    EXPECT_EQ(mixture.Cumulation, 2);
    EXPECT_EQ(mixture.Mean(Case), 3);
    EXPECT_EQ(mixture.RawMean(Case), 6);
    EXPECT_EQ(mixture.StdDev(Case), 1);
    mixture.Cumulate(Case, mixture);
    EXPECT_EQ(mixture.Pairs(), (Pairs{{2, 2}, {2, 4}}));
    EXPECT_EQ(mixture.Cumulation, 4);
    mixture.Cumulate(Case, Make(TProValKind::pvUtility, {{1, 9}}));
    EXPECT_EQ(mixture.Cumulation, 4);
    EXPECT_EQ(Messages.Log,
              (std::vector<TMessage>{
                  {TMessage::Kind::Error, "Should not cumulate different ProVal types"}}));
}

TEST_F(ProValTest, NormalizedOfNothingIsEmpty) {
    const TProVal undefined = Change({{1, 2}}, 0);
    EXPECT_TRUE(undefined.Normalized(Case).Empty());
    EXPECT_EQ(undefined.Mean(Case), 0);
    EXPECT_EQ(undefined.StdDev(Case), 0);
}

TEST_F(ProValTest, NegateKeepsThePairsInPlace) {
    TProVal distribution = Change({{0.5, -1}, {0.5, 2}});
    distribution.Negate();
    EXPECT_EQ(distribution.Pairs(), (Pairs{{0.5, 1}, {0.5, -2}}));
    EXPECT_EQ(distribution.Cumulation, 1);
}

TEST_F(ProValTest, FocusMergesIntoTheHighestValueOfAGroup) {
    struct Case_ {
        Pairs Before;
        double Percent;
        Pairs After;
    };
    const Case_ cases[] = {
        {{{0.5, 5}, {0.3, 9}, {0.2, 10}}, 20, {{0.5, 5}, {0.5, 10}}},
        {{{0.5, 5}}, 50, {{0.5, 5}}},
        {{{0.25, -1}, {0.25, 0}, {0.5, 1}}, 10, {{0.25, -1}, {0.25, 0}, {0.5, 1}}},
        {{{0.0002, 1}, {0.0003, 100}}, 1, {{0.0005, 100}}},
        {{{0.4, 1}, {0.6, 1.05}}, 10, {{1, 1.05}}},
    };
    for (const Case_& c : cases) {
        TProVal distribution = Change(c.Before);
        distribution.Focus(c.Percent);
        ASSERT_EQ(distribution.Count(), static_cast<int>(c.After.size()));
        for (int i = 0; i < distribution.Count(); ++i) {
            EXPECT_DOUBLE_EQ(distribution[i].Prob, c.After[static_cast<std::size_t>(i)].Prob);
            EXPECT_DOUBLE_EQ(distribution[i].Value, c.After[static_cast<std::size_t>(i)].Value);
        }
    }
}

TEST_F(ProValTest, WorstValues) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TProVal(TProValKind::pvUtility).Worst(), infinity);
    EXPECT_EQ(TProVal(TProValKind::pvFrustration).Worst(), -infinity);
    EXPECT_EQ(Make(TProValKind::pvFrustration, {{0.5, 0.2}, {0.5, 0.7}}).Worst(), 0.7);
    TProVal negated = Make(TProValKind::pvUtility, {{0.5, -0.2}, {0.5, 0.7}});
    negated.Negate();
    EXPECT_EQ(negated.Worst(), -0.7);
}

TEST_F(ProValTest, VectorsAndDistances) {
    const TProVal change = Change({{0.25, -4}, {0.25, 0.99}, {0.5, 3.9}});
    EXPECT_EQ(change.ToVector(Case), (TProbVector{{0.25, 0, 0, 0.25, 0, 0.5, 0}}));
    EXPECT_FALSE(Change({{1, 0}}).IsNonZero());
    EXPECT_TRUE(change.IsNonZero());
    const TProVal certain = Change({{1, 1}});
    const TProVal other = Change({{1, -2}});
    EXPECT_DOUBLE_EQ(certain.LevelDistance(Case, other), 3.0 / 6);
    EXPECT_DOUBLE_EQ(certain.JointIntensity(Case, other), 2.0 / 9);
    const TProVal utility = Make(TProValKind::pvUtility, {{0.5, 1}, {0.5, 2}});
    EXPECT_EQ(utility.ToVector(Case), (TProbVector{{0, 0, 0, 1, 0, 0, 0}}));
    EXPECT_EQ(Messages.Log.size(), 2u);
    EXPECT_EQ(Messages.Log[0].Text, "Convert only changes and links to ProbVectors");
}

TEST_F(ProValTest, SamplingFollowsTheGenerator) {
    const TProVal distribution = Change({{0.25, -1}, {0.5, 0}, {0.25, 1}});
    Context.Random.Seed(0);
    // The first draws from seed 0 are 1/2^32 and then about 0.0314.
    EXPECT_EQ(distribution.Sample(Case).Pairs(), (Pairs{{1, -1}}));
    TRandom replay;
    replay.Seed(Context.Random.State);
    const double r = replay.Next();
    const double expected = r <= 0.25 ? -1 : r <= 0.75 ? 0 : 1;
    const TProVal sample = distribution.Sample(Case);
    EXPECT_EQ(sample.Pairs(), (Pairs{{1, expected}}));
    EXPECT_EQ(sample.Cumulation, 1);
    EXPECT_TRUE(TProVal(TProValKind::pvChange).Sample(Case).Empty());
}

TEST_F(ProValTest, RandomGeneratorSequence) {
    TRandom random;
    random.Seed(123456789);
    const double first = random.Next();
    EXPECT_EQ(random.State, static_cast<std::uint32_t>(123456789u * 134775813u + 1u));
    EXPECT_DOUBLE_EQ(first, random.State / 4294967296.0);
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 1);
}

TEST_F(ProValTest, Texts) {
    const TProVal distribution = Change({{0.25, 1}, {0.75, 2}});
    EXPECT_EQ(distribution.AsText(Case), "[(0.25, 1), (0.75, 2)]");
    EXPECT_EQ(TProVal(TProValKind::pvChange).AsText(Case), "[]");
    EXPECT_EQ(Change({{2, 1}, {2, 4}}, 4).NormalizedText(Case), "[(0.5, 1), (0.5, 4)]");
    EXPECT_EQ(distribution.AsVectorText(Case), "(0, 0, 0, 0, 0.25, 0.75, 0)");
    TProVal zero;
    zero.SetChange(Case, 0, 0);
    EXPECT_EQ(zero.HistogramName(Case), "h0h0h0h12h0h0h0");
    Context.DecimalSeparator = ',';
    EXPECT_EQ(distribution.AsText(Case), "[(0,25, 1), (0,75, 2)]");
}

class TLoggingMonitor : public TProValMonitor {
  public:
    void Observe(std::string_view operation, const TProVal& distribution) override {
        Seen.emplace_back(std::string(operation), distribution.Count());
    }
    std::vector<std::pair<std::string, int>> Seen;
};

TEST_F(ProValTest, MonitorSeesOperationsOnlyWhenSwitchedOn) {
    TLoggingMonitor monitor;
    Context.Monitor = &monitor;
    TProVal target = Change({{1, 1}});
    const TProVal other = Change({{1, 2}});
    target.SetToSum(Case, other, other);
    EXPECT_TRUE(monitor.Seen.empty());
    Context.MonitorChanges = true;
    target.Clear();
    target.SetToSum(Case, other, other);
    target.SetToProduct(Case, other, other);
    target.RawMean(Case);
    target.Cumulate(Case, other);
    EXPECT_EQ(monitor.Seen,
              (std::vector<std::pair<std::string, int>>{
                  {"SetToSum", 0}, {"SetToProduct", 1}, {"RawMean", 1}, {"Cumulate", 2}}));
}

}  // namespace
}  // namespace kavo
