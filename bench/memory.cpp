// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 5: the real program's peak resident memory through a whole game, and its load
// meanwhile; the game is started with real keys and mouse clicks through xdotool.

#include <cstdio>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "bench/bench.h"

namespace bench {

namespace {

bool xdotool(const QStringList& arguments)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QStringLiteral("xdotool"), arguments);
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool boxShown(const char* title)
{
    return xdotool({"search", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(title)});
}

long peakKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

struct Memory {
    long peakKiB = -1;
    bool gameOver = false; // the "Score" box came up
    double gameSeconds = 0;
    Load load; // of the real program while its game ran
};

// A whole game in the real program: "Général", "Démarrer", Yes; then the ship stands still
// until a bullet ends the game.
Memory memoryThroughAGame(const QString& program)
{
    Memory memory;
    QProcess process;
    launch(process, program);
    if (waitFor(gamePainted, 10'000, 10)) {
        // No window manager: the window sits at the top left, "Général" first in its menu bar.
        xdotool({"mousemove", "30", "8", "click", "1"});
        QThread::msleep(300);
        xdotool({"key", "Down", "Return"});
        if (waitFor([] { return boxShown("Confirmation"); }, 5000, 50)) {
            xdotool({"key", "Return"});
            QElapsedTimer played;
            played.start();
            const Usage before = usageOf(process.processId());
            memory.gameOver = waitFor([] { return boxShown("Score"); }, 180'000, 250);
            memory.gameSeconds = double(played.elapsed()) / 1000;
            // Up to the poll that saw the box: a fraction of a second of it is in the count.
            memory.load = loadBetween(before, usageOf(process.processId()), memory.gameSeconds);
        }
    }
    memory.peakKiB = peakKiB(process.processId());
    end(process);
    return memory;
}

} // namespace

void memoryFigure(const QString& program, QJsonObject& results)
{
    const Memory memory = memoryThroughAGame(program);
    std::printf("5. Peak resident memory through a whole game: %ld KiB (%s after %.1f s)\n", memory.peakKiB,
                memory.gameOver ? "game over" : "GAME NOT FINISHED", memory.gameSeconds);
    std::printf("   the real program during that game: %.0f wake-ups/s (main thread %.0f), %.2f %% CPU\n",
                memory.load.wakeUpsPerSecond, memory.load.mainWakeUpsPerSecond, memory.load.cpuPercent);
    results.insert("memory", QJsonObject{{"peak_kib", double(memory.peakKiB)},
                                         {"game_over", memory.gameOver},
                                         {"game_s", memory.gameSeconds},
                                         {"load_during_game", json(memory.load)}});
}

} // namespace bench
