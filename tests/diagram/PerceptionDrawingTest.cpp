#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "diagram/DiagramFixture.h"
#include "diagram/PerceptionDrawing.h"

namespace kavo {
namespace {

using test::LogContains;
using test::LogHas;

// Boxes of the numbers used below: a rounded box with a label block 60 wide and 25 high (box 84
// wide) around (200, 100), its outline from (159, 88) to (241, 112); an action 80 by 37 around
// (200, 100), from (160, 82) to (240, 118), its range bar cells from x = 161 at y = 83. The
// recording canvas measures 6 pixels a character and 13 a line.
class PerceptionDrawingTest : public test::TDiagramFixture, public ::testing::Test {
  protected:
    std::vector<std::string> Draw(const TFiP& fip, TDrawMode mode = TDrawMode::dmNormal) {
        Canvas.Log.clear();
        DrawFiP(fip, Canvas, mode);
        return Canvas.Log;
    }
    std::vector<std::string> Draw(TLink& link, TDrawMode mode = TDrawMode::dmNormal) {
        Canvas.Log.clear();
        DrawLink(link, Canvas, mode);
        return Canvas.Log;
    }

    TFactor* WaterLevel = Factor("Water level", 60, 25);
    TFactor* Tax = Factor("Tax", 50, 37, true, "Gov");
};

TEST_F(PerceptionDrawingTest, FactorBox) {
    const TFiP* fip = Show(WaterLevel, 200, 100);
    EXPECT_TRUE(LogHas(Draw(*fip), {"font MS Sans Serif 8 0,0,0", "brush 255,255,255 0",
                                    "pen 128,128,128 1 0", "roundrect (159,88)-(241,112) 25x25",
                                    "brush * 1", "text (167,93) Water level", "brush * 0"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "polygon*"));
}

TEST_F(PerceptionDrawingTest, StockFactorHasSmallCorners) {
    WaterLevel->IsStock = true;
    EXPECT_TRUE(LogHas(Draw(*Show(WaterLevel, 200, 100)), {"roundrect (159,88)-(241,112) 12x12"}));
}

TEST_F(PerceptionDrawingTest, LabelLinesAreTrimmedWithBlanksForUnderscores) {
    WaterLevel->LabelLines = {" Sea_level ", "high"};
    // Two lines of 13 pixels centred on y = 100.
    EXPECT_TRUE(LogHas(Draw(*Show(WaterLevel, 200, 100)),
                       {"text (173,86) Sea level", "text (188,99) high"}));
}

TEST_F(PerceptionDrawingTest, OwnerLineOfAnAttribute) {
    const TFiP* fip = Show(Factor("Water level", 60, 25, false, "Gov"), 200, 100);
    struct TCase {
        TDrawMode Mode;
        std::string OwnerFont;
        std::string TextFont;
    };
    const std::vector<TCase> cases{
        {TDrawMode::dmNormal, "font MS Sans Serif 8 bold 128,0,128", "font MS Sans Serif 8 0,0,0"},
        {TDrawMode::dmClipboard, "font MS Sans Serif 8 bold italic 128,0,128",
         "font MS Sans Serif 8 0,0,0"},
        {TDrawMode::dmGreyed, "font MS Sans Serif 8 bold 192,192,192",
         "font MS Sans Serif 8 192,192,192"},
    };
    for (const TCase& c : cases) {
        EXPECT_TRUE(LogHas(Draw(*fip, c.Mode), {"text (167,86) Water level", c.OwnerFont,
                                                "text (191,99) Gov", c.TextFont}))
            << static_cast<int>(c.Mode);
    }
}

TEST_F(PerceptionDrawingTest, ActionWithRangeBar) {
    TFiP* fip = Show(Tax, 200, 100);
    fip->ActionRange[-3] = false;
    fip->ChosenLevel = 1;
    EXPECT_TRUE(LogHas(Draw(*fip),
                       {"pen 128,128,128 1 0", "rectangle (160,82)-(240,118)",
                        "fill (161,83)-(239,94) 192,192,192", "fill (161,83)-(172,94) 192,192,192",
                        "fill * 255,255,255", "fill (172,83)-(183,94) 192,192,192", "fill * 0,0,0",
                        "fill (205,83)-(216,94) 128,0,128", "fill * 255,0,255",
                        "fill (227,83)-(238,94) 192,192,192", "text (191,95) Tax",
                        "font MS Sans Serif 8 bold 128,0,128", "text (191,108) Gov"}));
}

TEST_F(PerceptionDrawingTest, RangeBarOptionsAndModes) {
    TFiP* fip = Show(Tax, 200, 100);
    // Greyed: the silver strip without cells.
    Draw(*fip, TDrawMode::dmGreyed);
    EXPECT_TRUE(LogContains(Canvas.Log, "fill (161,83)-(239,94) 192,192,192"));
    EXPECT_FALSE(LogContains(Canvas.Log, "fill (161,83)-(172,94) *"));
    // Selected: the strip stops short of the two pixel outline.
    View->Selection = {fip};
    Draw(*fip);
    EXPECT_TRUE(LogContains(Canvas.Log, "fill (161,83)-(238,94) 192,192,192"));
    // Without range bars the label block is centred.
    Case.RangeBarShown = false;
    Draw(*fip);
    EXPECT_FALSE(LogContains(Canvas.Log, "fill (161,83)*"));
    EXPECT_TRUE(LogHas(Canvas.Log, {"text (191,86) Tax", "text (191,99) Gov"}));
}

TEST_F(PerceptionDrawingTest, OperatorTabOfAnAction) {
    TFiP* fip = Show(Tax, 200, 100);
    Link(Show(WaterLevel, 400, 100), fip);
    fip->Operator = TOperator::opMul;
    // The box is 10 pixels taller: from y = 77 to 123.
    EXPECT_TRUE(LogHas(
        Draw(*fip),
        {"pen 64,64,64 1 0", "rectangle (160,77)-(240,123)", "fill (161,78)-(239,89) 192,192,192",
         "fill (189,89)-(212,101) 64,64,64", "font Small Fonts 7 255,255,255", "text (191,90) MUL",
         "font MS Sans Serif 8 0,0,0", "text (191,102) Tax"}));
}

TEST_F(PerceptionDrawingTest, OperatorTabOfAFactor) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    Link(Show(Tax, 400, 100), fip);
    fip->Operator = TOperator::opMin;
    EXPECT_TRUE(LogHas(Draw(*fip), {"pen 64,64,64 1 0", "roundrect (154,83)-(246,117) 35x35",
                                    "fill (189,83)-(212,94) 64,64,64", "text (191,83) MIN",
                                    "font MS Sans Serif 8 0,0,0", "text (167,98) Water level"}));
    // Without labels the factor's tab goes too.
    Draw(*fip, TDrawMode::dmNoText);
    EXPECT_TRUE(LogContains(Canvas.Log, "roundrect (154,83)-(246,117) 35x35"));
    EXPECT_FALSE(LogContains(Canvas.Log, "fill (189,83)*"));
}

TEST_F(PerceptionDrawingTest, OperatorWithoutIncomingLinkDarkensTheOutlineOnly) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    fip->Operator = TOperator::opMax;
    EXPECT_TRUE(LogHas(Draw(*fip), {"pen 64,64,64 1 0", "roundrect (159,88)-(241,112) 25x25"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "text * MAX"));
}

TEST_F(PerceptionDrawingTest, StandardGoalFillAndMark) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    Goal(fip, TGoalType::gtStandard, 2, 2);
    EXPECT_TRUE(LogHas(
        Draw(*fip), {"brush 255,192,128 0", "roundrect (159,88)-(241,112) 25x25", "pen 0,0,0 2 0",
                     "brush 255,128,64 0", "polygon (231,95) (225,106) (237,106)"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "line *"));
    Draw(*fip, TDrawMode::dmGreyed);
    EXPECT_TRUE(LogHas(Canvas.Log, {"brush 224,224,224 0", "roundrect *", "pen 192,192,192 2 0",
                                    "brush 224,224,224 0", "polygon *"}));
}

TEST_F(PerceptionDrawingTest, GoalOfPriorityZeroFillsWhite) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    Goal(fip, TGoalType::gtStandard, 2, 2)->Priority = 0;
    EXPECT_TRUE(LogHas(Draw(*fip), {"brush 255,255,255 0", "roundrect *"}));
}

TEST_F(PerceptionDrawingTest, NegativeGoalDrawsACloudAndACrossedMark) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    Goal(fip, TGoalType::gtNegative, -2, 3);
    const std::string cloud =
        "polygon (170,89) (182,89) (200,97) (218,89) (230,89) (206,100) (230,110) (218,110) "
        "(200,103) (182,110) (170,110) (194,100)";
    // The cross keeps clear of the label: the mark lies a pixel further right than it would.
    EXPECT_TRUE(LogHas(
        Draw(*fip),
        {"brush 255,255,255 0", "roundrect (159,88)-(241,112) 25x25", "pen 96,144,255 1 4",
         "brush 96,144,255 0", cloud, "pen 183,0,0 3 0", "polygon (232,107) (226,96) (238,96)",
         "pen 183,0,0 1 0", "line (225,93) (240,108)", "line (225,107) (240,92)"}));
    // A selected box's thicker outline pushes the cloud's top down a pixel.
    View->Selection = {fip};
    EXPECT_TRUE(LogContains(Draw(*fip), "polygon (170,90) (182,90) (200,97) *"));
}

