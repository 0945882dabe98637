#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "reasoning/TProValMonitor.h"

namespace kavo {

// Statistics of the distributions that pass through the reasoning, per kind of distribution:
// for each variable the maximum, mean and minimum over every period of observations, as points
// of three lines. The variables are the number of pairs, the probabilities and the values of the
// pairs, and the cumulation.
class TProValStatistics : public TProValMonitor {
  public:
    static constexpr int kKinds = 6;
    enum TVariable { vaCount = 0, vaProbability = 1, vaValue = 2, vaCumulation = 3 };
    static constexpr int kVariables = 4;

    // The maximum, mean and minimum of one variable, a point per period.
    struct TLines {
        std::vector<double> Maximum;
        std::vector<double> Mean;
        std::vector<double> Minimum;
    };

    TProValStatistics();

    void Observe(std::string_view operation, const TProVal& distribution) override;
    // Forgets everything: no points, no observations.
    void Reset();

    // Observations of a kind per point; at least 1.
    void SetSamplePeriod(int observations);
    int SamplePeriod() const { return Period; }
    const TLines& Lines(int kind, TVariable variable) const;
    // Observations of the kind since its last point.
    int Pending(int kind) const { return Observations[static_cast<std::size_t>(kind)]; }
    // Counts every point added; a window redraws when it changed.
    std::uint64_t Points() const { return PointCount; }

  private:
    struct TRunning {
        double Maximum;
        double Minimum;
        double Sum;
    };
    void Update(int kind, TVariable variable, double high, double low, double sum);
    void Clear(int kind);

    int Period = 500;
    std::array<int, kKinds> Observations{};
    std::array<std::array<TRunning, kVariables>, kKinds> Running{};
    std::array<std::array<TLines, kVariables>, kKinds> Series;
    std::uint64_t PointCount = 0;
};

}  // namespace kavo
