#pragma once

#include <string>
#include <vector>

namespace kavo {

// Anything that carries a comment of several lines.
class TCommentedObject {
  public:
    std::vector<std::string> Comment;

    // True when the comment holds nothing but white space.
    bool CommentIsEmpty() const;
};

}  // namespace kavo
