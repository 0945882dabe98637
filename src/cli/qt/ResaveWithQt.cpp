#include "cli/qt/ResaveWithQt.h"

#include "cli/CaseCommands.h"
#include "cli/qt/TOffscreenApplication.h"
#include "qtgui/TQtImageWriter.h"
#include "qtgui/TQtTextMeasure.h"

namespace kavo {

TExitStatus ResaveWithImages(const TCaseSource& source, const std::string& outFolder,
                             std::ostream& out, std::ostream& err) {
    TOffscreenApplication application;
    TQtTextMeasure measure;
    return ResaveCase(source, outFolder, out, err, measure, [](TMessages& messages) {
        return std::make_unique<TQtImageWriter>(messages);
    });
}

}  // namespace kavo
