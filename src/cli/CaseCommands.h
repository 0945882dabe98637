#pragma once

#include <ostream>
#include <string>

namespace kavo {

// kavo-cli check FOLDER: reads the case in the folder, prints the reader's messages and a summary
// line. Returns 0 when the case read without messages, 1 when it read with messages, 2 when it
// could not be read.
int CheckCase(const std::string& folder, std::ostream& out);

// kavo-cli resave FOLDER OUTFOLDER: reads the case and writes it into the other folder. Returns 0
// when it read without messages and was written, 1 when it read with messages and was written, 2
// when it could not be read or written.
int ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out);

}  // namespace kavo
