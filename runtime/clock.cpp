// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/clock.h"

#include <algorithm>

namespace runtime {

void Clock::detach(Timer* timer)
{
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

Timer* Clock::firstDue(std::int64_t t) const
{
    Timer* first = nullptr;
    for (Timer* timer : timers_) {
        // Strictly earlier only: among equals the first created wins.
        if (timer->ticks() && timer->due_ <= t && (!first || timer->due_ < first->due_))
            first = timer;
    }
    return first;
}

void Clock::advanceTo(std::int64_t t)
{
    if (advancing_ || t < now_)
        return;
    advancing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{advancing_};

    while (Timer* timer = firstDue(t)) {
        now_ = timer->due_;
        timer->tick();
    }
    now_ = t;
}

std::optional<std::int64_t> Clock::nextDue() const
{
    std::optional<std::int64_t> next;
    for (const Timer* timer : timers_) {
        if (timer->ticks() && (!next || timer->due_ < *next))
            next = timer->due_;
    }
    return next;
}

Timer::Timer(Clock& clock, int interval, bool enabled)
    : clock_(clock),
      interval_(std::max(interval, 0)),
      enabled_(enabled)
{
    clock_.attach(this);
    restart();
}

Timer::~Timer()
{
    clock_.detach(this);
}

void Timer::restart()
{
    due_ = clock_.now() + interval_;
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    if (on)
        restart();
}

void Timer::setInterval(int ms)
{
    interval_ = std::max(ms, 0);
    if (enabled_)
        restart();
}

std::optional<std::int64_t> Timer::due() const
{
    if (!ticks())
        return std::nullopt;
    return due_;
}

void Timer::tick()
{
    // The next tick is counted from this one. The procedure may still restart the count (a
    // new interval) or switch the timer off.
    due_ += interval_;
    if (!procedure_)
        return;
    try {
        procedure_();
    } catch (...) {
        // A tick that failed would fail again at the next one: the timer stays off until the
        // game switches it on again (a new game, say).
        enabled_ = false;
        throw;
    }
}

} // namespace runtime
