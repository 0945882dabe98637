#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "diagram/ReportIcons.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "support/TRecordingCanvas.h"

namespace kavo {
namespace {

TEST(ReportIconsTest, HistogramIcon) {
    test::TRecordingCanvas canvas;
    DrawHistogramIcon(canvas, TLevels<double>{{0, 0, 0.5, 0.5, 0, 0, 0}});
    const std::vector<std::string> expected = {
        "fill (0,0)-(21,16) 255,255,255",
        "pen 0,0,0 1 0",
        "brush 255,255,255 1",
        "line (0,14) (3,14)",
        "ellipse (9,13)-(12,16)",
        "line (18,14) (21,14)",
        "line (19,13) (19,16)",
        "pen 192,192,192 1 0",
        "line (0,12) (21,12)",
        "fill (0,12)-(3,12) 0,0,128",
        "fill (3,12)-(6,12) 0,0,255",
        "fill (6,4)-(9,12) 80,176,255",
        "fill (9,4)-(12,12) 192,192,192",
        "fill (12,12)-(15,12) 255,176,80",
        "fill (15,12)-(18,12) 255,0,0",
        "fill (18,12)-(21,12) 128,0,0",
    };
    EXPECT_EQ(canvas.Log, expected);
}

TEST(ReportIconsTest, UtilityIcon) {
    TFiP fip(nullptr);
    const TGoal goal(&fip, TLevels<std::int8_t>{{0, 1, 2, -1, -2, -3, -3}});
    test::TRecordingCanvas canvas;
    DrawUtilityIcon(canvas, goal);
    const std::vector<std::string> bars(canvas.Log.end() - 6, canvas.Log.end());
    const std::vector<std::string> expected{
        "fill (3,8)-(6,12) 0,224,0",   "fill (6,4)-(9,12) 0,224,0",
        "fill (9,8)-(12,12) 255,0,0",  "fill (12,4)-(15,12) 255,0,0",
        "fill (15,0)-(18,12) 255,0,0", "fill (18,0)-(21,12) 255,0,0"};
    EXPECT_EQ(bars, expected);
    EXPECT_EQ(canvas.Log.front(), "fill (0,0)-(21,16) 255,255,255");
}

}  // namespace
}  // namespace kavo
