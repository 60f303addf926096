// The random generator of the computer players: a linear congruential
// generator over one process-wide 32-bit state.
#include "computer/computer.h"
#include "game/state.h"

std::uint32_t RandomState = 1;

void SeedRandom(std::uint32_t seed) { RandomState = seed; }

int NextRandom() {
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the step wanted.
    RandomState = RandomState * 214013U + 2531011U;
    return static_cast<int>((RandomState >> 16) & 0x7FFFU);
}
