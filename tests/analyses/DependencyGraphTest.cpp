#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyses/PajekNetwork.h"
#include "analyses/TGraphDrawing.h"
#include "analyses/TGraphModel.h"
#include "support/TRecordingCanvas.h"

namespace kavo {
namespace {

std::string Cell(const std::string& value) {
    return "<td align=\"right\">" + value + "</td>";
}

// A graph of the nodes with one indicator and one arrow per (from, to, value).
TGraphModel Graph(const std::vector<std::string>& nodes,
                  const std::vector<std::tuple<std::string, std::string, std::string>>& arrows,
                  const std::vector<std::string>& indicators = {"Utility"}) {
    TGraphModel graph;
    graph.ClearGraph("Support and Opposition", " indicates how A experiences B's strategy");
    for (const std::string& indicator : indicators) {
        graph.AddIndicator(indicator);
    }
    for (const std::string& node : nodes) {
        graph.AddNode(node);
    }
    for (const auto& [from, to, value] : arrows) {
        graph.AddArrow(from, to, Cell(value));
    }
    return graph;
}

TEST(GraphScaleTest, LevelsOfValuesOnPlainAndSymmetricScales) {
    TGraphModel graph = Graph({"A", "B"}, {{"A", "B", "0"}, {"B", "A", "0.5"}, {"A", "A", "1"}});
    TScale& scale = graph.Indicators[0].Scale;
    EXPECT_EQ(scale.LowEnd, 0);
    EXPECT_EQ(scale.HighEnd, 1);
    EXPECT_EQ(scale.LevelOf("0"), 1);
    EXPECT_EQ(scale.LevelOf("0.5"), 3);
    EXPECT_EQ(scale.LevelOf("1"), 5);
    EXPECT_EQ(scale.LevelOf("-1"), 0);
    scale.Symmetric = true;
    scale.LowEnd = -1;
    scale.HighEnd = 1;
    EXPECT_EQ(scale.LevelOf("0"), 0);
    EXPECT_EQ(scale.LevelOf("1"), 5);
    EXPECT_EQ(scale.LevelOf("-0.5"), 3);
    EXPECT_TRUE(scale.IsNegative("-0.5"));
    // The low end itself lies on the scale: its level is the highest, not one beyond it.
    EXPECT_EQ(scale.LevelOf("-1"), 5);
    scale.HighEnd = scale.LowEnd;
    EXPECT_EQ(scale.LevelOf("7"), 1);
}

TEST(GraphScaleTest, PresetColoursAndNegativeColourAtHalfIntensity) {
    TGraphModel graph;
    for (int i = 0; i < 16; ++i) {
        graph.AddIndicator("I" + std::to_string(i));
    }
    graph.AddIndicator("I0");
    ASSERT_EQ(graph.Indicators.size(), TScale::kMaxIndicators);
    EXPECT_TRUE(graph.Indicators[0].Checked);
    EXPECT_FALSE(graph.Indicators[1].Checked);
    EXPECT_EQ(graph.Indicators[2].Scale.PlotColor, (TColor{0, 128, 0}));
    EXPECT_EQ(graph.Indicators[5].Scale.NegativeColor, (TColor{127, 0, 127}));
    EXPECT_EQ(graph.Indicators[14].Scale.PlotColor, kBlack);
}

TEST(GraphCellTest, ValuesReadFromTheKindsOfCells) {
    struct TCase {
        std::string Text;
        std::size_t Count;
        std::vector<std::string> Values;
    };
    const std::vector<TCase> cases{
        {Cell("3") + Cell("26%"), 2, {"3", "26"}},
        {Cell("<nobr>-0.5</nobr>") + "<td align=\"center\">-</td>", 2, {"-0.5", "-"}},
        // A conditional format wraps the number in tags; the number counts all the same.
        {"<td bgcolor=\"#FF0000\" align=\"right\"><b><u>0.75</u></b></td>", 1, {"0.75"}},
        {"<td><table class=\"0.4\"><tr><td>x</td></tr></table></td>"
         "<td><table class=\"-2\"><tr><td>y</td></tr></table></td>",
         2,
         {"0.4", "-2"}},
        {Cell("1") + Cell("2") + Cell("3"), 2, {"1", "2"}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(TGraphModel::CellValues(c.Text, c.Count), c.Values) << c.Text;
    }
    EXPECT_EQ(TScale::ValueOf("~0"), 0);
    EXPECT_EQ(TScale::ValueOf("0,25"), 0.25);
}

TEST(GraphCellTest, ResetTakesTheRangeFromTheArrowsAgain) {
    TGraphModel graph = Graph({"A", "B"}, {{"A", "B", "2"}, {"B", "A", "-4"}});
    TScale& scale = graph.Indicators[0].Scale;
    scale.LowEnd = -10;
    scale.HighEnd = 10;
    graph.ResetScale(0);
    EXPECT_EQ(scale.LowEnd, -4);
    EXPECT_EQ(scale.HighEnd, 2);
}

// Text boxes of the names drawn, from the recording canvas's log (6 pixels a character, 13 high).
struct TLabel {
    int Left;
    int Top;
    std::string Text;
};

std::vector<TLabel> Labels(const std::vector<std::string>& log) {
    std::vector<TLabel> labels;
    for (const std::string& line : log) {
        int x = 0;
        int y = 0;
        char text[256] = {};
        if (std::sscanf(line.c_str(), "text (%d,%d) %255[^\n]", &x, &y, text) == 3) {
            labels.push_back({x, y, text});
        }
    }
    return labels;
}

TEST(GraphDrawingTest, ThreeNodesRunClockwiseFromTheTop) {
    TGraphModel graph = Graph({"North", "East", "West"}, {});
    TGraphDrawing drawing(graph);
    test::TRecordingCanvas canvas;
    drawing.Draw(canvas);
    const TPoint top = drawing.Position(0);
    const TPoint right = drawing.Position(1);
    const TPoint left = drawing.Position(2);
    EXPECT_EQ(top.X, drawing.Centre().X);
    EXPECT_LT(top.Y, right.Y);
    EXPECT_EQ(right.Y, left.Y);
    EXPECT_GT(right.X, top.X);
    EXPECT_LT(left.X, top.X);
    const std::vector<TLabel> labels = Labels(canvas.Log);
    const auto north = std::find_if(labels.begin(), labels.end(),
                                    [](const TLabel& l) { return l.Text == "North"; });
    ASSERT_NE(north, labels.end());
    EXPECT_EQ(north->Top, top.Y - 13 - 10);
    EXPECT_EQ(north->Left, top.X - 15);
}

TEST(GraphDrawingTest, NamesStayInsideThePicture) {
    const std::string longName = "Regional water authority";
    for (std::size_t n = 1; n <= 6; ++n) {
        std::vector<std::string> nodes;
        for (std::size_t i = 0; i < n; ++i) {
            nodes.push_back(longName + " " + std::to_string(i));
        }
        TGraphModel graph = Graph(nodes, {});
        TGraphDrawing drawing(graph);
        test::TRecordingCanvas canvas;
        drawing.Draw(canvas);
        for (const TLabel& label : Labels(canvas.Log)) {
            if (label.Text.starts_with(longName)) {
                EXPECT_GE(label.Left, 0) << n << " nodes: " << label.Text;
                EXPECT_LE(label.Left + 6 * static_cast<int>(label.Text.size()), drawing.Width)
                    << n << " nodes: " << label.Text;
            }
        }
    }
}

TEST(GraphDrawingTest, LegendWiderThanThePictureStartsInsideIt) {
    TGraphModel graph = Graph({"A", "B"}, {});
    for (int i = 0; i < 12; ++i) {
        graph.AddIndicator("Indicator with a long name " + std::to_string(i));
        graph.Indicators.back().Checked = true;
    }
    TGraphDrawing drawing(graph);
    test::TRecordingCanvas canvas;
    drawing.Draw(canvas);
    const std::vector<TLabel> labels = Labels(canvas.Log);
    const auto legend = std::find_if(labels.begin(), labels.end(), [](const TLabel& l) {
        return l.Text.find("Indicator with a long name 0") != std::string::npos;
    });
    ASSERT_NE(legend, labels.end());
    EXPECT_GE(legend->Left, 0);
}

// The lines at least minLength long (in x or y) drawn with a pen whose log line starts with the
// prefix, in order: arrow lines rather than legend keys and arrowheads.
std::vector<std::pair<TPoint, TPoint>> LinesIn(const std::vector<std::string>& log,
                                               const std::string& penPrefix, int minLength) {
    std::vector<std::pair<TPoint, TPoint>> lines;
    bool inPen = false;
    for (const std::string& line : log) {
        if (line.starts_with("pen ")) {
            inPen = line.starts_with(penPrefix);
            continue;
        }
        TPoint a;
        TPoint b;
        if (inPen &&
            std::sscanf(line.c_str(), "line (%d,%d) (%d,%d)", &a.X, &a.Y, &b.X, &b.Y) == 4 &&
            std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y)) >= minLength) {
            lines.emplace_back(a, b);
        }
    }
    return lines;
}

TEST(GraphDrawingTest, TwoIndicatorsDrawParallelLinesFurtherAndFurtherOut) {
    TGraphModel graph;
    graph.ClearGraph("T", "");
    graph.AddIndicator("First");
    graph.AddIndicator("Second");
    graph.AddNode("A");
    graph.AddNode("B");
    graph.AddArrow("A", "B", Cell("1") + Cell("1"));
    graph.AddArrow("B", "A", Cell("0") + Cell("0"));
    graph.Indicators[1].Checked = true;
    TGraphDrawing drawing(graph);
    test::TRecordingCanvas canvas;
    drawing.Draw(canvas);
    // Level 5 on both scales: lines 4 pixels wide, red for the first, blue for the second.
    const auto red = LinesIn(canvas.Log, "pen 255,0,0 4 0", 30);
    const auto blue = LinesIn(canvas.Log, "pen 0,0,255 4 0", 30);
    ASSERT_FALSE(red.empty());
    ASSERT_FALSE(blue.empty());
    // A and B lie on a horizontal line: A on the right, B on the left (two nodes).
    const int straight = drawing.Position(0).Y;
    ASSERT_EQ(straight, drawing.Position(1).Y);
    const int redOffset = red.front().first.Y - straight;
    const int blueOffset = blue.front().first.Y - straight;
    EXPECT_EQ(red.front().first.Y, red.front().second.Y);
    EXPECT_NE(redOffset, 0);
    EXPECT_GT(std::abs(blueOffset), std::abs(redOffset));
    EXPECT_EQ(redOffset > 0, blueOffset > 0);
    // The arrows back, at level 1, are dotted and lie on the other side.
    const auto dotted = LinesIn(canvas.Log, "pen 255,0,0 1 2", 30);
    ASSERT_FALSE(dotted.empty());
    EXPECT_EQ(dotted.front().first.Y - straight > 0, redOffset < 0);
}

TEST(GraphDrawingTest, ArrowToItselfIsAShortVerticalStubBesideTheNode) {
    TGraphModel graph = Graph({"A", "B", "C"}, {{"B", "B", "1"}});
    TGraphDrawing drawing(graph);
    test::TRecordingCanvas canvas;
    drawing.Draw(canvas);
    const auto lines = LinesIn(canvas.Log, "pen 255,0,0 1 2", 15);
    ASSERT_FALSE(lines.empty());
    const auto& [start, end] = lines.front();
    EXPECT_EQ(start.X, end.X);
    EXPECT_EQ(start.Y - end.Y, 20);
    const TPoint node = drawing.Position(1);
    EXPECT_GT(start.X, node.X);
    EXPECT_LT(start.X - node.X, 40);
    EXPECT_GT(end.Y, node.Y);
}

TEST(PajekTest, OneArcNetworkHasSixLines) {
    TGraphModel graph = Graph({"Farmers", "City"}, {});
    graph.AddArrow("City", "Farmers", Cell("0.5"));
    graph.Indicators[0].Scale.LowEnd = 0;
    graph.Indicators[0].Scale.HighEnd = 1;
    const TPajekText network = PajekNetwork(graph, 0);
    ASSERT_TRUE(network.Text);
    EXPECT_EQ(*network.Text,
              "*Network Utility\r\n*Vertices 2\r\n1 \"Farmers\"\r\n2 \"City\"\r\n*Arcs\r\n"
              "2 1 3\r\n");
}

TEST(PajekTest, SignedWeightsNodesToThemselvesAndLevelZero) {
    TGraphModel graph =
        Graph({"A", "B"}, {{"A", "B", "1"}, {"B", "A", "-0.5"}, {"A", "A", "0"}, {"B", "B", "-1"}});
    TScale& scale = graph.Indicators[0].Scale;
    scale.Symmetric = true;
    const TPajekText network = PajekNetwork(graph, 0);
    ASSERT_TRUE(network.Text);
    EXPECT_NE(network.Text->find("*Arcs\r\n1 2 5\r\n2 1 -3\r\n2 2 -5\r\n"), std::string::npos)
        << *network.Text;
}

TEST(PajekTest, WhatTheFormatCannotCarryIsRefusedOrCounted) {
    TGraphModel graph = Graph({"A", "The \"big\" one"}, {{"A", "The \"big\" one", "1"}});
    const TPajekText refused = PajekNetwork(graph, 0);
    EXPECT_FALSE(refused.Text);
    EXPECT_NE(refused.Refusal.find("The \"big\" one"), std::string::npos);
    EXPECT_FALSE(PajekNetworks(graph).Text);

    TGraphModel stray = Graph({"A", "B"}, {{"A", "B", "1"}, {"A", "Gone", "1"}});
    const TPajekText kept = PajekNetwork(stray, 0);
    ASSERT_TRUE(kept.Text);
    EXPECT_EQ(kept.ArcsLeftOut, 1u);
    EXPECT_EQ(kept.Text->find("0"), std::string::npos);
}

TEST(PajekTest, OneNetworkPerCheckedIndicator) {
    TGraphModel graph = Graph({"A", "B"}, {{"A", "B", "1"}}, {"First", "Second", "Third"});
    graph.Indicators[2].Checked = true;
    const TPajekText networks = PajekNetworks(graph);
    ASSERT_TRUE(networks.Text);
    EXPECT_NE(networks.Text->find("*Network First\r\n"), std::string::npos);
    EXPECT_EQ(networks.Text->find("*Network Second"), std::string::npos);
    EXPECT_GT(networks.Text->find("*Network Third\r\n"), networks.Text->find("*Network First"));
}

}  // namespace
}  // namespace kavo
