#include "cli/qt/RenderWithQt.h"

#include "cli/TCommandCase.h"
#include "cli/qt/TOffscreenApplication.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TLayout.h"
#include "diagram/TSystemDiagram.h"
#include "model/TArena.h"
#include "model/TPerception.h"
#include "qtgui/DiagramPictures.h"
#include "qtgui/GifFile.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtTextMeasure.h"

namespace kavo {

namespace {

bool WritePicture(QSize size, const TDrawing& draw, const std::string& path, TPictureFormat format,
                  const QString& description) {
    switch (format) {
        case TPictureFormat::pfSvg:
            return SaveDrawnSvg(path, size, draw, description);
        case TPictureFormat::pfGif:
            return SaveGif(DrawnImage(size, draw), path, false);
        case TPictureFormat::pfPng:
            return DrawnImage(size, draw).save(ToQString(path), "PNG");
    }
    return false;
}

bool WritePerception(TPerception& perception, const std::string& path, TPictureFormat format) {
    PlacePerception(perception);
    const QSize size(perception.Extent.Right, perception.Extent.Bottom);
    return WritePicture(size,
                        [&perception](TCanvas& canvas) {
                            if (!perception.FiPs.empty()) {
                                DrawPerception(perception, canvas, TDrawMode::dmNormal);
                            }
                        },
                        path, format, {});
}

bool WriteSystemDiagram(TArena& arena, bool arrows, const std::string& path,
                        TPictureFormat format) {
    TSystemDiagram diagram(arena);
    diagram.ArrowsMode = arrows;
    if (arrows) {
        diagram.InferImpacts();
    }
    return WritePicture(
        {diagram.PictureWidth, diagram.PictureHeight},
        [&diagram](TCanvas& canvas) { diagram.Draw(canvas); }, path, format,
        QStringLiteral("System diagram"));
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
    // A picture shows the perception, not whatever reading the case left selected.
    perception->Selection.clear();
    if (request.LayoutSteps > 0) {
        command.Context.Random.Seed(static_cast<std::uint32_t>(command.Case.RandomSeed));
        TLayout layout;
        layout.Fit(*perception);
        layout.Animate(*perception, request.LayoutSteps, command.Context.Random);
    }
    const TPictureFormat format = *PictureFormatOf(request.Out);
    const bool written =
        request.SystemDiagram
            ? WriteSystemDiagram(*perception->ArenaOwner(), request.Arrows, request.Out, format)
            : WritePerception(*perception, request.Out, format);
    if (!written) {
        err << "kavo-cli render: could not write " << request.Out << '\n';
        return TExitStatus::esFailed;
    }
    return command.Outcome();
}

}  // namespace kavo
