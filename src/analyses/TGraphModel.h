#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analyses/TDependencyGraph.h"
#include "analyses/TScale.h"

namespace kavo {

// One cell of a table drawn as an arrow between two nodes: its values, value i belonging to
// indicator i.
struct TArrow {
    std::string FromNode;
    std::string ToNode;
    std::vector<std::string> Values;
};

// One indicator of a graph: a plotted column of the table. Only checked indicators are drawn.
struct TIndicator {
    std::string Name;
    bool Checked = false;
    TScale Scale;
};

// The content of a dependency graph as the table writers fill it: nodes, indicators with their
// scales, and arrows. It computes nothing about the case; ShowGraph does nothing here, a window
// that shows the graph overrides it.
class TGraphModel : public TDependencyGraph {
  public:
    std::string Caption;
    std::string Legend;
    std::vector<std::string> Nodes;
    // At most TScale::kMaxIndicators; more are ignored.
    std::vector<TIndicator> Indicators;
    std::vector<TArrow> Arrows;

    void ClearGraph(const std::string& caption, const std::string& legend) override;
    // The first indicator added is checked, later ones are not.
    void AddIndicator(const std::string& name) override;
    void AddNode(const std::string& name) override;
    // Reads one value per indicator from the cell text and widens each indicator's scale by it.
    void AddArrow(const std::string& from, const std::string& to,
                  const std::string& cellText) override;
    void ShowGraph() override {}

    // Position of the node in Nodes, or none.
    std::optional<std::size_t> NodeIndex(const std::string& name) const;
    // The value of the arrow for the indicator; "" when the cell held fewer values.
    static const std::string& ValueOf(const TArrow& arrow, std::size_t indicator);
    // The range of the indicator's scale taken again from the arrows' values.
    void ResetScale(std::size_t indicator);
    // Makes the indicator's scale symmetric around 0: its ends become -m and m, m the larger of
    // their magnitudes.
    void MakeSymmetric(std::size_t indicator);
    // Checks exactly the indicator at that position.
    void CheckOnly(std::size_t indicator);

    // The values of a table cell, at most count of them: from the class names of inner tables
    // when the cell has them, otherwise the texts of its value cells with every tag and "%"
    // removed.
    static std::vector<std::string> CellValues(const std::string& cellText, std::size_t count);
};

}  // namespace kavo
