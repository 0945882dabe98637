#include <gtest/gtest.h>

#include <cmath>

#include "model/Formats.h"

namespace kavo {
namespace {

TEST(FormatsTest, FormatNumber) {
    const std::pair<double, const char*> cases[] = {
        {0.004, "0"},         {-0.004, "0"},   {3.999, "4"},
        {0.5, "0.50"},        {2.5, "2.5"},    {12.5, "12"},
        {13.5, "14"},         {9.96, "10"},    {12345, "12345.0"},
        {-0.25, "-0.25"},     {0.996, "1"},    {1.04, "1.0"},
        {-7.25, "-7.2"},      {1, "1"},        {2.004, "2"},
        {-9999.5, "-9999.5"}, {0.994, "0.99"}, {10000.04, "10000.0"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatNumber(value), text) << value;
    }
}

TEST(FormatsTest, FormatProbability) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {1e-11, "0"},
        {0.5, "0.5"},
        {0.25, "0.25"},
        {0.125, "0.125"},
        {2, "2"},
        {2.5, "2.5"},
        {2.05, "2.05"},
        {10, "10"},
        {100, "100"},
        {15.25, "15.2"},
        {0.0001, "1.00E-04"},
        {12345, "1.23E+04"},
        {-0.75, "-0.75"},
        {0.9996, "1"},
        {123.4, "123"},
        {0.1004, "0.1"},
        {1.999, "2.0"},
        {-0.0002, "-2.00E-04"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatProbability(value), text) << value;
    }
    EXPECT_EQ(FormatProbability(0.5, ','), "0,5");
    EXPECT_EQ(FormatProbability(0.0001, ','), "1,00E-04");
}

TEST(FormatsTest, FormatPercent) {
    const std::pair<double, const char*> cases[] = {
        {-0.004, "~0%"}, {0.256, "26%"}, {0.0009, "0%"},
        {-0.5, "-50%"},  {1, "100%"},    {0.0095, "1%"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatPercent(value), text) << value;
    }
}

TEST(FormatsTest, BarHeightSteps) {
    const std::pair<double, int> cases[] = {
        {0, 0},    {0.004, 0}, {0.006, 1}, {0.04, 1},  {0.05, 2}, {0.09, 2}, {0.1, 3},
        {0.15, 3}, {0.16, 4},  {0.22, 4},  {0.23, 5},  {0.3, 5},  {0.31, 6}, {0.39, 6},
        {0.4, 7},  {0.49, 7},  {0.5, 8},   {0.59, 8},  {0.6, 9},  {0.7, 9},  {0.71, 10},
        {0.8, 10}, {0.81, 11}, {0.9, 11},  {0.91, 12}, {1, 12},   {-0.5, 8},
    };
    for (const auto& [probability, height] : cases) {
        EXPECT_EQ(BarHeight(probability), height) << probability;
    }
}

TEST(FormatsTest, HistogramName) {
    const TLevels<double> certainZero{{0, 0, 0, 1, 0, 0, 0}};
    EXPECT_EQ(HistogramName(certainZero), "h0h0h0h12h0h0h0");
    EXPECT_EQ(HistogramName(TLevels<double>{{0.1, 0.2, 0.4, 0.2, 0.1, 0, 0}}), "h3h4h7h4h3h0h0");
}

}  // namespace
}  // namespace kavo
