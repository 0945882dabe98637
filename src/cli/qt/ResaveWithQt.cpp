#include "cli/qt/ResaveWithQt.h"

#include "cli/CaseCommands.h"
#include "cli/qt/TOffscreenApplication.h"
#include "qtgui/TQtImageWriter.h"
#include "qtgui/TQtTextMeasure.h"

namespace kavo {

TExitStatus ResaveWithImages(const std::string& folder, const std::string& outFolder,
                             std::ostream& out, std::ostream& err) {
    TOffscreenApplication application;
    TQtTextMeasure measure;
    return ResaveCase(folder, outFolder, out, err, measure, [](TMessages& messages) {
        return std::make_unique<TQtImageWriter>(messages);
    });
}

}  // namespace kavo
