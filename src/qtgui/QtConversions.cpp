#include "qtgui/QtConversions.h"

#include <algorithm>
#include <array>

namespace kavo {

namespace {

struct TFaceKind {
    std::string_view Name;
    QFont::StyleHint Hint;
    const char* Generic;
};

// Matching is case-insensitive in Qt, so the names are compared the same way.
constexpr std::array<TFaceKind, 4> kKnownFaces{{
    {"MS Sans Serif", QFont::SansSerif, "sans-serif"},
    {"Small Fonts", QFont::SansSerif, "sans-serif"},
    {"Arial", QFont::Helvetica, "sans-serif"},
    {"Courier New", QFont::TypeWriter, "monospace"},
}};

const TFaceKind* KnownFace(std::string_view name) {
    const auto equal = [name](const TFaceKind& face) {
        return ToQString(face.Name).compare(ToQString(name), Qt::CaseInsensitive) == 0;
    };
    const auto* found = std::find_if(kKnownFaces.begin(), kKnownFaces.end(), equal);
    return found == kKnownFaces.end() ? nullptr : found;
}

}  // namespace

QFont ToQFont(const TFont& font) {
    QFont result;
    QStringList families{ToQString(font.Name)};
    if (const TFaceKind* face = KnownFace(font.Name)) {
        families << QString::fromLatin1(face->Generic);
        result.setStyleHint(face->Hint);
    }
    result.setFamilies(families);
    result.setPointSize(std::max(1, font.Size));
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    return result;
}

}  // namespace kavo
