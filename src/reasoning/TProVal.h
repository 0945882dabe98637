#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/TLevels.h"

namespace kavo {

class TCase;
class TRandom;

// What the values of a distribution measure.
enum class TProValKind : std::uint8_t {
    pvUndefined = 0,
    pvChange = 1,
    pvMultiplier = 2,
    pvUtility = 3,
    pvSatisfaction = 4,
    pvFrustration = 5,
};

// One point of a distribution.
struct TPVPair {
    double Prob = 0;
    double Value = 0;
    friend bool operator==(const TPVPair&, const TPVPair&) = default;
};

// A probability for each level -3..+3.
using TProbVector = TLevels<double>;

// The probability profile of an uncertainty degree 0..3 around a nominal level -3..+3.
const TProbVector& UncertaintyProfile(int degree, int level);

// A finite discrete probability distribution: probability-value pairs in contiguous storage,
// ascending by value (descending after Negate). Cumulation counts the unit-mass distributions
// summed into it: 0 for nothing defined yet, 1 when the probabilities sum to 1.
//
// Operations that read levels, merge close values, draw random numbers or report errors take the
// case whose options apply: the case of the computation at hand.
class TProVal {
  public:
    TProVal() = default;
    explicit TProVal(TProValKind kind) : Kind(kind) {}

    TProValKind Kind = TProValKind::pvUndefined;
    std::int32_t Cumulation = 0;

    const std::vector<TPVPair>& Pairs() const { return List; }
    int Count() const { return static_cast<int>(List.size()); }
    bool Empty() const { return List.empty(); }
    const TPVPair& operator[](int index) const { return List[static_cast<std::size_t>(index)]; }

    // Removes all pairs and sets Cumulation to 0; the kind stays.
    void Clear();
    void Assign(const TProVal& source) { *this = source; }
    // Replaces the pairs by these, as they are (no merging); kind and Cumulation stay. Reuses the
    // storage it has.
    void SetPairs(std::span<const TPVPair> pairs) { List.assign(pairs.begin(), pairs.end()); }
    // Adds probability mass at a value; ignored when prob <= 0. Once the distribution holds more
    // pairs than the case's autofocus threshold, a value within the autofocus resolution (percent
    // of the new value) of an existing one merges into it.
    void Add(const TCase& current, double prob, double value);
    // The same as Add of each (probs[i], values[i]) in turn, i from 0 to count - 1; quicker when
    // equal values follow each other.
    void AddAll(const TCase& current, const double* probs, const double* values, std::size_t count);
    // Certain change 0.
    void SetZero();
    // level -3..+3, degree 0..3.
    void SetChange(const TCase& current, int level, int degree);
    void SetMultiplier(const TCase& current, int level, int degree);
    void SetFromVector(const TCase& current, const TProbVector& vector);

    double RawMean(const TCase& current) const;
    double RawStdDev(const TCase& current) const;
    TProVal Normalized(const TCase& current) const;
    double Mean(const TCase& current) const;
    double StdDev(const TCase& current) const;
    // The least favourable value: the largest frustration, otherwise the smallest value.
    double Worst() const;
    bool IsNonZero() const;
    TProbVector ToVector(const TCase& current) const;
    double LevelDistance(const TCase& current, const TProVal& other) const;
    double JointIntensity(const TCase& current, const TProVal& other) const;

    // The target may be neither a nor b.
    void SetToProduct(const TCase& current, const TProVal& a, const TProVal& b);
    void MultiplyBy(const TCase& current, const TProVal& b);
    void SetToSum(const TCase& current, const TProVal& a, const TProVal& b);
    void IncreaseBy(const TCase& current, const TProVal& b);
    // Adds the pairs of b as a mixture: the probabilities then sum to the new Cumulation.
    void Cumulate(const TCase& current, const TProVal& b);
    // Negates every value in place, so ascending values come to descend.
    void Negate();
    // Merges neighbouring values within the percentage of each other into the highest of them.
    void Focus(double percent);
    // One value drawn at random with probability 1, from the context's random generator.
    TProVal Sample(const TCase& current) const;
    // The index of a pair drawn with the given generator: one draw r in [0, 1), and the first pair
    // whose running probability total reaches r (the last pair takes what the others leave). The
    // list must not be empty.
    std::size_t SampleIndex(TRandom& random) const;

    std::string AsText(const TCase& current) const;
    std::string NormalizedText(const TCase& current) const;
    std::string AsVectorText(const TCase& current) const;
    std::string HistogramName(const TCase& current) const;

    // The same kind, cumulation and pairs in the same order.
    friend bool operator==(const TProVal& a, const TProVal& b) {
        return a.Kind == b.Kind && a.Cumulation == b.Cumulation && a.List == b.List;
    }

  private:
    void Observe(const TCase& current, const char* operation) const;
    // Add with the case's autofocus options given; returns the index of the pair that took the
    // mass and whether it was inserted.
    std::pair<std::size_t, bool> AddMass(int threshold, double resolution, double prob,
                                         double value);
    // Where values went since the list last grew: adding many values, a value seen before goes
    // straight to its pair.
    struct TPlaces;
    // Add with the case's autofocus options given, through the places remembered.
    void AddVia(TPlaces& places, int threshold, double resolution, double prob, double value);

    std::vector<TPVPair> List;
    // Values ascend, as they do after anything but Negate: Add then bisects instead of scanning.
    bool Ascending = true;
};

}  // namespace kavo