TEST_F(PerceptionDrawingTest, CustomGoalMarkIsUnderlinedAndCrossedWhenNothingIsWanted) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    TGoal* goal = Goal(fip, TGoalType::gtStandard, 2, 2);
    goal->GoalType = TGoalType::gtCustom;
    goal->HighUtility = 1;
    EXPECT_TRUE(LogHas(Draw(*fip), {"pen 0,0,0 2 0", "polygon (231,95) (225,106) (237,106)",
                                    "line (226,110) (236,110)"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "line (224,*"));
    goal->HighUtility = 0;
    EXPECT_TRUE(LogHas(Draw(*fip),
                       {"pen 207,0,0 2 0", "polygon (232,95) (226,106) (238,106)",
                        "line (227,110) (237,110)", "pen 207,0,0 1 0", "line (225,95) (240,110)"}));
}

// The leftmost x of the shapes drawn after the last text of the log: the goal mark's.
int LeftmostAfterText(const std::vector<std::string>& log) {
    const auto lastText = std::find_if(log.rbegin(), log.rend(), [](const std::string& line) {
                              return line.starts_with("text ");
                          }).base();
    int leftmost = 1 << 20;
    for (auto line = lastText; line != log.end(); ++line) {
        if (!line->starts_with("polygon") && !line->starts_with("line") &&
            !line->starts_with("ellipse")) {
            continue;
        }
        for (std::size_t open = line->find('('); open != std::string::npos;
             open = line->find('(', open + 1)) {
            leftmost = std::min(leftmost, std::stoi(line->substr(open + 1)));
        }
    }
    return leftmost;
}

