// The game's random source: a uniform generator seeded once from the clock.
#pragma once

#include <random>

#include "engine/ports.h"

namespace lumera {

class StdRandom final : public IRandom {
public:
    void Seed(std::uint64_t seed) override { engine_.seed(seed); }
    int Random(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

private:
    std::mt19937_64 engine_{0};
};

}  // namespace lumera
