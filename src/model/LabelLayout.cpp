#include "model/LabelLayout.h"

#include <algorithm>

namespace kavo {

namespace {

// The room a text box of this width leaves for text: its border and margins take 4 pixels.
constexpr int kTextBoxMargin = 4;

struct TWord {
    std::string Text;
    int Width = 0;  // measured with one blank after it
};

std::vector<TWord> SplitWords(const TTextMeasure& measure, const TFont& font,
                              std::string_view text) {
    std::vector<TWord> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t blank = text.find(' ', start);
        const std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        if (end > start) {
            std::string word(text.substr(start, end - start));
            const int width = measure.TextWidth(font, word + " ");
            words.push_back({std::move(word), width});
        }
        start = end + 1;
    }
    return words;
}

// Greedy word wrap into lines no wider than the room; a word wider than the room gets a line alone.
std::vector<std::string> Wrap(const std::vector<TWord>& words, int room) {
    std::vector<std::string> lines;
    std::string line;
    int lineWidth = 0;
    for (const TWord& word : words) {
        if (!line.empty() && lineWidth + word.Width > room) {
            lines.push_back(line);
            line.clear();
            lineWidth = 0;
        }
        line += line.empty() ? word.Text : " " + word.Text;
        lineWidth += word.Width;
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TLabelLayout LayoutLabel(const TTextMeasure& measure, const TFont& font, std::string_view name) {
    TFont bold = font;
    bold.Bold = true;
    std::string_view head = name;
    std::string_view tail;
    if (const std::size_t split = name.find(" ["); split != std::string_view::npos) {
        head = name.substr(0, split);
        tail = name.substr(split + 1);
    }
    const std::vector<TWord> words = SplitWords(measure, bold, head);
    int width = measure.TextWidth(bold, tail);
    for (const TWord& word : words) {
        width = std::max(width, word.Width);
    }
    int boxWidth = width + kTextBoxMargin;
    const int lineHeight = measure.TextHeight(bold, "[hg]");
    std::vector<std::string> lines;
    int height = 0;
    while (true) {
        lines = Wrap(words, boxWidth - kTextBoxMargin);
        // The tail's line counts in the height, empty or not.
        height = static_cast<int>(lines.size() + 1) * lineHeight;
        if (boxWidth / 2 >= height) {
            break;
        }
        ++boxWidth;
    }
    return {lines, std::max(25, boxWidth), std::max(20, height + 4)};
}

}  // namespace kavo
