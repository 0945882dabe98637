#include "model/Names.h"

#include <algorithm>

namespace kavo {

namespace {

unsigned char Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = Folded(a[i]);
        const unsigned char cb = Folded(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsWhite(text[first])) {
        ++first;
    }
    while (last > first && IsWhite(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string BareName(std::string_view name) {
    return std::string(name.substr(0, name.find(" [")));
}

std::string ShownName(std::string_view name) {
    std::string shown(name);
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

}  // namespace kavo
