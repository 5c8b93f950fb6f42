// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, launched as a player launches it: how long it takes to its first painted
// frame, and its peak resident memory through a whole game, started with real keys and mouse
// clicks through xdotool.

#include <algorithm>
#include <cstdio>
#include <functional>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include "bench/bench.h"

namespace bench {

namespace {

// Sleeps `pollMs` at a time until `done`; false after `timeoutMs`.
bool waitFor(const std::function<bool()>& done, int timeoutMs, int pollMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(pollMs);
    }
    return true;
}

// The game's green and its black playfield on the screen: the window is up and painted.
bool gamePainted()
{
    const QImage shot =
        QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    bool green = false, black = false;
    for (int y = 0; y < shot.height() && !(green && black); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            green = green || (line[x] & 0xFFFFFF) == 0x00FF00;
            black = black || (line[x] & 0xFFFFFF) == 0;
        }
    }
    return green && black;
}

void launch(QProcess& process, const QString& program)
{
    process.setProgram(program);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    process.waitForStarted();
}

void end(QProcess& process)
{
    process.kill();
    process.waitForFinished();
    waitFor([] { return !gamePainted(); }, 5000, 10);
}

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
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

void startUpFigure(const QString& program, QJsonObject& results)
{
    std::vector<double> starts;
    QJsonArray runs;
    for (int i = 0; i < 5; ++i) {
        QProcess process;
        QElapsedTimer t;
        t.start();
        launch(process, program);
        const bool shown = waitFor(gamePainted, 10'000, 1);
        starts.push_back(shown ? double(t.nsecsElapsed()) / 1e6 : -1);
        runs.append(starts.back());
        end(process);
    }
    const bool allShown = std::none_of(starts.begin(), starts.end(), [](double ms) { return ms < 0; });
    std::printf("\n2. Start-up to the first painted frame, median of 5: %.0f ms%s\n", percentile(starts, 50),
                allShown ? "" : " (some runs never showed)");
    results.insert("startup_ms", QJsonObject{{"median", percentile(starts, 50)}, {"runs", runs}});
}

// A whole game: "Général", "Démarrer", Oui; then the ship stands still until a bullet ends it.
void memoryFigure(const QString& program, QJsonObject& results)
{
    QProcess process;
    launch(process, program);
    bool gameOver = false;
    QElapsedTimer played;
    if (waitFor(gamePainted, 10'000, 10)) {
        // No window manager: the window sits at the top left, "Général" first in its menu bar.
        xdotool({"mousemove", "30", "8", "click", "1"});
        QThread::msleep(300);
        xdotool({"key", "Down", "Return"});
        if (waitFor([] { return boxShown("Confirmation"); }, 5000, 50)) {
            xdotool({"key", "Return"});
            played.start();
            gameOver = waitFor([] { return boxShown("Score"); }, 180'000, 250);
        }
    }
    const long peak = peakKiB(process.processId());
    const double seconds = played.isValid() ? double(played.elapsed()) / 1000 : 0;
    end(process);
    std::printf("3. Peak resident memory through a whole game: %ld KiB (%s after %.1f s)\n", peak,
                gameOver ? "game over" : "GAME NOT FINISHED", seconds);
    results.insert("memory",
                   QJsonObject{{"peak_kib", double(peak)}, {"game_over", gameOver}, {"game_s", seconds}});
}

} // namespace bench
