#include "analyses/TGroupingSettings.h"

#include "model/TCase.h"

namespace kavo {

namespace {

TGroupingMode Offered(std::uint8_t mode, TGroupingMode highest) {
    return mode <= static_cast<std::uint8_t>(highest) ? static_cast<TGroupingMode>(mode)
                                                      : TGroupingMode::gmTotal;
}

}  // namespace

TGroupingSettings TGroupingSettings::Of(const TCase& owningCase) {
    TGroupingSettings settings;
    settings.ArenaGrouping = owningCase.ArenaGrouping;
    settings.ActorGrouping = owningCase.ActorGrouping;
    settings.FactorGrouping = owningCase.FactorGrouping;
    settings.MentionedOnly = owningCase.MentionedOnly;
    return settings;
}

TGroupingMode TGroupingSettings::ArenaMode() const {
    return Offered(ArenaGrouping, TGroupingMode::gmSelected);
}

TGroupingMode TGroupingSettings::ActorMode() const {
    return Offered(ActorGrouping, TGroupingMode::gmAnalysts);
}

TGroupingMode TGroupingSettings::FactorMode() const {
    return Offered(FactorGrouping, TGroupingMode::gmNone);
}

}  // namespace kavo
