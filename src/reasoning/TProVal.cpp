#include "reasoning/TProVal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "model/Formats.h"
#include "model/TCase.h"
#include "reasoning/TProValMonitor.h"

namespace kavo {

namespace {

// Probability rows of each uncertainty degree 0..3 for nominal levels -3..+3.
constexpr std::array<std::array<TProbVector, 7>, 4> kUncertaintyTable{{
    {{
        {{1, 0, 0, 0, 0, 0, 0}},
        {{0, 1, 0, 0, 0, 0, 0}},
        {{0, 0, 1, 0, 0, 0, 0}},
        {{0, 0, 0, 1, 0, 0, 0}},
        {{0, 0, 0, 0, 1, 0, 0}},
        {{0, 0, 0, 0, 0, 1, 0}},
        {{0, 0, 0, 0, 0, 0, 1}},
    }},
    {{
        {{0.8, 0.2, 0, 0, 0, 0, 0}},
        {{0.1, 0.8, 0.1, 0, 0, 0, 0}},
        {{0, 0.1, 0.8, 0.1, 0, 0, 0}},
        {{0, 0, 0.1, 0.8, 0.1, 0, 0}},
        {{0, 0, 0, 0.1, 0.8, 0.1, 0}},
        {{0, 0, 0, 0, 0.1, 0.8, 0.1}},
        {{0, 0, 0, 0, 0, 0.2, 0.8}},
    }},
    {{
        {{0.6, 0.3, 0.1, 0, 0, 0, 0}},
        {{0.2, 0.6, 0.15, 0.05, 0, 0, 0}},
        {{0.05, 0.15, 0.6, 0.15, 0.05, 0, 0}},
        {{0, 0.05, 0.15, 0.6, 0.15, 0.05, 0}},
        {{0, 0, 0.05, 0.15, 0.6, 0.15, 0.05}},
        {{0, 0, 0, 0.05, 0.15, 0.6, 0.2}},
        {{0, 0, 0, 0, 0.1, 0.3, 0.6}},
    }},
    {{
        {{0.4, 0.3, 0.2, 0.1, 0, 0, 0}},
        {{0.3, 0.4, 0.2, 0.1, 0, 0, 0}},
        {{0.1, 0.2, 0.4, 0.2, 0.1, 0, 0}},
        {{0, 0.1, 0.2, 0.4, 0.2, 0.1, 0}},
        {{0, 0, 0.1, 0.2, 0.4, 0.2, 0.1}},
        {{0, 0, 0, 0.1, 0.2, 0.4, 0.3}},
        {{0, 0, 0, 0.1, 0.2, 0.3, 0.4}},
    }},
}};

}  // namespace

const TProbVector& UncertaintyProfile(int degree, int level) {
    degree = std::clamp(degree, 0, 3);
    level = std::clamp(level, kMinLevel, kMaxLevel);
    return kUncertaintyTable[static_cast<std::size_t>(degree)][static_cast<std::size_t>(level + 3)];
}

void TProVal::Observe(const TCase& current, const char* operation) const {
    const TContext& context = current.Context();
    if (context.MonitorChanges && context.Monitor != nullptr) {
        context.Monitor->Observe(operation, *this);
    }
}

void TProVal::Clear() {
    List.clear();
    Ascending = true;
    Cumulation = 0;
}

void TProVal::Add(const TCase& current, double prob, double value) {
    if (prob > 0) {
        AddMass(current.AutofocusThreshold, current.AutofocusResolution, prob, value);
    }
}

std::pair<std::size_t, bool> TProVal::AddMass(int threshold, double resolution, double prob,
                                              double value) {
    const double tolerance = Count() > threshold ? std::abs(resolution * value / 100) : 0.0;
    // The first pair at or above the lower end of the tolerance; after Negate the list may run in
    // either direction and is scanned, otherwise the place is bisected.
    const auto reaches = [&](const TPVPair& pair) { return pair.Value >= value - tolerance; };
    auto place = Ascending
                     ? std::partition_point(List.begin(), List.end(),
                                            [&](const TPVPair& pair) { return !reaches(pair); })
                     : std::find_if(List.begin(), List.end(), reaches);
    const auto index = static_cast<std::size_t>(place - List.begin());
    if (place != List.end() && std::abs(value - place->Value) <= tolerance) {
        place->Prob += prob;
        return {index, false};
    }
    List.insert(place, {prob, value});
    return {index, true};
}

// Between two insertions the pairs' values and their number stay as they are (a merge adds only
// probability), so a value goes to the pair that the same value went to last time. Remembered by
// value in a table, forgotten at each insertion and at each new list of values (a new
// generation). The table is kept from one list of values to the next, so that it is not cleared
// each time: a list of 4,096 values may hold several hundred distinct ones.
struct TProVal::TPlaces {
    struct TSlot {
        std::uint64_t Key = 0;
        std::uint32_t Index = 0;
        std::uint32_t Generation = 0;
    };
    static constexpr int kBits = 11;
    std::array<TSlot, std::size_t{1} << kBits> Slots{};
    std::uint32_t Generation = 0;

