// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

namespace runtime {

// Uniform single-precision values in [0, 1).
class Random {
public:
    virtual ~Random() = default;
    virtual float next() = 0;
};

// Always the same seed, so every run of the program draws the same sequence.
class SeededRandom final : public Random {
public:
    static constexpr std::uint32_t defaultSeed = 5489u;

    explicit SeededRandom(std::uint32_t seed = defaultSeed) : engine_(seed) {}

    // The top 24 bits of the engine make every float of the form k / 2^24 equally likely.
    float next() override { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }

private:
    std::mt19937 engine_; // the standard fixes its output, so the sequence is the same everywhere
};

} // namespace runtime
