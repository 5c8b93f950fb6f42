// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 2: how often the program wakes the machine (voluntary context switches, all threads
// and the main one) and what share of a core it takes, measured with Linux's own calls.

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "bench/bench.h"

namespace bench {

Usage usageNow()
{
    rusage all{}, main{};
    getrusage(RUSAGE_SELF, &all);
    getrusage(RUSAGE_THREAD, &main);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds(all.ru_utime) + seconds(all.ru_stime), all.ru_nvcsw, main.ru_nvcsw};
}

// Every thread's voluntary switches, and the CPU time of the whole process.
Usage usageOf(qint64 pid)
{
    Usage usage;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) // utime and stime, fields 14 and 15 of the whole line
            usage.cpuSeconds =
                double(fields[11].toLong() + fields[12].toLong()) / double(sysconf(_SC_CLK_TCK));
    }
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task) + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& l : status.readAll().split('\n'))
            if (l.startsWith("voluntary_ctxt_switches:")) {
                const long n = l.mid(24).trimmed().toLong();
                usage.wakeUps += n;
                if (task == QString::number(pid))
                    usage.mainWakeUps = n;
            }
    }
    return usage;
}

Load loadBetween(Usage a, Usage b, double wallSeconds)
{
    return {double(b.wakeUps - a.wakeUps) / wallSeconds, double(b.mainWakeUps - a.mainWakeUps) / wallSeconds,
            100 * (b.cpuSeconds - a.cpuSeconds) / wallSeconds};
}

QJsonObject json(const Load& load)
{
    return {{"wakeups_per_s", load.wakeUpsPerSecond},
            {"main_thread_wakeups_per_s", load.mainWakeUpsPerSecond},
            {"cpu_percent", load.cpuPercent}};
}

void printLoads(const Run& raw, const GameRuns& game, const GameRuns& enlarged)
{
    std::printf("2. A game in progress beside Qt's floor (a bare widget repainting the regions the game"
                " repainted, with its pictures) and beside ten raw Qt timers, in %d turns of %g s with each;"
                " each share is the median over the turns\n",
                gameTurns, gameTurnMs / 1000.0);
    std::printf("  %-8s %12s %14s %17s %26s %26s\n", "", "of the floor", "of raw timers", "Left held, of",
                "Left held adds to the game", "and to the floor");
    std::printf("  %-8s %12s %14s %17s %26s %26s\n", "", "", "", "the floor held", "", "");
    for (const auto& [name, runs] : {std::pair("scale 1", &game), std::pair("scale 2", &enlarged)}) {
        std::printf("  %-8s %11.0f%% %13.0f%%", name, 100 * runs->shareOfFloor, 100 * runs->shareOfRaw);
        if (runs->keyHeld)
            std::printf(" %16.0f%% %+7.2f pt CPU %+7.1f wake/s %+7.2f pt CPU %+7.1f wake/s\n",
                        100 * runs->keyShareOfFloor,
                        runs->playingKeyHeld.cpuPercent - runs->playing.load.cpuPercent,
                        runs->playingKeyHeld.mainWakeUpsPerSecond - runs->playing.load.mainWakeUpsPerSecond,
                        runs->floorKeyHeld.cpuPercent - runs->floor.cpuPercent,
                        runs->floorKeyHeld.mainWakeUpsPerSecond - runs->floor.mainWakeUpsPerSecond);
        else
            std::printf(" %17s\n", "(no xdotool)");
    }
    const auto perSecond = [](const GameRuns& runs) {
        return runs.recordedMs > 0 ? 1000 * double(runs.framesRecorded) / runs.recordedMs : 0;
    };
    std::printf(
        "  (each turn of the floor replayed the frames of the game's last turn before it: %.1f a second at"
        " scale 1, %.1f at scale 2; Left held, the server repeated it %.1f times a second)\n\n",
        perSecond(game), perSecond(enlarged), game.keyRepeatsPerSecond);
    std::printf(
        "   Wake-ups (voluntary context switches: all threads, main thread) and CPU (share of one core)\n");
    const auto printLoad = [](const char* what, const Load& load) {
        std::printf("  %-38s %6.1f /s  %6.1f /s  %6.2f %%\n", what, load.wakeUpsPerSecond,
                    load.mainWakeUpsPerSecond, load.cpuPercent);
    };
    std::printf("  %-38s %9s  %9s  %8s\n", "", "all", "main", "CPU");
    printLoad("ten raw Qt timers", raw.load);
    printLoad("idle, before a game", game.idle);
    for (const auto& [scale, runs] : {std::pair("", &game), std::pair(", at scale 2", &enlarged)}) {
        const std::string s = scale;
        printLoad(("a game in progress" + s).c_str(), runs->playing.load);
        printLoad("  its floor", runs->floor);
        printLoad("  the raw timers", runs->rawBeside);
        if (runs->keyHeld) {
            printLoad(("a game in progress" + s + ", Left held").c_str(), runs->playingKeyHeld);
            printLoad("  its floor, Left held", runs->floorKeyHeld);
        }
    }
    printLoad("idle, after \"Arreter\"", game.stopped);
    printLoad("idle, after a lost game", game.ended);
    std::printf("\n");
}

} // namespace bench
