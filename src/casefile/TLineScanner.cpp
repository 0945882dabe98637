#include "casefile/TLineScanner.h"

namespace kavo {

std::string_view TLineScanner::Between(std::string_view after, std::string_view before) {
    if (!Skip(after)) {
        return Rest();
    }
    const std::string_view rest = Rest();
    const std::size_t end = rest.find(before);
    if (end == std::string_view::npos) {
        Position = Text.size();
        return rest;
    }
    Position += end + before.size();
    return rest.substr(0, end);
}

bool TLineScanner::Skip(std::string_view text) {
    const std::size_t found = Rest().find(text);
    if (found == std::string_view::npos) {
        return false;
    }
    Position += found + text.size();
    return true;
}

}  // namespace kavo
