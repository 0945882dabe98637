#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kavo {

// kavo-cli infer FOLDER [--arena NAME] [--actor NAME | --analyst] [--no-search]
// [--time-limit SECONDS]: reads the case and prints, as one JSON document, the inference, the
// expected changes, the rating of every action and the standing strategies of each selected
// perception (docs/cli.md describes the document). Messages go to err. Returns 0 when everything
// was computed, 1 when the time limit stopped the work (the document says where), 2 on bad
// arguments or an unreadable case.
int RunInfer(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace kavo
