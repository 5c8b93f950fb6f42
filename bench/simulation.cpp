// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 6: how fast the core plays on virtual time, as the tests play it.

#include <cstdio>
#include <vector>

#include "bench/bench.h"
#include "kit/game.h"
#include "kit/player.h"

namespace bench {

void simulationFigure(QJsonObject& results)
{
    // Whole games won by the scripted player, played five times over: the figure is the median,
    // as a run of some ten milliseconds can meet the machine busy elsewhere.
    const int games = 3, rounds = 5;
    int won = 0;
    double gameSeconds = 0;
    std::vector<double> cpuSeconds;
    for (int round = 0; round < rounds; ++round) {
        Game g;
        const double cpu0 = threadCpuSeconds();
        g.winnableSettings();
        won = 0;
        for (int i = 0; i < games; ++i) {
            g.start();
            scripted::Player(g.w).play(10 * 60 * 1000);
            won += g.w.gagne.Visible ? 1 : 0;
        }
        cpuSeconds.push_back(threadCpuSeconds() - cpu0);
        gameSeconds = double(g.w.clock.now()) / 1000;
    }
    const double cpu = percentile(cpuSeconds, 50);

    std::printf("6. Simulation speed: %.0f s of game time in %.3f s of CPU (median of %d): %.0fx real time"
                " (%d of %d games won)\n",
                gameSeconds, cpu, rounds, gameSeconds / cpu, won, games);
    results.insert("simulation", QJsonObject{{"games", games},
                                             {"won", won},
                                             {"game_s", gameSeconds},
                                             {"cpu_s", cpu},
                                             {"speed", gameSeconds / cpu}});
}

} // namespace bench
