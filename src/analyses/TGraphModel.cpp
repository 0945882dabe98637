#include "analyses/TGraphModel.h"

#include <algorithm>
#include <cmath>

#include "casefile/CaseFileText.h"

namespace kavo {

namespace {

// The text up to the marker, which is dropped from the rest with it; a marker that is not found
// yields the whole rest and leaves the rest unchanged.
std::string TakeUpTo(std::string& rest, std::string_view marker) {
    const std::size_t at = rest.find(marker);
    if (at == std::string::npos) {
        return rest;
    }
    std::string taken = rest.substr(0, at);
    rest.erase(0, at + marker.size());
    return taken;
}

// Drops the text up to and including the marker, when it is found.
void DropThrough(std::string& rest, std::string_view marker) {
    const std::size_t at = rest.find(marker);
    if (at != std::string::npos) {
        rest.erase(0, at + marker.size());
    }
}

// The text without its tags, trimmed: a conditional format wraps a number in <b>, <i> or <u>.
std::string WithoutTags(const std::string& text) {
    std::string plain;
    bool inTag = false;
    for (char c : text) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>' && inTag) {
            inTag = false;
        } else if (!inTag) {
            plain += c;
        }
    }
    const std::size_t first = plain.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return plain.substr(first, plain.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

void TGraphModel::ClearGraph(const std::string& caption, const std::string& legend) {
    Caption = caption;
    Legend = legend;
    Nodes.clear();
    Indicators.clear();
    Arrows.clear();
}

void TGraphModel::AddIndicator(const std::string& name) {
    const bool present = std::any_of(Indicators.begin(), Indicators.end(),
                                     [&](const TIndicator& i) { return i.Name == name; });
    if (present || Indicators.size() >= TScale::kMaxIndicators) {
        return;
    }
    const int position = static_cast<int>(Indicators.size());
    Indicators.push_back({name, Indicators.empty(), TScale(position)});
}

void TGraphModel::AddNode(const std::string& name) {
    if (!NodeIndex(name)) {
        Nodes.push_back(name);
    }
}

void TGraphModel::AddArrow(const std::string& from, const std::string& to,
                           const std::string& cellText) {
    TArrow arrow{from, to, CellValues(cellText, Indicators.size())};
    for (std::size_t i = 0; i < arrow.Values.size(); ++i) {
        Indicators[i].Scale.Include(arrow.Values[i]);
    }
    Arrows.push_back(std::move(arrow));
}

std::optional<std::size_t> TGraphModel::NodeIndex(const std::string& name) const {
    const auto found = std::find(Nodes.begin(), Nodes.end(), name);
    if (found == Nodes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - Nodes.begin());
}

const std::string& TGraphModel::ValueOf(const TArrow& arrow, std::size_t indicator) {
    static const std::string kNone;
    return indicator < arrow.Values.size() ? arrow.Values[indicator] : kNone;
}

void TGraphModel::ResetScale(std::size_t indicator) {
    if (indicator >= Indicators.size()) {
        return;
    }
    TScale& scale = Indicators[indicator].Scale;
    scale.HighEnd = -1e100;
    scale.LowEnd = 1e100;
    for (const TArrow& arrow : Arrows) {
        if (indicator < arrow.Values.size()) {
            scale.Include(arrow.Values[indicator]);
        }
    }
}

void TGraphModel::MakeSymmetric(std::size_t indicator) {
    if (indicator >= Indicators.size()) {
        return;
    }
    TScale& scale = Indicators[indicator].Scale;
    const double m = std::max(std::abs(scale.HighEnd), std::abs(scale.LowEnd));
    scale.HighEnd = m;
    scale.LowEnd = -m;
    scale.Symmetric = true;
}

void TGraphModel::CheckOnly(std::size_t indicator) {
    for (std::size_t i = 0; i < Indicators.size(); ++i) {
        Indicators[i].Checked = i == indicator;
    }
}

std::vector<std::string> TGraphModel::CellValues(const std::string& cellText, std::size_t count) {
    std::vector<std::string> values;
    constexpr std::string_view kClassTable = "<table class=\"";
    if (cellText.find(kClassTable) != std::string::npos) {
        std::string rest = cellText;
        while (!rest.empty() && values.size() < count) {
            DropThrough(rest, kClassTable);
            values.push_back(TakeUpTo(rest, "\""));
        }
        return values;
    }
    std::string rest = cellText;
    for (const auto& [from, to] : {std::pair<std::string_view, std::string_view>{"<nobr>", ""},
                                   {"</nobr>", ""},
                                   {"<td><table width=\"100%\"><tr>", ""},
                                   {"</td><td align=right>...</td><td align=\"right\">", "..."},
                                   {"</tr></table></td>", ""},
                                   {"%", ""}}) {
        rest = ReplaceAll(rest, from, to);
    }
    while (!rest.empty() && values.size() < count) {
        DropThrough(rest, "<td");
        DropThrough(rest, ">");
        values.push_back(WithoutTags(TakeUpTo(rest, "</td>")));
    }
    return values;
}

}  // namespace kavo
