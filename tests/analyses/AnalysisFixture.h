#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/TAnalysis.h"
#include "analyses/TAnalysisRun.h"
#include "analyses/TDependencyGraph.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// Records the icons an analysis run asks for.
class TRecordingIconWriter : public TImageWriter {
  public:
    std::optional<std::string> WriteCombinedTagIcon(const std::vector<TTag*>&,
                                                    const std::string& path) override {
        Written.push_back(path);
        return std::nullopt;
    }
    void WriteHistogramIcon(TContext&, const std::string& folder, const std::string& name,
                            const TLevels<double>&) override {
        Written.push_back(folder + name);
    }
    std::vector<std::string> Written;
};

// Records the calls of the table writers, one line each.
class TRecordingGraph : public TDependencyGraph {
  public:
    void ClearGraph(const std::string& caption, const std::string& legend) override {
        Calls.push_back("clear " + caption + "|" + legend);
    }
    void AddIndicator(const std::string& name) override { Calls.push_back("indicator " + name); }
    void AddNode(const std::string& name) override { Calls.push_back("node " + name); }
    void AddArrow(const std::string& from, const std::string& to,
                  const std::string& cellText) override {
        Calls.push_back("arrow " + from + " -> " + to + " " + cellText);
    }
    void ShowGraph() override { Calls.push_back("show"); }
    std::vector<std::string> Calls;
};

// The texts inside the table cells (<td> and <th>) of HTML, in order, tags within them removed.
inline std::vector<std::string> CellTexts(const std::string& html) {
    std::vector<std::string> texts;
    std::size_t at = 0;
    while ((at = html.find("<t", at)) != std::string::npos) {
        const char kind = at + 2 < html.size() ? html[at + 2] : ' ';
        if (kind != 'd' && kind != 'h') {
            at += 2;
            continue;
        }
        const std::size_t open = html.find('>', at);
        const std::string closing = kind == 'd' ? "</td>" : "</th>";
        const std::size_t close = html.find(closing, open);
        std::string text;
        bool inTag = false;
        for (std::size_t i = open + 1; i < close; ++i) {
            inTag = html[i] == '<' ? true : html[i] == '>' ? false : inTag;
            if (!inTag && html[i] != '>') {
                text += html[i];
            }
        }
        texts.push_back(text);
        at = close;
    }
    return texts;
}

// Whether every <table>, <tr>, <td> and <th> of the text is closed in order.
inline bool Balanced(const std::string& html) {
    std::vector<std::string> open;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        const bool closing = html.compare(at + 1, 1, "/") == 0;
        const std::size_t start = at + (closing ? 2 : 1);
        std::size_t end = start;
        while (end < html.size() && std::isalpha(static_cast<unsigned char>(html[end]))) {
            ++end;
        }
        const std::string tag = html.substr(start, end - start);
        if (tag != "table" && tag != "tr" && tag != "td" && tag != "th") {
            continue;
        }
        if (!closing) {
            open.push_back(tag);
        } else if (open.empty() || open.back() != tag) {
            return false;
        } else {
            open.pop_back();
        }
    }
    return open.empty();
}

// A case with a run over it that writes no images, with a recording graph.
class AnalysisTest : public TCaseFixture, public ::testing::Test {
  protected:
    // Selects exactly the fields given, or every field.
    static void Select(TAnalysis& analysis, const std::vector<int>& fields) {
        for (std::size_t i = 0; i < analysis.Fields.size(); ++i) {
            analysis.Fields[i]->Selected = false;
        }
        for (const int field : fields) {
            analysis.FieldAt(field).Selected = true;
        }
        analysis.TakeSelection();
    }
    static void SelectAll(TAnalysis& analysis) {
        for (const auto& field : analysis.Fields) {
            field->Selected = true;
        }
        analysis.TakeSelection();
    }
    // The cells of one computed cell of the analysis.
    std::vector<std::string> Cell(TAnalysis& analysis, std::vector<TFactor*> rows,
                                  std::vector<TPerception*> columns) {
        analysis.Run = &Run;
        analysis.RowFactors = std::move(rows);
        analysis.ColumnPerceptions = std::move(columns);
        analysis.Compute();
        return CellTexts(analysis.ValueCells());
    }

    TRecordingIconWriter Icons;
    TRecordingGraph Graph;
    TAnalysisRun Run{Case, TGroupingSettings::Of(Case), Icons, "icons/", &Graph};
};

}  // namespace kavo::test
