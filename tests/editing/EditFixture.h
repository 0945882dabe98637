#pragma once

#include <random>
#include <string>
#include <vector>

#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// The case document as a save would write it, at a fixed time and without images.
inline std::string DocumentOf(TCase& owningCase) {
    TImageWriter noImages;
    TCaseWriter writer(owningCase, noImages, [] { return std::string("2024-05-06 07:08:09"); });
    std::string text;
    for (const std::string& line : writer.Document("")) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// What breaks the rules that hold between the records of a case, one text per fault: links in
// their ends' link lists, goals, prospects and the selection on items of their perception,
// concepts in the case's lists, actors' factor lists matching their factors' owners.
std::vector<std::string> InvariantFaults(const TCase& c);

// Picks things of a case at random, from a seed.
class TPicker {
  public:
    explicit TPicker(std::uint32_t seed) : Random(seed) {}

    int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(Random); }

    template <typename T>
    T* From(const TConceptList<T>& list) {
        return list.Empty() ? nullptr : list[Draw(0, list.Size() - 1)];
    }
    template <typename T>
    T* From(const std::vector<T*>& list) {
        return list.empty() ? nullptr : list[static_cast<std::size_t>(Draw(0, Size(list) - 1))];
    }
    template <typename T>
    T* From(const std::vector<std::unique_ptr<T>>& list) {
        return list.empty() ? nullptr
                            : list[static_cast<std::size_t>(Draw(0, Size(list) - 1))].get();
    }
    TPerception* Perception(const TCase& owningCase) {
        std::vector<TPerception*> all;
        owningCase.ForEachPerception(
            [&all](TPerception& perception) { all.push_back(&perception); });
        return From(all);
    }
    std::string NewName(const char* stem) {
        return std::string(stem) + " " + std::to_string(++Serial);
    }

  private:
    template <typename L>
    static int Size(const L& list) {
        return static_cast<int>(list.size());
    }

    std::mt19937 Random;
    int Serial = 0;
};

}  // namespace kavo::test