    // A generation that no slot holds yet.
    void Renew() {
        if (Generation == ~std::uint32_t{0}) {
            Slots.fill({});
            Generation = 0;
        }
        ++Generation;
    }
};

void TProVal::AddVia(TPlaces& places, int threshold, double resolution, double prob, double value) {
    if (!(prob > 0)) {
        return;
    }
    const auto key = std::bit_cast<std::uint64_t>(value);
    TPlaces::TSlot& slot = places.Slots[(key * 0x9E3779B97F4A7C15u) >> (64 - TPlaces::kBits)];
    if (slot.Generation == places.Generation && slot.Key == key) {
        List[slot.Index].Prob += prob;
        return;
    }
    const auto [index, inserted] = AddMass(threshold, resolution, prob, value);
    if (inserted) {
        places.Renew();
    }
    // While the list stays within the threshold only an equal value merges, and a new pair is the
    // first one that equal.
    if (!inserted || Count() <= threshold) {
        slot = {key, static_cast<std::uint32_t>(index), places.Generation};
    }
}

void TProVal::AddAll(const TCase& current, const double* probs, const double* values,
                     std::size_t count) {
    thread_local TPlaces places;
    places.Renew();
    for (std::size_t i = 0; i < count; ++i) {
        AddVia(places, current.AutofocusThreshold, current.AutofocusResolution, probs[i],
               values[i]);
    }
}

void TProVal::SetZero() {
    List.assign(1, {1, 0});
    Ascending = true;
    Cumulation = 1;
}

void TProVal::SetChange(const TCase& current, int level, int degree) {
    Kind = TProValKind::pvChange;
    SetFromVector(current, UncertaintyProfile(degree, level));
}

void TProVal::SetMultiplier(const TCase& current, int level, int degree) {
    Kind = TProValKind::pvMultiplier;
    SetFromVector(current, UncertaintyProfile(degree, level));
}

void TProVal::SetFromVector(const TCase& current, const TProbVector& vector) {
    const TLevels<double>& scale =
        Kind == TProValKind::pvChange ? current.ChangeLevels : current.LinkMultipliers;
    List.clear();
    Ascending = true;
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        if (vector[level] > 0) {
            List.push_back({vector[level], scale[level]});
        }
    }
    Cumulation = 1;
}

double TProVal::RawMean(const TCase& current) const {
    Observe(current, "RawMean");
    double sum = 0;
    for (const TPVPair& pair : List) {
        sum += pair.Prob * pair.Value;
    }
    return sum;
}

double TProVal::RawStdDev(const TCase& current) const {
    const double mean = RawMean(current);
    double sum = 0;
    for (const TPVPair& pair : List) {
        sum += pair.Prob * (pair.Value - mean) * (pair.Value - mean);
    }
    return std::sqrt(sum);
}

TProVal TProVal::Normalized(const TCase& current) const {
    TProVal result(Kind);
    if (Cumulation == 0) {
        return result;
    }
    result.List.reserve(List.size());
    for (const TPVPair& pair : List) {
        result.Add(current, pair.Prob / Cumulation, pair.Value);
    }
    result.Cumulation = 1;
    return result;
}

double TProVal::Mean(const TCase& current) const {
    return Normalized(current).RawMean(current);
}

double TProVal::StdDev(const TCase& current) const {
    return Normalized(current).RawStdDev(current);
}

double TProVal::Worst() const {
    const bool frustration = Kind == TProValKind::pvFrustration;
    if (List.empty()) {
        return frustration ? -std::numeric_limits<double>::infinity()
                           : std::numeric_limits<double>::infinity();
    }
    const auto [lowest, highest] =
        std::minmax_element(List.begin(), List.end(),
                            [](const TPVPair& a, const TPVPair& b) { return a.Value < b.Value; });
    return frustration ? highest->Value : lowest->Value;
}

bool TProVal::IsNonZero() const {
    return std::any_of(List.begin(), List.end(),
                       [](const TPVPair& pair) { return pair.Value != 0; });
}

TProbVector TProVal::ToVector(const TCase& current) const {
    TProbVector vector;
    for (const TPVPair& pair : List) {
        int level = 0;
        if (Kind == TProValKind::pvChange) {
            level = current.ChangeLevelOf(pair.Value);
        } else if (Kind == TProValKind::pvMultiplier) {
            level = current.MultiplierLevelOf(pair.Value);
        } else {
            current.Messages().ShowError("Convert only changes and links to ProbVectors");
        }
        vector[level] += pair.Prob;
    }
    return vector;
}

double TProVal::LevelDistance(const TCase& current, const TProVal& other) const {
    const TProbVector a = ToVector(current);
    const TProbVector b = other.ToVector(current);
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        for (int j = kMinLevel; j <= kMaxLevel; ++j) {
            sum += a[i] * b[j] * std::abs(i - j);
        }
    }
    return sum / 6;
}

