#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

class TActor;
class TActorRelation;
class TAiA;
class TArena;
class TCase;
class TCommentedObject;
class TConcept;
class TFactor;
class TFiP;
class TGroup;
class TImageWriter;
class TLink;
class TPerception;
class TTag;

// The date and time written into the header comment of a document.
using TClock = std::function<std::string()>;

// The local date and time as "YYYY-MM-DD hh:mm:ss".
std::string LocalDateTime();

// Writes a case as its HTML document "KAVO case.htm": a browser shows it as a report, and the
// reader parses the same lines back. Every record is a fixed sequence of lines ended by CR LF.
class TCaseWriter {
  public:
    using TLines = std::vector<std::string>;

    TCaseWriter(TCase& owningCase, TImageWriter& images, TClock clock = LocalDateTime);

    // Writes the images and the document into the folder, creating it when needed. The new
    // document is written under a name of its own, synced to the disk and renamed over the old one
    // only once complete, so a failed save, or another save into the same folder at the same
    // time, never leaves a partial or spliced document. Returns whether the document was written:
    // then Folder and Version are set, and Modified is cleared unless a picture could not be
    // written (reported in one error that names each file and the reason, the other pictures
    // written). On failure reports an error and changes nothing of the case. Sorts the items of
    // every perception.
    bool Save(std::string_view folder);

    // The whole document for the case in caseFolder (a path ending in "/"); combined tag icons and
    // custom goal icons go into its "gif" subfolder as they are met. Sorts the items of every
    // perception by name, and they stay sorted.
    TLines Document(const std::string& caseFolder);

    // The record writers append lines. Without a case folder (an empty one) they write no icons.
    void TagRow(const TTag& tag, TLines& lines) const;
    void GroupRow(const TGroup& group, TLines& lines);
    void FactorRow(const TFactor& factor, TLines& lines);
    // The actor's row followed by the rows of its attributes and actions.
    void ActorRow(const TActor& actor, TLines& lines);
    void RelationRow(const TActorRelation& relation, TLines& lines) const;
    void ArenaOverview(const TArena& arena, TLines& lines);
    void AiARow(const TAiA& record, TLines& lines);
    void PerceptionTables(TPerception& perception, TLines& lines);
    void FiPRow(const TFiP& fip, TLines& lines);
    void LinkRow(const TLink& link, TLines& lines) const;
    // The rows of a comment that is not empty, indented like the line written last; a FiP's or a
    // link's comment spans the cells of its row.
    static void CommentRows(const TCommentedObject& item, bool diagramItem, TLines& lines);

  private:
    void Head(TLines& lines) const;
    void OptionLines(TLines& lines) const;
    void BodyOpening(TLines& lines) const;
    void Dictionary(TLines& lines);
    void Relations(TLines& lines) const;
    void Perceptions(TLines& lines);
    std::string TagIcon(const TConcept& item);
    std::string GoalCell(const TFiP& fip);
    void NoteImageFailure(const std::optional<std::string>& failure);
    void ReportImageFailures() const;

    TCase& Case;
    TImageWriter& Images;
    TClock Clock;
    // Where icons made while writing go: the case folder + "gif/"; empty for none.
    std::string ImageFolder;
    // The pictures of the save at hand that could not be written.
    std::vector<std::string> ImageFailures;
};

// Saves the case into the folder with the document writer alone: no images and the local time.
bool WriteCase(TCase& owningCase, std::string_view folder);

}  // namespace kavo
