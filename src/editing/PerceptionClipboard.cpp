#include "editing/PerceptionClipboard.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "casefile/CaseFileText.h"
#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "editing/CaseEdits.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "model/TPseudoGroup.h"

namespace kavo {

namespace {

template <typename T>
void AppendOnce(std::vector<T*>& list, T* item) {
    if (item != nullptr && std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

// The actor's own row and comment, without the rows of its attributes and actions.
void ActorRow(TCaseWriter& writer, const TActor& actor, TCaseWriter::TLines& lines) {
    TCaseWriter::TLines rows;
    writer.ActorRow(actor, rows);
    const auto owned = std::find_if(
        rows.begin(), rows.end(), [](const std::string& line) { return IsRowOfKind(line, "a+a"); });
    lines.insert(lines.end(), rows.begin(), owned);
}

// The text between two markers of a line, or from the first marker to the end.
std::string_view Between(std::string_view line, std::string_view from, std::string_view to) {
    const std::size_t start = line.find(from);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = line.substr(start + from.size());
    return rest.substr(0, rest.find(to));
}

std::string Name(std::string_view text) {
    return ReplaceAll(text, "&nbsp;", "_");
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The comment held by the comment rows of a record, if any, read as the case file holds it: the
// text after the marker, the lines after it as they stand, the last one up to "</p>".
std::vector<std::string> CommentOf(const std::vector<std::string_view>& row) {
    std::vector<std::string> comment;
    std::size_t i = 0;
    std::string_view first;
    bool escaped = false;
    for (; i < row.size(); ++i) {
        const std::size_t plain = row[i].find(kCommentMarker);
        const std::size_t marked = row[i].find(kEscapedCommentMarker);
        if (plain != std::string_view::npos || marked != std::string_view::npos) {
            escaped = plain == std::string_view::npos;
            first = row[i].substr(escaped ? marked + kEscapedCommentMarker.size()
                                          : plain + kCommentMarker.size());
            break;
        }
    }
    if (i >= row.size()) {
        return comment;
    }
    const auto add = [&](std::string_view text) {
        comment.push_back(escaped ? UnescapeMarkup(text) : std::string(text));
    };
    const auto addLast = [&](std::string_view line) {
        const std::string_view text = Trim(line.substr(0, line.find("</p>")));
        if (!text.empty()) {
            add(text);
        }
    };
    if (Contains(first, "</p>")) {
        addLast(first);
        return comment;
    }
    if (!Trim(first).empty()) {
        add(Trim(first));
    }
    for (++i; i < row.size(); ++i) {
        if (Contains(row[i], "</p>")) {
            addLast(row[i]);
            break;
        }
        add(row[i]);
    }
    return comment;
}

// One row and the comment rows after it, from lines[at]; at moves behind them.
std::vector<std::string_view> TakeRow(const std::vector<std::string>& lines, std::size_t& at) {
    std::vector<std::string_view> row;
    for (; at < lines.size(); ++at) {
        row.push_back(lines[at]);
        if (Contains(lines[at], "</tr>")) {
            ++at;
            break;
        }
    }
    while (at < lines.size() && IsRowOfKind(lines[at], "comment")) {
        for (; at < lines.size(); ++at) {
            row.push_back(lines[at]);
            if (Contains(lines[at], "</tr>")) {
                ++at;
                break;
            }
        }
    }
    return row;
}

void PasteActor(TEdit& edit, TCase& current, const std::vector<std::string_view>& row) {
    if (row.size() < 4) {
        return;
    }
    const std::string_view cell = Between(row[3], "<td>", "</td>");
    const std::string name = Name(cell.substr(0, cell.find(" <span class=ac>[")));
    const std::string shortName = Name(Between(cell, " <span class=ac>[", "]"));
    if (TActor* actor = FindOrCreateActor(edit, current, name, shortName)) {
        edit.Set(actor->Comment, CommentOf(row));
    }
}

void PasteFactor(TEdit& edit, TCase& current, const std::vector<std::string_view>& row) {
    if (row.size() < 4) {
        return;
    }
    const bool action = Contains(row[2], "gif/action.gif");
    const bool stock = Contains(row[2], "gif/stock");
    const std::string_view cell = Between(row[3], "<td>", "</td>");
    const std::size_t owner = cell.find(" <span class=ac>");
    const std::string name = Name(cell.substr(0, owner));
    const std::string shortName = owner == std::string_view::npos
                                      ? std::string()
                                      : Name(Between(cell, "<span class=ac>[", "]"));
    if (TFactor* factor = FindOrCreateFactor(edit, current, name, stock, action, shortName)) {
        edit.Set(factor->Comment, CommentOf(row));
    }
}

// Reads the FiP into a scratch perception and adds it, with its goal and prospect, to the
// perception, where a FiP of a concept already shown gives way to the existing one.
void PasteFiP(TEdit& edit, TCaseReader& reader, TPerception& perception, TPerception& scratch,
              const std::vector<std::string_view>& row) {
    reader.ReadFiPRow(scratch, row);
    if (scratch.FiPs.empty()) {
        return;
    }
    std::unique_ptr<TFiP> fip = std::move(scratch.FiPs.back());
    scratch.FiPs.clear();
    fip->Perception = nullptr;
    std::unique_ptr<TGoal> goal;
    std::unique_ptr<TProspect> prospect;
    if (!scratch.Goals.empty()) {
        goal = std::move(scratch.Goals.front());
    }
    if (!scratch.Prospects.empty()) {
        prospect = std::move(scratch.Prospects.front());
    }
    scratch.Goals.clear();
    scratch.Prospects.clear();
    scratch.Selection.clear();
    AddFiP(edit, perception, std::move(fip), std::move(goal), std::move(prospect));
}

}  // namespace

void CopySelection(TPerception& perception) {
    TCase& current = *perception.Case();
    std::vector<TFiP*> fips;
    std::vector<TLink*> links;
    for (const TPerceptionItem& item : perception.Selection) {
        if (TFiP* const* fip = std::get_if<TFiP*>(&item)) {
            AppendOnce(fips, *fip);
        } else {
            AppendOnce(links, std::get<TLink*>(item));
        }
    }
    std::vector<TFactor*> concepts;
    for (const TFiP* fip : fips) {
        AppendOnce(concepts, fip->Factor);
    }
    for (const TLink* link : links) {
        AppendOnce(concepts, link->FromFiP->Factor);
        AppendOnce(concepts, link->ToFiP->Factor);
    }
    std::vector<TActor*> actors;
    for (TFactor* factor : concepts) {
        AppendOnce(actors, factor->Owner);
    }

    TImageWriter noImages;
    TCaseWriter writer(current, noImages);
    TCaseWriter::TLines rows;
    for (const TActor* actor : actors) {
        ActorRow(writer, *actor, rows);
    }
    for (const TFactor* factor : concepts) {
        writer.FactorRow(*factor, rows);
    }
    const auto selected = [&fips](const TFiP* fip) {
        return std::find(fips.begin(), fips.end(), fip) != fips.end();
    };
    for (const TFiP* fip : fips) {
        writer.FiPRow(*fip, rows);
    }
    for (const TLink* link : links) {
        if (!selected(link->FromFiP)) {
            writer.FiPRow(*link->FromFiP, rows);
        }
        if (!selected(link->ToFiP)) {
            writer.FiPRow(*link->ToFiP, rows);
        }
        writer.LinkRow(*link, rows);
    }
    current.Context().CopyBuffer = std::move(rows);
}

bool Paste(TEdit& edit, TPerception& perception, const std::vector<std::string>& lines) {
    TCase& current = *perception.Case();
    TCaseReader reader(current);
    TPseudoGroup scratchOwner(&current, TGroupKind::gkFactor, "");
    TPerception scratch(&scratchOwner);
    // Rows are taken in a paste of their own, so that a row that is not understood leaves
    // everything as it was.
    TEdit paste;
    for (std::size_t at = 0; at < lines.size();) {
        const std::string& line = lines[at];
        if (line.find_first_not_of(" \t\r\n") == std::string::npos) {
            ++at;
            continue;
        }
        const bool actor = IsRowOfKind(line, "actor");
        const bool factor = IsRowOfKind(line, "factor");
        const bool fip = IsRowOfKind(line, "FiP");
        const bool link = IsRowOfKind(line, "link");
        if (!actor && !factor && !fip && !link) {
            paste.Undo();
            current.Messages().ShowError("Error during paste");
            return false;
        }
        const std::vector<std::string_view> row = TakeRow(lines, at);
        if (actor) {
            PasteActor(paste, current, row);
        } else if (factor) {
            PasteFactor(paste, current, row);
        } else if (fip) {
            PasteFiP(paste, reader, perception, scratch, row);
        } else if (std::unique_ptr<TLink> read = reader.ReadLink(perception, row)) {
            AddLink(paste, perception, std::move(read));
        }
    }
    edit.NameIfUnnamed("Paste");
    edit.Absorb(std::move(paste));
    edit.Focus = &perception;
    edit.Invalidate(perception, true);
    Select(edit, perception, {});
    return true;
}

}  // namespace kavo
