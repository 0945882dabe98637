#include "cli/qt/AnalyseWithQt.h"

#include "cli/AnalyseCommand.h"
#include "cli/qt/TOffscreenApplication.h"
#include "qtgui/TQtImageWriter.h"

namespace kavo {

TExitStatus AnalyseWithImages(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    TOffscreenApplication application;
    return Analyse(arguments, out, err,
                   [](TMessages& messages) { return std::make_unique<TQtImageWriter>(messages); });
}

}  // namespace kavo
