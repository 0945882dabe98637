#include "casefile/TCaseWriter.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "casefile/CaseFileText.h"
#include "casefile/TFileReplacement.h"
#include "casefile/TImageWriter.h"
#include "casefile/TextEncoding.h"
#include "model/Formats.h"
#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {

namespace {

namespace fs = std::filesystem;

std::string Str(long long n) {
    return std::to_string(n);
}

// "factor", "action" or "attribute", with "stock" in front of a stock when asked for.
std::string KindImage(const TFactor& factor, bool stockPrefix) {
    std::string kind = factor.IsAction ? "action" : factor.Owner ? "attribute" : "factor";
    if (stockPrefix && factor.IsStock && !factor.IsAction) {
        kind = "stock" + kind;
    }
    return kind;
}

// A factor's name with "_" as "&nbsp;" and an actor's short name in a span.
std::string HtmlName(const TFactor& factor) {
    std::string name = ReplaceAll(factor.Name, "_", "&nbsp;");
    const std::size_t bracket = name.find(" [");
    if (bracket != std::string::npos) {
        name =
            name.substr(0, bracket + 1) + "<span class=ac>" + name.substr(bracket + 1) + "</span>";
    }
    return name;
}

// The comment's lines from the first to the last that holds more than white space, the first
// without its leading and the last without its trailing white space.
std::vector<std::string> TrimmedComment(const std::vector<std::string>& comment) {
    auto first = std::find_if(comment.begin(), comment.end(),
                              [](const std::string& line) { return !Trim(line).empty(); });
    if (first == comment.end()) {
        return {};
    }
    auto last = std::find_if(comment.rbegin(), comment.rend(), [](const std::string& line) {
                    return !Trim(line).empty();
                }).base();
    std::vector<std::string> lines(first, last);
    const auto isWhite = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    };
    std::string& head = lines.front();
    head.erase(head.begin(), std::find_if_not(head.begin(), head.end(), isWhite));
    std::string& tail = lines.back();
    tail.erase(std::find_if_not(tail.rbegin(), tail.rend(), isWhite).base(), tail.end());
    return lines;
}

// The comment's text lines as the document holds them, and the marker that opens them.
std::string_view AppendCommentText(const std::vector<std::string>& comment,
                                   std::vector<std::string>& lines) {
    const std::vector<std::string> text = TrimmedComment(comment);
    const bool escaped = CommentNeedsEscaping(text);
    for (const std::string& line : text) {
        lines.push_back(escaped ? EscapeMarkup(line) : line);
    }
    return escaped ? kEscapedCommentMarker : kCommentMarker;
}

std::string Indentation(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return {};
    }
    const std::string& last = lines.back();
    return last.substr(0, last.find_first_not_of(' '));
}

std::string FlagLine(const char* option, bool flag, const char* yes, const char* no) {
    return std::string("<meta name=\"KAVO option ") + option + "\" content=\"" + (flag ? yes : no) +
           "\">";
}

