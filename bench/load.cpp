// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 2: how often the program wakes the machine (voluntary context switches, all threads
// and the main one) and what share of a core it takes, measured with Linux's own calls.

#include <cstdio>

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
    std::printf(
        "2. Wake-ups (voluntary context switches: all threads, main thread) and CPU (share of one core)\n");
    const auto printLoad = [](const char* what, const Load& load) {
        std::printf("  %-34s %6.1f /s  %6.1f /s  %6.2f %%\n", what, load.wakeUpsPerSecond,
                    load.mainWakeUpsPerSecond, load.cpuPercent);
    };
    std::printf("  %-34s %9s  %9s  %8s\n", "", "all", "main", "CPU");
    printLoad("ten raw Qt timers", raw.load);
    printLoad("idle, before a game", game.idle);
    printLoad("a game in progress", game.playing.load);
    printLoad("  the raw timers, in turns with it", game.rawBeside);
    printLoad("a game in progress, at scale 2", enlarged.playing.load);
    printLoad("  the raw timers, in turns with it", enlarged.rawBeside);
    printLoad("idle, after \"Arreter\"", game.stopped);
    printLoad("idle, after a lost game", game.ended);
    std::printf("  a game in progress takes %.0f %% of the CPU of the raw timers in turns with it at scale 1,"
                " %.0f %% at scale 2 (the median of ten turns of a second)\n\n",
                100 * game.shareOfRaw, 100 * enlarged.shareOfRaw);
}

} // namespace bench
