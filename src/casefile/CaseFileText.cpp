#include "casefile/CaseFileText.h"

#include <charconv>
#include <cmath>

#include "model/Names.h"

namespace kavo {

namespace {

std::optional<double> ReadPlainDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool IsRowOfKind(std::string_view line, std::string_view kind) {
    const std::string k(kind);
    return Contains(line, "<!-- " + k + " -->") || Contains(line, " class=\"" + k + "\">");
}

std::optional<std::int64_t> ReadInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ReadDecimal(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (auto value = ReadPlainDecimal(trimmed)) {
        return value;
    }
    // A text with "," as its separator; one with "." and "," both is no number in either reading.
    if (trimmed.find('.') == std::string::npos) {
        return ReadPlainDecimal(ReplaceAll(trimmed, ",", "."));
    }
    return std::nullopt;
}

bool CommentNeedsEscaping(const std::vector<std::string>& lines) {
    static constexpr std::string_view kRecordEnds[] = {
        "</p>", "</td>", "</tr>", "</table>", "<tr", "<!--", " class=\"", "<p class=cmnt"};
    for (const std::string& line : lines) {
        for (std::string_view end : kRecordEnds) {
            if (Contains(line, end)) {
                return true;
            }
        }
    }
    return false;
}

std::string EscapeMarkup(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeMarkup(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kReferences[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}};
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const auto& [reference, c] : kReferences) {
            if (text.substr(i, reference.size()) == reference) {
                plain += c;
                i += reference.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            plain += text[i++];
        }
    }
    return plain;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found = text.find(from); found != std::string_view::npos;
         found = text.find(from, start)) {
        result.append(text.substr(start, found - start));
        result.append(to);
        start = found + from.size();
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace kavo
