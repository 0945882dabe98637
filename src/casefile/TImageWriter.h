#pragma once

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
// and a program that can draw overrides it. Failures are reported to the user by the writer
// itself; saving goes on with the document whatever happens to the images.
class TImageWriter {
  public:
    virtual ~TImageWriter() = default;

    // The image set of the case: icons, tag icons and one picture of every perception diagram,
    // into imageFolder (a folder path ending in "/").
    virtual void WriteImages(TCase& owningCase, const std::string& imageFolder);
    // The icon of a concept with two or more tags, in the order of the concept's tags.
    virtual void WriteCombinedTagIcon(const std::vector<TTag*>& tags, const std::string& path);
    // The icon of a custom goal.
    virtual void WriteCustomGoalIcon(const TGoal& goal, const std::string& path);
    // The icons of analysis reports, named as the report refers to them, into imageFolder (the
    // "gif/" folder of a case, ending in "/"). Each folder and name is written once per run: the
    // context's WrittenImages remembers them.
    virtual void WriteHistogramIcon(TContext& context, const std::string& imageFolder,
                                    const std::string& name, const TLevels<double>& vector);
    virtual void WriteUtilityIcon(TContext& context, const std::string& imageFolder,
                                  const TGoal& goal);
};

}  // namespace kavo
