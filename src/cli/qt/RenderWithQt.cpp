#include "cli/qt/RenderWithQt.h"

#include "cli/TCommandCase.h"
#include "cli/qt/TOffscreenApplication.h"
#include "model/TPerception.h"
#include "qtgui/DiagramPictures.h"
#include "qtgui/GifFile.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtTextMeasure.h"

namespace kavo {

namespace {

bool WritePicture(TPerception& perception, const std::string& path, TPictureFormat format) {
    // A picture shows the perception, not whatever reading the case left selected.
    perception.Selection.clear();
    switch (format) {
        case TPictureFormat::pfSvg:
            return SavePerceptionSvg(perception, path, TDrawMode::dmNormal);
        case TPictureFormat::pfGif:
            return SaveGif(PerceptionImage(perception, TDrawMode::dmNormal), path, false);
        case TPictureFormat::pfPng:
            return PerceptionImage(perception, TDrawMode::dmNormal).save(ToQString(path), "PNG");
    }
    return false;
}

}  // namespace

TExitStatus RenderWithQt(const TRenderRequest& request, std::ostream& err) {
    TOffscreenApplication application;
    TQtTextMeasure measure;
    TCommandCase command(err, measure);
    if (!command.Read(request.Folder)) {
        return TExitStatus::esFailed;
    }
    std::string error;
    TPerception* perception = PerceptionToRender(command.Case, request, error);
    if (perception == nullptr) {
        err << "kavo-cli render: " << error << '\n';
        return TExitStatus::esFailed;
    }
    if (!WritePicture(*perception, request.Out, *PictureFormatOf(request.Out))) {
        err << "kavo-cli render: could not write " << request.Out << '\n';
        return TExitStatus::esFailed;
    }
    return command.Outcome();
}

}  // namespace kavo
