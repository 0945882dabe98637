#include "model/Formats.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kavo {

namespace {

// x with the given number of digits after the point, as printf's "%.Nf" or "%.NE" would write it
// in the C locale, whatever the locale of the program and however large x is.
std::string Printed(double x, std::chars_format format, int digits) {
    // The largest double has 309 digits before the point.
    std::array<char, 400> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, format, digits);
    std::string text(buffer.data(), written.ptr);
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

std::string Fixed(double x, int digits) {
    return Printed(x, std::chars_format::fixed, digits);
}

// Rounding to an integer sends halves to the even neighbour.
std::string Integer(double x) {
    const double rounded = std::nearbyint(x);
    return Fixed(rounded == 0 ? 0.0 : rounded, 0);
}

bool NearInteger(double x, double tolerance) {
    return std::abs(x - std::nearbyint(x)) <= tolerance;
}

}  // namespace

std::string FormatNumber(double x) {
    const double m = std::abs(x);
    if (m < 0.005) {
        return "0";
    }
    if (m > 9999) {
        return Fixed(x, 1);
    }
    if (m > 9.95 || NearInteger(x, 0.005)) {
        return Integer(x);
    }
    return Fixed(x, m < 0.995 ? 2 : 1);
}

std::string FormatProbability(double x, char separator) {
    const double m = std::abs(x);
    std::string text;
    if (m < 1e-10) {
        return "0";
    }
    if (m < 0.0005 || m > 9999) {
        text = Printed(x, std::chars_format::scientific, 2);
    } else if (m > 99.95 || NearInteger(m, 0.0005)) {
        return Integer(x);
    } else if (m > 9.995) {
        text = Fixed(x, 1);
    } else if (m > 0.9995) {
        text = Fixed(x, 2);
    } else {
        text = Fixed(x, 3);
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text[point] = separator;
    }
    if (point == std::string::npos || text.find('E') != std::string::npos) {
        return text;
    }
    while (text.size() >= 2 && text.back() == '0' && text[text.size() - 2] != separator) {
        text.pop_back();
    }
    return text;
}

std::string FormatPercent(double x) {
    const double a = std::abs(x) * 100;
    if (a < 0.1) {
        return "0%";
    }
    if (a < 0.95) {
        return "~0%";
    }
    return (x < 0 ? "-" : "") + FormatNumber(std::nearbyint(a)) + "%";
}

int BarHeight(double probability) {
    const long n = std::lround(std::nearbyint(std::abs(probability) * 100));
    static constexpr std::array<std::pair<long, int>, 12> kSteps{{
        {0, 0},
        {4, 1},
        {9, 2},
        {15, 3},
        {22, 4},
        {30, 5},
        {39, 6},
        {49, 7},
        {59, 8},
        {70, 9},
        {80, 10},
        {90, 11},
    }};
    for (const auto& [upTo, height] : kSteps) {
        if (n <= upTo) {
            return height;
        }
    }
    return 12;
}

std::string HistogramName(const TLevels<double>& vector) {
    std::string name;
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        name += "h" + std::to_string(BarHeight(vector[level]));
    }
    return name;
}

std::string FactorDisplayName(const std::string& name) {
    std::string text;
    for (const char c : name) {
        text += c == '_' ? std::string("&nbsp;") : std::string(1, c);
    }
    const std::size_t owner = text.find(" [");
    if (owner != std::string::npos) {
        text = text.substr(0, owner + 1) + "<span class=ac>" + text.substr(owner + 1) + "</span>";
    }
    return text;
}

}  // namespace kavo
