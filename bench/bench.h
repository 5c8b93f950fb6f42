// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The benchmark, one figure a file: each file measures its figure, prints its lines of the
// table and adds it to the JSON results; main.cpp runs them in order.

#include <functional>
#include <string>
#include <vector>

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QJsonObject>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QTimer>
#include <QTransform>
#include <QWidget>

#include <sys/types.h>

#include "runtime/qt/playfield.h"
#include "runtime/scene.h"

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

// ---- Qt's floor: a game's frames replayed by a bare widget (replay.cpp) -------------------

// One frame a window painted: when, where, and what.
struct Frame {
    double atMs = 0; // since the recording began
    QRegion region;
    struct Paint {
        enum Kind { Fill, Picture, Text } kind;
        QTransform transform;
        QRectF rect; // where a picture's top-left corner or a text's baseline begins
        QColor color;
        QPixmap pixmap;
        QString text;
        QFont font;
    };
    std::vector<Paint> paints;
};

struct Recording {
    std::vector<Frame> frames;
    double lengthMs = 0;
};

// Keeps every repaint of the playfield while it is on: when, where, and the scene it showed.
// The paints themselves are recorded when it stops, outside the time measured: while on, a
// repaint costs the game only a copy of its scene into storage kept from turn to turn.
class Recorder final : public QObject {
public:
    using Painter = std::function<void(QPainter&, const runtime::Scene&, const QRegion&)>;
    Recorder(runtime::qt::PlayfieldView& view, Painter paint);
    ~Recorder() override;
    void start();
    Recording stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shot {
        double atMs = 0;
        QRegion region;
        runtime::Scene scene;
    };
    runtime::qt::PlayfieldView& view_;
    Painter paint_;
    std::vector<Shot> shots_; // the first `taken_` are this turn's
    std::size_t taken_ = 0;
    QElapsedTimer wall_;
    bool on_ = false;
};

// A bare widget that repaints a recording's regions with its paints, at its moments, and
// does nothing else.
class FloorWidget final : public QWidget {
public:
    explicit FloorWidget(QSize size);
    // Runs the event loop for `ms`, showing the recording from its start, as long after the
    // call as it was recorded after its own start.
    void play(const Recording& recording, int ms);
    long keyPresses() const { return keyPresses_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent*) override { ++keyPresses_; }

private:
    void nextFrame();

    const Recording* recording_ = nullptr;
    const Frame* shown_ = nullptr;
    std::size_t next_ = 0;
    long keyPresses_ = 0;
    QElapsedTimer wall_;
    QTimer timer_;
};

// The X input focus on `window`, or on no window at all.
void focusKeyboardOn(const QWidget* window);

// A key held down in the X server (xdotool), repeating as the server repeats it, until
// destroyed. `held()` is false when it could not be pressed.
class HeldKey {
public:
    explicit HeldKey(const char* key);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    bool held() const { return held_; }

private:
    const char* key_;
    bool held_ = false;
};

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

// The game in progress in turns with the raw timers and with its floor, without a key and with
// Left held: each share is the median over the turns of the game's CPU over the other's. The
// floor's turn replays the frames of the game's last turn before it. Turns of two seconds: the
// machine's jitter of a few milliseconds of CPU weighs on each half as much as in one.
inline constexpr int gameTurns = 10;
inline constexpr int gameTurnMs = 2000;
struct GameRuns {
    Load idle; // before a game
    Run playing;
    Load rawBeside;        // the ten raw timers, in turns with the game in progress
    double shareOfRaw = 0; // the game's CPU over theirs
    Load floor;            // the bare widget replaying the game's frames
    double shareOfFloor = 0;
    std::size_t framesRecorded = 0; // by the game in its turns, for the floor's turns after them
    double recordedMs = 0;
    bool keyHeld = false; // the rows below were measured
    Load playingKeyHeld;  // the game, Left held
    Load floorKeyHeld;    // the floor, Left held
    double keyShareOfFloor = 0;
    double keyRepeatsPerSecond = 0; // the presses that reached the floor while it played
    Load stopped;                   // after "Arreter"
    Load ended;                     // after a lost game
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