double TProVal::JointIntensity(const TCase& current, const TProVal& other) const {
    const TProbVector a = ToVector(current);
    const TProbVector b = other.ToVector(current);
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        for (int j = kMinLevel; j <= kMaxLevel; ++j) {
            sum += std::abs(i * a[i] * j * b[j]);
        }
    }
    return sum / 9;
}

void TProVal::SetToProduct(const TCase& current, const TProVal& a, const TProVal& b) {
    if (this == &a || this == &b) {
        const TProVal left = a;
        const TProVal right = b;
        SetToProduct(current, left, right);
        return;
    }
    Observe(current, "SetToProduct");
    Kind = a.Kind == TProValKind::pvMultiplier ? b.Kind : a.Kind;
    List.clear();
    Ascending = true;
    Cumulation = std::max(a.Cumulation, b.Cumulation);
    for (const TPVPair& left : a.List) {
        for (const TPVPair& right : b.List) {
            Add(current, left.Prob * right.Prob, left.Value * right.Value);
        }
    }
}

void TProVal::MultiplyBy(const TCase& current, const TProVal& b) {
    const TProVal copy = *this;
    SetToProduct(current, copy, b);
}

void TProVal::SetToSum(const TCase& current, const TProVal& a, const TProVal& b) {
    if (this == &a || this == &b) {
        const TProVal left = a;
        const TProVal right = b;
        SetToSum(current, left, right);
        return;
    }
    Observe(current, "SetToSum");
    if (a.Kind != b.Kind) {
        current.Messages().ShowError("Should not combine different ProValTypes");
    }
    Kind = a.Kind;
    List.clear();
    Ascending = true;
    Cumulation = std::max(a.Cumulation, b.Cumulation);
    for (const TPVPair& left : a.List) {
        for (const TPVPair& right : b.List) {
            Add(current, left.Prob * right.Prob, left.Value + right.Value);
        }
    }
}

void TProVal::IncreaseBy(const TCase& current, const TProVal& b) {
    const TProVal copy = *this;
    SetToSum(current, copy, b);
}

void TProVal::Cumulate(const TCase& current, const TProVal& b) {
    if (b.Kind != Kind) {
        current.Messages().ShowError("Should not cumulate different ProVal types");
        return;
    }
    if (&b == this) {
        const TProVal copy = b;
        Cumulate(current, copy);
        return;
    }
    Cumulation += b.Cumulation;
    for (const TPVPair& pair : b.List) {
        Add(current, pair.Prob, pair.Value);
    }
    Observe(current, "Cumulate");
}

void TProVal::Negate() {
    for (TPVPair& pair : List) {
        pair.Value = -pair.Value;
    }
    Ascending = List.size() < 2;
}

void TProVal::Focus(double percent) {
    if (List.size() < 2) {
        return;
    }
    const double fraction = percent / 100;
    double total = 0;
    double bestProb = -std::numeric_limits<double>::infinity();
    double bestValue = 0;
    for (std::size_t k = List.size(); k-- > 0;) {
        const double value = List[k].Value;
        const double lower = value - std::abs(value * fraction);
        while (k > 0 && List[k - 1].Value >= lower) {
            List[k - 1].Value = value;
            List[k - 1].Prob += List[k].Prob;
            List.erase(List.begin() + static_cast<std::ptrdiff_t>(k));
            --k;
        }
        total += List[k].Prob;
        if (List[k].Prob > bestProb) {
            bestProb = List[k].Prob;
            bestValue = List[k].Value;
        }
    }
    if (total < 0.001) {
        List.assign(1, {total, bestValue});
    }
}

TProVal TProVal::Sample(const TCase& current) const {
    TProVal result(Kind);
    if (List.empty()) {
        return result;
    }
    result.Cumulation = 1;
    result.Add(current, 1, List[SampleIndex(current.Context().Random)].Value);
    return result;
}

std::size_t TProVal::SampleIndex(TRandom& random) const {
    const double r = random.Next();
    std::size_t index = 0;
    double accumulated = List[0].Prob;
    while (index + 1 < List.size() && r > accumulated) {
        ++index;
        accumulated += List[index].Prob;
    }
    return index;
}

std::string TProVal::AsText(const TCase& current) const {
    const char separator = current.Context().DecimalSeparator;
    std::string text = "[";
    for (const TPVPair& pair : List) {
        text += "(" + FormatProbability(pair.Prob, separator) + ", " +
                FormatProbability(pair.Value, separator) + "), ";
    }
    if (text.ends_with(' ')) {
        text.resize(text.size() - 2);
    }
    return text + "]";
}

std::string TProVal::NormalizedText(const TCase& current) const {
    return Normalized(current).AsText(current);
}

std::string TProVal::AsVectorText(const TCase& current) const {
    const char separator = current.Context().DecimalSeparator;
    const TProbVector vector = ToVector(current);
    std::string text = "(";
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        text += (level > kMinLevel ? ", " : "") + FormatProbability(vector[level], separator);
    }
    return text + ")";
}

std::string TProVal::HistogramName(const TCase& current) const {
    return kavo::HistogramName(ToVector(current));
}

}  // namespace kavo
