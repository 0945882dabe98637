#pragma once

#include <functional>
#include <string>

#include "casefile/TImageWriter.h"

namespace kavo {

class TCanvas;
class TMessages;

// Writes the images of a save as GIF files drawn with Qt, readable by everyone. A failure is
// reported once through the messages: the images that follow in the same save are skipped, the
// document is still written. One writer serves one save at a time.
class TQtImageWriter : public TImageWriter {
  public:
    explicit TQtImageWriter(TMessages& messages);

    void WriteImages(TCase& owningCase, const std::string& imageFolder) override;
    void WriteCombinedTagIcon(const std::vector<TTag*>& tags, const std::string& path) override;
    void WriteCustomGoalIcon(const TGoal& goal, const std::string& path) override;
    void WriteHistogramIcon(TContext& context, const std::string& imageFolder,
                            const std::string& name, const TLevels<double>& vector) override;
    void WriteUtilityIcon(TContext& context, const std::string& imageFolder,
                          const TGoal& goal) override;

  private:
    // Draws on white into a width x height image and writes it to path; false when not written,
    // after the message.
    bool Write(const std::string& path, int width, int height, bool whiteTransparent,
               const std::function<void(TCanvas&)>& draw);
    // Writes a report icon unless this run wrote it into that folder already.
    void WriteOnce(TContext& context, const std::string& imageFolder, const std::string& name,
                   const std::function<void(TCanvas&)>& draw);

    TMessages& Messages;
    bool Failed = false;
};

}  // namespace kavo
