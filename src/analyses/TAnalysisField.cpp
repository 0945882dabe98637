#include "analyses/TAnalysisField.h"

#include <array>
#include <cstdio>

#include "model/Formats.h"

namespace kavo {

namespace {

std::string HexColor(std::uint32_t stored) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02X%02X%02X", stored & 0xFF, (stored >> 8) & 0xFF,
                  (stored >> 16) & 0xFF);
    return text.data();
}

}  // namespace

std::string KindImage(TFieldKind kind) {
    static constexpr std::array<const char*, 13> kImages{
        "count",  "percent", "sum",   "mean",  "stddev", "proval", "tactic",
        "utfunc", "tozero",  "topos", "toneg", "detail", "plot"};
    return kImages[static_cast<std::size_t>(kind)];
}

TAnalysisField::TAnalysisField(std::string name, TFieldKind kind)
    : Name(std::move(name)), Kind(kind), ImageIndex(19 + static_cast<int>(kind)) {}

std::string TAnalysisField::FormatCell(bool asPercent, double x) const {
    std::string text = asPercent ? FormatPercent(x) : FormatNumber(x);
    if (text.find('-') != std::string::npos) {
        text = "<nobr>" + text + "</nobr>";
    }
    for (const TFieldFormat& format : Formats) {
        if (!format.Matches(x)) {
            continue;
        }
        std::string opening;
        std::string closing;
        for (const auto& [on, tag] : {std::pair{format.Bold, 'b'}, std::pair{format.Italic, 'i'},
                                      std::pair{format.Underline, 'u'}}) {
            if (on) {
                opening += std::string("<") + tag + ">";
                closing = std::string("</") + tag + ">" + closing;
            }
        }
        return "<td bgcolor=\"#" + HexColor(format.Color) + "\" align=\"right\">" + opening + text +
               closing + "</td>";
    }
    return "<td align=\"right\">" + text + "</td>";
}

}  // namespace kavo
