#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "casefile/CaseFileText.h"
#include "casefile/TLineScanner.h"
#include "casefile/TextEncoding.h"

namespace kavo {
namespace {

TEST(CaseFileTextTest, DecimalsAcceptEitherSeparator) {
    const struct {
        const char* Text;
        std::optional<double> Value;
    } cases[] = {
        {"2.5", 2.5},
        {"2,5", 2.5},
        {"-0.125", -0.125},
        {" 12 ", 12.0},
        {"1.00E-05", 1e-05},
        {"+3", 3.0},
        {"1,234.5", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"1.5x", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadDecimal(c.Text), c.Value) << c.Text;
    }
}

TEST(CaseFileTextTest, IntegersAreWholeTexts) {
    const struct {
        const char* Text;
        std::optional<std::int64_t> Value;
    } cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"4 2", std::nullopt},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadInteger(c.Text), c.Value) << c.Text;
    }
}

TEST(CaseFileTextTest, ScannerExtractsBetweenMarkersAndMovesOn) {
    TLineScanner scan("<img src=\"gif/p-2u1.gif\"> and more");
    EXPECT_EQ(scan.Between("\"gif/p", "u"), "-2");
    EXPECT_EQ(scan.Between("", ".gif"), "1");
    EXPECT_EQ(scan.Rest(), "\"> and more");
    // A missing opening marker consumes nothing; a missing closing one takes the rest.
    EXPECT_EQ(scan.Between("<td>", "</td>"), "\"> and more");
    EXPECT_EQ(scan.Between(" and", "</td>"), " more");
    EXPECT_EQ(scan.Rest(), "");
}

TEST(CaseFileTextTest, RowKindsInBothVariants) {
    EXPECT_TRUE(IsRowOfKind("  <tr class=\"comment\">", "comment"));
    EXPECT_TRUE(IsRowOfKind("<tr> <!-- comment -->", "comment"));
    EXPECT_FALSE(IsRowOfKind("  <tr class=\"comments\">", "comment"));
    EXPECT_FALSE(IsRowOfKind("  <tr class=\"a+a\">", "aia"));
}

TEST(CaseFileTextTest, MarkupEscapingIsReversible) {
    const std::string text = "a </td> & &amp; <b> &lt;";
    EXPECT_EQ(EscapeMarkup(text), "a &lt;/td&gt; &amp; &amp;amp; &lt;b&gt; &amp;lt;");
    EXPECT_EQ(UnescapeMarkup(EscapeMarkup(text)), text);
}

TEST(TextEncodingTest, DocumentsAreReadAsUtf8OrWindows1252) {
    const struct {
        std::string Bytes;
        std::string Text;
    } cases[] = {
        {"plain", "plain"},
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\u00e9 \u20ac"},
        // Windows-1252: e acute, euro sign, left double quotation mark.
        {"caf\xe9 \x80 \x93", "caf\u00e9 \u20ac \u201c"},
        // A document that declares UTF-8 keeps its sequences; a stray byte reads as Windows-1252.
        {"<meta content=\"text/html; charset=utf-8\">\xc3\xa9\xe9",
         "<meta content=\"text/html; charset=utf-8\">\u00e9\u00e9"},
        // Undefined in Windows-1252: the control character of the same number.
        {"\x81", "\u0081"},
        // Overlong and surrogate encodings are not UTF-8.
        {"\xc0\xaf", "\u00c0\u00af"},
        {"\xed\xa0\x80", "\u00ed\u00a0\u20ac"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCaseDocument(c.Bytes), c.Text) << c.Bytes;
    }
}

}  // namespace
}  // namespace kavo
