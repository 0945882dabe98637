#include "diagram/TSystemDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "diagram/DiagramGeometry.h"
#include "diagram/HitTest.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TCanvas.h"
#include "model/Names.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/Merge.h"
#include "reasoning/TImpact.h"

namespace kavo {

namespace {

constexpr int kArrowSize = 11;
// The inside factors keep this far from the columns and the row on the box's edges.
constexpr int kInset = 20;
// The box cannot be stretched to less than this beyond its left or top edge.
constexpr int kLeastStretch = 200;
constexpr TColor kNegativeImpact{0x60, 0x90, 0xFF};
constexpr TColor kPositiveImpact{0xF0, 0x40, 0x00};

int Round(double x) {
    return static_cast<int>(std::nearbyint(x));
}

int Width(const TFiP* fip) {
    return fip->Factor->BoxWidth;
}

int Height(const TFiP* fip) {
    return fip->Factor->BoxHeight;
}

bool Contains(const std::vector<TFiP*>& list, const TFiP* fip) {
    return std::find(list.begin(), list.end(), fip) != list.end();
}

// By one coordinate, then by name without regard to letter case.
void SortBy(std::vector<TFiP*>& list, int TFiP::*coordinate) {
    std::stable_sort(list.begin(), list.end(), [coordinate](const TFiP* a, const TFiP* b) {
        if (a->*coordinate != b->*coordinate) {
            return a->*coordinate < b->*coordinate;
        }
        return CompareNames(a->Factor->Name, b->Factor->Name) < 0;
    });
}

TPenStyle ImpactPenStyle(int uncertainty) {
    switch (uncertainty) {
        case 1:
            return TPenStyle::psDash;
        case 2:
            return TPenStyle::psDashDot;
        case 3:
            return TPenStyle::psDot;
        default:
            return TPenStyle::psSolid;
    }
}

// Switches the drawing style of the system diagram on for the lifetime of the guard.
class TSystemStyle {
  public:
    explicit TSystemStyle(TContext& context) : Context(context) {
        Context.SystemDiagramStyle = true;
    }
    ~TSystemStyle() { Context.SystemDiagramStyle = false; }
    TSystemStyle(const TSystemStyle&) = delete;
    TSystemStyle& operator=(const TSystemStyle&) = delete;

