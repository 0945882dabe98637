#pragma once

#include <string>

namespace kavo {

// What the table writers tell the dependency graph while they write a table whose graph switch is
// selected: one node per column entity, one arrow per cell carrying the cell's text. The desktop
// program draws it in a tool window; without one, nothing is drawn.
class TDependencyGraph {
  public:
    virtual ~TDependencyGraph() = default;

    // Starts a new graph with the window caption and the legend.
    virtual void ClearGraph(const std::string& caption, const std::string& legend) = 0;
    // Each is ignored when the name is present already.
    virtual void AddIndicator(const std::string& name) = 0;
    virtual void AddNode(const std::string& name) = 0;
    // cellText holds the value cells of one table cell, one value per indicator.
    virtual void AddArrow(const std::string& from, const std::string& to,
                          const std::string& cellText) = 0;
    virtual void ShowGraph() = 0;
};

}  // namespace kavo
