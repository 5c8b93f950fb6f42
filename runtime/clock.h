// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "runtime/watched.h"

namespace runtime {

class Timer;

// Virtual milliseconds. Nothing here reads the wall clock: the game moves only when someone
// advances the clock, so a whole game can be replayed exactly, as fast as the machine allows.
//
// advanceTo(t) runs every tick due up to t in time order; each tick sees the effects of the
// ones before it. Ticks due at the same millisecond run in the order the timers were created.
//
// A tick depends only on the game's state. So a tick that changed nothing would change nothing
// again, as long as nothing else changes: its timer sleeps, keeping its rhythm, and skips its
// ticks until a change to the game (its count of changes, below) wakes it, at its first tick after that change. When all
// the timers sleep nothing is due, and the clock can be moved on by hours at once. The game
// played is exactly the one where every tick runs.
class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    std::int64_t now() const { return now_; }

    // Runs the due ticks. While a tick runs (a procedure waiting in a box, say) game time
    // stands still: a nested call does nothing, so no tick begins inside another.
    void advanceTo(std::int64_t t);
    void advanceBy(std::int64_t ms) { advanceTo(now_ + ms); }

    // The moment of the next tick that can change something; none when no timer is on, or
    // when every one sleeps and only a change from outside can wake them.
    std::optional<std::int64_t> nextDue() const;

    // True while a tick is running.
    bool busy() const { return advancing_; }

    // Plain values of the game that do not count their own changes (its numeric fields): the
    // clock compares them, byte for byte, around every tick and before each advance. They
    // must outlive the clock's use of them.
    void watch(std::span<const std::byte> values);

    // The game's change count, once the plain values that moved since the last look are
    // counted: the one way to tell that something changed, for the clock and for whoever shows
    // the game.
    std::uint64_t countChanges();

    // What every part of the game tells of its changes: its timers, sprites, cells, banners,
    // menus, its caption, and the game itself for a number drawn or a box shown.
    ChangeCount changes;

    // Every tick runs, none sleeps: the same game, the slow way, to compare with.
    void setEveryTick(bool on) { everyTick_ = on; }

private:
    friend class Timer;
    void attach(Timer* timer) { timers_.push_back(timer); }
    void detach(Timer* timer);
    struct Due {
        Timer* timer = nullptr;
        std::size_t order = 0;
        explicit operator bool() const { return timer != nullptr; }
    };
    Due firstDue(std::int64_t t);
    bool valuesMoved() const;
    void noteMovedValues();

    std::vector<Timer*> timers_; // in creation order, which is the order of simultaneous ticks
    std::int64_t now_ = 0;
    // The timer (by creation order) whose tick at now_ ran last, or all of them once the
    // clock has reached now_: where the present moment lies among simultaneous ticks.
    std::size_t ranAtNow_ = SIZE_MAX;
    std::span<const std::byte> values_;
    std::vector<std::byte> valuesSeen_;
    bool advancing_ = false;
    bool everyTick_ = false;
};

// A periodic timer on a Clock. Switching it on, or setting its interval while it is on,
// restarts its count from the present moment; switching it off cancels its coming tick at
// once, even one due at this very millisecond. An interval of 0 means it never ticks. A tick
// that raises an error switches its timer off. Each of these is a change to the game.
class Timer {
public:
    Timer(Clock& clock, int interval, bool enabled);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    int interval() const { return interval_; }
    void setInterval(int ms);

    void onTick(std::function<void()> procedure) { procedure_ = std::move(procedure); }

    // The moment of its coming tick, when the timer is on, whether it sleeps or not.
    std::optional<std::int64_t> due() const;

private:
    friend class Clock;
    bool ticks() const { return enabled_ && interval_ > 0; }
    bool sleeping() const;
    std::int64_t comingTick(std::size_t order) const;
    void restart();
    void tick();

    Clock& clock_;
    std::function<void()> procedure_;
    std::int64_t due_ = 0;           // while it sleeps, a tick of its rhythm that may have passed
    std::uint64_t restingSince_ = 0; // the change count when its tick last changed nothing
    int interval_;
    bool enabled_;
    bool resting_ = false;
};

} // namespace runtime
