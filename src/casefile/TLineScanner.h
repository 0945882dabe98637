#pragma once

#include <cstddef>
#include <string_view>

namespace kavo {

// Reads values out of one line of the case document by the texts around them. The scan moves
// forward only: each extraction continues after the text that ended the previous one.
class TLineScanner {
  public:
    explicit TLineScanner(std::string_view text) : Text(text) {}

    // The text after the next `after` up to the next `before`; the scan continues behind `before`.
    // Without `after` nothing is consumed and the rest of the line is returned; without `before`
    // the rest of the line after `after` is returned and the scan reaches the end.
    std::string_view Between(std::string_view after, std::string_view before);
    // Moves behind the next `text`; false, without moving, when the rest does not hold it.
    bool Skip(std::string_view text);
    bool Has(std::string_view text) const { return Rest().find(text) != std::string_view::npos; }
    std::string_view Rest() const { return Text.substr(Position); }

  private:
    std::string_view Text;
    std::size_t Position = 0;
};

}  // namespace kavo
