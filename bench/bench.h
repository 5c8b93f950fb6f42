// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The benchmark, one figure a file: each file measures its figure, prints its lines of the
// table and adds it to the JSON results; main.cpp runs them in order.

#include <functional>
#include <string>
#include <vector>

#include <QJsonObject>
#include <QString>

#include <sys/types.h>

class QProcess;

namespace bench {

// ---- Shared tools (tools.cpp) ---------------------------------------------------------------

double threadCpuSeconds();
double percentile(std::vector<double> values, double p);
// Runs the event loop for `ms`; until `done`, polling every 20 ms, at most `timeoutMs`.
void runEventsFor(int ms);
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs);
// Sleeps `pollMs` at a time, without events, until `done`; false after `timeoutMs`.
bool waitFor(const std::function<bool()>& done, int timeoutMs, int pollMs);
QString cpuModel();

// An Xvfb of our own, on the first free display it finds, so the figures do not depend on the
// desktop the benchmark happens to run on.
class XServer {
public:
    bool start();
    ~XServer();
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// ---- 2: wake-ups and CPU (load.cpp) ---------------------------------------------------------

struct Usage {
    double cpuSeconds = 0;
    long wakeUps = 0;     // voluntary context switches, every thread of the process
    long mainWakeUps = 0; // those of the thread that runs the game (the caller)
};
Usage usageNow();
Usage usageOf(qint64 pid); // another process, from /proc

struct Load {
    double wakeUpsPerSecond = 0;
    double mainWakeUpsPerSecond = 0;
    double cpuPercent = 0; // of one core
};
Load loadBetween(Usage a, Usage b, double wallSeconds);
QJsonObject json(const Load& load);

// ---- 1: tick fidelity (ticks.cpp) -----------------------------------------------------------

struct TimerTicks {
    QString name;
    int interval = 0;
    long ticks = 0;
    double ideal = 0;
    bool steady = true; // on, at one interval, the whole time
};

struct Run {
    std::vector<TimerTicks> timers;
    double wallMs = 0;
    double gameMs = 0;
    double lagMedianMs = 0;
    double lagMaxMs = 0;
    Load load;
};

struct GameRuns {
    Load idle; // before a game
    Run playing;
    Load rawBeside;        // the ten raw timers, in turns with the game in progress
    double shareOfRaw = 0; // the game's CPU over theirs, median of the turns
    Load stopped;          // after "Arreter"
    Load ended;            // after a lost game
    double refreshRate = 0;
};

// Figures 1 and 2, from the same runs; returns the screen's refresh rate.
double timerFigures(QJsonObject& results);
void printLoads(const Run& raw, const GameRuns& game, const GameRuns& enlarged);

// ---- 3, 4, 5, 6 (frames.cpp, startup.cpp, memory.cpp, simulation.cpp) ---------------------

void frameFigure(QJsonObject& results);
// Figures 4 and 5 run `program`, the real game.
void startUpFigure(const QString& program, QJsonObject& results);
void memoryFigure(const QString& program, QJsonObject& results);
void simulationFigure(QJsonObject& results);

// The real program, for figures 4 and 5.
bool gamePainted();
void launch(QProcess& process, const QString& program);
void end(QProcess& process);

} // namespace bench
