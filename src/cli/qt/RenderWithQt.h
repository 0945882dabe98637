#pragma once

#include <string>
#include <vector>

namespace kavo {

// Runs "render" with the given arguments (those after "render"): reads the case, lays its boxes
// out in Qt's font metrics as the desktop program does, and draws the perception into the
// picture file. Returns the exit status: 0 done, 1 the case, arena, actor or file failed, 2 bad
// arguments.
int RunRender(const std::vector<std::string>& arguments);

}  // namespace kavo