bool IsRoundArena(const TArena* arena) {
    return arena != nullptr && arena->Name.starts_with("*Round");
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

std::string LocalDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

TCaseWriter::TCaseWriter(TCase& owningCase, TImageWriter& images, TClock clock)
    : Case(owningCase), Images(images), Clock(std::move(clock)) {}

bool TCaseWriter::Save(std::string_view folder) {
    std::string path(folder);
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    std::error_code error;
    if (path.empty() || (!fs::is_directory(path, error) &&
                         (!fs::create_directories(path, error) || !fs::is_directory(path)))) {
        Case.Messages().ShowError("Could not create folder \"" + path + "\"" +
                                  (error ? ": " + error.message() : std::string()));
        return false;
    }
    const std::string caseFolder = path.back() == '/' ? path : path + "/";
    TStatus& status = Case.Context().Status;
    status.SetStatusText("Saving images");
    ImageFailures = Images.WriteImages(Case, caseFolder + "gif/");
    status.SetStatusText("Saving case data");
    const std::string file = caseFolder + kCaseFileName;
    std::string reason;
    // The document is the case: it goes to the disk before it replaces the old one.
    const bool written =
        TFileReplacement::Replace(file, JoinLines(Document(caseFolder)), true, reason);
    status.SetStatusText("");
    if (!written) {
        Case.Messages().ShowError("Could not create case file \"" + file + "\": " + reason);
        return false;
    }
    Case.Folder = caseFolder;
    Case.Version = kCaseVersion;
    if (!ImageFailures.empty()) {
        ReportImageFailures();
        return true;
    }
    Case.Modified = false;
    return true;
}

void TCaseWriter::NoteImageFailure(const std::optional<std::string>& failure) {
    if (failure &&
        std::find(ImageFailures.begin(), ImageFailures.end(), *failure) == ImageFailures.end()) {
        ImageFailures.push_back(*failure);
    }
}

void TCaseWriter::ReportImageFailures() const {
    constexpr std::size_t kShown = 10;
    if (ImageFailures.size() == 1) {
        return Case.Messages().ShowError(ImageFailures.front());
    }
    std::string text =
        std::to_string(ImageFailures.size()) + " pictures of the case could not be written:";
    for (std::size_t i = 0; i < std::min(kShown, ImageFailures.size()); ++i) {
        text += "\n" + ImageFailures[i];
    }
    if (ImageFailures.size() > kShown) {
        text += "\n... and " + std::to_string(ImageFailures.size() - kShown) + " more";
    }
    Case.Messages().ShowError(text);
}

TCaseWriter::TLines TCaseWriter::Document(const std::string& caseFolder) {
    ImageFolder = caseFolder.empty() ? std::string() : caseFolder + "gif/";
    TLines lines;
    Head(lines);
    BodyOpening(lines);
    Dictionary(lines);
    Relations(lines);
    Perceptions(lines);
    lines.insert(lines.end(), {"<hr>", "</body>", "</html>"});
    // Text beyond ASCII is UTF-8; a browser has to be told so, early in the head.
    if (std::any_of(lines.begin(), lines.end(),
                    [](const auto& line) { return HasNonAscii(line); })) {
        lines.insert(lines.begin() + 2,
                     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    }
    return lines;
}

void TCaseWriter::Head(TLines& lines) const {
    lines.insert(
        lines.end(),
        {
            "<html>",
            "<head>",
            "<title>" + Case.Name + "</title>",
            "",
            "<!-- Generated by KAVO version " + std::string(kCaseVersion) + " on " + Clock(),
            "     KAVO models and analyses policy problems with several actors:",
            "     their perceptions, goals, prospects and actions.",
            "     Written by the KAVO developers.",
            "     This document is a KAVO case; KAVO reads it back. -->",
            "",
            "<!-- The images of this case are GIF files written with giflib,",
            "     the GIF encoding library. -->",
            "",
            "<style type=\"text/css\">",
            "<!--",
            "body {font: Arial, sans-serif}",
            "td {font: 10pt Arial, sans-serif}",
            "th {font: bold 11pt Arial, sans-serif}",
            "p.case {font: bold 18pt Arial, sans-serif}",
            "p.concepts {font: bold 12pt Arial, sans-serif}",
            "p.arena {font: bold 12pt Arial, sans-serif}",
            "p.cmnt {color: #606060; font: italic 9pt Arial, sans-serif}",
            "p.aview {font: bold italic 10pt Arial, sans-serif}",
            "p.acper {font: bold italic 10pt Arial, sans-serif}",
            "p.ihdr {font: italic 10pt Arial, sans-serif}",
            "span.ac {font: bold italic; color: purple}",
            "-->",
            "</style>",
        });
    OptionLines(lines);
    lines.insert(lines.end(), Case.AnalysisLines.begin(), Case.AnalysisLines.end());
    lines.push_back("<meta name=\"KAVO group modes\" content=\"" + Str(Case.ArenaGrouping) +
                    Str(Case.ActorGrouping) + Str(Case.FactorGrouping) +
                    (Case.MentionedOnly ? "1" : "0") + "\">");
    lines.push_back("</head>");
}

void TCaseWriter::OptionLines(TLines& lines) const {
    const auto option = [&](const char* name, const std::string& content) {
        lines.push_back(std::string("<meta name=\"KAVO option ") + name + "\" content=\"" +
                        content + "\">");
    };
    const auto table = [](const TUtilityVectors& vectors) {
        std::string text;
        for (std::int8_t entry : vectors.Entries) {
            text += Str(entry);
        }
        return text;
    };
    const auto three = [](const TLevels<double>& levels) {
        return FormatNumber(levels[1]) + "," + FormatNumber(levels[2]) + "," +
               FormatNumber(levels[3]);
    };
    std::string range;
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        range += Case.DefaultActionRange[level] ? "1" : "0";
    }
    option("FT", "font name=[" + Case.Font.Name + "] size=" + Str(Case.Font.Size));
    option("UVstd", "suv=" + table(Case.StdUtilityVectors));
    option("UVneg", "nuv=" + table(Case.NegUtilityVectors));
    option("CL", "change levels: " + three(Case.ChangeLevels));
    option("LM", "link multiplier: " + FormatNumber(Case.LinkMultipliers[3]));
    option("UM", "utility multipliers: " + three(Case.UtilityLevels));
    option("AF", "autofocus threshold=" + Str(Case.AutofocusThreshold) +
                     " resolution=" + Str(Case.AutofocusResolution));
    option("IT", "iterations=" + Str(Case.Iterations));
    lines.push_back(FlagLine("RB", Case.RangeBarShown, "range bar shown", "range bar hidden"));
    option("ARD", "default action range=" + range);
    option("EV", "evaluations=" + Str(Case.Evaluations));
    option("MW", "max width=" + Str(Case.MaxWidth));
    option("MH", "max height=" + Str(Case.MaxHeight));
    lines.push_back(FlagLine("SA", Case.SampleFromDistributions, "sample from distributions",
                             "do not sample - keep uncertainty"));
    option("RS", "random seed=" + Str(Case.RandomSeed));
    option("BL", "base level=" + FormatNumber(Case.BaseLevel));
    lines.push_back(
        FlagLine("AG", Case.AdaptGoals, "adapt goals to changes", "maintain original goals"));
    lines.push_back(FlagLine("ART", Case.MaintainActionRange, "maintain original action range",
                             "use round-specific action range"));
}

void TCaseWriter::BodyOpening(TLines& lines) const {
    lines.push_back("<body>");
    lines.push_back("<p class=case>" + Case.Name + "</p>");
    TLines text;
    const std::string_view marker = AppendCommentText(Case.Comment, text);
    lines.emplace_back(marker);
    if (text.empty()) {
        lines.emplace_back();
    }
    lines.insert(lines.end(), text.begin(), text.end());
    lines.push_back("</p><br class=\"case comment ends\">");
}

void TCaseWriter::Dictionary(TLines& lines) {
    lines.push_back("<table>");
    lines.push_back("  <tr><th align=\"left\" colspan=\"3\">Tags used in case</th></tr>");
    for (const auto& tag : Case.TagList) {
        TagRow(*tag, lines);
    }
    lines.push_back("</table>");
    lines.push_back("<table>");
    lines.push_back("  <tr><th align=\"left\" colspan=\"3\">Groups used in analysis</th></tr>");
    for (TGroupKind kind : {TGroupKind::gkArena, TGroupKind::gkActor, TGroupKind::gkFactor}) {
        for (const auto& group : Case.GroupList) {
            if (group->GroupKind == kind) {
                GroupRow(*group, lines);
            }
        }
    }
    lines.push_back("</table>");
    lines.push_back("<table>");
    lines.push_back("  <tr><th align=\"left\" colspan=\"3\">Concepts used in case</th></tr>");
    for (const auto& factor : Case.FactorList) {
        if (factor->Owner == nullptr) {
            FactorRow(*factor, lines);
        }
    }
    for (const auto& actor : Case.ActorList) {
        ActorRow(*actor, lines);
    }
    lines.push_back("</table>");
    lines.push_back("<hr>");
}

void TCaseWriter::Relations(TLines& lines) const {
    lines.push_back("<p class=\"concepts\">Actor relations in case</p>");
    lines.push_back("<table class=\"actorrelations\">");
    for (const auto& relation : Case.Relations) {
        RelationRow(*relation, lines);
    }
    lines.push_back("</table>");
    lines.push_back("<hr>");
}

void TCaseWriter::Perceptions(TLines& lines) {
    lines.push_back("<hr>");
    lines.push_back("<p class=concepts>Overview of arenas and actors in case</p>");
    for (const auto& arena : Case.ArenaList) {
        ArenaOverview(*arena, lines);
    }
    lines.push_back("<hr>");
    for (const auto& arena : Case.ArenaList) {
        lines.push_back("<p class=arena><img src=\"gif/arena.gif\">Arena &quot;" + arena->Name +
                        "&quot;</p>");
        PerceptionTables(*arena->AnalystView, lines);
        for (const auto& record : arena->Actors) {
            PerceptionTables(*record->Perception, lines);
        }
    }
}

std::string TCaseWriter::TagIcon(const TConcept& item) {
    if (item.Tags.empty()) {
        return "<img src=\"gif/notag.gif\">";
    }
    std::string name = "tag";
    for (const TTag* tag : item.Tags) {
        name += (item.Tags.size() > 1 ? "_" : "") + Str(Case.TagList.IndexOf(tag));
    }
    if (item.Tags.size() > 1 && !ImageFolder.empty()) {
        NoteImageFailure(Images.WriteCombinedTagIcon(item.Tags, ImageFolder + name + ".gif"));
    }
    return "<img src=\"gif/" + name + ".gif\">";
}

void TCaseWriter::TagRow(const TTag& tag, TLines& lines) const {
    lines.push_back("  <tr class=\"tag\">");
    lines.push_back("    <td></td>");
    lines.push_back("    <td width=16><img src=\"gif/tag" + Str(Case.TagList.IndexOf(&tag)) +
                    ".gif\"></td>");
    lines.push_back("    <td class=\"l" + Str(tag.LightColor) + "m" + Str(tag.MidColor) + "d" +
                    Str(tag.DarkColor) + "\">" + tag.Name + "</td>");
    lines.push_back("  </tr>");
    CommentRows(tag, false, lines);
}

void TCaseWriter::GroupRow(const TGroup& group, TLines& lines) {
    const std::string kind = GroupKindWord(group.GroupKind);
    lines.push_back("  <tr class=\"" + kind + " group" + (group.Checked ? " CHECKED" : "") + "\">");
    lines.push_back("    <td width=16>" + TagIcon(group) + "</td><td width=16><img src=\"gif/" +
                    kind + ".gif\"></td>");
    lines.push_back("    <td>" + group.Name + "</td>");
    lines.push_back("  </tr>");
}

void TCaseWriter::FactorRow(const TFactor& factor, TLines& lines) {
    lines.push_back("  <tr class=\"factor\">");
    lines.push_back("    <td>" + TagIcon(factor) + "</td>");
    lines.push_back("    <td width=16><img src=\"gif/" + KindImage(factor, true) + ".gif\"></td>");
    lines.push_back("    <td>" + HtmlName(factor) + "</td>");
    lines.push_back("  </tr>");
    CommentRows(factor, false, lines);
}

void TCaseWriter::ActorRow(const TActor& actor, TLines& lines) {
    lines.push_back("  <tr class=\"actor\">");
    lines.push_back("    <td width=16>" + TagIcon(actor) + "</td>");
    lines.push_back("    <td width=16><img src=\"gif/actor.gif\"></td>");
    lines.push_back("    <td>" + BareName(actor.Name) + " <span class=ac>[" + actor.ShortName +
                    "]</span></td>");
    lines.push_back("  </tr>");
    CommentRows(actor, false, lines);
    if (actor.Attributes.empty() && actor.Actions.empty()) {
        return;
    }
    lines.push_back("  <tr class=\"a+a\">");
    lines.push_back("    <td colspan=\"2\">&nbsp;</td>");
    lines.push_back("    <td><table>");
    for (const TFactor* attribute : actor.Attributes) {
        FactorRow(*attribute, lines);
    }
    for (const TFactor* action : actor.Actions) {
        FactorRow(*action, lines);
    }
    lines.push_back("    </table></td>");
    lines.push_back("  </tr>");
}

void TCaseWriter::RelationRow(const TActorRelation& relation, TLines& lines) const {
    static constexpr const char* kTypeLabels[] = {"", "Cooperation", "Dominance", "Frankness"};
    lines.push_back("  <tr class=\"actorrelation\">");
    lines.push_back("    <td width=\"16\"><img src=\"gif/actor.gif\"></td>");
    lines.push_back("    <td>" + relation.From->Name + "</td>");
    lines.push_back("    <td width=\"22\">");
    for (int type = 0; type < kRelationTypeCount; ++type) {
        const int strength = relation.Strength[static_cast<std::size_t>(type)];
        if (strength == 0) {
            continue;
        }
        const std::string label = type > 0       ? kTypeLabels[type]
                                  : strength > 0 ? "Positive affect"
                                                 : "Negative affect";
        lines.push_back("      <img src=\"gif/art" + Str(type) + "s" + Str(strength) +
                        ".gif\" alt=\"" + label + "\">");
    }
    lines.push_back("    </td>");
    lines.push_back("    <td width=\"16\"><img src=\"gif/actor.gif\"></td>");
    lines.push_back("    <td>" + relation.To->Name + "</td>");
    lines.push_back("  </tr>");
    CommentRows(relation, false, lines);
}

void TCaseWriter::ArenaOverview(const TArena& arena, TLines& lines) {
    lines.push_back("<table>");
    lines.push_back("  <tr class=\"arena\">");
    lines.push_back("    <td width=16>" + TagIcon(arena) + "</td>");
    lines.push_back("    <td width=16><img src=\"gif/arena.gif\"></td>");
    lines.push_back("    <td width=\"100%\">" + arena.Name + "</td>");
    lines.push_back("  </tr>");
    CommentRows(arena, false, lines);
    if (!arena.Actors.empty()) {
        lines.push_back("  <tr class=\"actors\">");
        lines.push_back("    <td>&nbsp;</td>");
        lines.push_back("    <td colspan=\"2\"><table>");
        for (const auto& record : arena.Actors) {
            AiARow(*record, lines);
        }
        lines.push_back("    </table></td>");
        lines.push_back("  </tr>");
    }
    lines.push_back("</table>");
}

void TCaseWriter::AiARow(const TAiA& record, TLines& lines) {
    lines.push_back("      <tr class=\"aia\">");
    lines.push_back("        <td width=16>" + TagIcon(*record.Actor) +
                    "</td><td width=16><img src=\"gif/actor.gif\"></td><td>" +
                    BareName(record.Actor->Name) + "</td>");
    lines.push_back("      </tr>");
    CommentRows(record, false, lines);
}

void TCaseWriter::PerceptionTables(TPerception& perception, TLines& lines) {
    const TArena* analystViewOf = perception.ArenaOwner();
    const TAiA* perceiver = perception.AiAOwner();
    lines.push_back("<table>");
    if (!perception.FiPs.empty()) {
        if (analystViewOf != nullptr) {
            lines.push_back(
                "  <tr><th align=\"left\" colspan=\"4\"><p class=aview><img "
                "src=\"gif/analyst.gif\">&nbsp;Analyst view</p></th></tr>");
            lines.push_back("  <tr><td align=\"left\" colspan=\"4\"><img src=\"gif/aview" +
                            Str(Case.ArenaList.IndexOf(analystViewOf)) + ".gif\"></td></tr>");
        } else if (perceiver != nullptr) {
            const TArena& arena = *perceiver->Arena;
            const auto& actors = arena.Actors;
            const auto index =
                std::find_if(actors.begin(), actors.end(),
                             [&](const auto& item) { return item.get() == perceiver; }) -
                actors.begin();
            lines.push_back(
                "  <tr><th align=\"left\"  valign=\"bottom\" colspan=\"4\"><p "
                "class=acper>Perception&nbsp;of&nbsp;&nbsp;<img src=\"gif/actor.gif\" "
                "align=\"middle\"><span class=ac>" +
                BareName(perceiver->Actor->Name) + "</span></p></th></tr>");
            lines.push_back("  <tr><td align=\"left\" colspan=\"4\"><img src=\"gif/ar" +
                            Str(Case.ArenaList.IndexOf(&arena)) + "ac" + Str(index) +
                            ".gif\"></td></tr>");
        }
        lines.push_back(
            "  <tr><th align=\"left\" colspan=\"2\"><p class=ihdr>Factor</p></th><th "
            "align=\"left\"><p class=ihdr>Prospect</p></th><th align=\"left\"><p class=ihdr>" +
            std::string(IsRoundArena(analystViewOf) ? "State" : "Goal") +
            "</p></th><th align=\"left\"><p class=ihdr>Action range</p></th></tr>");
        std::stable_sort(perception.FiPs.begin(), perception.FiPs.end(),
                         [](const auto& a, const auto& b) {
                             return CompareNames(a->Factor->Name, b->Factor->Name) < 0;
                         });
        for (const auto& fip : perception.FiPs) {
            FiPRow(*fip, lines);
        }
    }
    lines.push_back("</table>");
    lines.push_back("<table>");
    if (!perception.Links.empty()) {
        lines.push_back(
            "  <tr><th align=\"left\" colspan=\"5\"><p class=ihdr>Causal links</p></th></tr>");
        std::stable_sort(
            perception.Links.begin(), perception.Links.end(), [](const auto& a, const auto& b) {
                const int order = CompareNames(a->FromFiP->Factor->Name, b->FromFiP->Factor->Name);
                return order != 0
                           ? order < 0
                           : CompareNames(a->ToFiP->Factor->Name, b->ToFiP->Factor->Name) < 0;
            });
        for (const auto& link : perception.Links) {
            LinkRow(*link, lines);
        }
    }
    lines.push_back("</table>");
    if (!perception.FiPs.empty()) {
        lines.push_back("<hr>");
    }
}

std::string TCaseWriter::GoalCell(const TFiP& fip) {
    const TPerception* perception = fip.Perception;
    const TGoal* goal = perception != nullptr ? perception->GoalOf(&fip) : nullptr;
    if (goal != nullptr) {
        const std::string priority = "p" + Str(goal->Priority);
        switch (goal->GoalType) {
            case TGoalType::gtCustom: {
                std::string name = "gu";
                for (std::int8_t utility : goal->Utilities.Values) {
                    name += Str(utility);
                }
                if (!ImageFolder.empty()) {
                    NoteImageFailure(
                        Images.WriteCustomGoalIcon(*goal, ImageFolder + name + ".gif"));
                }
                return "    <td width=24><img src=\"gif/" + name + ".gif\"></td>";
            }
            case TGoalType::gtNegative:
                return "    <td width=24><img src=\"gif/gnc" + Str(goal->Level) + priority +
                       ".gif\"></td>";
            case TGoalType::gtStandard:
                return "    <td width=24><img src=\"gif/gc" + Str(goal->Level) + priority +
                       ".gif\"></td>";
        }
    }
    const TArena* arena = perception != nullptr ? perception->ArenaOwner() : nullptr;
    if (IsRoundArena(arena) && arena->Name != "*Round  0") {
        const char separator = Case.Context().DecimalSeparator;
        return "    <td width=24><nobr><font color=\"#0000FF\">" +
               FormatProbability(fip.RoundValue, separator) +
               "</font> <i><font color=\"#0000FF\">(" +
               FormatProbability(fip.PendingChange, separator) + ")</font></i></nobr></td>";
    }
    return "    <td width=24>&nbsp;</td>";
}

void TCaseWriter::FiPRow(const TFiP& fip, TLines& lines) {
    const TFactor& factor = *fip.Factor;
    const TProspect* prospect =
        fip.Perception != nullptr ? fip.Perception->ProspectOf(&fip) : nullptr;
    lines.push_back("  <tr class=\"FiP\">");
    lines.push_back("    <td width=40><img src=\"gif/" + KindImage(factor, true) +
                    ".gif\"><img src=\"gif/fipag" + Str(static_cast<int>(fip.Operator)) +
                    ".gif\"></td>");
    lines.push_back("    <td>" + HtmlName(factor) + "</td> <span class=\"x" + Str(fip.X) + "y" +
                    Str(fip.Y) + "\"></span>");
    lines.push_back(prospect != nullptr
                        ? "    <td width=24><img src=\"gif/p" + Str(prospect->Level) + "u" +
                              Str(prospect->Uncertainty) + ".gif\"></td>"
                        : "    <td width=24>&nbsp;</td>");
    lines.push_back(GoalCell(fip));
    std::string range;
    if (factor.IsAction) {
        range = "&nbsp;";
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            const char* state = level == fip.ChosenLevel ? "2" : fip.ActionRange[level] ? "1" : "0";
            range += "<img src=\"gif/r" + Str(level) + "-" + state + ".gif\">";
        }
    }
    lines.push_back("    <td>" + range + "</td>");
    lines.push_back("  </tr>");
    CommentRows(fip, true, lines);
}