TEST_F(PerceptionDrawingTest, GoalMarkKeepsClearOfTheLabelInANarrowBox) {
    // An action whose box is just wide enough for its label: the label line "Subsidies" is 54
    // wide and ends at x = 227, the owner line below it.
    TFactor* subsidies = Factor("Subsidies", 65, 49, true, "Gov");
    TFiP* fip = Show(subsidies, 200, 100);
    for (const TGoalType type : {TGoalType::gtStandard, TGoalType::gtNegative}) {
        for (int level = -3; level <= 3; ++level) {
            TGoal* goal = Goal(fip, type, level, 3);
            const std::vector<std::string> log = Draw(*fip);
            View->Remove(goal);
            EXPECT_TRUE(LogContains(log, "text (173,*) Subsidies"));
            EXPECT_TRUE(LogContains(log, "text (191,*) Gov"));
            EXPECT_GE(LeftmostAfterText(log), 227) << "level " << level;
        }
    }
}

TEST_F(PerceptionDrawingTest, MarksMoveInwardsInAWideBox) {
    // A label block 40 wide in an action box 80 wide leaves 20 pixels at either side.
    TFiP* fip = Show(Factor("Levy", 40, 37, true, "Gov"), 200, 100);
    Goal(fip, TGoalType::gtStandard, 1, 1);
    Prospect(fip, 3, 0);
    EXPECT_TRUE(
        LogHas(Draw(*fip), {"polygon (227,98) (223,105) (231,105)",
                            "polyline (176,93) (169,100) (176,107) (183,100) (176,93)",
                            "fill (172,99)-(181,102) 0,0,0", "fill (175,96)-(178,105) 0,0,0"}));
}