  private:
    TContext& Context;
};

}  // namespace

TSystemDiagram::TSystemDiagram(TArena& arena)
    : Owner(&arena), Copy(std::make_unique<TPerception>(&arena)) {
    // Filling the copy is no change of the case.
    const bool modified = arena.Case->Modified;
    CopyPerception(*arena.AnalystView, *Copy);
    arena.Case->Modified = modified;
    Copy->Selection.clear();
    Classify();
    Arrange();
    FitInternals();
}

TSystemDiagram::~TSystemDiagram() = default;

void TSystemDiagram::Classify() {
    for (const auto& item : Copy->FiPs) {
        TFiP* fip = item.get();
        if (fip->Factor->IsAction && fip->InLinks.empty()) {
            Means.push_back(fip);
        } else if (Copy->GoalOf(fip) != nullptr) {
            Criteria.push_back(fip);
        } else if (Copy->ProspectOf(fip) != nullptr) {
            Externals.push_back(fip);
        } else {
            Internals.push_back(fip);
        }
    }
}

void TSystemDiagram::Arrange() {
    MeansGap = 10;
    ExternalsGap = 30;
    CriteriaGap = 30;
    SortBy(Means, &TFiP::Y);
    SortBy(Criteria, &TFiP::Y);
    SortBy(Externals, &TFiP::X);
    int meansHeight = 0;
    int widestMean = 0;
    for (const TFiP* fip : Means) {
        meansHeight += Height(fip) + 30;
        widestMean = std::max(widestMean, Width(fip));
    }
    int criteriaHeight = 0;
    int widestCriterion = 0;
    for (const TFiP* fip : Criteria) {
        criteriaHeight += Height(fip) + 30;
        widestCriterion = std::max(widestCriterion, Width(fip));
    }
    int externalsWidth = 0;
    int highestExternal = 0;
    for (const TFiP* fip : Externals) {
        externalsWidth += Width(fip) + 10;
        highestExternal = std::max(highestExternal, Height(fip));
    }
    // The shorter column spreads out to the height of the longer one.
    const int tallest = std::max(meansHeight, criteriaHeight);
    SystemHeight = tallest + 30;
    if (!Means.empty()) {
        MeansGap += (tallest - meansHeight) / static_cast<int>(Means.size());
    }
    if (!Criteria.empty()) {
        CriteriaGap += (tallest - criteriaHeight) / static_cast<int>(Criteria.size());
    }
    // The box is at least as wide as high; the externals spread out over a wider box.
    if (Externals.empty()) {
        SystemWidth = SystemHeight;
    } else if (externalsWidth + 30 < SystemHeight) {
        SystemWidth = SystemHeight;
        ExternalsGap += (SystemHeight - externalsWidth - 30) / static_cast<int>(Externals.size());
    } else {
        SystemWidth = externalsWidth + 30;
    }
    SystemWidth += 60;
    SystemHeight += 40;
    SystemLeft = widestMean / 2 + 10;
    SystemTop = highestExternal / 2 + 10;

    int x = SystemLeft + 50;
    for (TFiP* fip : Externals) {
        fip->X = x + Width(fip) / 2;
        fip->Y = SystemTop;
        x += Width(fip) + ExternalsGap;
    }
    int y = SystemTop + (CriteriaGap - 30) / 2 + 70;
    for (TFiP* fip : Criteria) {
        fip->X = SystemLeft + SystemWidth;
        fip->Y = y + Height(fip) / 2;
        y += Height(fip) + CriteriaGap;
    }
    y = SystemTop + (MeansGap - 30) / 2 + 70;
    for (TFiP* fip : Means) {
        fip->X = SystemLeft;
        fip->Y = y + Height(fip) / 2;
        y += Height(fip) + MeansGap;
    }
    PictureWidth = SystemLeft + SystemWidth + widestCriterion / 2 + 10;
    PictureHeight = SystemTop + SystemHeight + 10;
}

void TSystemDiagram::FitInternals() {
    const auto widest = [](const std::vector<TFiP*>& list) {
        int width = 0;
        for (const TFiP* fip : list) {
            width = std::max(width, Width(fip));
        }
        return width;
    };
    const auto highest = [](const std::vector<TFiP*>& list) {
        int height = 0;
        for (const TFiP* fip : list) {
            height = std::max(height, Height(fip));
        }
        return height;
    };
    const int meanWidth = widest(Means);
    const int criterionWidth = widest(Criteria);
    const int externalHeight = highest(Externals);
    const int insideWidth = widest(Internals);
    const int insideHeight = highest(Internals);
    if (!Internals.empty()) {
        int x0 = INT32_MAX;
        int x1 = INT32_MIN;
        int y0 = INT32_MAX;
        int y1 = INT32_MIN;
        for (const TFiP* fip : Internals) {
            x0 = std::min(x0, fip->X);
            x1 = std::max(x1, fip->X);
            y0 = std::min(y0, fip->Y);
            y1 = std::max(y1, fip->Y);
        }
        // The room between the columns and below the row, and the centres' range within it.
        const int neededWidth =
            x1 - x0 + insideWidth + meanWidth / 2 + criterionWidth / 2 + 2 * kInset;
        const int neededHeight = y1 - y0 + insideHeight + externalHeight / 2 + 2 * kInset;
        if (neededWidth > SystemWidth) {
            Widen(neededWidth - SystemWidth);
        }
        SystemHeight = std::max(SystemHeight, neededHeight);
        const int left = SystemLeft + meanWidth / 2 + kInset + insideWidth / 2;
        const int right = SystemLeft + SystemWidth - criterionWidth / 2 - kInset - insideWidth / 2;
        const int top = SystemTop + externalHeight / 2 + kInset + insideHeight / 2;
        const int bottom = SystemTop + SystemHeight - kInset - insideHeight / 2;
        const auto fit = [](int value, int low, int high, int from, int to) {
            return high == low ? (from + to) / 2
                               : from + Round(static_cast<double>(value - low) / (high - low) *
                                              (to - from));
        };
        for (TFiP* fip : Internals) {
            fip->X = fit(fip->X, x0, x1, left, right);
            fip->Y = fit(fip->Y, y0, y1, top, bottom);
        }
    }
    PictureWidth = SystemLeft + SystemWidth + criterionWidth / 2 + 10;
    PictureHeight = SystemTop + SystemHeight + 10;
}

void TSystemDiagram::Widen(int extra) {
    SystemWidth += extra;
    for (TFiP* fip : Criteria) {
        fip->X = SystemLeft + SystemWidth;
    }
    if (Externals.empty()) {
        return;
    }
    ExternalsGap += extra / static_cast<int>(Externals.size());
    int x = SystemLeft + 50;
    for (TFiP* fip : Externals) {
        fip->X = x + Width(fip) / 2;
        x += Width(fip) + ExternalsGap;
    }
}

bool TSystemDiagram::ImpactsKnown() const {
    return Copy->ResultsValid[TPerception::Inferred];
}

void TSystemDiagram::InferImpacts() {
    if (!ImpactsKnown()) {
        InferInfluences(*Copy);
    }
}

void TSystemDiagram::Draw(TCanvas& canvas) const {
    const TCase& owningCase = *Owner->Case;
    TSystemStyle style(owningCase.Context());
    canvas.FillRect({0, 0, PictureWidth, PictureHeight}, kWhite);
    canvas.SetFont(owningCase.Font, kBlack);
    canvas.SetPen(kGray, 1, TPenStyle::psDash);
    canvas.SetBrush(kWhite, TBrushStyle::bsClear);
    canvas.Rectangle({SystemLeft, SystemTop, SystemLeft + SystemWidth, SystemTop + SystemHeight});
    canvas.SetPen(kGray);
    canvas.SetBrush(kWhite);
    const auto drawBoxes = [&](const std::vector<TFiP*>& list) {
        for (auto fip = list.rbegin(); fip != list.rend(); ++fip) {
            if (!IsHidden(*fip)) {
                DrawFiP(**fip, canvas, TDrawMode::dmNormal);
            }
        }
    };
    drawBoxes(Means);
    drawBoxes(Externals);
    drawBoxes(Criteria);
    if (ArrowsMode) {
        DrawArrows(canvas);
        return;
    }
    drawBoxes(Internals);
    for (const auto& link : Copy->Links) {
        if (!IsHidden(link->FromFiP) && !IsHidden(link->ToFiP)) {
            DrawLink(*link, canvas, TDrawMode::dmNormal);
        }
    }
}

void TSystemDiagram::DrawArrows(TCanvas& canvas) const {
    if (!ImpactsKnown()) {
        return;
    }
    const TCase& owningCase = *Owner->Case;
    const auto arrow = [&](const TFiP* input, TPoint start, const TFiP* criterion) {
        const TImpact* impact = ImpactBetween(*Copy, input, criterion);
        if (impact == nullptr || !impact->HasPaths()) {
            return;
        }
        std::int8_t level = 0;
        std::uint8_t uncertainty = 0;
        SummarizeDistribution(owningCase, impact->Multiplier, level, uncertainty);
        if (level == 0) {
            return;
        }
        const TColor color = level < 0 ? kNegativeImpact : kPositiveImpact;
        const TPoint end{criterion->X - Width(criterion) / 2, criterion->Y};
        canvas.SetPen(color, uncertainty == 0 ? std::abs(level) : 1, ImpactPenStyle(uncertainty));
        canvas.Line(start, end);
        const TArrowHead head = ArrowHead(start, end, kArrowSize);
        canvas.SetPen(color, 1);
        canvas.SetBrush(color);
        canvas.Polygon({head.Points.begin(), head.Points.end()});
    };
    for (const TFiP* criterion : Criteria) {
        if (IsHidden(criterion)) {
            continue;
        }
        for (const TFiP* mean : Means) {
            if (!IsHidden(mean)) {
                arrow(mean, {mean->X + Width(mean) / 2, mean->Y}, criterion);
            }
        }
        for (const TFiP* external : Externals) {
            if (!IsHidden(external)) {
                arrow(external, {external->X, external->Y + Height(external) / 2}, criterion);
            }
        }
    }
    canvas.SetPen(kBlack);
    canvas.SetBrush(kWhite);
}

bool TSystemDiagram::IsHidden(const TFiP* fip) const {
    return Contains(Hidden, fip);
}

void TSystemDiagram::ToggleHidden(TFiP* fip) {
    const auto found = std::find(Hidden.begin(), Hidden.end(), fip);
    if (found != Hidden.end()) {
        Hidden.erase(found);
    } else {
        Hidden.push_back(fip);
    }
    if (HoverFiP == fip) {
        HoverFiP = nullptr;
    }
}

void TSystemDiagram::Unhide(std::size_t index) {
    if (index < Hidden.size()) {
        Hidden.erase(Hidden.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::vector<std::string> TSystemDiagram::HiddenNames() const {
    std::vector<std::string> names;
    for (const TFiP* fip : Hidden) {
        names.push_back(fip->Factor->Name);
    }
    return names;
}

TFiP* TSystemDiagram::FiPAt(int x, int y) const {
    std::vector<const std::vector<TFiP*>*> lists{&Means, &Externals, &Criteria};
    // The inside is not shown with the arrows.
    if (!ArrowsMode) {
        lists.insert(lists.begin(), &Internals);
    }
    for (const auto* list : lists) {
        for (TFiP* fip : *list) {
            if (!IsHidden(fip) && HitFiP(*fip, x, y)) {
                return fip;
            }
        }
    }
    return nullptr;
}

int TSystemDiagram::EdgesAt(int x, int y) const {
    const bool right = std::abs(x - (SystemLeft + SystemWidth - 1)) < 4;
    const bool bottom = std::abs(y - (SystemTop + SystemHeight - 1)) < 4;
    return (right ? 1 : 0) + (bottom ? 2 : 0);
}

TSystemPointer TSystemDiagram::PointerMoved(int x, int y) {
    HoverFiP = FiPAt(x, y);
    TSystemPointer pointer = TSystemPointer::spHand;
    if (HoverFiP == nullptr) {
        static constexpr TSystemPointer kByEdges[] = {
            TSystemPointer::spArrow, TSystemPointer::spSizeHorizontal,
            TSystemPointer::spSizeVertical, TSystemPointer::spSizeDiagonal};
        pointer = kByEdges[EdgesAt(x, y)];
    }
    if (DragFiP != nullptr) {
        Drag(x, y);
    } else if (ResizeEdges > 0) {
        Stretch(x, y);
    }
    return pointer;
}

void TSystemDiagram::PointerPressed(int x, int y, bool ctrl) {
    TFiP* fip = FiPAt(x, y);
    if (fip != nullptr && ctrl) {
        ToggleHidden(fip);
    } else if (fip != nullptr) {
        DragFiP = fip;
    } else {
        ResizeEdges = EdgesAt(x, y);
    }
}

void TSystemDiagram::PointerReleased(int x, int y) {
    if (DragFiP != nullptr) {
        Drag(x, y);
    } else if (ResizeEdges > 0) {
        Stretch(x, y);
    }
    DragFiP = nullptr;
    ResizeEdges = 0;
}

void TSystemDiagram::Drag(int x, int y) {
    TFiP* fip = DragFiP;
    // Means and criteria move along their edges only, externals along the top edge.
    if (Contains(Means, fip)) {
        fip->X = SystemLeft;
    } else if (Contains(Criteria, fip)) {
        fip->X = SystemLeft + SystemWidth;
    } else {
        fip->X = std::max(SystemLeft, x);
    }
    fip->Y = Contains(Externals, fip) ? SystemTop : std::max(SystemTop - 40, y);
}

void TSystemDiagram::Stretch(int x, int y) {
    const double fx = (ResizeEdges & 1) != 0 && x > SystemLeft + kLeastStretch
                          ? static_cast<double>(x - SystemLeft) / SystemWidth
                          : 1;
    const double fy = (ResizeEdges & 2) != 0 && y > SystemTop + kLeastStretch
                          ? static_cast<double>(y - SystemTop) / SystemHeight
                          : 1;
    for (const auto& fip : Copy->FiPs) {
        fip->X = SystemLeft + Round(fx * (fip->X - SystemLeft));
        fip->Y = SystemTop + Round(fy * (fip->Y - SystemTop));
    }
    SystemWidth = Round(fx * SystemWidth);
    SystemHeight = Round(fy * SystemHeight);
    PictureWidth = SystemLeft + SystemWidth + 110;
    PictureHeight = SystemTop + SystemHeight + 10;
}

}  // namespace kavo
