#pragma once

#include <cstdint>

#include "model/TConcept.h"

namespace kavo {

// A label that concepts carry; its three colours paint the tag icon.
class TTag : public TConcept {
  public:
    TTag(TCase* owningCase, std::string name)
        : TConcept(TConceptKind::ckTag, owningCase, std::move(name)) {}

    // Colours stored with red in the low byte: silver, grey and black by default.
    std::uint32_t LightColor = 0xC0C0C0;
    std::uint32_t MidColor = 0x808080;
    std::uint32_t DarkColor = 0x000000;
};

}  // namespace kavo
