#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/TCommand.h"

namespace kavo {

class TImageWriter;
class TMessages;
class TTextMeasure;

// kavo-cli check FOLDER: reads the case, prints the reader's messages and a summary line.
extern const TCommand kCheckCommand;
// kavo-cli resave FOLDER OUTFOLDER [--force]: reads the case and writes it into the other folder.
extern const TCommand kResaveCommand;

// Makes the image writer of a save, reporting through the command's messages.
using TImageWriterFactory = std::function<std::unique_ptr<TImageWriter>(TMessages&)>;

// Reads the case in the folder and writes it into outFolder, text measured by the measure and the
// images written by the writer that makeImageWriter makes. The summary goes to out, messages to
// err.
TExitStatus ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out,
                       std::ostream& err, const TTextMeasure& measure,
                       const TImageWriterFactory& makeImageWriter);

}  // namespace kavo
