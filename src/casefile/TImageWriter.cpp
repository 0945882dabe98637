#include "casefile/TImageWriter.h"

namespace kavo {

TImageWriter::TFailures TImageWriter::WriteImages(TCase&, const std::string&) {
    return {};
}

std::optional<std::string> TImageWriter::WriteCombinedTagIcon(const std::vector<TTag*>&,
                                                              const std::string&) {
    return std::nullopt;
}

std::optional<std::string> TImageWriter::WriteCustomGoalIcon(const TGoal&, const std::string&) {
    return std::nullopt;
}

void TImageWriter::WriteHistogramIcon(TContext&, const std::string&, const std::string&,
                                      const TLevels<double>&) {}

void TImageWriter::WriteUtilityIcon(TContext&, const std::string&, const TGoal&) {}

void TImageWriter::WriteReportImages(TCase&, const std::string&) {}

}  // namespace kavo
