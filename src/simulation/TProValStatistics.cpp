#include "simulation/TProValStatistics.h"

#include <algorithm>

#include "reasoning/TProVal.h"

namespace kavo {

namespace {

constexpr double kNoMaximum = -1e100;
constexpr double kNoMinimum = 1e100;

}  // namespace

TProValStatistics::TProValStatistics() {
    Reset();
}

void TProValStatistics::Reset() {
    for (int kind = 0; kind < kKinds; ++kind) {
        Clear(kind);
        for (TLines& lines : Series[static_cast<std::size_t>(kind)]) {
            lines = TLines{};
        }
    }
    ++PointCount;
}

void TProValStatistics::Clear(int kind) {
    Observations[static_cast<std::size_t>(kind)] = 0;
    for (TRunning& running : Running[static_cast<std::size_t>(kind)]) {
        running = {kNoMaximum, kNoMinimum, 0};
    }
}

void TProValStatistics::SetSamplePeriod(int observations) {
    Period = std::max(observations, 1);
}

const TProValStatistics::TLines& TProValStatistics::Lines(int kind, TVariable variable) const {
    return Series[static_cast<std::size_t>(kind)][variable];
}

void TProValStatistics::Update(int kind, TVariable variable, double high, double low, double sum) {
    TRunning& running = Running[static_cast<std::size_t>(kind)][variable];
    running.Maximum = std::max(running.Maximum, high);
    running.Minimum = std::min(running.Minimum, low);
    running.Sum += sum;
}

void TProValStatistics::Observe(std::string_view, const TProVal& distribution) {
    const int kind = std::clamp(static_cast<int>(distribution.Kind), 0, kKinds - 1);
    const auto k = static_cast<std::size_t>(kind);
    ++Observations[k];
    const double count = distribution.Count();
    Update(kind, vaCount, count, count, count);
    const double cumulation = distribution.Cumulation;
    Update(kind, vaCumulation, cumulation, cumulation, cumulation);
    double probabilities = 0;
    double values = 0;
    for (const TPVPair& pair : distribution.Pairs()) {
        Update(kind, vaProbability, pair.Prob, pair.Prob, 0);
        Update(kind, vaValue, pair.Value, pair.Value, 0);
        probabilities += pair.Prob;
        values += pair.Value;
    }
    if (!distribution.Empty()) {
        Running[k][vaProbability].Sum += probabilities / count;
        Running[k][vaValue].Sum += values / count;
    }
    if (Observations[k] < Period) {
        return;
    }
    for (int variable = 0; variable < kVariables; ++variable) {
        const TRunning& running = Running[k][static_cast<std::size_t>(variable)];
        TLines& lines = Series[k][static_cast<std::size_t>(variable)];
        lines.Maximum.push_back(running.Maximum);
        lines.Mean.push_back(running.Sum / Observations[k]);
        lines.Minimum.push_back(running.Minimum);
    }
    Clear(kind);
    ++PointCount;
}

}  // namespace kavo
