// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 4: how long the real program takes from its launch to its first painted frame.

#include <algorithm>
#include <cstdio>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include "bench/bench.h"

namespace bench {

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
}

namespace {

// Launch to first painted frame, in milliseconds; negative when it never showed.
double startUp(const QString& program)
{
    QProcess process;
    QElapsedTimer t;
    t.start();
    launch(process, program);
    const bool shown = waitFor(gamePainted, 10'000, 1);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    end(process);
    waitFor([] { return !gamePainted(); }, 5000, 10);
    return shown ? ms : -1;
}

} // namespace

void startUpFigure(const QString& program, QJsonObject& results)
{
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i)
        starts.push_back(startUp(program));
    const bool allShown = std::none_of(starts.begin(), starts.end(), [](double ms) { return ms < 0; });
    std::printf("\n4. Start-up to the first painted frame, median of 5: %.0f ms%s\n", percentile(starts, 50),
                allShown ? "" : " (some runs never showed)");

    QJsonArray runs;
    for (double ms : starts)
        runs.append(ms);
    results.insert("startup_ms", QJsonObject{{"median", percentile(starts, 50)}, {"runs", runs}});
}

} // namespace bench
