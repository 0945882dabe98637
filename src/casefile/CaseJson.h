#pragma once

#include <string>

namespace kavo {

class TCase;

// The value of "format" in every case exchanged as JSON, and the version of its layout.
inline constexpr const char* kCaseJsonFormat = "KAVO case";
inline constexpr int kCaseJsonVersion = 1;

// The whole case as one JSON document of the exchange format that docs/case.schema.json
// describes: options, dictionary, relations, arenas and every perception with its positions,
// goals, prospects, links and comments. Indented by two blanks, ending in a line feed. Factors are
// named by their full names (an action or attribute with its actor's short name in brackets);
// items come in the order the case holds them.
std::string CaseJson(const TCase& source);

}  // namespace kavo
