#include "cli/qt/GraphWithQt.h"

#include "analyses/TGraphDrawing.h"
#include "cli/GraphCommand.h"
#include "cli/qt/TOffscreenApplication.h"
#include "qtgui/DiagramPictures.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

// The size of a picture written by the command, that of the graph window's picture at first.
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;

bool WriteGraphPicture(const TGraphModel& graph, const std::string& path, bool svg) {
    TGraphDrawing drawing(graph);
    drawing.Width = kPictureWidth;
    drawing.Height = kPictureHeight;
    const QSize size(kPictureWidth, kPictureHeight);
    const TDrawing draw = [&drawing](TCanvas& canvas) { drawing.Draw(canvas); };
    if (svg) {
        return SaveDrawnSvg(path, size, draw, QStringLiteral("Resource dependency graph"));
    }
    return DrawnImage(size, draw).save(ToQString(path), "PNG");
}

}  // namespace

TExitStatus WriteGraphWithQt(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    TOffscreenApplication application;
    return WriteGraph(arguments, out, err, WriteGraphPicture);
}

}  // namespace kavo
