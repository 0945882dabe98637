#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// The name of the case document inside a case folder.
inline constexpr const char* kCaseFileName = "KAVO case.htm";

// Opening markers of a comment's text. The escaped form marks a comment whose text is written with
// "&", "<" and ">" as character references because it holds texts that end records.
inline constexpr std::string_view kCommentMarker = "<p class=cmnt>";
inline constexpr std::string_view kEscapedCommentMarker = "<p class=\"cmnt esc\">";

inline bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

// Whether the line opens a row of the kind: "<!-- kind -->" (older files) or ' class="kind">'.
bool IsRowOfKind(std::string_view line, std::string_view kind);

// A whole text as an integer, optionally signed; none for anything else or beyond 64 bits.
std::optional<std::int64_t> ReadInteger(std::string_view text);
// A whole text as a decimal number with "." or "," as its separator; none when it is no finite
// number in either reading.
std::optional<double> ReadDecimal(std::string_view text);

// Whether the comment holds a text that would end its record early when written plainly.
bool CommentNeedsEscaping(const std::vector<std::string>& lines);
// "&", "<" and ">" as character references, and back.
std::string EscapeMarkup(std::string_view text);
std::string UnescapeMarkup(std::string_view text);

// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace kavo
