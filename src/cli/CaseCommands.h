#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace kavo {

class TImageWriter;
class TMessages;
class TTextMeasure;

// Makes the image writer of a save, reporting through the command's messages.
using TImageWriterFactory = std::function<std::unique_ptr<TImageWriter>(TMessages&)>;

// kavo-cli check FOLDER: reads the case in the folder, prints the reader's messages and a summary
// line. Returns 0 when the case read without messages, 1 when it read with messages, 2 when it
// could not be read.
int CheckCase(const std::string& folder, std::ostream& out);

// kavo-cli resave FOLDER OUTFOLDER: reads the case and writes it into the other folder. Returns 0
// when it read without messages and was written, 1 when it read with messages and was written, 2
// when it could not be read or written.
// Without images: text is estimated and the "gif" folder is left alone.
int ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out);
// With the given text measure and the images of the writer that makeImageWriter makes.
int ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out,
               const TTextMeasure& measure, const TImageWriterFactory& makeImageWriter);

}  // namespace kavo
