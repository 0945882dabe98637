#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "cli/CliRun.h"

namespace kavo {
namespace {

namespace fs = std::filesystem;
using test::Occurrences;
using test::RunCli;

// The report without its date line.
std::vector<std::string> Undated(const fs::path& report) {
    std::vector<std::string> lines = test::SplitLines(test::ReadFile(report));
    if (lines.size() > 4) {
        lines[4].clear();
    }
    return lines;
}

class AnalyseTest : public test::CaseFileTest {
  protected:
    AnalyseTest() {
        fs::copy(Example, Scratch / "Water", fs::copy_options::recursive);
        for (const auto& entry : fs::directory_iterator(Scratch / "Water/gif")) {
            if (entry.path().filename().string().starts_with("h")) {
                fs::remove(entry.path());
            }
        }
        fs::remove(Scratch / "Water/Analysis.htm");
    }

    const fs::path Example = fs::path(KAVO_EXAMPLES) / "Water";
    const fs::path Copy = Scratch / "Water";
};

// The images a document refers to that its gif folder lacks.
std::set<std::string> MissingImages(const fs::path& document) {
    const std::string text = test::ReadFile(document);
    const std::regex image("src=\"(gif/[^\"]+)\"");
    std::set<std::string> missing;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), image);
         it != std::sregex_iterator(); ++it) {
        if (!fs::exists(document.parent_path() / (*it)[1].str())) {
            missing.insert((*it)[1].str());
        }
    }
    return missing;
}

TEST_F(AnalyseTest, WritesTheReportOfTheCaseSelectionBesideIt) {
    const test::TCliRun run = RunCli({"analyse", Copy.string()});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, (Copy / "Analysis.htm").string() + "\n");
    EXPECT_EQ(Undated(Copy / "Analysis.htm"), Undated(Example / "Analysis.htm"));
#ifdef KAVO_CLI_DRAWS
    EXPECT_EQ(MissingImages(Copy / "Analysis.htm"), std::set<std::string>{});
#endif
    EXPECT_FALSE(fs::exists(Copy / "Analysis.htm.new"));
}

TEST_F(AnalyseTest, ReportElsewhereGetsItsOwnImages) {
    const fs::path report = Scratch / "out/report.htm";
    fs::create_directories(report.parent_path());
    const test::TCliRun run =
        RunCli({"analyse", Copy.string(), "--out", report.string(), "--analysis", "Controllability",
                "--all-fields", "--factor-grouping", "3"},
               true);
    EXPECT_EQ(run.Status, 0) << run.Output;
    const std::string text = test::ReadFile(report);
    EXPECT_EQ(Occurrences(text, "<p class=bihdr>"), 2);
    EXPECT_EQ(Occurrences(text, "<p class=bihdr>Controllability</p>"), 1);
    EXPECT_NE(
        text.find("<td>no grouping</td></tr>\r\n  <tr><td colspan=3 align=\"left\"><i><b>Note"),
        std::string::npos);
    EXPECT_NE(run.Output.find("Analyzing: Controllability\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(Copy / "Analysis.htm"));
#ifdef KAVO_CLI_DRAWS
    EXPECT_EQ(MissingImages(report), std::set<std::string>{});
#endif
}

TEST_F(AnalyseTest, SelectionAndGroupingFromTheCommandLine) {
    const fs::path report = Scratch / "selected.htm";
    const test::TCliRun run =
        RunCli({"analyse", Copy.string(), "--out", report.string(), "--analysis", "Relevance",
                "--arena", "Summer drought", "--actor", "Valley farmers", "--arena-grouping", "4",
                "--actor-grouping", "4", "--mentioned-only", "0"},
               true);
    EXPECT_EQ(run.Status, 0) << run.Output;
    const std::string text = test::ReadFile(report);
    EXPECT_NE(text.find("<td>arena \"Summer drought\" only</td>"), std::string::npos);
    EXPECT_NE(text.find("<td>actor \"Valley farmers\" only</td>"), std::string::npos);
    EXPECT_EQ(text.find("Only factors mentioned"), std::string::npos);
    EXPECT_NE(text.find("<span class=ac>Valley farmers</span>"), std::string::npos);
}

TEST_F(AnalyseTest, AnalysisNamedWithoutStoredFieldsShowsItsColumns) {
    // The example case does not run Resource Dependency, so it keeps no field choice for it.
    const fs::path report = Scratch / "dependency.htm";
    const test::TCliRun run = RunCli(
        {"analyse", Copy.string(), "--out", report.string(), "--analysis", "Resource Dependency"},
        true);
    EXPECT_EQ(run.Status, 0) << run.Output;
    const std::string text = test::ReadFile(report);
    EXPECT_NE(text.find("Relevant Actions"), std::string::npos);
    EXPECT_NE(text.find("Additional frustration"), std::string::npos);
}

TEST_F(AnalyseTest, BadArgumentsAndUnreadableCases) {
    test::WriteFile(Scratch / "file", "not a folder");
    const std::vector<std::vector<std::string>> cases = {
        {"analyse"},
        {"analyse", Copy.string(), "--analysis", "Nonsense"},
        {"analyse", Copy.string(), "--arena-grouping", "5"},
        {"analyse", Copy.string(), "--factor-grouping", "x"},
        {"analyse", Copy.string(), "--mentioned-only", "2"},
        {"analyse", Copy.string(), "--actor", "Valley farmers"},
        {"analyse", Copy.string(), "--arena", "Nowhere"},
        {"analyse", Copy.string(), "--arena", "Summer drought", "--actor", "Nobody"},
        {"analyse", Copy.string(), "--time-limit", "soon"},
        {"analyse", Copy.string(), "--bogus"},
        {"analyse", (Scratch / "missing").string()},
        {"analyse", Copy.string(), "--out", (Scratch / "file/Analysis.htm").string()},
    };
    for (const auto& arguments : cases) {
        const test::TCliRun run = RunCli(arguments, true);
        EXPECT_EQ(run.Status, 2) << arguments.back() << ": " << run.Output;
    }
    EXPECT_NE(RunCli(cases[1], true).Output.find("  Issue Linkage\n"), std::string::npos);
    EXPECT_NE(RunCli(cases.back(), true).Output.find("KAVO error: Could not create report file"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Copy / "Analysis.htm"));
}

TEST_F(AnalyseTest, TimeLimitCutsTheReportShort) {
    const test::TCliRun run = RunCli({"analyse", Copy.string(), "--time-limit", "0"});
    EXPECT_EQ(run.Status, 1);
    const std::string text = test::ReadFile(Copy / "Analysis.htm");
    EXPECT_NE(text.find("<p class=err>The analysis was cancelled: the results above are "
                        "incomplete.</p>"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("</html>\r\n"));
}

}  // namespace
}  // namespace kavo
