// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 6: how fast the core plays on virtual time, as the tests play it.

#include <cstdio>

#include "bench/bench.h"
#include "kit/game.h"
#include "kit/player.h"

namespace bench {

void simulationFigure(QJsonObject& results)
{
    // Whole games won by the scripted player.
    const int games = 3;
    int won = 0;
    Game g;
    const double cpu0 = threadCpuSeconds();
    g.winnableSettings();
    for (int i = 0; i < games; ++i) {
        g.start();
        scripted::Player(g.w).play(10 * 60 * 1000);
        won += g.w.gagne.Visible ? 1 : 0;
    }
    const double cpuSeconds = threadCpuSeconds() - cpu0;
    const double gameSeconds = double(g.w.clock.now()) / 1000;

    std::printf(
        "6. Simulation speed: %.0f s of game time in %.3f s of CPU: %.0fx real time (%d of %d games won)\n",
        gameSeconds, cpuSeconds, gameSeconds / cpuSeconds, won, games);
    results.insert("simulation", QJsonObject{{"games", games},
                                             {"won", won},
                                             {"game_s", gameSeconds},
                                             {"cpu_s", cpuSeconds},
                                             {"speed", gameSeconds / cpuSeconds}});
}

} // namespace bench
