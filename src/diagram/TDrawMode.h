#pragma once

namespace kavo {

// How a diagram is drawn: greyed when the diagram is disabled, without text when zoomed out, and
// for the clipboard without the selection highlight and with the owner line in bold italic.
enum class TDrawMode { dmNormal, dmGreyed, dmNoText, dmGreyedNoText, dmClipboard };

inline constexpr bool IsGreyed(TDrawMode mode) {
    return mode == TDrawMode::dmGreyed || mode == TDrawMode::dmGreyedNoText;
}

inline constexpr bool DrawsText(TDrawMode mode) {
    return mode != TDrawMode::dmNoText && mode != TDrawMode::dmGreyedNoText;
}

inline constexpr bool ShowsSelection(TDrawMode mode) {
    return mode != TDrawMode::dmClipboard;
}

}  // namespace kavo
