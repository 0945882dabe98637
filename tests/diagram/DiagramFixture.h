#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Names.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "support/TRecordingCanvas.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// Whether a log line matches a pattern in which '*' stands for any text.
inline bool Matches(std::string_view line, std::string_view pattern) {
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos) {
        return line == pattern;
    }
    if (line.substr(0, star) != pattern.substr(0, star)) {
        return false;
    }
    for (std::size_t i = star; i <= line.size(); ++i) {
        if (Matches(line.substr(i), pattern.substr(star + 1))) {
            return true;
        }
    }
    return false;
}

// Passes when the log holds lines matching the patterns in this order, others between them.
inline ::testing::AssertionResult LogHas(const std::vector<std::string>& log,
                                         const std::vector<std::string>& patterns) {
    auto line = log.begin();
    for (const std::string& pattern : patterns) {
        line = std::find_if(line, log.end(),
                            [&](const std::string& l) { return Matches(l, pattern); });
        if (line == log.end()) {
            std::string text;
            for (const std::string& l : log) {
                text += "\n  " + l;
            }
            return ::testing::AssertionFailure() << "no \"" << pattern << "\" in order in:" << text;
        }
        ++line;
    }
    return ::testing::AssertionSuccess();
}

inline bool LogContains(const std::vector<std::string>& log, const std::string& pattern) {
    return std::any_of(log.begin(), log.end(),
                       [&](const std::string& line) { return Matches(line, pattern); });
}

// An analyst view to draw in, with factors whose boxes are sized by hand so that the expected
// geometry can be worked out from the numbers given.
class TDiagramFixture : public TCaseFixture {
  public:
    TDiagramFixture() {
        Arena = Case.FindOrCreateArena("Market");
        View = Arena->AnalystView.get();
        Case.FindOrCreateActor("Government", "Gov");
    }

    // A factor, or with an actor's short name an attribute or action, with a label block
    // textWidth wide and a box boxHeight high (the range bar's room included for an action).
    TFactor* Factor(const std::string& name, int textWidth, int boxHeight, bool action = false,
                    const std::string& shortName = {}) {
        TFactor* factor = Case.FindOrCreateFactor(name, false, action, shortName);
        factor->TextWidth = textWidth;
        factor->BoxHeight = boxHeight;
        factor->BoxWidth = action ? std::max(textWidth + 24, 80) : textWidth + boxHeight - 1;
        factor->LabelLines = {BareName(factor->Name)};
        return factor;
    }
    TFiP* Show(TFactor* factor, int x, int y) {
        const int index = View->Add(std::make_unique<TFiP>(factor));
        TFiP* fip = View->FiPs[static_cast<std::size_t>(index)].get();
        fip->X = x;
        fip->Y = y;
        View->Selection.clear();
        return fip;
    }
    TLink* Link(TFiP* from, TFiP* to, int level = 2, int uncertainty = 0) {
        const int index = View->Add(std::make_unique<TLink>(Case, from, to));
        TLink* link = View->Links[static_cast<std::size_t>(index)].get();
        link->Level = static_cast<std::int8_t>(level);
        link->Uncertainty = static_cast<std::uint8_t>(uncertainty);
        View->Selection.clear();
        return link;
    }
    TGoal* Goal(TFiP* fip, TGoalType type, int level, int priority) {
        const int index = View->Add(std::make_unique<TGoal>(Case, fip, type, level, priority));
        View->Selection.clear();
        return View->Goals[static_cast<std::size_t>(index)].get();
    }
    TProspect* Prospect(TFiP* fip, int level, int uncertainty) {
        const int index = View->Add(std::make_unique<TProspect>(Case, fip, level, uncertainty));
        View->Selection.clear();
        return View->Prospects[static_cast<std::size_t>(index)].get();
    }

    TArena* Arena;
    TPerception* View;
    TRecordingCanvas Canvas;
};

}  // namespace kavo::test
