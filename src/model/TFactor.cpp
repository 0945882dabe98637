#include "model/TFactor.h"

#include <algorithm>

#include "model/LabelLayout.h"
#include "model/TCase.h"

namespace kavo {

void TFactor::LayOutBox() {
    const int oldWidth = BoxWidth;
    const int oldHeight = BoxHeight;
    const TLabelLayout label = LayoutLabel(Case->Context().Measure, Case->Font, Name);
    LabelLines = label.Lines;
    TextWidth = 2 * (label.Width / 2) + 7;
    BoxHeight = 2 * (label.Height / 2) + 5;
    if (IsAction) {
        BoxWidth = std::max(TextWidth + 24, 80);
        BoxHeight += 12;
    } else {
        BoxWidth = TextWidth + BoxHeight - 1;
    }
    if (oldWidth > 0 && oldHeight > 0) {
        Case->CountRescaledFactor(static_cast<double>(BoxWidth) / oldWidth,
                                  static_cast<double>(BoxHeight) / oldHeight);
    }
}

}  // namespace kavo
