#include "casefile/TCaseReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>

#include "casefile/CaseFileText.h"
#include "casefile/TLineScanner.h"
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

// Standard utility vectors of documents written before version 1.3.0.
const TUtilityVectors& OlderStandardVectors() {
    static const TUtilityVectors table{{
        // priority 1, goal levels -3..+3
        1, 0, 0, 0, -1, -1, -2,   //
        0, 1, 0, 0, 0, -1, -2,    //
        0, 0, 1, 0, 0, -1, -2,    //
        -1, -1, 0, 1, 0, -1, -1,  //
        -2, -1, 0, 0, 1, 0, 0,    //
        -2, -1, 0, 0, 0, 1, 0,    //
        -2, -1, -1, 0, 0, 0, 1,   //
        // priority 2
        2, 1, 0, -1, -2, -2, -3,  //
        1, 2, 1, 0, -1, -2, -3,   //
        0, 1, 2, 0, -1, -1, -2,   //
        -2, -2, 0, 2, 0, -2, -2,  //
        -2, -1, -1, 0, 2, 1, 0,   //
        -3, -2, -1, 0, 1, 2, 1,   //
        -3, -2, -1, -1, 0, 1, 2,  //
        // priority 3
        3, 2, 1, -2, -3, -3, -3,    //
        2, 3, 1, -1, -3, -3, -3,    //
        1, 2, 3, -1, -3, -3, -3,    //
        -3, -3, -1, 3, -1, -3, -3,  //
        -3, -3, -3, -1, 3, 2, 1,    //
        -3, -3, -3, -1, 1, 3, 2,    //
        -3, -3, -3, -2, 1, 2, 3,    //
    }};
    return table;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<int> IntIn(std::string_view text, int low, int high) {
    const std::optional<std::int64_t> value = ReadInteger(Trim(text));
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

// Signed single digits, as utility vectors are written: "-3" or "2", one after the other.
std::optional<std::vector<std::int8_t>> SignedDigits(std::string_view text, std::size_t count) {
    std::vector<std::int8_t> digits;
    std::size_t i = 0;
    while (digits.size() < count && i < text.size()) {
        const bool negative = text[i] == '-';
        if (negative) {
            ++i;
        }
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        const int digit = text[i++] - '0';
        digits.push_back(static_cast<std::int8_t>(negative ? -digit : digit));
    }
    if (digits.size() != count) {
        return std::nullopt;
    }
    return digits;
}

// The name of a concept in a row cell: the text after "<td>" up to "</td>", an actor's short name
// in a span joined to it; "&nbsp;" stands for "_".
std::string CellName(std::string_view cell, std::string_view* rest = nullptr) {
    const std::string text = ReplaceAll(cell, "&nbsp;", "_");
    TLineScanner scan(text);
    scan.Skip("<td>");
    const std::string_view after = scan.Rest();
    const std::size_t span = after.find("<span");
    const std::size_t end = after.find("</td>");
    std::string name;
    if (span != std::string_view::npos && (end == std::string_view::npos || span < end)) {
        name = std::string(scan.Between("", "<span class=ac>"));
        // The span closes with the cell, so a short name may hold "</span>" itself.
        const std::string_view owner = scan.Rest();
        const std::size_t close = owner.find("</span></td>");
        name += owner.substr(0, close != std::string_view::npos ? close : owner.find("</span>"));
    } else {
        name = std::string(scan.Between("", "</td>"));
    }
    if (rest != nullptr) {
        // The position of a FiP follows the name cell on the same line.
        const std::size_t offset = cell.find("</td>");
        *rest = offset == std::string_view::npos ? std::string_view() : cell.substr(offset);
    }
    return name;
}

// The goal that a goal cell shows, on no FiP yet; null when the cell is not understood.
std::unique_ptr<TGoal> GoalOfCell(const TCase& current, std::string_view cell) {
    if (Contains(cell, "\"gif/gu")) {
        const auto digits = SignedDigits(TLineScanner(cell).Between("\"gif/gu", ".gif"), 7);
        if (!digits) {
            return nullptr;
        }
        TLevels<std::int8_t> utilities;
        std::copy(digits->begin(), digits->end(), utilities.Values.begin());
        return std::make_unique<TGoal>(nullptr, utilities);
    }
    const bool negative = Contains(cell, "\"gif/gnc");
    if (!negative && !Contains(cell, "\"gif/gc")) {
        return nullptr;
    }
    TLineScanner scan(cell);
    const std::optional<int> level =
        IntIn(scan.Between(negative ? "\"gif/gnc" : "\"gif/gc", "p"), -3, 3);
    const std::optional<int> priority = IntIn(scan.Between("", ".gif"), 0, 3);
    if (!level || !priority) {
        return nullptr;
    }
    return std::make_unique<TGoal>(current, nullptr,
                                   negative ? TGoalType::gtNegative : TGoalType::gtStandard, *level,
                                   *priority);
}

// The bytes of the file in the folder; false with the reason, in the user's terms, when it cannot
// be read.
bool ReadWholeFile(const std::string& folder, const std::string& file, std::string& bytes,
                   std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string folderPath = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    if (fs::exists(folderPath, error) && !fs::is_directory(folderPath, error)) {
        reason = "\"" + folderPath + "\" is a file, not a case folder";
        return false;
    }
    if (fs::exists(file, error) && !fs::is_regular_file(file, error)) {
        reason = "not a file";
        return false;
    }
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"),
                                                             &std::fclose);
    if (!in) {
        reason = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;) {
        try {
            bytes.append(buffer, n);
        } catch (const std::bad_alloc&) {
            reason = "the file is too large";
            return false;
        }
    }
    if (std::ferror(in.get())) {
        reason = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

std::string FoldedQuot(std::string_view line) {
    std::string text(line);
    for (std::size_t at = 0; (at = text.find('&', at)) != std::string::npos; ++at) {
        std::string entity = text.substr(at, 6);
        for (char& c : entity) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (entity == "&quot;") {
            text.replace(at, 6, "\"");
        }
    }
    return text;
}

}  // namespace

TCaseReader::TCaseReader(TCase& emptyCase) : Case(emptyCase) {}

TReadOutcome TCaseReader::Read(std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    Case.Folder = path;
    const std::string file = path + kCaseFileName;
    std::string bytes;
    std::string reason;
    if (!ReadWholeFile(path, file, bytes, reason)) {
        Case.Messages().ShowWarning("Could not open file \"" + file + "\": " + reason);
        return TReadOutcome::roNotOpened;
    }
    // A UTF-8 document is its own text: no copy of a large file.
    return ReadText(IsValidUtf8(bytes) ? std::move(bytes) : DecodeCaseDocument(bytes));
}

TReadOutcome TCaseReader::ReadDocument(std::string_view bytes) {
    return ReadText(DecodeCaseDocument(bytes));
}

TReadOutcome TCaseReader::ReadText(std::string text) {
    TStatus& status = Case.Context().Status;
    status.SetStatusText("Reading case data");
    Text = std::move(text);
    std::string_view rest = Text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        Lines.push_back(line);
    }
    if (!ReadHead()) {
        Finish();
        return TReadOutcome::roInvalid;
    }
    ReadCaseComment();
    ApplyOptions();
    status.PumpEvents();
    const std::vector<void (TCaseReader::*)()> sections = {
        &TCaseReader::ReadTags,      &TCaseReader::ReadGroups, &TCaseReader::ReadConcepts,
        &TCaseReader::ReadRelations, &TCaseReader::ReadArenas, &TCaseReader::ReadPerceptions};
    for (auto section : sections) {
        if (Invalid) {
            break;
        }
        (this->*section)();
        status.PumpEvents();
    }
    Finish();
    return Invalid ? TReadOutcome::roInvalid : TReadOutcome::roRead;
}

std::string_view TCaseReader::Line(std::size_t index) const {
    return index < Lines.size() ? Lines[index] : std::string_view();
}

bool TCaseReader::SeekLine(std::string_view text) {
    while (!AtEnd() && !Contains(Lines[Position], text)) {
        ++Position;
    }
    return !AtEnd();
}

bool TCaseReader::CollectThrough(std::string_view text, TLines& collected) {
    while (!AtEnd()) {
        const std::string_view line = Lines[Position++];
        collected.push_back(line);
        if (Contains(line, text)) {
            return true;
        }
    }
    return false;
}

void TCaseReader::CollectCommentRows(TLines& collected) {
    if (!AtEnd() && IsRowOfKind(Lines[Position], "comment")) {
        CollectThrough("</tr>", collected);
    }
}

std::string TCaseReader::LineLabel(std::string_view at) const {
    const char* data = at.data();
    const auto after = std::upper_bound(Lines.begin(), Lines.end(), data,
                                        [](const char* p, std::string_view line) {
                                            return std::less<const char*>()(p, line.data());
                                        });
    const bool inText = !Text.empty() && !std::less<const char*>()(data, Text.data()) &&
                        std::less<const char*>()(data, Text.data() + Text.size() + 1);
    return inText && after != Lines.begin() ? "line " + std::to_string(after - Lines.begin()) + ": "
                                            : "";
}

void TCaseReader::Skip(std::string_view at, const std::string& why) {
    Problems.push_back(LineLabel(at) + why);
}

std::string TCaseReader::Carried(std::string_view name, TConceptKind kind, std::string_view at,
                                 const char* what, bool owned) {
    std::string carried = TCase::CarriableName(kind, name, owned);
    if (carried != name && !Trim(carried).empty()) {
        Repairs.push_back(LineLabel(at) + what + " " + Quoted(name) + " as " +
                          Quoted(Trim(carried)));
    }
    return carried;
}

void TCaseReader::Truncated() {
    Invalid = true;
}

void TCaseReader::ShowList(const std::vector<std::string>& items, const char* what,
                           const char* heading) {
    if (items.empty()) {
        return;
    }
    constexpr std::size_t kShown = 10;
    std::string text = "The case file holds " + std::to_string(items.size()) + what + heading;
    for (std::size_t i = 0; i < std::min(kShown, items.size()); ++i) {
        text += "\n" + items[i];
    }
    if (items.size() > kShown) {
        text += "\n... and " + std::to_string(items.size() - kShown) + " more";
    }
    Case.Messages().ShowWarning(text);
}

void TCaseReader::Finish() {
    if (Invalid) {
        Case.Messages().ShowError("Invalid case file");
        // Saving must not put what was read in the place of the whole document.
        Case.Folder.clear();
    }
    ShowList(Problems, Problems.size() == 1 ? " record" : " records",
             " that could not be read and were left out:");
    ShowList(Repairs, Repairs.size() == 1 ? " value" : " values",
             " that a case cannot hold as written; read as:");
    Case.Modified = false;
    Case.Context().Status.SetStatusText("");
}

// ---- Head, case comment and options ----

bool TCaseReader::ReadHead() {
    for (; !AtEnd(); ++Position) {
        const std::string_view line = Lines[Position];
        // The title holds the case name, which may hold any text.
        if (line.starts_with("<title>")) {
            continue;
        }
        if (Contains(line, "<p class=case>")) {
            return true;
        }
        ReadHeadLine(line);
    }
    Invalid = true;
    return false;
}

void TCaseReader::ReadHeadLine(std::string_view line) {
    if (Contains(line, "Generated by KAVO version")) {
        Case.Version = std::string(TLineScanner(line).Between("KAVO version ", " on "));
        if (Case.Version < "1.3.0") {
            Case.StdUtilityVectors = OlderStandardVectors();
            Case.NegUtilityVectors = TUtilityVectors::DefaultNegative();
        }
    } else if (Contains(line, "<meta name=\"KAVO option")) {
        Options.emplace_back(TLineScanner(line).Between("content=\"", "\""));
    } else if (Contains(line, "<meta name=\"KAVO analysis")) {
        TLineScanner scan(line);
        const bool named = scan.Skip("content=\"") && !scan.Between("", "=").empty();
        const std::string_view fields = scan.Between("", "\"");
        if (named && fields.find_first_not_of("01") == std::string_view::npos) {
            Case.AnalysisLines.emplace_back(line);
        } else {
            Skip(line, "analysis selection not understood");
        }
    } else if (Contains(line, "<meta name=\"KAVO group modes")) {
        const std::string_view modes = TLineScanner(line).Between("content=\"", "\"");
        if (modes.size() != 4) {
            return;
        }
        const auto digit = [&](std::size_t i, int high) {
            const int value = modes[i] - '0';
            return value >= 0 && value <= high ? value : -1;
        };
        const int arena = digit(0, 4);
        const int actor = digit(1, 5);
        const int factor = digit(2, 3);
        if (arena < 0 || actor < 0 || factor < 0) {
            Skip(line, "grouping modes out of range");
            return;
        }
        Case.ArenaGrouping = static_cast<std::uint8_t>(arena);
        Case.ActorGrouping = static_cast<std::uint8_t>(actor);
        Case.FactorGrouping = static_cast<std::uint8_t>(factor);
        Case.MentionedOnly = modes[3] == '1';
    }
}

void TCaseReader::ReadCaseComment() {
    const std::string_view caseLine = Lines[Position];
    TLineScanner scan(caseLine);
    scan.Skip("<p class=case>");
    const std::string_view name = scan.Rest();
    Case.Name = Trim(name.substr(0, name.rfind("</p>")));
    ++Position;
    // Lines that stray between the case name and its comment are left out, not the comment.
    const auto opensComment = [](std::string_view line) {
        return Contains(line, kCommentMarker) || Contains(line, kEscapedCommentMarker) ||
               Contains(line, "<!-- case settings:");
    };
    std::size_t opening = Position;
    while (opening < Lines.size() && !opensComment(Lines[opening]) &&
           !IsRowOfKind(Lines[opening], "case comment ends") &&
           !Contains(Lines[opening], "<table>")) {
        ++opening;
    }
    if (opening > Position && opening < Lines.size() && opensComment(Lines[opening])) {
        Skip(Lines[Position], "unexpected text after the case name left out");
        Position = opening;
    }
    const std::string_view marker = Line(Position);
    bool settingsHere = false;
    const bool escaped = Contains(marker, kEscapedCommentMarker);
    if (escaped || Contains(marker, kCommentMarker)) {
        Case.Comment.clear();
        for (++Position; !AtEnd() && !IsRowOfKind(Lines[Position], "case comment ends");
             ++Position) {
            Case.Comment.push_back(escaped ? UnescapeMarkup(Lines[Position])
                                           : std::string(Lines[Position]));
        }
        if (Case.CommentIsEmpty()) {
            Case.Comment.clear();
        }
    } else {
        settingsHere = Contains(marker, "<!-- case settings:");
    }
    if (!settingsHere) {
        ++Position;
    }
    if (Contains(Line(Position), "<!-- case settings:")) {
        Options.clear();
        for (++Position; !AtEnd() && !Contains(Lines[Position], "-->"); ++Position) {
            Options.emplace_back(Lines[Position]);
        }
    }
}

void TCaseReader::ApplyOptions() {
    for (const std::string& text : Options) {
        ApplyOption(text);
    }
}

void TCaseReader::ApplyOption(std::string_view text) {
    const auto integer = [&](std::string_view after) {
        return ReadInteger(Trim(TLineScanner(text).Between(after, "\"")));
    };
    const auto decimals = [&](std::string_view after, std::size_t count) {
        TLineScanner scan(text);
        scan.Skip(after);
        std::vector<double> values;
        for (std::size_t i = 0; i < count; ++i) {
            const std::optional<double> value =
                ReadDecimal(i + 1 < count ? scan.Between("", ",") : scan.Rest());
            if (!value) {
                return std::vector<double>();
            }
            values.push_back(*value);
        }
        return values;
    };
    const auto table = [&](std::string_view after, TUtilityVectors& vectors, const char* name) {
        const auto digits = SignedDigits(TLineScanner(text).Between(after, "\""), 147);
        if (!digits) {
            return false;
        }
        // Utilities index levels -3..+3 only.
        bool clamped = false;
        for (std::size_t i = 0; i < digits->size(); ++i) {
            const std::int8_t entry = (*digits)[i];
            vectors.Entries[i] = std::clamp<std::int8_t>(entry, -3, 3);
            clamped = clamped || vectors.Entries[i] != entry;
        }
        if (clamped) {
            Repairs.push_back(std::string(name) +
                              ": entries outside -3..+3 as the nearest of -3 and +3");
        }
        return true;
    };
    bool understood = true;
    if (Contains(text, "name=")) {
        TLineScanner scan(text);
        std::string_view name = scan.Between("name=", " size=");
        if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
            name = name.substr(1, name.size() - 2);
        }
        const std::optional<int> size = IntIn(scan.Rest(), 1, 1000);
        understood = size.has_value() && !name.empty();
        if (understood) {
            Case.Font.Name = std::string(name);
            Case.Font.Size = *size;
        }
    } else if (Contains(text, "suv=")) {
        understood = table("suv=", Case.StdUtilityVectors, "standard utility table");
    } else if (Contains(text, "nuv=")) {
        understood = table("nuv=", Case.NegUtilityVectors, "negative utility table");
    } else if (Contains(text, "change levels: ")) {
        const std::vector<double> levels = decimals("change levels: ", 3);
        understood = levels.size() == 3;
        if (understood) {
            Case.ChangeLevels[0] = 0;
            for (int level = 1; level <= 3; ++level) {
                Case.ChangeLevels[level] = levels[static_cast<std::size_t>(level - 1)];
            }
        }
    } else if (Contains(text, "link multiplier: ")) {
        const std::vector<double> m = decimals("link multiplier: ", 1);
        understood = m.size() == 1;
        if (understood) {
            Case.LinkMultipliers[3] = m[0];
            Case.LinkMultipliers[1] = m[0] != 0 ? 1 / m[0] : 0;
        }
    } else if (Contains(text, "utility multipliers: ")) {
        const std::vector<double> levels = decimals("utility multipliers: ", 3);
        understood = levels.size() == 3;
        if (understood) {
            Case.UtilityLevels[0] = 0;
            for (int level = 1; level <= 3; ++level) {
                Case.UtilityLevels[level] = levels[static_cast<std::size_t>(level - 1)];
                Case.ChangeLevels[-level] = -Case.ChangeLevels[level];
                Case.LinkMultipliers[-level] = -Case.LinkMultipliers[level];
                Case.UtilityLevels[-level] = -Case.UtilityLevels[level];
            }
            Case.MaxUtility = Case.UtilityLevels[3];
        }
    } else if (Contains(text, "autofocus threshold=")) {
        TLineScanner scan(text);
        const std::optional<int> threshold =
            IntIn(scan.Between("autofocus threshold=", " resolution="), 0, 1'000'000);
        const std::optional<int> resolution = IntIn(scan.Rest(), -1'000'000, 1'000'000);
        understood = threshold && resolution;
        if (understood) {
            Case.AutofocusThreshold = *threshold;
            Case.AutofocusResolution = *resolution;
        }
    } else if (Contains(text, "evaluations=")) {
        const std::optional<std::int64_t> n = integer("evaluations=");
        understood = n.has_value();
        Case.Evaluations = n.value_or(Case.Evaluations);
    } else if (Contains(text, "iterations=")) {
        const std::optional<int> n =
            IntIn(TLineScanner(text).Between("iterations=", "\""), 0, 1'000'000'000);
        understood = n.has_value();
        Case.Iterations = n.value_or(Case.Iterations);
    } else if (Contains(text, "max width=")) {
        const std::optional<int> n =
            IntIn(TLineScanner(text).Between("max width=", "\""), 0, 1'000'000);
        understood = n.has_value();
        Case.MaxWidth = n.value_or(Case.MaxWidth);
    } else if (Contains(text, "max height=")) {
        const std::optional<int> n =
            IntIn(TLineScanner(text).Between("max height=", "\""), 0, 1'000'000);
        understood = n.has_value();
        Case.MaxHeight = n.value_or(Case.MaxHeight);
    } else if (Contains(text, "default action range=")) {
        const std::string_view range = TLineScanner(text).Between("default action range=", "\"");
        understood = range.size() >= 7;
        for (int level = kMinLevel; understood && level <= kMaxLevel; ++level) {
            Case.DefaultActionRange[level] = range[static_cast<std::size_t>(level + 3)] == '1';
        }
    } else if (Contains(text, "range bar ")) {
        Case.RangeBarShown = Contains(text, "shown");
    } else if (Contains(text, "random seed=")) {
        const std::optional<int> seed =
            IntIn(TLineScanner(text).Between("random seed=", "\""), INT32_MIN, INT32_MAX);
        understood = seed.has_value();
        if (understood) {
            Case.RandomSeed = *seed;
            Case.Context().Random.Seed(static_cast<std::uint32_t>(*seed));
        }
    } else if (Contains(text, "base level=")) {
        const std::vector<double> level = decimals("base level=", 1);
        understood = level.size() == 1;
        // Round values are shown relative to the base level, so it cannot be 0.
        if (understood && level[0] == 0) {
            Repairs.push_back("base level 0 as " + FormatNumber(Case.BaseLevel));
        } else if (understood) {
            Case.BaseLevel = level[0];
        }
    } else if (Contains(text, "sample ")) {
        Case.SampleFromDistributions = Contains(text, "distribution");
    } else if (Contains(text, " goals")) {
        Case.AdaptGoals = !Contains(text, "maintain");
    } else if (Contains(text, "action range")) {
        Case.MaintainActionRange = Contains(text, "maintain");
    }
    if (!understood) {
        Skip({}, "option " + Quoted(text) + " not understood");
    }
}

// ---- Dictionary ----

std::vector<TTag*> TCaseReader::TagsOf(std::string_view iconLine) {
    std::vector<std::string_view> indices;
    TLineScanner scan(iconLine);
    if (scan.Skip("/tag_")) {
        std::string_view list = scan.Between("", ".gif");
        for (std::size_t end = list.find('_'); end != std::string_view::npos;
             end = list.find('_')) {
            indices.push_back(list.substr(0, end));
            list.remove_prefix(end + 1);
        }
        indices.push_back(list);
    } else if (!Contains(iconLine, "/notag")) {
        indices.push_back(scan.Between("/tag", ".gif"));
    }
    std::vector<TTag*> tags;
    for (std::string_view index : indices) {
        const std::optional<int> i = IntIn(index, 0, Case.TagList.Size() - 1);
        if (i) {
            tags.push_back(Case.TagList[*i]);
        } else {
            Skip(iconLine, "no tag number " + Quoted(index));
        }
    }
    return tags;
}

void TCaseReader::AddTags(TConcept& item, std::string_view iconLine) {
    for (TTag* tag : TagsOf(iconLine)) {
        if (!item.HasTag(tag)) {
            item.Tags.push_back(tag);
        }
    }
}

void TCaseReader::ReadComment(TCommentedObject& item, const TLines& lines, std::size_t from) {
    item.Comment.clear();
    std::size_t i = from;
    bool escaped = false;
    std::string_view first;
    for (; i < lines.size(); ++i) {
        const std::size_t plain = lines[i].find(kCommentMarker);
        const std::size_t marked = lines[i].find(kEscapedCommentMarker);
        if (plain != std::string_view::npos || marked != std::string_view::npos) {
            escaped = plain == std::string_view::npos;
            first = lines[i].substr(escaped ? marked + kEscapedCommentMarker.size()
                                            : plain + kCommentMarker.size());
            break;
        }
    }
    if (i >= lines.size()) {
        return;
    }
    const auto add = [&](std::string_view text) {
        item.Comment.push_back(escaped ? UnescapeMarkup(text) : std::string(text));
    };
    const auto addLast = [&](std::string_view line) {
        const std::string text = Trim(line.substr(0, line.find("</p>")));
        if (!text.empty()) {
            add(text);
        }
    };
    if (Contains(first, "</p>")) {
        addLast(first);
        return;
    }
    if (!Trim(first).empty()) {
        add(Trim(first));
    }
    for (++i; i < lines.size(); ++i) {
        if (Contains(lines[i], "</p>")) {
            addLast(lines[i]);
            return;
        }
        add(lines[i]);
    }
}

void TCaseReader::ReadTags() {
    if (!SeekLine("Tags used in case")) {
        return Truncated();
    }
    for (++Position; !AtEnd() && !Contains(Lines[Position], "</table>");) {
        if (IsRowOfKind(Lines[Position], "tag")) {
            ReadTagRow();
        } else {
            ++Position;
        }
    }
    if (AtEnd()) {
        Truncated();
    }
}

void TCaseReader::ReadTagRow() {
    const std::size_t first = Position;
    const std::string_view nameLine = Line(first + 3);
    Position = std::min(first + 5, Lines.size());
    TLines comment;
    CollectCommentRows(comment);
    const bool older = Contains(nameLine, "</td> <!-- ");
    TLineScanner scan(nameLine);
    const std::string_view name =
        older ? scan.Between("<td>", "</td>") : scan.Between("\">", "</td>");
    TTag* tag = Case.FindOrCreateTag(Carried(name, TConceptKind::ckTag, Line(first), "tag"));
    if (tag == nullptr) {
        return Skip(Line(first), "tag " + Quoted(name) + " left out");
    }
    TLineScanner colours(nameLine);
    std::optional<int> light, mid, dark;
    constexpr int kWhite = 0xFFFFFF;
    if (older) {
        colours.Skip("</td> <!-- ");
        light = IntIn(colours.Between("", "|"), 0, kWhite);
        mid = IntIn(colours.Between("", "|"), 0, kWhite);
        dark = IntIn(colours.Between("", " -->"), 0, kWhite);
    } else {
        light = IntIn(colours.Between("<td class=\"l", "m"), 0, kWhite);
        mid = IntIn(colours.Between("", "d"), 0, kWhite);
        dark = IntIn(colours.Between("", "\">"), 0, kWhite);
    }
    if (light && mid && dark) {
        tag->LightColor = static_cast<std::uint32_t>(*light);
        tag->MidColor = static_cast<std::uint32_t>(*mid);
        tag->DarkColor = static_cast<std::uint32_t>(*dark);
    } else {
        Skip(nameLine, "colours of tag " + Quoted(name) + " not understood");
    }
    ReadComment(*tag, comment);
}

void TCaseReader::ReadGroups() {
    while (!AtEnd() && !Contains(Lines[Position], "Groups used in analysis") &&
           !Contains(Lines[Position], "Concepts used in case")) {
        ++Position;
    }
    if (AtEnd()) {
        return Truncated();
    }
    if (Contains(Lines[Position], "Groups used in analysis")) {
        for (++Position; !AtEnd() && !Contains(Lines[Position], "</table>");) {
            const std::string_view line = Lines[Position];
            if (Contains(line, "group -->") ||
                (Contains(line, "<tr class=\"") && Contains(line, "group"))) {
                ReadGroupRow();
            } else {
                ++Position;
            }
        }
    }
    if (!SeekLine("Concepts used in case")) {
        Truncated();
    }
}

void TCaseReader::ReadGroupRow() {
    const std::string_view first = Line(Position);
    const std::string_view icon = Line(Position + 1);
    const std::string_view nameLine = Line(Position + 2);
    Position = std::min(Position + 3, Lines.size());
    const std::string_view name = TLineScanner(nameLine).Between("<td>", "</td>");
    const std::string_view kind = Contains(first, "<tr class=\"")
                                      ? TLineScanner(first).Between("<tr class=\"", " group")
                                      : TLineScanner(first).Between("<!-- ", " group");
    TGroup* group = Case.FindOrCreateGroup(Carried(name, TConceptKind::ckGroup, first, "group"),
                                           std::string(kind) + "s");
    if (group == nullptr) {
        return Skip(first, "group " + Quoted(name) + " left out");
    }
    group->Checked = Contains(first, "CHECKED");
    AddTags(*group, icon);
    group->UpdateDescription();
}

void TCaseReader::ReadConcepts() {
    // Lines of a damaged row are passed over up to the next row, so that one damaged row does not
    // cost the rows after it.
    bool passingOver = false;
    for (++Position; !AtEnd();) {
        const std::string_view line = Lines[Position];
        if (Contains(line, "<tr") && (Contains(line, "ctor\">") || Contains(line, "ctor -->"))) {
            passingOver = false;
            ReadConceptRow();
        } else if (Contains(line, "</table>") || Contains(line, "Actor relations in case") ||
                   Contains(line, "class=\"actorrelations\"") ||
                   Contains(line, "Overview of arenas")) {
            break;
        } else {
            if (!passingOver) {
                Skip(line, "unexpected text in the concept table left out");
            }
            passingOver = true;
            ++Position;
        }
    }
}

void TCaseReader::ReadConceptRow() {
    const std::size_t first = Position;
    const std::string_view icon = Line(first + 1);
    const bool stock = Contains(Line(first + 2), "/stock");
    const std::string nameLine = ReplaceAll(Line(first + 3), "&nbsp;", "_");
    Position = std::min(first + 5, Lines.size());
    TLines comment;
    CollectCommentRows(comment);
    TLines block;
    if (!AtEnd() && IsRowOfKind(Lines[Position], "a+a")) {
        CollectThrough("</table>", block);
        CollectThrough("", block);
    }
    TLineScanner scan(nameLine);
    scan.Skip("<td>");
    std::string name;
    std::string shortName;
    if (Contains(nameLine, "<span")) {
        name = scan.Between("", " <span class=ac>[");
        const std::string_view rest = scan.Rest();
        const std::size_t end = rest.rfind("]</span>");
        shortName = rest.substr(0, end != std::string_view::npos ? end : rest.find(']'));
    } else {
        name = scan.Between("", "</td>");
    }
    TConcept* found = nullptr;
    if (IsRowOfKind(Line(first), "factor")) {
        TFactor* factor = Case.FindOrCreateFactor(
            Carried(name, TConceptKind::ckFactor, Line(first), "factor"), stock);
        // An action whose actor was lost is listed among the factors; it stays an action.
        if (factor != nullptr && factor->Owner == nullptr && Contains(Line(first + 2), "/action")) {
            factor->IsAction = true;
            factor->IsStock = false;
        }
        found = factor;
    } else {
        found = Case.FindOrCreateActor(
            Carried(name, TConceptKind::ckActor, Line(first), "actor"),
            Carried(shortName, TConceptKind::ckActor, Line(first), "short name"));
    }
    if (found == nullptr) {
        return Skip(Line(first), "concept " + Quoted(name) + " left out");
    }
    AddTags(*found, icon);
    ReadComment(*found, comment);
    if (found->Kind == TConceptKind::ckActor) {
        ReadActorRecords(static_cast<const TActor&>(*found), block);
    }
}

void TCaseReader::ReadActorRecords(const TActor& actor, const TLines& block) {
    const std::string suffix = " [" + actor.ShortName + "]";
    for (std::size_t i = 3; i < block.size();) {
        if (!IsRowOfKind(block[i], "factor")) {
            ++i;
            continue;
        }
        const std::size_t row = i;
        i += 5;
        TLines comment;
        if (i < block.size() && IsRowOfKind(block[i], "comment")) {
            for (; i < block.size(); ++i) {
                comment.push_back(block[i]);
                if (Contains(block[i], "</tr>")) {
                    ++i;
                    break;
                }
            }
        }
        const std::string_view kindLine = row + 2 < block.size() ? block[row + 2] : "";
        const std::string_view nameLine = row + 3 < block.size() ? block[row + 3] : "";
        const bool isAction = Contains(kindLine, "/action");
        // The rows of the block are the actor's own, whatever short name they show.
        std::string name = CellName(nameLine);
        if (name.ends_with(suffix)) {
            name.resize(name.size() - suffix.size());
        } else if (const std::size_t bracket = name.find(" ["); bracket != std::string::npos) {
            name.resize(bracket);
        }
        TFactor* factor = Case.FindOrCreateFactor(
            Carried(name, TConceptKind::ckFactor, block[row], isAction ? "action" : "attribute"),
            Contains(kindLine, "/stock"), isAction, actor.ShortName);
        if (factor == nullptr) {
            Skip(block[row], "factor " + Quoted(name) + " left out");
            continue;
        }
        AddTags(*factor, row + 1 < block.size() ? block[row + 1] : "");
        ReadComment(*factor, comment);
    }
}

void TCaseReader::ReadRelations() {
    while (!AtEnd() && !Contains(Lines[Position], "Overview of arenas") &&
           !Contains(Lines[Position], "class=\"actorrelations\"")) {
        ++Position;
    }
    if (AtEnd()) {
        return Truncated();
    }
    if (Contains(Lines[Position], "class=\"actorrelations\"")) {
        TLines table;
        if (!CollectThrough("</table>", table)) {
            return Truncated();
        }
        for (std::size_t i = 1; i < table.size(); ++i) {
            if (!Contains(table[i], "<tr class=\"actorrelation\">")) {
                continue;
            }
            TLines row;
            TLines comment;
            for (++i; i < table.size(); ++i) {
                row.push_back(table[i]);
                if (Contains(table[i], "</tr>")) {
                    break;
                }
            }
            if (i + 1 < table.size() && Contains(table[i + 1], "<tr class=\"comment\"")) {
                for (++i; i < table.size(); ++i) {
                    comment.push_back(table[i]);
                    if (Contains(table[i], "</tr>")) {
                        break;
                    }
                }
            }
            ReadRelationRow(row, comment);
        }
    }
    if (!SeekLine("Overview of arenas")) {
        Truncated();
    }
}

void TCaseReader::ReadRelationRow(const TLines& row, const TLines& comment) {
    std::string text;
    for (std::string_view line : row) {
        text.append(line).push_back('\n');
    }
    TLineScanner scan(text);
    const std::string_view from = scan.Between("<td>", "</td>");
    std::vector<std::pair<std::string_view, std::string_view>> strengths;
    while (scan.Has("<img src=\"gif/art")) {
        const std::string_view type = scan.Between("<img src=\"gif/art", "s");
        strengths.emplace_back(type, scan.Between("", ".gif\""));
    }
    const std::string_view to = scan.Between("<td>", "</td>");
    const std::string_view at = row.empty() ? std::string_view() : row.front();
    TActor* fromActor = Case.ActorList.Find(TCase::CarriableName(TConceptKind::ckActor, from));
    TActor* toActor = Case.ActorList.Find(TCase::CarriableName(TConceptKind::ckActor, to));
    if (fromActor == nullptr || toActor == nullptr) {
        return Skip(at, "relation between unknown actors " + Quoted(from) + " and " + Quoted(to));
    }
    if (Case.FindRelation(fromActor, toActor) >= 0) {
        return Skip(at, "second relation from " + Quoted(from) + " to " + Quoted(to));
    }
    auto relation = std::make_unique<TActorRelation>(fromActor, toActor);
    for (const auto& [typeText, strengthText] : strengths) {
        const std::optional<int> type = IntIn(typeText, 0, kRelationTypeCount - 1);
        const std::optional<int> strength =
            type == 0 ? IntIn(strengthText, -5, 5) : IntIn(strengthText, 0, 5);
        if (!type || !strength) {
            Skip(at, "relation strength art" + std::string(typeText) + "s" +
                         std::string(strengthText) + " not understood");
            continue;
        }
        relation->Strength[static_cast<std::size_t>(*type)] = static_cast<std::int16_t>(*strength);
    }
    ReadComment(*relation, comment);
    Case.Relations.push_back(std::move(relation));
}

// ---- Arenas and perceptions ----

void TCaseReader::ReadArenas() {
    Position += 2;
    while (!AtEnd() && IsRowOfKind(Lines[Position], "arena")) {
        ReadArenaRow();
        Position += 2;
    }
}

void TCaseReader::ReadArenaRow() {
    const std::size_t first = Position;
    const std::string_view icon = Line(first + 1);
    const std::string_view nameLine = Line(first + 3);
    Position = std::min(first + 5, Lines.size());
    TLines comment;
    CollectCommentRows(comment);
    TLines block;
    if (!AtEnd() && IsRowOfKind(Lines[Position], "actors")) {
        while (!AtEnd() && Lines[Position] != "  </tr>") {
            block.push_back(Lines[Position++]);
        }
        if (!AtEnd()) {
            block.push_back(Lines[Position++]);
        }
    }
    const std::string_view name = TLineScanner(nameLine).Between(">", "</td>");
    TArena* arena =
        Case.FindOrCreateArena(Carried(name, TConceptKind::ckArena, Line(first), "arena"));
    if (arena == nullptr) {
        return Skip(Line(first), "arena " + Quoted(name) + " left out");
    }
    AddTags(*arena, icon);
    ReadComment(*arena, comment);
    ReadAiARows(*arena, block);
}

void TCaseReader::ReadAiARows(TArena& arena, const TLines& block) {
    for (std::size_t i = 3; i < block.size(); ++i) {
        if (!IsRowOfKind(block[i], "aia")) {
            continue;
        }
        const std::string_view row = block[i];
        TLineScanner scan(i + 1 < block.size() ? block[i + 1] : "");
        scan.Skip("/actor.gif\"");
        const std::string_view name = scan.Between("</td><td>", "</td>");
        TLines comment;
        std::size_t next = i + 1;
        while (next < block.size() && !Contains(block[next], "<tr")) {
            ++next;
        }
        if (next < block.size() && IsRowOfKind(block[next], "comment")) {
            for (; next < block.size() && !Contains(block[next], "</tr>"); ++next) {
                comment.push_back(block[next]);
            }
        }
        i = next - 1;
        TActor* actor = Case.ActorList.Find(TCase::CarriableName(TConceptKind::ckActor, name));
        if (actor == nullptr) {
            Skip(row, "unknown actor " + Quoted(name) + " in arena " + Quoted(arena.Name));
            continue;
        }
        if (std::any_of(arena.Actors.begin(), arena.Actors.end(),
                        [actor](const auto& record) { return record->Actor == actor; })) {
            Skip(row, "actor " + Quoted(name) + " twice in arena " + Quoted(arena.Name));
            continue;
        }
        TAiA* record = arena.AddActor(actor);
        record->Priority = static_cast<int>(arena.Actors.size());
        ReadComment(*record, comment);
    }
}

void TCaseReader::ReadPerceptions() {
    while (!AtEnd() && Contains(Lines[Position], "<p class=arena>")) {
        const std::string_view line = Lines[Position];
        std::string name;
        if (Contains(line, ">Arena &quot;")) {
            TLineScanner scan(line);
            scan.Skip(">Arena &quot;");
            const std::string_view rest = scan.Rest();
            name = rest.substr(0, rest.rfind("&quot;"));
        } else {
            name = TLineScanner(FoldedQuot(line)).Between(">Arena \"", "\"");
        }
        TArena* arena = Case.ArenaList.Find(TCase::CarriableName(TConceptKind::ckArena, name));
        ++Position;
        while (!AtEnd() && Contains(Lines[Position], "<table>")) {
            TLines lines;
            if (!CollectThrough("</table>", lines) || !CollectThrough("</table>", lines)) {
                Truncated();
            }
            if (!AtEnd() && Contains(Lines[Position], "<hr>")) {
                ++Position;
            }
            TPerception* perception = nullptr;
            if (arena != nullptr && lines.size() > 1) {
                if (Contains(lines[1], "<p class=aview>")) {
                    perception = arena->AnalystView.get();
                } else {
                    TLineScanner scan(lines[1]);
                    scan.Skip("<span class=ac>");
                    const std::string_view rest = scan.Rest();
                    const TAiA* record = arena->FindActor(TCase::CarriableName(
                        TConceptKind::ckActor, rest.substr(0, rest.rfind("</span>"))));
                    perception = record != nullptr ? record->Perception.get() : nullptr;
                }
            }
            if (perception != nullptr) {
                ReadPerception(*perception, lines);
            }
        }
    }
}

void TCaseReader::ReadPerception(TPerception& perception, const TLines& lines) {
    // A row: its first line, five cells, its closing line, then its comment rows.
    const auto rowAt = [&](std::size_t& p) {
        TLines row(lines.begin() + static_cast<std::ptrdiff_t>(p),
                   lines.begin() + static_cast<std::ptrdiff_t>(std::min(p + 7, lines.size())));
        p += 7;
        if (p < lines.size() && IsRowOfKind(lines[p], "comment")) {
            for (; p < lines.size(); ++p) {
                row.push_back(lines[p]);
                if (Contains(lines[p], "</tr>")) {
                    ++p;
                    break;
                }
            }
        }
        return row;
    };
    std::size_t p = 4;
    while (p < lines.size() && !Contains(lines[p], "</table>")) {
        ReadFiPRow(perception, rowAt(p));
    }
    p += 2;
    if (p < lines.size() && Contains(lines[p], "<p class=ihdr>")) {
        ++p;
    }
    while (p < lines.size() && !Contains(lines[p], "</table>")) {
        ReadLinkRow(perception, rowAt(p));
    }
    perception.InvalidateResults();
    perception.Selection.clear();
}

void TCaseReader::ReadFiPRow(TPerception& perception, const TLines& row) {
    if (row.size() < 6) {
        return Skip(row.empty() ? "" : row.front(), "factor row cut short");
    }
    std::string_view position;
    const std::string name = CellName(row[2], &position);
    TFactor* factor =
        Case.FactorList.Find(TCase::CarriableName(TConceptKind::ckFactor, name, true));
    if (factor == nullptr) {
        return Skip(row[2], "unknown factor " + Quoted(name) + " in a perception");
    }
    if (perception.FindFiP(factor) != nullptr) {
        return Skip(row[2], "factor " + Quoted(name) + " twice in a perception");
    }
    auto fip = std::make_unique<TFiP>(factor);
    const TCase& current = Case;

    TLineScanner operatorScan(row[1]);
    if (operatorScan.Skip("src=\"gif/fipag")) {
        const std::optional<int> op = IntIn(operatorScan.Rest().substr(0, 1), 0, 3);
        if (!op) {
            Skip(row[1], "operator of " + Quoted(name) + " not understood");
        }
        fip->Operator = static_cast<TOperator>(op.value_or(0));
    }

    TLineScanner place(position);
    std::optional<int> x, y;
    if (!Contains(position, "<!--")) {
        x = IntIn(place.Between("<span class=\"x", "y"), INT32_MIN, INT32_MAX);
        y = IntIn(place.Between("", "\">"), INT32_MIN, INT32_MAX);
    } else {
        x = IntIn(place.Between("<!-- ", "|"), INT32_MIN, INT32_MAX);
        y = IntIn(place.Between("", " -->"), INT32_MIN, INT32_MAX);
    }
    if (!x || !y) {
        Skip(row[2], "position of " + Quoted(name) + " not understood");
    }
    fip->X = x.value_or(0);
    fip->Y = y.value_or(0);

    std::optional<std::pair<int, int>> prospect;
    if (Contains(row[3], "\"gif/")) {
        TLineScanner scan(row[3]);
        const std::optional<int> level = IntIn(scan.Between("\"gif/p", "u"), -3, 3);
        const std::optional<int> degree = IntIn(scan.Between("", ".gif"), 0, 3);
        if (level && degree) {
            prospect = {*level, *degree};
        } else {
            Skip(row[3], "prospect of " + Quoted(name) + " not understood");
        }
    }

    std::unique_ptr<TGoal> goal;
    const std::string_view goalCell = row[4];
    if (Contains(goalCell, "<font color=\"")) {
        TLineScanner scan(goalCell);
        fip->RoundValue = ReadDecimal(scan.Between("\"#0000FF\">", "</font>")).value_or(0);
        if (scan.Has("<font color=\"")) {
            fip->PendingChange = ReadDecimal(scan.Between("\"#0000FF\">(", ")</font>")).value_or(0);
        }
    } else if (Contains(goalCell, "\"gif/")) {
        goal = GoalOfCell(current, goalCell);
        if (!goal) {
            Skip(goalCell, "goal of " + Quoted(name) + " not understood");
        }
    }

    const std::string_view range = row[5];
    if (Contains(range, "\"gif/")) {
        for (int v = kMinLevel; v <= kMaxLevel; ++v) {
            const std::string image = "\"gif/r" + std::to_string(v) + "-";
            fip->ActionRange[v] =
                Contains(range, image + "1.gif\"") || Contains(range, image + "2.gif\"");
        }
        const std::size_t chosen = range.find("-2.gif\"");
        fip->ChosenLevel = kNoLevel;
        if (chosen != std::string_view::npos && chosen > 0) {
            const char digit = range[chosen - 1];
            if (digit >= '0' && digit <= '3') {
                const bool negative = chosen > 1 && range[chosen - 2] == '-';
                fip->ChosenLevel = static_cast<std::int16_t>(negative ? '0' - digit : digit - '0');
            }
        }
    }
    fip->UpdateFeasibleLevels();
    ReadComment(*fip, row, 7);

    const int index = perception.Add(std::move(fip));
    TFiP* added = perception.FiPs[static_cast<std::size_t>(index)].get();
    if (prospect) {
        perception.Add(
            std::make_unique<TProspect>(current, added, prospect->first, prospect->second));
    }
    if (goal) {
        goal->FiP = added;
        goal->UpdateSummary();
        perception.Add(std::move(goal));
    }
}

void TCaseReader::ReadLinkRow(TPerception& perception, const TLines& row) {
    if (std::unique_ptr<TLink> link = ReadLink(perception, row)) {
        perception.Add(std::move(link));
    }
}

std::unique_ptr<TLink> TCaseReader::ReadLink(TPerception& perception, const TLines& row) {
    if (row.size() < 6) {
        Skip(row.empty() ? "" : row.front(), "link row cut short");
        return nullptr;
    }
    const std::string causeName = CellName(row[2]);
    const std::string effectName = CellName(row[5]);
    const TFactor* cause =
        Case.FactorList.Find(TCase::CarriableName(TConceptKind::ckFactor, causeName, true));
    const TFactor* effect =
        Case.FactorList.Find(TCase::CarriableName(TConceptKind::ckFactor, effectName, true));
    TFiP* from = cause != nullptr ? perception.FindFiP(cause) : nullptr;
    TFiP* to = effect != nullptr ? perception.FindFiP(effect) : nullptr;
    const std::string what = "link from " + Quoted(causeName) + " to " + Quoted(effectName);
    if (from == nullptr || to == nullptr) {
        Skip(row[2], what + " between factors the perception does not show");
        return nullptr;
    }
    if (perception.FindLink(cause, effect) != nullptr) {
        Skip(row[2], "second " + what);
        return nullptr;
    }
    TLineScanner scan(row[3]);
    const std::optional<int> level = IntIn(scan.Between("<img src=\"gif/l", "u"), -3, 3);
    const std::optional<int> degree = IntIn(scan.Between("", ".gif"), 0, 3);
    if (!level || !degree) {
        Skip(row[3], "strength of the " + what + " not understood");
        return nullptr;
    }
    const TCase& current = Case;
    auto link = std::make_unique<TLink>(current, from, to);
    link->Level = static_cast<std::int8_t>(*level);
    link->Uncertainty = static_cast<std::uint8_t>(*degree);
    link->Vector = UncertaintyProfile(*degree, *level);
    link->Distribution.SetMultiplier(current, *level, *degree);
    ReadComment(*link, row, 7);
    return link;
}

TReadOutcome ReadCase(TCase& emptyCase, std::string_view folder) {
    return TCaseReader(emptyCase).Read(folder);
}

}  // namespace kavo
