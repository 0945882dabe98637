#pragma once

#include <functional>
#include <string>

#include "casefile/TImageWriter.h"

namespace kavo {

class TCanvas;
class TMessages;

// Writes the images of a save as GIF files drawn with Qt, readable by everyone, each through a file
// of its own that replaces the old picture only when complete. The failures of a save go back to
// the case writer, which reports them; those of report icons are reported here, through the
// messages. One writer serves one save at a time.
class TQtImageWriter : public TImageWriter {
  public:
    explicit TQtImageWriter(TMessages& messages);

    TFailures WriteImages(TCase& owningCase, const std::string& imageFolder) override;
    std::optional<std::string> WriteCombinedTagIcon(const std::vector<TTag*>& tags,
                                                    const std::string& path) override;
    std::optional<std::string> WriteCustomGoalIcon(const TGoal& goal,
                                                   const std::string& path) override;
    void WriteHistogramIcon(TContext& context, const std::string& imageFolder,
                            const std::string& name, const TLevels<double>& vector) override;
    void WriteUtilityIcon(TContext& context, const std::string& imageFolder,
                          const TGoal& goal) override;
    void WriteReportImages(TCase& owningCase, const std::string& imageFolder) override;

  private:
    // Draws on white into a width x height image and writes it to path; the failure, if it was
    // not written.
    std::optional<std::string> Write(const std::string& path, int width, int height,
                                     bool whiteTransparent,
                                     const std::function<void(TCanvas&)>& draw);
    // Whether the path lies in the image folder that this save could not make.
    bool InMissingFolder(const std::string& path) const;
    // Writes a report icon unless this run wrote it into that folder already.
    void WriteOnce(TContext& context, const std::string& imageFolder, const std::string& name,
                   const std::function<void(TCanvas&)>& draw);

    TMessages& Messages;
    // The image folder of the save at hand when it could not be made.
    std::string MissingFolder;
};

}  // namespace kavo