TEST_F(PerceptionDrawingTest, ProspectMarks) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    TProspect* prospect = Prospect(fip, -2, 2);
    EXPECT_TRUE(LogHas(Draw(*fip), {"pen 112,112,112 1 0",
                                    "polyline (168,94) (163,99) (163,100) (168,105) (169,105) "
                                    "(174,100) (174,99) (169,94) (168,94)",
                                    "fill (166,99)-(172,101) 112,112,112"}));
    prospect->Level = 0;
    prospect->Uncertainty = 0;
    EXPECT_TRUE(LogHas(Draw(*fip), {"font Small Fonts 7 bold 0,0,0", "text (166,95) ?"}));
    EXPECT_TRUE(LogHas(Draw(*fip, TDrawMode::dmNoText),
                       {"polyline (167,94) (160,101) (167,108) (174,101) (167,94)"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "text *"));
}

TEST_F(PerceptionDrawingTest, OutlineBySelectionModeAndColourCode) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    fip->Comment = {"dykes {r2}"};
    struct TCase {
        bool Selected;
        bool ShowCodes;
        TDrawMode Mode;
        std::string Pen;
    };
    const std::vector<TCase> cases{
        {false, false, TDrawMode::dmNormal, "pen 128,128,128 1 0"},
        {false, true, TDrawMode::dmNormal, "pen 255,0,0 2 0"},
        {false, true, TDrawMode::dmGreyed, "pen 192,192,192 1 0"},
        {true, true, TDrawMode::dmNormal, "pen 128,0,128 2 0"},
        {true, false, TDrawMode::dmGreyedNoText, "pen 192,192,192 2 0"},
        {true, false, TDrawMode::dmClipboard, "pen 128,128,128 1 0"},
    };
    for (const TCase& c : cases) {
        View->Selection.clear();
        if (c.Selected) {
            View->Selection.push_back(fip);
        }
        Context.ShowColorCodes = c.ShowCodes;
        EXPECT_TRUE(LogHas(Draw(*fip, c.Mode), {c.Pen, "roundrect *"})) << c.Pen;
    }
}

TEST_F(PerceptionDrawingTest, NoTextModesDrawNoText) {
    TFiP* fip = Show(Factor("Water level", 60, 25, false, "Gov"), 200, 100);
    for (const TDrawMode mode : {TDrawMode::dmNoText, TDrawMode::dmGreyedNoText}) {
        Draw(*fip, mode);
        EXPECT_TRUE(LogContains(Canvas.Log, "roundrect *"));
        EXPECT_FALSE(LogContains(Canvas.Log, "text *"));
    }
}

TEST_F(PerceptionDrawingTest, RoundValues) {
    TPerception& round = *Case.FindOrCreateArena("*Round  3")->AnalystView;
    const auto show = [&round](TFactor* factor) {
        round.Add(std::make_unique<TFiP>(factor));
        TFiP* fip = round.FiPs.back().get();
        fip->X = 200;
        fip->Y = 100;
        fip->RoundValue = 12.5;
        return fip;
    };
    TFiP* factor = show(WaterLevel);
    EXPECT_TRUE(LogHas(Draw(*factor), {"font Small Fonts 7 0,0,255", "text (220,95) 125",
                                       "font MS Sans Serif 8 0,0,0"}));
    factor->PendingChange = 0.5;
    EXPECT_TRUE(LogContains(Draw(*factor), "text (214,95) 125+"));
    EXPECT_FALSE(LogContains(Draw(*factor, TDrawMode::dmGreyed), "font Small Fonts*"));
    EXPECT_FALSE(LogContains(Draw(*show(Tax)), "font Small Fonts*"));

    TPerception& roundZero = *Case.FindOrCreateArena("*Round  0")->AnalystView;
    roundZero.Add(std::make_unique<TFiP>(WaterLevel));
    roundZero.FiPs.back()->RoundValue = 12.5;
    EXPECT_FALSE(LogContains(Draw(*roundZero.FiPs.back()), "font Small Fonts*"));
    TFiP* market = Show(WaterLevel, 200, 100);
    market->RoundValue = 12.5;
    EXPECT_FALSE(LogContains(Draw(*market), "font Small Fonts*"));
}

