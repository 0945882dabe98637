#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/TConcept.h"

namespace kavo {

class TActor;
class TAiA;
class TArena;
class TCase;
class TCommentedObject;
class TConcept;
class TLink;
class TPerception;
class TTag;

// How reading a case document ended.
enum class TReadOutcome {
    roRead,       // the whole document was read; records it could not use were reported
    roInvalid,    // the document ended early: "Invalid case file", the case holds what was read
    roNotOpened,  // no document could be opened; the case stays empty
};

// Fills a new, empty case from its document in one forward pass over the lines. Accepts the
// current format, the older variant that marks records with HTML comments, decimals with "." or
// ",", and UTF-8 or Windows-1252 text. Whatever the document holds, the reader stops at its end,
// reports what it could not use through the case's messages (one warning for all skipped records)
// and keeps the rest.
class TCaseReader {
  public:
    using TLines = std::vector<std::string_view>;

    explicit TCaseReader(TCase& emptyCase);

    // Reads folder + "KAVO case.htm" ("/" is added to the folder when missing).
    TReadOutcome Read(std::string_view folder);
    // Reads a document given as the bytes of its file.
    TReadOutcome ReadDocument(std::string_view bytes);

    // The record parsers, on the lines of one record. A FiP or link row is its first line, its
    // five cells, its closing line and then its comment rows, if any.
    void ReadPerception(TPerception& perception, const TLines& lines);
    void ReadFiPRow(TPerception& perception, const TLines& row);
    void ReadLinkRow(TPerception& perception, const TLines& row);
    // The link of a link row between FiPs of the perception, not added to it; null when the row
    // cannot be used (it is noted then, as ReadLinkRow does).
    std::unique_ptr<TLink> ReadLink(TPerception& perception, const TLines& row);

  private:
    // Reads the document's text, already decoded to UTF-8.
    TReadOutcome ReadText(std::string text);
    bool ReadHead();
    void ReadHeadLine(std::string_view line);
    void ReadCaseComment();
    void ApplyOptions();
    void ApplyOption(std::string_view text);
    void ReadTags();
    void ReadGroups();
    void ReadConcepts();
    void ReadRelations();
    void ReadArenas();
    void ReadPerceptions();
    void ReadTagRow();
    void ReadGroupRow();
    void ReadConceptRow();
    void ReadActorRecords(const TActor& actor, const TLines& block);
    void ReadRelationRow(const TLines& row, const TLines& comment);
    void ReadArenaRow();
    void ReadAiARows(TArena& arena, const TLines& block);

    std::string_view Line(std::size_t index) const;
    bool AtEnd() const { return Position >= Lines.size(); }
    // Moves to the next line containing the text; false at the end of the document.
    bool SeekLine(std::string_view text);
    // Appends the lines from Position up to and including the next one containing the text and
    // moves behind it; false when the document ends first.
    bool CollectThrough(std::string_view text, TLines& collected);
    // The comment rows at Position, if any: appended to collected, Position moves behind them.
    void CollectCommentRows(TLines& collected);
    std::vector<TTag*> TagsOf(std::string_view iconLine);
    void AddTags(TConcept& item, std::string_view iconLine);
    static void ReadComment(TCommentedObject& item, const TLines& lines, std::size_t from = 0);
    // Notes a record that could not be used; `at` is a line of the record.
    void Skip(std::string_view at, const std::string& why);
    // The name as the case can carry it (TCase::CarriableName); a name that had to change is noted
    // for the warning at the end, with the record (`what` on the line `at`).
    std::string Carried(std::string_view name, TConceptKind kind, std::string_view at,
                        const char* what, bool owned = false);
    // Where the line lies in the document: "line N: ", or nothing for text outside it.
    std::string LineLabel(std::string_view at) const;
    void Truncated();
    void Finish();
    // One warning for the noted items, the first ten listed: "The case file holds N" + what +
    // heading.
    void ShowList(const std::vector<std::string>& items, const char* what, const char* heading);

    TCase& Case;
    std::string Text;
    TLines Lines;
    std::size_t Position = 0;
    std::vector<std::string> Options;
    std::vector<std::string> Problems;
    std::vector<std::string> Repairs;
    bool Invalid = false;
};

// Reads the case document in the folder into the new, empty case.
TReadOutcome ReadCase(TCase& emptyCase, std::string_view folder);

}  // namespace kavo
