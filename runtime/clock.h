// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace runtime {

class Timer;

// Virtual milliseconds. Nothing here reads the wall clock: the game moves only when someone
// advances the clock, so a whole game can be replayed exactly, as fast as the machine allows.
//
// advanceTo(t) runs every tick due up to t in time order; each tick sees the effects of the
// ones before it. Ticks due at the same millisecond run in the order the timers were created.
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

    // The moment of the next tick, if any timer is on.
    std::optional<std::int64_t> nextDue() const;

    // True while a tick is running.
    bool busy() const { return advancing_; }

private:
    friend class Timer;
    void attach(Timer* timer) { timers_.push_back(timer); }
    void detach(Timer* timer);
    Timer* firstDue(std::int64_t t) const;

    std::vector<Timer*> timers_; // in creation order, which is the order of simultaneous ticks
    std::int64_t now_ = 0;
    bool advancing_ = false;
};

// A periodic timer on a Clock. Switching it on, or setting its interval while it is on,
// restarts its count from the present moment; switching it off cancels its coming tick at
// once, even one due at this very millisecond. An interval of 0 means it never ticks. A tick
// that raises an error switches its timer off.
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

    // The moment of the coming tick, when the timer is on.
    std::optional<std::int64_t> due() const;

private:
    friend class Clock;
    bool ticks() const { return enabled_ && interval_ > 0; }
    void restart();
    void tick();

    Clock& clock_;
    std::function<void()> procedure_;
    std::int64_t due_ = 0;
    int interval_;
    bool enabled_;
};

} // namespace runtime
