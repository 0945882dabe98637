#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "diagram/DiagramFixture.h"
#include "diagram/DiagramMarks.h"
#include "diagram/GoalChart.h"
#include "support/TRecordingCanvas.h"

namespace kavo {
namespace {

using test::LogHas;

struct TGoalMarkCase {
    const char* Name;
    int X, Y, Level, Priority;
    bool Crossed, Underlined, Greyed;
    std::vector<std::string> Expected;
};

TEST(DiagramMarksTest, GoalMarks) {
    const std::vector<TGoalMarkCase> cases{
        {"positive level 2, priority 3",
         100,
         50,
         2,
         3,
         false,
         false,
         false,
         {"pen 0,0,0 3 0", "brush 240,64,0 0", "polygon (105,45) (99,56) (111,56)"}},
        {"negative level -3, priority 1, crossed",
         10,
         20,
         -3,
         1,
         true,
         false,
         false,
         {"pen 255,0,0 1 0", "brush 160,255,255 0", "polygon (15,29) (7,14) (23,14)",
          "pen 255,0,0 1 0", "line (7,11) (24,28)", "line (7,27) (24,10)"}},
        {"level 0, priority 2, crossed and underlined",
         0,
         10,
         0,
         2,
         true,
         true,
         false,
         {"pen 207,0,0 2 0", "brush * 1", "ellipse (0,7)-(10,17)", "pen 207,0,0 2 0",
          "line (0,20) (10,20)", "pen 207,0,0 1 0", "line (-1,6) (11,18)", "line (-1,17) (11,5)"}},
        {"greyed level 1, underlined",
         30,
         30,
         1,
         2,
         false,
         true,
         true,
         {"pen 192,192,192 2 0", "brush 224,224,224 0", "polygon (35,27) (31,34) (39,34)",
          "line (30,38) (40,38)"}},
        {"level 3, priority 3, crossed",
         0,
         0,
         3,
         3,
         true,
         false,
         false,
         {"pen 183,0,0 3 0", "polygon (5,-7) (-3,8) (13,8)", "line (-3,-5) (14,12)",
          "line (-3,11) (14,-6)"}},
        {"level 2 crossed",
         0,
         0,
         2,
         2,
         true,
         false,
         false,
         {"line (-2,-5) (13,10)", "line (-2,9) (13,-6)"}},
    };
    for (const TGoalMarkCase& c : cases) {
        test::TRecordingCanvas canvas;
        DrawGoalMark(canvas, c.X, c.Y, c.Level, c.Priority, c.Crossed, c.Underlined, c.Greyed);
        EXPECT_TRUE(LogHas(canvas.Log, c.Expected)) << c.Name;
        EXPECT_EQ(test::LogContains(canvas.Log, "line *"), c.Crossed || c.Underlined) << c.Name;
    }
}

TEST(DiagramMarksTest, GoalMarkLeavesASolidBrush) {
    test::TRecordingCanvas canvas;
    DrawGoalMark(canvas, 0, 0, 0, 1, true, false, false);
    ASSERT_TRUE(canvas.Log.back().starts_with("brush "));
    EXPECT_TRUE(canvas.Log.back().ends_with(" 0"));
}

struct TProspectMarkCase {
    const char* Name;
    int Level, Uncertainty;
    bool Greyed, WithText;
    std::vector<std::string> Expected;
};

TEST(DiagramMarksTest, ProspectMarks) {
    const std::vector<TProspectMarkCase> cases{
        {"level +2, uncertainty 1",
         2,
         1,
         false,
         true,
         {"pen 80,80,80 1 0",
          "polyline (44,34) (39,39) (39,40) (44,45) (45,45) (50,40) (50,39) (45,34) (44,34)",
          "fill (42,39)-(48,41) 80,80,80", "fill (44,37)-(46,43) 80,80,80"}},
        {"level -1, certain",
         -1,
         0,
         false,
         true,
         {"pen 0,0,0 1 0", "polyline (46,35) (42,39) (46,43) (50,39) (46,35)",
          "fill (45,39)-(48,40) 0,0,0"}},
        {"level -3, greyed",
         -3,
         2,
         true,
         true,
         {"pen 192,192,192 1 0", "polyline (43,33) (36,40) (43,47) (50,40) (43,33)",
          "fill (39,39)-(48,42) 192,192,192"}},
        {"level 0 shows a question mark",
         0,
         3,
         false,
         true,
         {"pen 160,160,160 1 0", "font Small Fonts 7 bold 160,160,160", "text (42,34) ?",
          "font MS Sans Serif 8 0,0,0",
          "polyline (44,33) (39,38) (39,39) (44,44) (45,44) (50,39) (50,38) (45,33) (44,33)"}},
        {"level 0 without text is the large diamond",
         0,
         0,
         false,
         false,
         {"polyline (43,33) (36,40) (43,47) (50,40) (43,33)"}},
    };
    for (const TProspectMarkCase& c : cases) {
        test::TRecordingCanvas canvas;
        DrawProspectMark(canvas, 50, 40, c.Level, c.Uncertainty, c.Greyed, c.WithText, TFont{});
        EXPECT_TRUE(LogHas(canvas.Log, c.Expected)) << c.Name;
        EXPECT_EQ(test::LogContains(canvas.Log, "text *"), c.Level == 0 && c.WithText) << c.Name;
        if (c.Level != 0) {
            // A minus bar, and for a positive level the plus sign's upright.
            const auto fills = std::count_if(canvas.Log.begin(), canvas.Log.end(),
                                             [](auto& l) { return l.starts_with("fill"); });
            EXPECT_EQ(fills, c.Level > 0 ? 2 : 1) << c.Name;
        }
    }
}

TEST(DiagramMarksTest, RangeCellsShowTheirStateWithinTheCell) {
    struct TCase {
        TRangeCellState State;
        std::string Ground;
        std::string Symbol;
    };
    const std::vector<TCase> cases{
        {TRangeCellState::rcOutside, "192,192,192", "255,255,255"},
        {TRangeCellState::rcInside, "192,192,192", "0,0,0"},
        {TRangeCellState::rcChosen, "128,0,128", "255,0,255"},
    };
    for (const TCase& c : cases) {
        for (int level = -3; level <= 3; ++level) {
            test::TRecordingCanvas canvas;
            DrawRangeCell(canvas, {20, 30}, level, c.State);
            ASSERT_FALSE(canvas.Log.empty());
            EXPECT_EQ(canvas.Log.front(), "fill (20,30)-(31,41) " + c.Ground);
            ASSERT_GT(canvas.Log.size(), 1u) << "level " << level;
            for (std::size_t i = 1; i < canvas.Log.size(); ++i) {
                int left = 0, top = 0, right = 0, bottom = 0;
                char color[32] = {};
                ASSERT_EQ(std::sscanf(canvas.Log[i].c_str(), "fill (%d,%d)-(%d,%d) %31s", &left,
                                      &top, &right, &bottom, color),
                          5)
                    << canvas.Log[i];
                EXPECT_EQ(color, c.Symbol);
                EXPECT_TRUE(left > 20 && top > 30 && right < 31 && bottom < 41) << canvas.Log[i];
            }
        }
    }
}

TEST(DiagramMarksTest, RangeCellSymbolsGrowWithTheLevel) {
    // The widest fill of each cell: the minus bar, or the plus sign's cross bar.
    const auto widest = [](int level) {
        test::TRecordingCanvas canvas;
        DrawRangeCell(canvas, {0, 0}, level, TRangeCellState::rcInside);
        int result = 0;
        for (std::size_t i = 1; i < canvas.Log.size(); ++i) {
            int left = 0, top = 0, right = 0, bottom = 0;
            std::sscanf(canvas.Log[i].c_str(), "fill (%d,%d)-(%d,%d)", &left, &top, &right,
                        &bottom);
            result = std::max(result, right - left);
        }
        return result;
    };
    EXPECT_GT(widest(-3), widest(-2));
    EXPECT_GT(widest(-2), widest(-1));
    EXPECT_LT(widest(1), widest(2));
    EXPECT_LT(widest(2), widest(3));
}

// Short row labels put the first round numbers under the title's text: they used to be drawn on it.
TEST(DiagramMarksTest, GoalChartRoundNumbersStayBelowTheTitle) {
    const TGoalChart chart{"Actor goals over time", {"0", "1"}, {"P: x"}, {{nullptr, nullptr}}};
    test::TRecordingCanvas canvas;
    const TPoint size = DrawGoalChart(canvas, chart);
    // The recording canvas's text is 13 high: title band 17.
    EXPECT_TRUE(LogHas(canvas.Log, {"text (6,6) Actor goals over time", "text (6,47) P: x",
                                    "text (49,24) 0", "text (75,24) 1"}));
    EXPECT_EQ(size.Y, 17 + 22 + 40);
}

}  // namespace
}  // namespace kavo
