#include "analyses/PajekNetwork.h"

#include "analyses/TGraphModel.h"

namespace kavo {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Why the node's name cannot stand in a quoted vertex label, or "" when it can. Readers differ on
// a backslash: some keep it, some take it as an escape, so it is refused as well.
std::string NameProblem(const std::string& name) {
    const std::size_t at = name.find_first_of("\"\\\r\n");
    if (at == std::string::npos) {
        return {};
    }
    const char* what = name[at] == '"'    ? "a double quote"
                       : name[at] == '\\' ? "a backslash"
                                          : "a line break";
    return "The node \"" + name + "\" cannot be written as a Pajek network: its name contains " +
           what;
}

}  // namespace

TPajekText PajekNetwork(const TGraphModel& graph, std::size_t indicator) {
    TPajekText result;
    if (indicator >= graph.Indicators.size()) {
        result.Refusal = "The graph has no indicator " + std::to_string(indicator + 1);
        return result;
    }
    for (const std::string& name : graph.Nodes) {
        result.Refusal = NameProblem(name);
        if (!result.Refusal.empty()) {
            return result;
        }
    }
    const TScale& scale = graph.Indicators[indicator].Scale;
    std::string text = "*Network " + graph.Indicators[indicator].Name + kLineEnd;
    text += "*Vertices " + std::to_string(graph.Nodes.size()) + kLineEnd;
    for (std::size_t k = 0; k < graph.Nodes.size(); ++k) {
        text += std::to_string(k + 1) + " \"" + graph.Nodes[k] + "\"" + kLineEnd;
    }
    text += std::string("*Arcs") + kLineEnd;
    for (const TArrow& arrow : graph.Arrows) {
        const std::string& value = TGraphModel::ValueOf(arrow, indicator);
        const int level = scale.LevelOf(value);
        if (level <= 0) {
            continue;
        }
        const auto from = graph.NodeIndex(arrow.FromNode);
        const auto to = graph.NodeIndex(arrow.ToNode);
        if (!from || !to) {
            ++result.ArcsLeftOut;
            continue;
        }
        const bool negative = scale.Symmetric && TScale::ValueOf(value) < 0;
        text += std::to_string(*from + 1) + " " + std::to_string(*to + 1) + " " +
                std::to_string(negative ? -level : level) + kLineEnd;
    }
    result.Text = std::move(text);
    return result;
}

TPajekText PajekNetworks(const TGraphModel& graph) {
    TPajekText all;
    all.Text = std::string();
    for (std::size_t i = 0; i < graph.Indicators.size(); ++i) {
        if (!graph.Indicators[i].Checked) {
            continue;
        }
        TPajekText one = PajekNetwork(graph, i);
        if (!one.Text) {
            return one;
        }
        *all.Text += *one.Text;
        all.ArcsLeftOut += one.ArcsLeftOut;
    }
    return all;
}

}  // namespace kavo
