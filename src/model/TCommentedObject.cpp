#include "model/TCommentedObject.h"

#include "model/Names.h"

namespace kavo {

bool TCommentedObject::CommentIsEmpty() const {
    for (const std::string& line : Comment) {
        if (!Trim(line).empty()) {
            return false;
        }
    }
    return true;
}

}  // namespace kavo
