#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kavo {
class TCase;
class TFactor;
class TPerception;
}  // namespace kavo

namespace kavo::test {

// The size of a generated case. Every arena holds ActorsPerArena actors; every perception shows
// FiPsPerPerception factors joined by LinksPerPerception links (fewer when the factors run out).
struct TCaseShape {
    int Tags = 4;
    int Groups = 3;
    int Factors = 12;
    int Actors = 4;
    int AttributesPerActor = 1;
    int ActionsPerActor = 2;
    int Arenas = 3;
    int ActorsPerArena = 3;
    int FiPsPerPerception = 6;
    int LinksPerPerception = 8;
    int Relations = 3;
    // Whether names and comments use text beyond ASCII and texts the document keys on.
    bool HostileText = true;
};

// Fills an empty case with random content from a seed: every kind of record the case document
// carries, with values the document stores exactly, so that a written and read case equals the
// one generated.
class TCaseGenerator {
  public:
    TCaseGenerator(std::uint32_t seed, TCaseShape shape) : Random(seed), Shape(shape) {}

    void Fill(TCase& target);

  private:
    int Draw(int low, int high);
    bool Chance(double p);
    std::string Name(const char* stem);
    std::vector<std::string> Comment();
    void Options(TCase& target);
    void Dictionary(TCase& target);
    void Arenas(TCase& target);
    void Perception(TCase& target, TPerception& perception, bool roundState);

    std::mt19937 Random;
    TCaseShape Shape;
    int Serial = 0;
};

}  // namespace kavo::test
