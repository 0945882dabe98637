#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/TCommand.h"

namespace kavo {

class TCommandCase;
class TImageWriter;
class TMessages;
class TTextMeasure;

// kavo-cli check FOLDER: reads the case, prints the reader's messages and a summary line.
extern const TCommand kCheckCommand;
// kavo-cli resave FOLDER OUTFOLDER [--force]: reads the case and writes it into the other folder.
extern const TCommand kResaveCommand;

// Makes the image writer of a save, reporting through the command's messages.
using TImageWriterFactory = std::function<std::unique_ptr<TImageWriter>(TMessages&)>;

// Fills the command's case (from a case folder, a JSON document ...); false when it could not,
// after saying why.
using TCaseSource = std::function<bool(TCommandCase&)>;

// Reads the case in the folder.
TCaseSource FolderSource(const std::string& folder);

// Fills a case from the source and writes it into outFolder, text measured by the measure and the
// images written by the writer that makeImageWriter makes. The summary goes to out, messages to
// err. Nothing is written when the source fails.
TExitStatus ResaveCase(const TCaseSource& source, const std::string& outFolder, std::ostream& out,
                       std::ostream& err, const TTextMeasure& measure,
                       const TImageWriterFactory& makeImageWriter);

// ResaveCase with the program's own measure and pictures: in a build that draws, text measured in
// the desktop program's fonts and the case's images written into outFolder/gif.
TExitStatus WriteCaseFolder(const TCaseSource& source, const std::string& outFolder,
                            std::ostream& out, std::ostream& err);

// Whether outFolder may receive a case document: it holds none, or --force was given. Says why
// not on err, for the command.
bool MayWriteInto(const std::string& outFolder, const TArguments& arguments,
                  std::string_view command, std::ostream& err);

}  // namespace kavo
