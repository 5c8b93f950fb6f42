// SPDX-License-Identifier: GPL-3.0-or-later
// The long soak: gromzaks_soak [FIRST_SEED [SEEDS [EVENTS]]]
// Each seed plays EVENTS random events; a failure prints its seed and event and exits 1.

#include <cstdio>
#include <cstdlib>

#include "soak.h"

int main(int argc, char* argv[])
{
    const auto first = static_cast<std::uint32_t>(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1);
    const long seeds = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 10;
    const long long events = argc > 3 ? std::strtoll(argv[3], nullptr, 10) : 200000;
    for (long i = 0; i < seeds; ++i) {
        const std::uint32_t seed = first + static_cast<std::uint32_t>(i);
        soak::Stats stats;
        if (const auto failure = soak::run(seed, events, 60000, &stats)) {
            std::printf("FAILED: %s\n", failure->describe().c_str());
            return 1;
        }
        std::printf("seed %u: %lld events, %.1f hours of play, %d games lost, %d won; every rule held\n",
                    seed, events, double(stats.simulatedMs) / 3.6e6, stats.losses, stats.wins);
        std::fflush(stdout);
    }
    return 0;
}
