#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavo {

class TCase;

// Where a JSON document breaks the exchange format and what is wrong there. Pointer is a JSON
// pointer ("/arenas/0/actors/1/perception/links/2/to"), empty for the document as a whole.
struct TJsonProblem {
    std::string Pointer;
    std::string Text;

    // "at /arenas/0/name: expected a string" (or "at the top of the document: ...").
    std::string Describe() const;
};

// Fills a new, empty case from a JSON document of the exchange format that CaseJson writes and
// docs/case.schema.json describes. Checks everything before it is used: the document's syntax,
// the schema's rules, and what the schema cannot say (names unique and carriable by the case
// document, references to tags, actors and factors that exist, at most one link per pair).
class TCaseJsonReader {
  public:
    explicit TCaseJsonReader(TCase& emptyCase);

    // Reads the whole document. None when it was read; otherwise the first problem found, and the
    // case holds part of the document and is to be thrown away. Shows no message.
    std::optional<TJsonProblem> Read(std::string_view text);

  private:
    TCase& Case;
};

}  // namespace kavo
