#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "diagram/TColor.h"
#include "model/TFont.h"
#include "model/TGeometry.h"
#include "reasoning/TProVal.h"

namespace kavo {

class TCanvas;
class TConflict;
class TFactor;
class TFiP;
class TLink;
class TPerception;
class TStrategy;
class TTextMeasure;

// A run of text of one colour, placed by its top-left corner.
struct TQuickText {
    TPoint At;
    std::string Text;
    TColor Color;
    friend bool operator==(const TQuickText&, const TQuickText&) = default;
};

// The histogram icon (21 x 16) of a probability vector, placed by its top-left corner.
struct TQuickHistogram {
    TPoint At;
    TProbVector Vector;
    friend bool operator==(const TQuickHistogram&, const TQuickHistogram&) = default;
};

// A range bar cell (11 x 11) showing a level -3..+3, placed by its top-left corner.
struct TQuickRangeCell {
    TPoint At;
    int Level = 0;
    friend bool operator==(const TQuickRangeCell&, const TQuickRangeCell&) = default;
};

using TQuickMark = std::variant<TQuickText, TQuickHistogram, TQuickRangeCell>;

// What the quick-analysis pane shows about whatever lies under the pointer: the inferred
// influence of a factor on the selected factors, the noise its prospects cause, what a level of an
// action brings to the goals, a link's multiplier, the best and worst strategies, and conflicts
// between two perceptions. Each explanation records its drawing (text runs, pictures, their
// extent) and its text at once and keeps no reference to what it explained, so the items may go
// away afterwards. The results are read from the perception's cache and computed only when the
// cache does not hold them, after an edit.
class TQuickAnalysis {
  public:
    // Text is measured in the font, and drawn in it.
    TQuickAnalysis(const TTextMeasure& measure, TFont font);

    // The pane's switches.
    bool Influence = false;
    bool USF = false;
    bool Noise = false;
    bool Strategies = false;
    bool Conflicts = false;

    // Explains what lies under the pointer in a diagram of the perception: its best and worst
    // strategies (with Strategies on), the link and the FiP, either of which may be null, with the
    // range level under the pointer (-3..+3, or kNoLevel off the range bar). Computing missing
    // results may take long; it shows its progress and stops when the user cancels, as inference
    // and searches do, and what was not computed is left out.
    void Explain(TPerception& perception, const TFiP* fip, int rangeLevel, const TLink* link);
    // Explains how the shown perception and another conflict on goals, causal links, prospects
    // and actions (with Conflicts on).
    void ExplainConflicts(TPerception& shown, TPerception& other);
    void Clear();

    const std::vector<TQuickMark>& Marks() const { return Recorded; }
    // The largest x and y the drawing reached; a picture of it is 10 pixels larger.
    int Right() const { return MaxX; }
    int Bottom() const { return MaxY; }
    // The same content as plain lines, each ending in a line break: the pictures are left out, a
    // range cell is written as its level.
    const std::vector<std::string>& Lines() const { return TextLines; }
    std::string Text() const;

    void Draw(TCanvas& canvas) const;

  private:
    void ExplainFiP(TPerception& perception, const TFiP& fip, int rangeLevel);
    void ExplainInfluence(const TPerception& perception, const TFiP& fip);
    void ExplainNoise(const TPerception& perception, const TFiP& fip);
    void ExplainEffect(const TPerception& perception, const TFiP& fip, int level);
    void ExplainLink(const TPerception& perception, const TLink& link);
    void ExplainStrategies(const TPerception& perception);
    void ExplainStrategyList(const std::vector<std::unique_ptr<TStrategy>>& list,
                             const std::string& kind);
    void ExplainConflict(const TConflict& conflict);
    void NoteEstimate(const TPerception& perception);

    // Writing: a run advances x by its width, a new line returns x to 0 and moves y down a line.
    void Run(const std::string& text, TColor color = {});
    // A run whose copied text differs from the drawn one.
    void Run(const std::string& drawn, const std::string& copied, TColor color);
    void Name(const TFactor& factor);
    void PerceptionName(const TPerception& perception);
    void Histogram(TPoint at, const TProbVector& vector, int extentRight);
    void RangeCell(int level);
    void NewLine();
    void Line(const std::string& text);
    void Reach(int x, int y);

    const TTextMeasure& Measure;
    TFont Font;
    int LineHeight;
    std::vector<TQuickMark> Recorded;
    std::vector<std::string> TextLines;
    std::string CurrentLine;
    int X = 0;
    int Y = 0;
    int MaxX = 0;
    int MaxY = 0;
};

}  // namespace kavo
