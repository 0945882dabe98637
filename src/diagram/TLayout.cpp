#include "diagram/TLayout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "diagram/DiagramGeometry.h"
#include "diagram/PerceptionDrawing.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TRandom.h"

namespace kavo {

namespace {

// Farther boxes than this (in the scaled squared distance) do not push each other.
constexpr double kRepulsionCutoff = 10000;

// Rounding halves to the even neighbour, as everywhere in the program.
int Round(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// Below low the low bound, else above high the high bound.
int Confine(int value, int low, int high) {
    if (value < low) {
        return low;
    }
    return value > high ? high : value;
}

void PullBySprings(const TPerception& perception, double edgeLength) {
    for (const auto& link : perception.Links) {
        const double dx = link->EndPoint.X - link->StartPoint.X;
        const double dy = link->EndPoint.Y - link->StartPoint.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        // A line shorter than the rest length pushes its boxes apart, a longer one pulls them.
        const double h = length > 0 ? (edgeLength - length) / (3 * length) : 0;
        link->ToFiP->LayoutVX += h * dx;
        link->ToFiP->LayoutVY += h * dy;
        link->FromFiP->LayoutVX -= h * dx;
        link->FromFiP->LayoutVY -= h * dy;
    }
}

// Every box gets a push of length 2 away from its near neighbours for each FiP, in the direction
// of the sum of their repulsions so far.
void PushApart(const TPerception& perception, double edgeLength, TRandom& random) {
    const double scale = 0.5 * TLayout::kEdgeLengthMin / edgeLength;
    const std::size_t count = perception.FiPs.size();
    for (std::size_t i = 0; i < count; ++i) {
        TFiP& fip = *perception.FiPs[i];
        double sx = 0;
        double sy = 0;
        for (std::size_t j = 0; j < count; ++j) {
            if (j != i) {
                const TFiP& other = *perception.FiPs[j];
                const double dx = fip.X - other.X;
                const double dy = fip.Y - other.Y;
                const double e = (dx * dx + dy * dy) * scale;
                if (e == 0) {
                    sx += random.Next();
                    sy += random.Next();
                } else if (e < kRepulsionCutoff) {
                    sx += dx / e;
                    sy += dy / e;
                }
            }
            const double squared = sx * sx + sy * sy;
            if (squared > 0) {
                const double k = std::sqrt(squared) / 2;
                fip.LayoutVX += sx / k;
                fip.LayoutVY += sy / k;
            }
        }
    }
}

}  // namespace

void TLayout::Fit(const TPerception& perception) {
    int widest = 0;
    for (const auto& fip : perception.FiPs) {
        widest = std::max(widest, fip->Factor->BoxWidth);
    }
    MinX = widest / 2 + 10;
    MinY = kMinY;
    const TCase* owningCase = perception.Case();
    MaxX = owningCase != nullptr ? owningCase->MaxWidth / 10 * 10 : 0;
    MaxY = owningCase != nullptr ? owningCase->MaxHeight / 10 * 10 : 0;
}

void TLayout::Iterate(TPerception& perception, TRandom& random) const {
    const double edgeLength = std::max(EdgeLength, 1);
    PullBySprings(perception, edgeLength);
    PushApart(perception, edgeLength, random);
    const TCase* owningCase = perception.Case();
    for (const auto& fip : perception.FiPs) {
        fip->X += Round(std::clamp(fip->LayoutVX, -1.0 * kMaxStep, 1.0 * kMaxStep));
        fip->Y += Round(std::clamp(fip->LayoutVY, -1.0 * kMaxStep, 1.0 * kMaxStep));
        // The rectangle also keeps the whole box inside the drawing area: a box reaching past
        // its edge would make the next drawing shift the whole diagram.
        int highX = MaxX;
        int highY = MaxY;
        if (owningCase != nullptr && owningCase->MaxWidth > 0 && owningCase->MaxHeight > 0) {
            highX = std::min(highX, owningCase->MaxWidth - fip->Factor->BoxWidth / 2);
            highY = std::min(highY, owningCase->MaxHeight - fip->Factor->BoxHeight / 2);
        }
        fip->X = Confine(fip->X, MinX, highX);
        fip->Y = Confine(fip->Y, std::max(MinY, fip->Factor->BoxHeight / 2), highY);
        fip->LayoutVX /= 2;
        fip->LayoutVY /= 2;
    }
}

void TLayout::Step(TPerception& perception, TRandom& random) const {
    Iterate(perception, random);
    PlacePerception(perception);
    for (const auto& link : perception.Links) {
        StoreLinkPoints(*link);
    }
}

void TLayout::Animate(TPerception& perception, int steps, TRandom& random) const {
    Stop(perception);
    PlacePerception(perception);
    for (const auto& link : perception.Links) {
        StoreLinkPoints(*link);
    }
    for (int step = 0; step < steps; ++step) {
        Step(perception, random);
    }
}

void TLayout::Stop(TPerception& perception) {
    for (const auto& fip : perception.FiPs) {
        fip->LayoutVX = 0;
        fip->LayoutVY = 0;
    }
}

int OverlappingBoxes(const TPerception& perception) {
    int count = 0;
    const auto& fips = perception.FiPs;
    for (std::size_t i = 0; i < fips.size(); ++i) {
        for (std::size_t j = i + 1; j < fips.size(); ++j) {
            const TFactor& a = *fips[i]->Factor;
            const TFactor& b = *fips[j]->Factor;
            if (std::abs(fips[i]->X - fips[j]->X) < (a.BoxWidth + b.BoxWidth) / 2 &&
                std::abs(fips[i]->Y - fips[j]->Y) < (a.BoxHeight + b.BoxHeight) / 2) {
                ++count;
            }
        }
    }
    return count;
}

namespace {

// The sign of the turn from a to b to c: positive counter-clockwise, 0 when in a line.
int Turn(const TFiP& a, const TFiP& b, const TFiP& c) {
    const long long cross = static_cast<long long>(b.X - a.X) * (c.Y - a.Y) -
                            static_cast<long long>(b.Y - a.Y) * (c.X - a.X);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

bool Cross(const TLink& a, const TLink& b) {
    const int t1 = Turn(*a.FromFiP, *a.ToFiP, *b.FromFiP);
    const int t2 = Turn(*a.FromFiP, *a.ToFiP, *b.ToFiP);
    const int t3 = Turn(*b.FromFiP, *b.ToFiP, *a.FromFiP);
    const int t4 = Turn(*b.FromFiP, *b.ToFiP, *a.ToFiP);
    return t1 * t2 < 0 && t3 * t4 < 0;
}

}  // namespace

int CrossingLinks(const TPerception& perception) {
    int count = 0;
    const auto& links = perception.Links;
    for (std::size_t i = 0; i < links.size(); ++i) {
        for (std::size_t j = i + 1; j < links.size(); ++j) {
            const TLink& a = *links[i];
            const TLink& b = *links[j];
            const bool shareFiP = a.FromFiP == b.FromFiP || a.FromFiP == b.ToFiP ||
                                  a.ToFiP == b.FromFiP || a.ToFiP == b.ToFiP;
            if (!shareFiP && Cross(a, b)) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace kavo
