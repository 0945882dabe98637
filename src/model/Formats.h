#pragma once

#include <string>

#include "model/TLevels.h"

namespace kavo {

// Option values and analysis cells: "0" near zero, integers where close, else one or two decimals;
// the decimal point is always ".".
std::string FormatNumber(double x);
// Distribution texts: up to three significant decimals, scientific for tiny and huge magnitudes,
// trailing zeros after the separator dropped.
std::string FormatProbability(double x, char separator = '.');
// A fraction as a whole percentage: "0%" below 0.1 %, "~0%" below 0.95 %, else e.g. "26%".
std::string FormatPercent(double x);
// Height 0..12 of a histogram bar for a probability.
int BarHeight(double probability);
// A factor's name as HTML: "_" becomes "&nbsp;" and an actor's short name from " [" on is wrapped
// in <span class=ac>.
std::string FactorDisplayName(const std::string& name);
// "h" and the bar height of each level -3..+3 in turn, e.g. h0h0h0h12h0h0h0.
std::string HistogramName(const TLevels<double>& vector);

}  // namespace kavo
