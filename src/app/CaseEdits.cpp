#include "app/CaseEdits.h"

#include <string>

#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TCommentedObject.h"

namespace kavo {

bool RenameCase(TCase& owningCase, std::string_view name) {
    std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return false;
    }
    if (trimmed != owningCase.Name) {
        owningCase.Name = std::move(trimmed);
        owningCase.Modified = true;
    }
    return true;
}

void SetComment(TCase& owningCase, TCommentedObject& item, std::string_view text) {
    const std::string trimmed = Trim(text);
    item.Comment.clear();
    std::size_t start = 0;
    while (start < trimmed.size()) {
        std::size_t end = trimmed.find('\n', start);
        if (end == std::string::npos) {
            end = trimmed.size();
        }
        std::string line = trimmed.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        item.Comment.push_back(std::move(line));
        start = end + 1;
    }
    owningCase.Modified = true;
}

bool MovePriority(TCase& owningCase, TArena& arena, TAiA& record, int step) {
    for (const auto& other : arena.Actors) {
        if (other->Priority == record.Priority + step && other.get() != &record) {
            std::swap(other->Priority, record.Priority);
            owningCase.Modified = true;
            return true;
        }
    }
    return false;
}

}  // namespace kavo
