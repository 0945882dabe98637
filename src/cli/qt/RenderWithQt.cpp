#include "cli/qt/RenderWithQt.h"

#include <iostream>

#include "casefile/TCaseReader.h"
#include "cli/RenderCommand.h"
#include "cli/TConsole.h"
#include "cli/qt/TOffscreenApplication.h"
#include "model/TCase.h"
#include "model/TContext.h"
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

int RunRender(const std::vector<std::string>& arguments) {
    const auto parsed = ParseRenderArguments(arguments);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        std::cerr << "kavo-cli render: " << *problem << '\n';
        return 2;
    }
    const TRenderRequest& request = std::get<TRenderRequest>(parsed);
    TOffscreenApplication application;

    TConsole console(std::cerr);
    TQtTextMeasure measure;
    TContext context(console, console, measure);
    TCase owningCase(context);
    if (ReadCase(owningCase, request.Folder) == TReadOutcome::roNotOpened) {
        std::cerr << "kavo-cli render: no case document in " << request.Folder << '\n';
        return 1;
    }
    std::string error;
    TPerception* perception = PerceptionToRender(owningCase, request, error);
    if (perception == nullptr) {
        std::cerr << "kavo-cli render: " << error << '\n';
        return 1;
    }
    if (!WritePicture(*perception, request.Out, *PictureFormatOf(request.Out))) {
        std::cerr << "kavo-cli render: could not write " << request.Out << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kavo
