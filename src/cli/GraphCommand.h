#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "cli/TCommand.h"

namespace kavo {

class TGraphModel;

// kavo-cli graph FOLDER --analysis TITLE [--field N] [grouping and selection options]
// --format pajek|svg|png --out FILE: writes the dependency graph of an actor-actor or arena table.
extern const TCommand kGraphCommand;

// Draws the graph into a picture file, SVG or PNG; false when the file could not be written.
using TGraphPictureWriter =
    std::function<bool(const TGraphModel& graph, const std::string& path, bool svg)>;

// Runs the analysis with its graph switch on and writes the graph: as a Pajek network of one
// indicator, or as a picture through writePicture (null in a build that cannot draw).
TExitStatus WriteGraph(const TArguments& arguments, std::ostream& out, std::ostream& err,
                       const TGraphPictureWriter& writePicture);

}  // namespace kavo
