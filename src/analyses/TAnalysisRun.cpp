#include "analyses/TAnalysisRun.h"

#include "casefile/TImageWriter.h"
#include "model/Formats.h"
#include "model/TCase.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/TProVal.h"

namespace kavo {

TAnalysisRun::TAnalysisRun(TCase& owningCase, const TGroupingSettings& grouping,
                           TImageWriter& images, std::string imageFolder, TDependencyGraph* graph)
    : Case(owningCase),
      Grouping(grouping),
      Images(images),
      ImageFolder(std::move(imageFolder)),
      Graph(graph) {}

void TAnalysisRun::NoteSampling(const TPerception& perception) {
    Estimated = Estimated || SampledCombinations(perception) > 0;
}

bool TAnalysisRun::Cancelled() const {
    return Case.Context().AnalysisCancelled;
}

bool TAnalysisRun::KeepGoing() {
    Case.Context().Status.PumpEvents();
    return !Cancelled();
}

std::string TAnalysisRun::HistogramImage(const TProVal& distribution) {
    const TProbVector vector = distribution.Normalized(Case).ToVector(Case);
    std::string name = HistogramName(vector);
    if (!ImageFolder.empty()) {
        Images.WriteHistogramIcon(Case.Context(), ImageFolder, name, vector);
    }
    return name;
}

std::string TAnalysisRun::UtilityImage(const TGoal& goal) {
    if (!ImageFolder.empty()) {
        Images.WriteUtilityIcon(Case.Context(), ImageFolder, goal);
    }
    return UtilityIconName(goal);
}

}  // namespace kavo
