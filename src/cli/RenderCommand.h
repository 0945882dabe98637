#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/TCommand.h"

namespace kavo {

class TCase;
class TPerception;

// kavo-cli render FOLDER --arena NAME [--actor NAME] --out FILE: draws a perception, laid out
// first when asked, or an arena's system diagram into a PNG, SVG or GIF file.
extern const TCommand kRenderCommand;

// What "kavo-cli render FOLDER --arena NAME [--actor NAME] --out FILE" asks for.
struct TRenderRequest {
    std::string Folder;
    std::string Arena;
    // Empty for the arena's analyst view.
    std::string Actor;
    std::string Out;
    // Steps of the automatic layout to run first.
    int LayoutSteps = 0;
    // The arena's system diagram instead of the perception, with impact arrows when asked.
    bool SystemDiagram = false;
    bool Arrows = false;
};

enum class TPictureFormat { pfPng, pfSvg, pfGif };

// The format that the file name's extension names (letter case ignored), if it is one of them.
std::optional<TPictureFormat> PictureFormatOf(std::string_view path);

// The perception to draw: the named actor's in the named arena, or the arena's analyst view when
// no actor is named. Names compare as everywhere in a case; an actor may also be named by its
// short name. Null with the reason in error when there is none.
TPerception* PerceptionToRender(const TCase& owningCase, const TRenderRequest& request,
                                std::string& error);

}  // namespace kavo
