#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CaseCommands.h"
#include "cli/InferCommand.h"
#ifdef KAVO_CLI_DRAWS
#include "cli/qt/RenderWithQt.h"
#include "cli/qt/ResaveWithQt.h"
#endif

namespace {

constexpr std::string_view kUsage =
    "usage: kavo-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "  check FOLDER              read the case in FOLDER, print the reader's messages and a\n"
    "                            summary; exit status 0 clean, 1 read with messages, 2 unreadable\n"
    "  resave FOLDER OUTFOLDER   read the case in FOLDER and write it into OUTFOLDER, with its\n"
    "                            images in OUTFOLDER/gif when this build draws\n"
    "  render FOLDER --arena NAME [--actor NAME] --out FILE.(png|svg|gif)\n"
    "                            draw the actor's perception in the arena, or the arena's\n"
    "                            analyst view, into a picture file\n"
    "  infer FOLDER [--arena NAME] [--actor NAME | --analyst] [--no-search]\n"
    "        [--time-limit SECONDS]\n"
    "                            print the inference, tactic ratings and strategies of the\n"
    "                            selected perceptions as JSON (docs/cli.md)\n";

int Resave(const std::string& folder, const std::string& outFolder) {
#ifdef KAVO_CLI_DRAWS
    return kavo::ResaveWithImages(folder, outFolder, std::cout);
#else
    return kavo::ResaveCase(folder, outFolder, std::cout);
#endif
}

int Render(const std::vector<std::string>& arguments) {
#ifdef KAVO_CLI_DRAWS
    return kavo::RunRender(arguments);
#else
    static_cast<void>(arguments);
    std::cerr << "kavo-cli render: this build cannot draw; configure with KAVO_BUILD_GUI=ON\n";
    return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "check" && argc == 3) {
        return kavo::CheckCase(argv[2], std::cout);
    }
    if (command == "resave" && argc == 4) {
        return Resave(argv[2], argv[3]);
    }
    if (command == "infer") {
        return kavo::RunInfer(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                              std::cerr);
    }
    if (command == "render") {
        return Render(std::vector<std::string>(argv + 2, argv + argc));
    }
    if (command == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (!command.empty() && command != "check" && command != "resave") {
        std::cerr << "kavo-cli: unknown command \"" << command << "\"\n";
    }
    std::cerr << kUsage;
    return 2;
}
