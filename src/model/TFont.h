#pragma once

#include <string>

namespace kavo {

// A font by name and size in points. Names are kept as the user or the case file gave them; the
// platform maps them to an available face.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;
    bool Bold = false;
    bool Italic = false;

    friend bool operator==(const TFont&, const TFont&) = default;
};

}  // namespace kavo
