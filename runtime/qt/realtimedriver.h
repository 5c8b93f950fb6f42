// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "runtime/clock.h"
#include "runtime/pacing.h"

namespace runtime::qt {

// Moves the virtual clock along with the wall clock, on Qt's timer, paced as runtime/pacing.h
// says: the 1 ms timers are run in a batch each frame, in their exact virtual order, instead of
// waking the machine a thousand times a second, and nothing wakes it while every timer sleeps.
class RealTimeDriver final : public QObject {
    Q_OBJECT
public:
    // At each wake-up the driver calls `wake`, which is to call catchUp() when no procedure of
    // the game is running, and then show what changed.
    RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent = nullptr);

    // Starts following the wall clock from the clock's present moment.
    void start();
    void stop();

    // Brings the clock up to the wall clock now, at every wake-up: a frame.
    void catchUp();

    // Brings the clock up to the wall clock now between two frames, before a key or a menu
    // command runs at its own moment, and leaves the frames' rhythm as it was.
    void keepUp();

    // Whether the coming wake-up is the next frame, so that what changes now is shown then.
    bool frameComing() const;

    // Sets the next wake-up from the clock: after anything that may have woken a timer.
    void schedule();

    // Something new was shown, or the player acted: the game is lively.
    void shown() { lastShown_ = wallMs_(); }

    // A display that says when it is ready for the next frame (a Wayland compositor, once a
    // frame has been shown) wakes the program to say so anyway. The frames then follow that
    // word instead of a timer due a moment before it, which would wake the program twice a
    // frame: after a frame shown, expectFrame(); when the display is ready, frameReady(). The
    // timer waits half a frame more meanwhile, and stands in for a display that stops asking
    // (a hidden window), so game time goes on.
    void expectFrame() { expectingFrame_ = true; }
    void frameReady();

    // The wall-clock moment of the coming wake-up; none while the game waits for the player.
    std::optional<std::int64_t> plannedWake() const { return plannedWake_; }

    // Where the wall-clock milliseconds come from; tests make their own time.
    void setWallClock(std::function<std::int64_t()> milliseconds) { wallMs_ = std::move(milliseconds); }

    // Game time stands still between pause() and resume(), e.g. while a modal box is open;
    // nested pairs are fine.
    void pause();
    void resume();
    bool paused() const { return pauses_ > 0; }

    // The display's refresh rate, in hertz: the frames last as long as its own.
    void setFrameRate(double hertz) { frames_ = FrameLengths(hertz); }

private:
    void wake();
    std::int64_t gameNow() const;
    // Game time at a wall time already read: each reading of the wall clock costs a call.
    std::int64_t gameAt(std::int64_t wall) const { return gameBase_ + (wall - wallBase_); }

    Clock& clock_;
    std::function<void()> wake_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<std::int64_t()> wallMs_ = [this] { return elapsed_.elapsed(); };
    std::int64_t wallBase_ = 0; // wall milliseconds at which the game stood at gameBase_
    std::int64_t gameBase_ = 0;
    std::int64_t lastWake_ = 0;  // wall milliseconds of the last advance
    std::int64_t lastShown_ = 0; // wall milliseconds when something new was last shown
    std::optional<std::int64_t> plannedWake_;
    int pauses_ = 0;
    FrameLengths frames_;
    bool running_ = false;
    bool expectingFrame_ = false;
};

} // namespace runtime::qt
