// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "runtime/clock.h"

namespace runtime::qt {

// Moves the virtual clock along with the wall clock. One precise wake-up at a time: at the next
// due tick, but never more often than once a display frame, so the 1 ms timers are run in a
// batch each frame, in their exact virtual order, instead of waking the machine a thousand
// times a second. When nothing is due (every timer sleeps) it does not wake at all until the
// player acts.
class RealTimeDriver final : public QObject {
    Q_OBJECT
public:
    // At each wake-up the driver calls `wake`, which is to call catchUp() when no procedure of
    // the game is running, and then show what changed.
    RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent = nullptr);

    // Starts following the wall clock from the clock's present moment.
    void start();
    void stop();

    // Brings the clock up to the wall clock now (before a key or a menu command runs, and at
    // every wake-up).
    void catchUp();

    // Sets the next wake-up from the clock: after anything that may have woken a timer.
    void schedule();

    // No wake-up is coming: the game waits for the player.
    bool sleeping() const { return !timer_.isActive(); }

    // Where the wall-clock milliseconds come from; tests make their own time.
    void setWallClock(std::function<std::int64_t()> milliseconds) { wallMs_ = std::move(milliseconds); }

    // Game time stands still between pause() and resume(), e.g. while a modal box is open;
    // nested pairs are fine.
    void pause();
    void resume();
    bool paused() const { return pauses_ > 0; }

    void setFrameInterval(int ms) { frameMs_ = ms > 0 ? ms : 16; }

    // The most game time one wake-up may catch up while something is due. After a longer stall
    // (the machine slept, a debugger held the program) the game does not replay minutes in one
    // go: it lags instead. A clock with nothing due is brought up to now at once, however long
    // the game has waited.
    static constexpr std::int64_t maxCatchUpMs = 250;

private:
    void wake();
    std::int64_t gameNow() const;

    Clock& clock_;
    std::function<void()> wake_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<std::int64_t()> wallMs_ = [this] { return elapsed_.elapsed(); };
    std::int64_t wallBase_ = 0; // wall milliseconds at which the game stood at gameBase_
    std::int64_t gameBase_ = 0;
    std::int64_t lastWake_ = 0; // wall milliseconds of the last advance
    int pauses_ = 0;
    int frameMs_ = 16;
    bool running_ = false;
};

} // namespace runtime::qt
