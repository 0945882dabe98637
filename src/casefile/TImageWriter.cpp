#include "casefile/TImageWriter.h"

namespace kavo {

void TImageWriter::WriteImages(TCase&, const std::string&) {}

void TImageWriter::WriteCombinedTagIcon(const std::vector<TTag*>&, const std::string&) {}

void TImageWriter::WriteCustomGoalIcon(const TGoal&, const std::string&) {}

void TImageWriter::WriteHistogramIcon(TContext&, const std::string&, const std::string&,
                                      const TLevels<double>&) {}

void TImageWriter::WriteUtilityIcon(TContext&, const std::string&, const TGoal&) {}

}  // namespace kavo