void TCaseWriter::LinkRow(const TLink& link, TLines& lines) const {
    const TFactor& cause = *link.FromFiP->Factor;
    const TFactor& effect = *link.ToFiP->Factor;
    lines.push_back("  <tr class=\"link\">");
    lines.push_back("    <td width=16><img src=\"gif/" + KindImage(cause, false) + ".gif\"></td>");
    lines.push_back("    <td>" + HtmlName(cause) + "</td>");
    lines.push_back("    <td width=32><img src=\"gif/l" + Str(link.Level) + "u" +
                    Str(link.Uncertainty) + ".gif\"></td>");
    lines.push_back("    <td width=16><img src=\"gif/" + KindImage(effect, false) + ".gif\"></td>");
    lines.push_back("    <td>" + HtmlName(effect) + "</td>");
    lines.push_back("  </tr>");
    CommentRows(link, true, lines);
}

void TCaseWriter::CommentRows(const TCommentedObject& item, bool diagramItem, TLines& lines) {
    if (item.CommentIsEmpty()) {
        return;
    }
    const std::string p = Indentation(lines);
    TLines text;
    const std::string_view marker = AppendCommentText(item.Comment, text);
    lines.push_back(p + "<tr class=\"comment\">");
    lines.push_back(p +
                    (diagramItem ? "  <td>&nbsp;</td><td colspan=\"4\">"
                                 : "  <td colspan=\"2\">&nbsp;</td><td>") +
                    std::string(marker));
    lines.insert(lines.end(), text.begin(), text.end());
    lines.push_back(p + "  </p></td>");
    lines.push_back(p + "</tr>");
}

bool WriteCase(TCase& owningCase, std::string_view folder) {
    TImageWriter noImages;
    return TCaseWriter(owningCase, noImages).Save(folder);
}

}  // namespace kavo
