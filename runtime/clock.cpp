// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/clock.h"

#include <algorithm>

namespace runtime {

void Clock::detach(Timer* timer)
{
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void Clock::watch(std::span<const std::byte> values)
{
    values_ = values;
    valuesSeen_.assign(values.begin(), values.end());
}

bool Clock::valuesMoved() const
{
    return !std::equal(values_.begin(), values_.end(), valuesSeen_.begin(), valuesSeen_.end());
}

void Clock::noteMovedValues()
{
    if (valuesMoved()) {
        valuesSeen_.assign(values_.begin(), values_.end());
        changes.note();
    }
}

std::uint64_t Clock::countChanges()
{
    noteMovedValues();
    return changes.value();
}

Clock::Due Clock::firstDue(std::int64_t t)
{
    Due first;
    for (std::size_t order = 0; order < timers_.size(); ++order) {
        Timer* timer = timers_[order];
        if (!timer->ticks())
            continue;
        if (timer->resting_) {
            if (timer->restingSince_ == changes.value())
                continue; // asleep: its ticks would change nothing
            timer->due_ = timer->comingTick(order);
            timer->resting_ = false;
        }
        // Strictly earlier only: among equals the first created wins.
        if (timer->due_ <= t && (!first.timer || timer->due_ < first.timer->due_))
            first = {timer, order};
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

    noteMovedValues(); // changed from outside since the last tick
    while (const Due due = firstDue(t)) {
        Timer* timer = due.timer;
        now_ = timer->due_;
        ranAtNow_ = due.order;
        const std::uint64_t before = changes.value();
        timer->tick();
        noteMovedValues();
        if (!everyTick_ && changes.value() == before) {
            timer->resting_ = true;
            timer->restingSince_ = changes.value();
        }
    }
    now_ = t;
    ranAtNow_ = SIZE_MAX;
}

std::optional<std::int64_t> Clock::nextDue() const
{
    const bool moved = valuesMoved();
    std::optional<std::int64_t> next;
    for (std::size_t order = 0; order < timers_.size(); ++order) {
        const Timer* timer = timers_[order];
        if (!timer->ticks() || (timer->sleeping() && !moved))
            continue;
        const std::int64_t due = timer->resting_ ? timer->comingTick(order) : timer->due_;
        if (!next || due < *next)
            next = due;
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

bool Timer::sleeping() const
{
    return resting_ && restingSince_ == clock_.changes.value();
}

std::int64_t Timer::comingTick(std::size_t order) const
{
    // The first tick of its rhythm after the present moment; one at this very millisecond is
    // still to come if its timer comes after the one that ran last.
    const std::int64_t now = clock_.now_;
    if (due_ > now || (due_ == now && order > clock_.ranAtNow_))
        return due_;
    std::int64_t coming = due_ + (now - due_) / interval_ * interval_;
    if (coming < now || order <= clock_.ranAtNow_)
        coming += interval_;
    return coming;
}

void Timer::restart()
{
    due_ = clock_.now() + interval_;
    resting_ = false;
    clock_.changes.note();
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    clock_.changes.note();
    if (on)
        restart();
}

void Timer::setInterval(int ms)
{
    const int interval = std::max(ms, 0);
    if (interval != interval_) {
        interval_ = interval;
        clock_.changes.note();
    }
    if (enabled_)
        restart();
}

std::optional<std::int64_t> Timer::due() const
{
    if (!ticks())
        return std::nullopt;
    if (!resting_)
        return due_;
    const auto& timers = clock_.timers_;
    const auto order =
        static_cast<std::size_t>(std::find(timers.begin(), timers.end(), this) - timers.begin());
    return comingTick(order);
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
        clock_.changes.note();
        throw;
    }
}

} // namespace runtime
