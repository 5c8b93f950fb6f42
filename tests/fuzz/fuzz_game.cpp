// SPDX-License-Identifier: GPL-3.0-or-later
// The whole game driven by the fuzzer's bytes: the soak's random run (keys, menu commands, box
// answers, clock moves), its choices read from the bytes instead of a seeded generator, and
// every rule checked after each event. Short clock moves and a bound on the time played keep an
// input to a few milliseconds.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "soak.h"

namespace {

// Each choice reads as few bytes as it needs; once they are used up every choice is 0, and the
// run ends after that event.
class ByteSource final : public soak::Source {
public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    int pick(int n) override
    {
        std::uint64_t value = 0;
        for (std::uint64_t span = 1; span < static_cast<std::uint64_t>(n); span *= 256) {
            if (at_ == size_) {
                usedUp_ = true;
                return 0;
            }
            value = value * 256 + data_[at_++];
        }
        return static_cast<int>(value % static_cast<std::uint64_t>(n));
    }

    bool usedUp() const { return usedUp_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool usedUp_ = false;
};

constexpr int longestMoveMs = 2000;        // a clock move, a stretch of skilled play
constexpr int favourableGameMs = 2000;     // a favourable game, cut short
constexpr long long playedMs = 30 * 1000;  // the game time of one input

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteSource source(data, size);
    soak::Run run(source, longestMoveMs, favourableGameMs);
    for (long long event = 1; !source.usedUp() && run.stats.simulatedMs < playedMs; ++event) {
        if (const std::optional<std::string> broken = run.step()) {
            std::fprintf(stderr, "event %lld: %s\n", event, broken->c_str());
            std::abort();
        }
    }
    return 0;
}
