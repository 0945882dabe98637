#pragma once

#include <optional>
#include <string>

namespace kavo {

class TGraphModel;

// A dependency graph as text in the Pajek network format, lines ended by carriage return and line
// feed: the vertices first, numbered from 1 and named in double quotes, then the directed arcs
// "from to weight". The weight is the arrow's level on the indicator's scale, negative for a
// negative value on a symmetric scale; arrows at level 0 give no arc.
struct TPajekText {
    // None when the graph cannot be written; Refusal says why.
    std::optional<std::string> Text;
    std::string Refusal;
    // Arrows left out because an end is no node of the graph.
    std::size_t ArcsLeftOut = 0;
};

// One network: that of the indicator at the position.
TPajekText PajekNetwork(const TGraphModel& graph, std::size_t indicator);
// One network after the other, one for each checked indicator in order.
TPajekText PajekNetworks(const TGraphModel& graph);

}  // namespace kavo
