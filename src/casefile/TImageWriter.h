#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/TLevels.h"

namespace kavo {

class TCase;
class TContext;
class TGoal;
class TTag;

// Writes the images that the case document refers to. Saving calls it; the pictures need a
// drawing surface and an image encoder, which the core does not have, so this base writes nothing
// and a program that can draw overrides it. The pictures of a save return what failed, and the
// case writer reports it once; saving goes on with the other pictures and the document whatever
// happens to one picture.
class TImageWriter {
  public:
    // What could not be written, one text per failure that names the file (or folder) and the
    // system's reason: "Error while writing to file "/c/gif/notag.gif": Is a directory".
    using TFailures = std::vector<std::string>;

    virtual ~TImageWriter() = default;

    // The image set of the case: icons, tag icons and one picture of every perception diagram,
    // into imageFolder (a folder path ending in "/"), each picture through a file of its own that
    // replaces the old picture only when complete.
    virtual TFailures WriteImages(TCase& owningCase, const std::string& imageFolder);
    // The icon of a concept with two or more tags, in the order of the concept's tags.
    virtual std::optional<std::string> WriteCombinedTagIcon(const std::vector<TTag*>& tags,
                                                            const std::string& path);
    // The icon of a custom goal.
    virtual std::optional<std::string> WriteCustomGoalIcon(const TGoal& goal,
                                                           const std::string& path);
    // The icons of analysis reports, named as the report refers to them, into imageFolder (the
    // "gif/" folder of a case, ending in "/"). Each folder and name is written once per run: the
    // context's WrittenImages remembers them. A failure is reported by the writer itself.
    virtual void WriteHistogramIcon(TContext& context, const std::string& imageFolder,
                                    const std::string& name, const TLevels<double>& vector);
    virtual void WriteUtilityIcon(TContext& context, const std::string& imageFolder,
                                  const TGoal& goal);
    // The fixed icons that analysis reports show (kinds, fields, tags, action ranges), into
    // imageFolder where it lacks them: a report beside a case saved without images, or in a
    // folder of its own, shows them all the same.
    virtual void WriteReportImages(TCase& owningCase, const std::string& imageFolder);
};

}  // namespace kavo
