#include "cli/RenderCommand.h"

#include <algorithm>
#include <cctype>

#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TPerception.h"

namespace kavo {

std::variant<TRenderRequest, std::string> ParseRenderArguments(
    const std::vector<std::string>& arguments) {
    TRenderRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string* value = argument == "--arena"   ? &request.Arena
                             : argument == "--actor" ? &request.Actor
                             : argument == "--out"   ? &request.Out
                                                     : nullptr;
        if (value != nullptr) {
            if (i + 1 == arguments.size()) {
                return argument + " needs a value";
            }
            *value = arguments[++i];
        } else if (argument.starts_with("--")) {
            return "unknown option " + argument;
        } else if (request.Folder.empty()) {
            request.Folder = argument;
        } else {
            return "more than one folder: " + argument;
        }
    }
    if (request.Folder.empty()) {
        return "no case folder given";
    }
    if (request.Arena.empty()) {
        return "no arena given (--arena NAME)";
    }
    if (request.Out.empty()) {
        return "no picture file given (--out FILE.png, .svg or .gif)";
    }
    if (!PictureFormatOf(request.Out)) {
        return "the picture file must end in .png, .svg or .gif: " + request.Out;
    }
    return request;
}

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
