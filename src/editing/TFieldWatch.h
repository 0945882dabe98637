#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "editing/TEdit.h"

namespace kavo {

// Keeps the values of fields before a model operation that changes many of them in place (writing
// the options, laying boxes out), and then records into an edit those that changed. The fields
// must outlive the watch.
class TFieldWatch {
  public:
    template <typename T>
    void Watch(T& field) {
        Records.push_back([&field, old = field](TEdit& edit) { edit.Changed(field, old); });
    }
    // Records every watched field whose value differs from the one it had when watched.
    void RecordChanges(TEdit& edit) const {
        for (const auto& record : Records) {
            record(edit);
        }
    }

  private:
    std::vector<std::function<void(TEdit&)>> Records;
};

}  // namespace kavo
