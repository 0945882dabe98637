#include "qtgui/TQtImageWriter.h"

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "diagram/CaseIcons.h"
#include "diagram/CaseImageSet.h"
#include "diagram/TagIcon.h"
#include "model/TContext.h"
#include "model/TMessages.h"
#include "qtgui/GifFile.h"
#include "qtgui/TQtCanvas.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/HistogramIcon.h"

namespace kavo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kWriteError = "Error while writing to file";

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(folder, error) || fs::create_directories(folder, error) ||
           fs::is_directory(folder, error);
}

}  // namespace

TQtImageWriter::TQtImageWriter(TMessages& messages) : Messages(messages) {}

void TQtImageWriter::WriteImages(TCase& owningCase, const std::string& imageFolder) {
    Failed = false;
    if (!MakeFolder(imageFolder)) {
        Messages.ShowError("Could not create folder for images");
        Failed = true;
        return;
    }
    for (const TCaseImage& image : CaseImageSet(owningCase)) {
        if (!Write(imageFolder + image.Name + ".gif", image.Width, image.Height,
                   image.WhiteTransparent, image.Draw)) {
            return;
        }
    }
}

void TQtImageWriter::WriteCombinedTagIcon(const std::vector<TTag*>& tags, const std::string& path) {
    Write(path, kTagIconSize, kTagIconSize, true,
          [&](TCanvas& canvas) { DrawConceptTagIcon(canvas, tags); });
}

void TQtImageWriter::WriteCustomGoalIcon(const TGoal& goal, const std::string& path) {
    Write(path, kGoalIconSize, kGoalIconSize, false,
          [&](TCanvas& canvas) { DrawCustomGoalIcon(canvas, goal); });
}

void TQtImageWriter::WriteHistogramIcon(TContext& context, const std::string& imageFolder,
                                        const std::string& name, const TLevels<double>& vector) {
    WriteOnce(context, imageFolder, name,
              [&](TCanvas& canvas) { DrawHistogramIcon(canvas, vector); });
}

void TQtImageWriter::WriteUtilityIcon(TContext& context, const std::string& imageFolder,
                                      const TGoal& goal) {
    WriteOnce(context, imageFolder, UtilityIconName(goal),
              [&](TCanvas& canvas) { DrawUtilityIcon(canvas, goal); });
}

void TQtImageWriter::WriteOnce(TContext& context, const std::string& imageFolder,
                               const std::string& name, const std::function<void(TCanvas&)>& draw) {
    const std::string path = imageFolder + name + ".gif";
    if (context.WrittenImages.contains(path)) {
        return;
    }
    // A report is not a save: a failure earlier in this writer's life does not stop it.
    Failed = false;
    if (!MakeFolder(imageFolder)) {
        Messages.ShowError("Could not create folder for images");
        return;
    }
    if (Write(path, kHistogramIconWidth, kHistogramIconHeight, true, draw)) {
        context.WrittenImages.insert(path);
    }
}

bool TQtImageWriter::Write(const std::string& path, int width, int height, bool whiteTransparent,
                           const std::function<void(TCanvas&)>& draw) {
    if (Failed) {
        return false;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        draw(canvas);
    }
    if (!SaveGif(image, path, whiteTransparent)) {
        Messages.ShowError(kWriteError);
        Failed = true;
        return false;
    }
    // Browsers and other users read the images too, whatever the process's file mask.
    std::error_code error;
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    fs::perm_options::replace, error);
    return true;
}

}  // namespace kavo
