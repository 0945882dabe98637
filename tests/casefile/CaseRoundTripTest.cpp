#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "support/CaseDifferences.h"
#include "support/TCaseGenerator.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> DocumentOf(TCase& target) {
    TImageWriter noImages;
    return TCaseWriter(target, noImages, [] { return "2024-01-01 00:00:00"; }).Document("");
}

// The first line at which the documents differ, for a readable failure.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(end)";
        const std::string y = i < b.size() ? b[i] : "(end)";
        if (x != y) {
            return "line " + std::to_string(i + 1) + ": " + x + " | " + y;
        }
    }
    return "";
}

// Writes a generated case, reads the document into a new case and writes that again: the two
// documents are the same bytes and the case read equals the case generated.
class CaseRoundTripTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(CaseRoundTripTest, WriteReadWriteKeepsBytesAndModel) {
    test::TTestPlatform platform;
    TCase generated(platform.Context);
    test::TCaseGenerator(GetParam(), test::TCaseShape{}).Fill(generated);
    // Generating tries names the model refuses, with a warning each.
    platform.Messages.Log.clear();
    const std::vector<std::string> first = DocumentOf(generated);

    TCase read(platform.Context);
    EXPECT_EQ(TCaseReader(read).ReadDocument(Join(first)), TReadOutcome::roRead);
    const std::vector<std::string> differences = test::CaseDifferences(generated, read);
    EXPECT_TRUE(differences.empty())
        << differences.size() << " differences, first: " << differences.front();
    EXPECT_EQ(FirstDifference(DocumentOf(read), first), "");
    EXPECT_TRUE(platform.Messages.Log.empty()) << platform.Messages.Log.front().Text;
    EXPECT_FALSE(read.Modified);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CaseRoundTripTest, ::testing::Range<std::uint32_t>(1, 301));

}  // namespace
}  // namespace kavo
