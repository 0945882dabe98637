#include <gtest/gtest.h>

#include "analyses/TAnalysisField.h"
#include "analyses/TFieldFormat.h"

namespace kavo {
namespace {

using enum TFormatRelation;

TEST(FieldFormatTest, RelationsMatchTheirValues) {
    struct TCase {
        TFormatRelation Relation;
        double Upper;
        double Lower;
        double X;
        bool Matches;
    };
    const TCase cases[] = {
        {frEqual, 2, 0, 2.004, true},         {frEqual, 2, 0, 2.006, false},
        {frApproxEqual, 0, 0, 0.099, true},   {frApproxEqual, 0, 0, -0.1, false},
        {frApproxEqual, 10, 0, 9.01, true},   {frApproxEqual, 10, 0, 11, false},
        {frApproxEqual, -10, 0, -10.9, true}, {frNotEqual, 2, 0, 2.004, false},
        {frNotEqual, 2, 0, 2.006, true},      {frLess, 1, 0, 1, false},
        {frLessOrEqual, 1, 0, 1, true},       {frGreater, 1, 0, 1, false},
        {frGreaterOrEqual, 1, 0, 1, true},    {frBetween, 5, 1, 1, true},
        {frBetween, 5, 1, 5, true},           {frBetween, 5, 1, 5.01, false},
        {frNotBetween, 5, 1, 1, false},       {frNotBetween, 5, 1, 5, false},
        {frNotBetween, 5, 1, 0.99, true},     {frUnset, 0, 0, 0, false},
    };
    for (const TCase& c : cases) {
        TFieldFormat format;
        format.Relation = c.Relation;
        format.UpperValue = c.Upper;
        format.LowerValue = c.Lower;
        EXPECT_EQ(format.Matches(c.X), c.Matches)
            << static_cast<int>(c.Relation) << " " << c.Upper << " " << c.Lower << " " << c.X;
    }
}

TEST(FieldFormatTest, CellsAreNumbersOrPercentagesStyledByTheFirstMatchingFormat) {
    TAnalysisField field("Utility", TFieldKind::fkMean);
    EXPECT_EQ(field.ImageIndex, 22);
    EXPECT_EQ(field.FormatCell(false, 0.5), "<td align=\"right\">0.50</td>");
    EXPECT_EQ(field.FormatCell(false, -0.5), "<td align=\"right\"><nobr>-0.50</nobr></td>");
    EXPECT_EQ(field.FormatCell(true, 0.256), "<td align=\"right\">26%</td>");
    EXPECT_EQ(field.FormatCell(true, -0.5), "<td align=\"right\"><nobr>-50%</nobr></td>");

    TFieldFormat low;
    low.Relation = frLess;
    low.UpperValue = 0;
    low.Color = 0x0000E0;  // red in the low byte
    low.Bold = true;
    low.Underline = true;
    TFieldFormat any;
    any.Relation = frLess;
    any.UpperValue = 100;
    any.Italic = true;
    field.Formats = {low, any};
    EXPECT_EQ(field.FormatCell(false, -0.5),
              "<td bgcolor=\"#E00000\" align=\"right\"><b><u><nobr>-0.50</nobr></u></b></td>");
    EXPECT_EQ(field.FormatCell(false, 3), "<td bgcolor=\"#FFFFFF\" align=\"right\"><i>3</i></td>");
    EXPECT_EQ(field.FormatCell(false, 300), "<td align=\"right\">300</td>");
}

}  // namespace
}  // namespace kavo
