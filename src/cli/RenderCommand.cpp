#include "cli/RenderCommand.h"

#include <algorithm>
#include <cctype>

#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#ifdef KAVO_CLI_DRAWS
#include "cli/qt/RenderWithQt.h"
#endif

namespace kavo {

namespace {

// Enough for any diagram to settle; a typing error should not keep the program busy for hours.
constexpr int kMaxLayoutSteps = 100000;

TExitStatus RunRender(const TArguments& arguments, std::ostream&, std::ostream& err) {
    const double steps = arguments.Number("--layout").value_or(0);
    TRenderRequest request{
        .Folder = arguments.Positional[0],
        .Arena = arguments.Text("--arena").value_or(""),
        .Actor = arguments.Text("--actor").value_or(""),
        .Out = arguments.Text("--out").value_or(""),
        .LayoutSteps = steps >= 0 && steps <= kMaxLayoutSteps ? static_cast<int>(steps) : 0,
        .SystemDiagram = arguments.Has("--system-diagram"),
        .Arrows = arguments.Has("--arrows")};
    std::string problem;
    if (request.Arena.empty()) {
        problem = "no arena given (--arena NAME)";
    } else if (request.Out.empty()) {
        problem = "no picture file given (--out FILE.png, .svg or .gif)";
    } else if (!PictureFormatOf(request.Out)) {
        problem = "the picture file must end in .png, .svg or .gif: " + request.Out;
    } else if (steps < 0 || steps > kMaxLayoutSteps) {
        problem = "--layout needs a number of steps from 0 to " + std::to_string(kMaxLayoutSteps);
    } else if (request.SystemDiagram && !request.Actor.empty()) {
        problem = "--system-diagram draws the arena's analyst view; leave out --actor";
    } else if (request.Arrows && !request.SystemDiagram) {
        problem = "--arrows goes with --system-diagram";
    }
    if (!problem.empty()) {
        err << "kavo-cli render: " << problem << '\n';
        return TExitStatus::esFailed;
    }
#ifdef KAVO_CLI_DRAWS
    return RenderWithQt(request, err);
#else
    err << "kavo-cli render: this build cannot draw; configure with KAVO_BUILD_GUI=ON\n";
    return TExitStatus::esFailed;
#endif
}

}  // namespace

const TCommand kRenderCommand{
    .Name = "render",
    .Synopsis =
        "FOLDER --arena NAME [--actor NAME] [--layout STEPS] [--system-diagram [--arrows]] "
        "--out FILE.(png|svg|gif)",
    .Summary = "draw a perception or an arena's system diagram into a picture file",
    .Help =
        "  --arena NAME        the arena (names compare without regard to letter case)\n"
        "  --actor NAME        the actor, by name or short name; without it the arena's\n"
        "                      analyst view\n"
        "  --layout STEPS      first run that many steps of the automatic layout from rest,\n"
        "                      with the desktop program's settings (edge length 100, the whole\n"
        "                      drawing area) and the case's random seed, so a run repeats\n"
        "  --system-diagram    draw the arena's analyst view as a system diagram: means,\n"
        "                      externals and criteria around a box holding the other factors\n"
        "  --arrows            with --system-diagram: the impacts of means and externals on\n"
        "                      the criteria as coloured arrows instead of the box's inside\n"
        "  --out FILE          the picture file; its extension (.png, .svg, .gif) names the "
        "format\n"
        "\n"
        "Draws as the desktop program shows it, laid out in its fonts. Exit status 0 when\n"
        "drawn, 1 when drawn but the case read with messages, 2 for bad arguments, an\n"
        "unreadable case, an arena or actor the case lacks, or a picture file that could not\n"
        "be written.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--layout", TOptionKind::okInteger},
                          {"--system-diagram", TOptionKind::okFlag},
                          {"--arrows", TOptionKind::okFlag},
                          {"--out", TOptionKind::okText}}},
    .Run = RunRender,
};

std::optional<TPictureFormat> PictureFormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png") {
        return TPictureFormat::pfPng;
    }
    if (extension == "svg") {
        return TPictureFormat::pfSvg;
    }
    if (extension == "gif") {
        return TPictureFormat::pfGif;
    }
    return std::nullopt;
}

TPerception* PerceptionToRender(const TCase& owningCase, const TRenderRequest& request,
                                std::string& error) {
    const TArena* arena = owningCase.ArenaList.Find(request.Arena);
    if (arena == nullptr) {
        error = "no arena \"" + request.Arena + "\" in the case";
        return nullptr;
    }
    if (request.Actor.empty()) {
        return arena->AnalystView.get();
    }
    for (const auto& record : arena->Actors) {
        if (SameName(record->Actor->Name, request.Actor) ||
            SameName(record->Actor->ShortName, request.Actor)) {
            return record->Perception.get();
        }
    }
    error = "no actor \"" + request.Actor + "\" in the arena \"" + arena->Name + "\"";
    return nullptr;
}

}  // namespace kavo
