#include "reasoning/TPath.h"

#include <algorithm>

#include "model/TFiP.h"
#include "model/TLink.h"

namespace kavo {

void TPath::Append(const TCase& current, TLink* link) {
    if (Links.empty()) {
        Links.push_back(link);
        StartFactor = link->FromFiP->Factor;
        EndFactor = link->ToFiP->Factor;
        Multiplier = link->Distribution;
        return;
    }
    if (link->FromFiP->Factor != EndFactor) {
        return;
    }
    Links.push_back(link);
    EndFactor = link->ToFiP->Factor;
    Multiplier.MultiplyBy(current, link->Distribution);
}

bool TPath::Visits(const TFactor* factor) const {
    return factor == StartFactor || std::any_of(Links.begin(), Links.end(), [factor](TLink* link) {
               return link->ToFiP->Factor == factor;
           });
}

bool TPath::SameAs(const TPath& other) const {
    return StartFactor == other.StartFactor && EndFactor == other.EndFactor && Links == other.Links;
}

}  // namespace kavo
