#include "simulation/Rounds.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "model/Names.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"

namespace kavo {

namespace {

constexpr std::string_view kRoundPrefix = "*Round";

}  // namespace

std::string RoundName(int n) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d", n);
    return std::string(kRoundPrefix) + number;
}

bool IsSimulationArena(const TArena& arena) {
    return arena.Name.starts_with('*');
}

bool IsRoundArena(const TArena& arena) {
    return arena.Name.starts_with(kRoundPrefix);
}

std::optional<int> RoundNumber(const TArena& arena) {
    if (!IsRoundArena(arena)) {
        return std::nullopt;
    }
    const std::string digits = Trim(std::string_view(arena.Name).substr(kRoundPrefix.size(), 10));
    int number = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, number);
    if (digits.empty() || error != std::errc() || stop != end || number < 0) {
        return std::nullopt;
    }
    return number;
}

TArena* FindRound(const TCase& owningCase, int n) {
    return owningCase.ArenaList.Find(RoundName(n));
}

std::vector<TArena*> PlottedRounds(const TCase& owningCase) {
    const std::string roundZero = RoundName(0);
    std::vector<TArena*> rounds;
    for (const auto& arena : owningCase.ArenaList) {
        if (arena->Name.find("*Round ") != std::string::npos && !SameName(arena->Name, roundZero)) {
            rounds.push_back(arena.get());
        }
    }
    return rounds;
}

std::vector<std::unique_ptr<TArena>> TakeSimulationArenas(TCase& owningCase) {
    std::vector<TArena*> doomed;
    for (const auto& arena : owningCase.ArenaList) {
        if (IsSimulationArena(*arena)) {
            doomed.push_back(arena.get());
        }
    }
    std::vector<std::unique_ptr<TArena>> taken;
    for (TArena* arena : doomed) {
        taken.push_back(owningCase.ArenaList.Take(arena));
    }
    if (!taken.empty()) {
        owningCase.Modified = true;
    }
    return taken;
}

bool HasSimulationArenas(const TCase& owningCase) {
    return std::any_of(owningCase.ArenaList.begin(), owningCase.ArenaList.end(),
                       [](const auto& arena) { return IsSimulationArena(*arena); });
}

std::vector<TArena*> RoundsFrom(const TCase& owningCase, int n) {
    const int first = owningCase.ArenaList.FindByName(RoundName(n));
    if (first < 0) {
        return {};
    }
    std::vector<TArena*> rounds{owningCase.ArenaList[first]};
    for (int i = first + 1; i < owningCase.ArenaList.Size(); ++i) {
        if (IsRoundArena(*owningCase.ArenaList[i])) {
            rounds.push_back(owningCase.ArenaList[i]);
        }
    }
    return rounds;
}

std::vector<std::unique_ptr<TArena>> TakeRoundsFrom(TCase& owningCase, int n) {
    std::vector<std::unique_ptr<TArena>> taken;
    for (TArena* arena : RoundsFrom(owningCase, n)) {
        taken.push_back(owningCase.ArenaList.Take(arena));
    }
    if (!taken.empty()) {
        owningCase.Modified = true;
    }
    return taken;
}

void RestoreArenas(TCase& owningCase, std::vector<std::unique_ptr<TArena>> arenas) {
    for (auto& arena : arenas) {
        const int index = owningCase.ArenaList.FindByName(arena->Name);
        if (index < 0) {
            owningCase.ArenaList.Insert(~index, std::move(arena));
        }
    }
    owningCase.Modified = true;
}

void UpdateRoundValue(TFiP& fip, const TCase& current) {
    const double e = fip.Change.RawMean(current);
    const double b = current.BaseLevel;
    if (fip.Factor->IsStock) {
        fip.RoundValue = (fip.RoundValue + b) * (e + b) / b - b;
    } else {
        fip.RoundValue = e;
    }
}

}  // namespace kavo
