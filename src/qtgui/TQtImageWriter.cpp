#include "qtgui/TQtImageWriter.h"

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "diagram/CaseIcons.h"
#include "diagram/CaseImageSet.h"
#include "diagram/ReportIcons.h"
#include "diagram/TagIcon.h"
#include "model/TContext.h"
#include "model/TMessages.h"
#include "qtgui/GifFile.h"
#include "qtgui/TQtCanvas.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

namespace {

namespace fs = std::filesystem;

// The folder, made when missing; false with the system's reason.
bool MakeFolder(const std::string& folder, std::string& reason) {
    std::error_code error;
    if (fs::is_directory(folder, error) || fs::create_directories(folder, error) ||
        fs::is_directory(folder)) {
        return true;
    }
    reason = error ? error.message() : "not a folder";
    return false;
}

std::string WithoutSlash(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

TQtImageWriter::TQtImageWriter(TMessages& messages) : Messages(messages) {}

TImageWriter::TFailures TQtImageWriter::WriteImages(TCase& owningCase,
                                                    const std::string& imageFolder) {
    MissingFolder.clear();
    std::string reason;
    if (!MakeFolder(imageFolder, reason)) {
        // The icons that the document adds would fail for the same reason: they are not tried.
        MissingFolder = imageFolder;
        return {"Could not create folder for images \"" + WithoutSlash(imageFolder) +
                "\": " + reason};
    }
    TFailures failures;
    for (const TCaseImage& image : CaseImageSet(owningCase)) {
        if (auto failure = Write(imageFolder + image.Name + ".gif", image.Width, image.Height,
                                 image.WhiteTransparent, image.Draw)) {
            failures.push_back(std::move(*failure));
        }
    }
    return failures;
}

std::optional<std::string> TQtImageWriter::WriteCombinedTagIcon(const std::vector<TTag*>& tags,
                                                                const std::string& path) {
    if (InMissingFolder(path)) {
        return std::nullopt;
    }
    return Write(path, kTagIconSize, kTagIconSize, true,
                 [&](TCanvas& canvas) { DrawConceptTagIcon(canvas, tags); });
}

std::optional<std::string> TQtImageWriter::WriteCustomGoalIcon(const TGoal& goal,
                                                               const std::string& path) {
    if (InMissingFolder(path)) {
        return std::nullopt;
    }
    return Write(path, kGoalIconSize, kGoalIconSize, false,
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

void TQtImageWriter::WriteReportImages(TCase& owningCase, const std::string& imageFolder) {
    std::string reason;
    if (!MakeFolder(imageFolder, reason)) {
        Messages.ShowError("Could not create folder for images \"" + WithoutSlash(imageFolder) +
                           "\": " + reason);
        return;
    }
    for (const TCaseImage& image : ReportImageSet(owningCase)) {
        const std::string path = imageFolder + image.Name + ".gif";
        std::error_code error;
        if (fs::exists(path, error)) {
            continue;
        }
        if (auto failure =
                Write(path, image.Width, image.Height, image.WhiteTransparent, image.Draw)) {
            Messages.ShowError(*failure);
            return;
        }
    }
}

void TQtImageWriter::WriteOnce(TContext& context, const std::string& imageFolder,
                               const std::string& name, const std::function<void(TCanvas&)>& draw) {
    const std::string path = imageFolder + name + ".gif";
    if (context.WrittenImages.contains(path)) {
        return;
    }
    std::string reason;
    if (!MakeFolder(imageFolder, reason)) {
        Messages.ShowError("Could not create folder for images \"" + WithoutSlash(imageFolder) +
                           "\": " + reason);
        return;
    }
    if (auto failure = Write(path, kHistogramIconWidth, kHistogramIconHeight, true, draw)) {
        Messages.ShowError(*failure);
        return;
    }
    context.WrittenImages.insert(path);
}

bool TQtImageWriter::InMissingFolder(const std::string& path) const {
    return !MissingFolder.empty() && path.starts_with(MissingFolder);
}

std::optional<std::string> TQtImageWriter::Write(const std::string& path, int width, int height,
                                                 bool whiteTransparent,
                                                 const std::function<void(TCanvas&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        draw(canvas);
    }
    std::string reason;
    if (!SaveGif(image, path, whiteTransparent, &reason)) {
        return "Error while writing to file \"" + path + "\": " + reason;
    }
    // Browsers and other users read the images too, whatever the process's file mask.
    std::error_code error;
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    fs::perm_options::replace, error);
    return std::nullopt;
}

}  // namespace kavo
