// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/clock.h"
#include "runtime/pacing.h"

namespace runtime {

// Moves the virtual clock along with the wall clock, paced as runtime/pacing.h says: the 1 ms
// timers are run in a batch each frame, in their exact virtual order, instead of waking the
// machine a thousand times a second, and nothing wakes it while every timer sleeps. Every
// front end arms its own timer with the waits this gives; the wall time is always passed in,
// in milliseconds.
class Pacer {
public:
    explicit Pacer(Clock& clock) : clock_(clock) {}

    // Starts following the wall clock from the clock's present moment.
    void start(std::int64_t wall);
    void stop();
    bool running() const { return running_; }

    // Brings the clock up to the wall clock, at every wake-up: a frame.
    void catchUp(std::int64_t wall);

    // Brings the clock up to the wall clock between two frames, before a key or a menu command
    // runs at its own moment, and leaves the frames' rhythm as it was.
    void keepUp(std::int64_t wall);

    // Whether the coming wake-up is the next frame, so that what changes now is shown then.
    bool frameComing() const;

    // Plans the next wake-up from the clock, after anything that may have woken a timer: how
    // long to wait for it, or none, when only the player can wake the game.
    std::optional<std::int64_t> schedule(std::int64_t wall);

    // Something new was shown, or the player acted: the game is lively.
    void shown(std::int64_t wall) { lastShown_ = wall; }

    // A display that says when it is ready for the next frame (a Wayland compositor, once a
    // frame has been shown) wakes the program to say so anyway. The frames then follow that
    // word instead of a timer due a moment before it, which would wake the program twice a
    // frame: after a frame shown, expectFrame(); when the display is ready, frameReady(). The
    // timer waits half a frame more meanwhile, and stands in for a display that stops asking
    // (a hidden window), so game time goes on.
    void expectFrame() { expectingFrame_ = true; }
    enum class Ready { wakeNow, reschedule, nothing };
    Ready frameReady(std::int64_t wall);

    // The wall-clock moment of the coming wake-up; none while the game waits for the player.
    std::optional<std::int64_t> plannedWake() const { return plannedWake_; }

    // Game time stands still between pause() and resume(), e.g. while a modal box is open;
    // nested pairs are fine. Each says whether it was the outermost one: the timer is then to
    // be stopped, or armed again with schedule().
    bool pause(std::int64_t wall);
    bool resume(std::int64_t wall);
    bool paused() const { return pauses_ > 0; }

    // The display's refresh rate, in hertz: the frames last as long as its own.
    void setFrameRate(double hertz) { frames_ = FrameLengths(hertz); }

    // Wake-ups that the window system itself delays (a browser's hidden tab, whose timers it
    // slows down) are no stall of the machine: the game then catches up however late they are.
    void setLateWakesExpected(bool expected) { lateWakesExpected_ = expected; }

private:
    // Game time at a wall time.
    std::int64_t gameAt(std::int64_t wall) const { return gameBase_ + (wall - wallBase_); }
    bool stalled(std::int64_t wall) const
    {
        return !lateWakesExpected_ && plannedWake_ && wall - *plannedWake_ > maxCatchUpMs;
    }

    Clock& clock_;
    std::int64_t wallBase_ = 0; // wall milliseconds at which the game stood at gameBase_
    std::int64_t gameBase_ = 0;
    std::int64_t lastWake_ = 0;  // wall milliseconds of the last advance
    std::int64_t lastShown_ = 0; // wall milliseconds when something new was last shown
    std::optional<std::int64_t> plannedWake_;
    int pauses_ = 0;
    FrameLengths frames_;
    bool running_ = false;
    bool expectingFrame_ = false;
    bool lateWakesExpected_ = false;
};

} // namespace runtime
