#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string_view>

#include "diagram/TColor.h"
#include "model/TFont.h"

namespace kavo {

inline QColor ToQColor(TColor color) {
    return QColor(color.R, color.G, color.B);
}

// Texts of the core are UTF-8.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The face that Qt's font matching finds for the font: the names that case files carry from
// other systems are tried first and fall back on a generic family of the same kind. Size is in
// points.
QFont ToQFont(const TFont& font);

}  // namespace kavo