TEST_F(PerceptionDrawingTest, SystemDiagramStyleEnlargesLabelsAndDropsMarks) {
    TFiP* fip = Show(WaterLevel, 200, 100);
    Goal(fip, TGoalType::gtStandard, 2, 2);
    Prospect(fip, 1, 0);
    WaterLevel->LabelLines = {"Water", "level"};
    Context.SystemDiagramStyle = true;
    // Lines 14 pixels apart, centred on y = 100.
    EXPECT_TRUE(LogHas(Draw(*fip), {"font MS Sans Serif 11 0,0,0", "text (185,85) Water",
                                    "text (185,99) level", "font MS Sans Serif 8 0,0,0"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "polygon *"));
    EXPECT_FALSE(LogContains(Canvas.Log, "polyline *"));
}

class LinkDrawingTest : public PerceptionDrawingTest {
  protected:
    // From the right end of one rounded box to the left end of the other, level.
    TFiP* Rain = Show(Factor("Rain", 60, 25), 100, 100);
    TFiP* Flood = Show(Factor("Flood", 60, 25), 300, 100);
};

TEST_F(LinkDrawingTest, ArrowWithSign) {
    TLink* link = Link(Rain, Flood, 2, 0);
    EXPECT_TRUE(LogHas(Draw(*link),
                       {"brush 255,255,255 0", "pen 0,0,0 1 0", "line (141,100) (249,100)",
                        "pen 0,0,0 1 0", "brush 0,0,0 0", "polygon (258,100) (249,104) (249,96)",
                        "brush 255,255,255 0", "ellipse (234,94)-(246,106)",
                        "fill (237,99)-(243,101) 0,0,0", "fill (239,97)-(241,103) 0,0,0"}));
    EXPECT_EQ(link->StartPoint, (TPoint{141, 100}));
    EXPECT_EQ(link->EndPoint, (TPoint{258, 100}));
    EXPECT_EQ(link->ArrowPoints, (std::vector<TPoint>{{258, 100}, {249, 104}, {249, 96}}));
}

TEST_F(LinkDrawingTest, NegativeSignHasNoUpright) {
    TLink* link = Link(Rain, Flood, -3, 0);
    EXPECT_TRUE(
        LogHas(Draw(*link), {"ellipse (230,93)-(245,108)", "fill (233,99)-(242,102) 0,0,0"}));
    EXPECT_EQ(std::count_if(Canvas.Log.begin(), Canvas.Log.end(),
                            [](const std::string& l) { return l.starts_with("fill"); }),
              1);
    link->Level = 0;
    EXPECT_FALSE(LogContains(Draw(*link), "ellipse *"));
}

TEST_F(LinkDrawingTest, LineStyleByUncertainty) {
    TLink* link = Link(Rain, Flood);
    const std::vector<std::string> pens{"pen 0,0,0 1 0", "pen 80,80,80 1 1", "pen 112,112,112 1 3",
                                        "pen 160,160,160 1 2"};
    for (int uncertainty = 0; uncertainty <= 3; ++uncertainty) {
        link->Uncertainty = static_cast<std::uint8_t>(uncertainty);
        const std::string& pen = pens[static_cast<std::size_t>(uncertainty)];
        EXPECT_TRUE(LogHas(Draw(*link), {pen, "line (141,100) (249,100)"})) << pen;
        // The head is always drawn solid.
        EXPECT_TRUE(LogHas(Canvas.Log, {pen.substr(0, pen.size() - 1) + "0", "polygon *"})) << pen;
    }
}

TEST_F(LinkDrawingTest, SelectedLinkAndModes) {
    TLink* link = Link(Rain, Flood, 2, 1);
    View->Selection = {link};
    EXPECT_TRUE(LogHas(Draw(*link), {"pen 128,0,128 2 0", "line (141,100) (249,100)",
                                     "pen 128,0,128 1 1", "line (141,100) (249,100)",
                                     "pen 128,0,128 1 0", "brush 128,0,128 0", "polygon *"}));
    EXPECT_TRUE(LogHas(Draw(*link, TDrawMode::dmGreyed), {"pen 192,192,192 2 0", "line *"}));
    EXPECT_TRUE(LogHas(Draw(*link, TDrawMode::dmClipboard), {"pen 80,80,80 1 1", "line *"}));
    View->Selection.clear();
    EXPECT_TRUE(LogHas(Draw(*link, TDrawMode::dmGreyed), {"pen 192,192,192 1 1", "line *"}));
}

TEST_F(LinkDrawingTest, ColourCodeSetsTheWidthOfCertainLinksOnly) {
    TLink* link = Link(Rain, Flood, 2, 0);
    link->Comment = {"{g3}"};
    EXPECT_TRUE(LogHas(Draw(*link), {"pen 0,0,0 1 0", "line *"}));
    Context.ShowColorCodes = true;
    EXPECT_TRUE(LogHas(Draw(*link), {"pen 0,128,0 3 0", "line *", "pen 0,128,0 1 0", "polygon *"}));
    link->Uncertainty = 1;
    EXPECT_TRUE(LogHas(Draw(*link), {"pen 0,128,0 1 1", "line *"}));
}

TEST_F(LinkDrawingTest, OverlappingBoxesKeepThePointsOfTheLastDrawing) {
    TLink* link = Link(Rain, Flood);
    Draw(*link);
    Flood->X = 150;
    Flood->Y = 110;
    EXPECT_TRUE(Draw(*link).empty());
    EXPECT_EQ(link->StartPoint, (TPoint{141, 100}));
    EXPECT_EQ(link->EndPoint, (TPoint{258, 100}));
}

TEST_F(LinkDrawingTest, SystemDiagramStyleSignsBesideTheLine) {
    TLink* link = Link(Rain, Flood, 2, 2);
    Context.SystemDiagramStyle = true;
    EXPECT_TRUE(LogHas(Draw(*link), {"pen 0,0,0 1 0", "line (141,100) (249,100)", "polygon *",
                                     "font Courier New 13 bold 0,0,0", "text (228,101) +",
                                     "font MS Sans Serif 8 0,0,0"}));
    EXPECT_FALSE(LogContains(Canvas.Log, "ellipse *"));
    link->Level = -1;
    EXPECT_TRUE(LogContains(Draw(*link), "text (231,101) -"));
}

class DrawPerceptionTest : public PerceptionDrawingTest {};

TEST_F(DrawPerceptionTest, EmptyPerceptionDrawsNothing) {
    DrawPerception(*View, Canvas, TDrawMode::dmNormal);
    EXPECT_LT(View->Extent.Right, 0);
    EXPECT_LT(View->Extent.Bottom, 0);
    EXPECT_TRUE(std::all_of(Canvas.Log.begin(), Canvas.Log.end(),
                            [](const std::string& l) { return l.starts_with("font"); }));
}

TEST_F(DrawPerceptionTest, ExtentAndPlacement) {
    struct TCase {
        const char* Name;
        int MaxWidth;
        std::vector<TPoint> Before;
        std::vector<TPoint> After;
        TRect Extent;
    };
    const std::vector<TCase> cases{
        {"inside the area: stays",
         1920,
         {{100, 100}, {300, 200}},
         {{100, 100}, {300, 200}},
         {0, 0, 357, 227}},
        {"left of the origin: pulled to a margin of 15",
         1920,
         {{10, 100}},
         {{57, 27}},
         {0, 0, 114, 54}},
        {"wider than the area: pulled to the margin too",
         300,
         {{100, 100}, {400, 100}},
         {{57, 27}, {357, 27}},
         {0, 0, 414, 54}},
    };
    for (const TCase& c : cases) {
        View->Links.clear();
        View->FiPs.clear();
        Case.MaxWidth = c.MaxWidth;
        const std::vector<TFactor*> factors{WaterLevel, Factor("Rain", 60, 25)};
        for (std::size_t i = 0; i < c.Before.size(); ++i) {
            Show(factors[i], c.Before[i].X, c.Before[i].Y);
        }
        DrawPerception(*View, Canvas, TDrawMode::dmNormal);
        for (std::size_t i = 0; i < c.After.size(); ++i) {
            EXPECT_EQ((TPoint{View->FiPs[i]->X, View->FiPs[i]->Y}), c.After[i]) << c.Name;
        }
        EXPECT_EQ(View->Extent, c.Extent) << c.Name;
    }
}

TEST_F(DrawPerceptionTest, LinksGoUnderTheBoxes) {
    TFiP* rain = Show(Factor("Rain", 60, 25), 100, 100);
    TFiP* flood = Show(Factor("Flood", 60, 25), 300, 100);
    TLink* link = Link(rain, flood);
    DrawPerception(*View, Canvas, TDrawMode::dmNormal);
    EXPECT_TRUE(LogHas(
        Canvas.Log, {"font MS Sans Serif 8 0,0,0", "line (141,100) (249,100)",
                     "roundrect (59,88)-(141,112) 25x25", "roundrect (259,88)-(341,112) 25x25"}));
    EXPECT_EQ(link->EndPoint, (TPoint{258, 100}));
}

}  // namespace
}  // namespace kavo
