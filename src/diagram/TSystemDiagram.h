#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TArena;
class TCanvas;
class TFiP;
class TPerception;

// How the pointer looks over the system diagram.
enum class TSystemPointer { spArrow, spHand, spSizeHorizontal, spSizeVertical, spSizeDiagonal };

// An arena's analyst view in the classic systems layout: the means (actions without causes) in a
// column on the left edge of a dashed system box, the external factors (with a prospect) in a row
// along its top edge, the criteria (with a goal) in a column on its right edge and every other
// factor inside it. Works on a private copy of the analyst view, so nothing done here changes the
// case: boxes can be dragged, the box stretched and factors hidden. In arrows mode it shows the
// inferred impact of every mean and external on every criterion instead of the inside.
class TSystemDiagram {
  public:
    // Copies the arena's analyst view without its selection, arranges it and fits the factors
    // inside into the box.
    explicit TSystemDiagram(TArena& arena);
    ~TSystemDiagram();
    TSystemDiagram(const TSystemDiagram&) = delete;
    TSystemDiagram& operator=(const TSystemDiagram&) = delete;

    TArena& Arena() const { return *Owner; }
    // The private copy.
    TPerception& Perception() const { return *Copy; }

    // Every FiP of the copy is in exactly one group, tested in this order; not owned.
    std::vector<TFiP*> Means;
    std::vector<TFiP*> Criteria;
    std::vector<TFiP*> Externals;
    std::vector<TFiP*> Internals;
    // Hidden FiPs, in the order they were hidden; they keep their group but are neither drawn nor
    // hit, and neither are their links.
    std::vector<TFiP*> Hidden;

    int SystemLeft = 0;
    int SystemTop = 0;
    int SystemWidth = 0;
    int SystemHeight = 0;
    // Spacing between the boxes of each column or row, pixels.
    int MeansGap = 10;
    int ExternalsGap = 30;
    int CriteriaGap = 30;
    int PictureWidth = 3000;
    int PictureHeight = 1500;
    // False: the inside with its links; true: impact arrows from means and externals to criteria.
    bool ArrowsMode = false;

    TFiP* HoverFiP = nullptr;
    TFiP* DragFiP = nullptr;
    // The edges being dragged: 0 none, 1 the right edge, 2 the bottom edge, 3 both.
    int ResizeEdges = 0;

    // Places the columns and the row around a box sized for them, and sizes the picture.
    void Arrange();
    // Spreads the inside factors over the inside of the box, clear of the columns and the row on
    // its edges, keeping their arrangement in the analyst view; the box first grows to give them
    // at least the room they have there (the right column and the top row move along).
    void FitInternals();
    // Infers the copy's impacts, which the arrows show, unless they are known. May take long.
    void InferImpacts();
    bool ImpactsKnown() const;

    // The whole picture, in the system diagram's style.
    void Draw(TCanvas& canvas) const;

    bool IsHidden(const TFiP* fip) const;
    // Hides a visible FiP, or shows a hidden one again.
    void ToggleHidden(TFiP* fip);
    // Shows the index-th hidden FiP again.
    void Unhide(std::size_t index);
    // The concept names of the hidden FiPs, in hiding order.
    std::vector<std::string> HiddenNames() const;

    // The first visible FiP under the point: inside factors first (unless in arrows mode), then
    // means, externals and criteria; null when none.
    TFiP* FiPAt(int x, int y) const;
    // The edges of the box within 3 pixels of the point, coded as ResizeEdges.
    int EdgesAt(int x, int y) const;

    // The pointer moved: sets HoverFiP and carries on a drag or a stretch. Returns the pointer
    // shape.
    TSystemPointer PointerMoved(int x, int y);
    // A press: with Ctrl on a FiP hides or shows it; on a FiP starts dragging it, elsewhere
    // stretching the edges under the pointer.
    void PointerPressed(int x, int y, bool ctrl);
    // Makes the last move of a drag or stretch and ends it.
    void PointerReleased(int x, int y);

  private:
    void Classify();
    // Makes the box wider, with the criteria on its right edge and the externals spread over
    // the wider top edge.
    void Widen(int extra);
    void Drag(int x, int y);
    void Stretch(int x, int y);
    void DrawArrows(TCanvas& canvas) const;

    TArena* Owner;
    std::unique_ptr<TPerception> Copy;
};

}  // namespace kavo
