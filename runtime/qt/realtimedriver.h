// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

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

    void setFrameInterval(int ms) { frameMs_ = ms > 0 ? ms : 16; }

    // How late a wake-up may be and still catch the game up to the wall clock. After a longer
    // stall (the machine slept, a debugger held the program) the game does not replay minutes
    // in one go: it lags instead. A game that waited for the player, with nothing due, is
    // brought up to now at once, however long it waited.
    static constexpr std::int64_t maxCatchUpMs = 250;

    // When nothing new has been shown for quietMs, what the timers still change cannot be seen
    // (a shot flown above the field, say): the driver then wakes only every lazyMs, each
    // wake-up still running every tick up to its moment, until something shows or the player
    // acts.
    static constexpr std::int64_t quietMs = 2000;
    static constexpr std::int64_t lazyMs = 2000;

    // What decides the next wake-up, all in milliseconds: the game's next tick that can change
    // something (none when every timer sleeps), game time and wall time now, the wall time of
    // the last advance and of the last change shown, a display frame, and whether the display
    // is to say when it wants the next frame.
    struct WakeFacts {
        std::optional<std::int64_t> nextDue;
        std::int64_t game = 0;
        std::int64_t wall = 0;
        std::int64_t lastWake = 0;
        std::int64_t lastShown = 0;
        int frameMs = 16;
        bool expectingFrame = false;
    };
    // How long to wait for the next wake-up; none when only the player can wake the game.
    static std::optional<std::int64_t> nextWait(const WakeFacts& facts);

    // The longest a frame waits when the display is to ask for it: the display's word may come
    // up to half a frame late before the timer stands in for it.
    static constexpr std::int64_t frameWithMargin(int frameMs) { return frameMs + frameMs / 2; }

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
    int frameMs_ = 16;
    bool running_ = false;
    bool expectingFrame_ = false;
};

} // namespace runtime::qt
