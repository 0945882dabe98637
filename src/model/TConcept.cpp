#include "model/TConcept.h"

#include <algorithm>

#include "model/TFactor.h"

namespace kavo {

bool TConcept::HasTag(const TTag* tag) const {
    return std::find(Tags.begin(), Tags.end(), tag) != Tags.end();
}

void TConcept::RemoveTag(const TTag* tag) {
    std::erase(Tags, tag);
}

std::string KindWord(const TConcept* item) {
    if (item == nullptr) {
        return "unknown";
    }
    switch (item->Kind) {
        case TConceptKind::ckArena:
            return "arena";
        case TConceptKind::ckActor:
            return "actor";
        case TConceptKind::ckFactor: {
            const auto* factor = static_cast<const TFactor*>(item);
            if (factor->IsAction) {
                return "action";
            }
            return factor->Owner != nullptr ? "attribute" : "factor";
        }
        default:
            return "unknown";
    }
}

}  // namespace kavo
