// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/realtimedriver.h"

#include <algorithm>
#include <optional>

namespace runtime::qt {

RealTimeDriver::RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent)
    : QObject(parent),
      clock_(clock),
      wake_(std::move(wake))
{
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RealTimeDriver::wake);
}

void RealTimeDriver::start()
{
    wallBase_ = wallMs_();
    lastWake_ = wallBase_;
    lastShown_ = wallBase_;
    gameBase_ = clock_.now();
    running_ = true;
    schedule();
}

void RealTimeDriver::stop()
{
    running_ = false;
    timer_.stop();
    plannedWake_.reset();
}

std::int64_t RealTimeDriver::gameNow() const
{
    return gameBase_ + (wallMs_() - wallBase_);
}

void RealTimeDriver::catchUp()
{
    if (!running_ || paused() || clock_.busy())
        return;
    const std::int64_t wall = wallMs_();
    if (plannedWake_ && wall - *plannedWake_ > maxCatchUpMs)
        gameBase_ -= wall - *plannedWake_ - maxCatchUpMs; // the machine stalled: the game lags
    // A wake-up a little late (a system timer a millisecond coarse, as on Windows) keeps the
    // frames' rhythm: the next frame counts from when this one was due, not from its lateness.
    const bool onBeat = plannedWake_ && wall >= *plannedWake_ && wall - *plannedWake_ < frameMs_ / 2;
    lastWake_ = onBeat ? *plannedWake_ : wall;
    plannedWake_.reset();
    clock_.advanceTo(gameNow());
}

void RealTimeDriver::wake()
{
    wake_();
    schedule();
}

void RealTimeDriver::schedule()
{
    if (!running_ || paused())
        return;
    const auto next = clock_.nextDue();
    if (!next) {
        timer_.stop(); // nothing will happen until the player acts
        plannedWake_.reset();
        return;
    }
    const std::int64_t wall = wallMs_();
    std::int64_t wait = std::max(*next - gameNow(), lastWake_ + frameMs_ - wall);
    if (wall - lastShown_ >= quietMs)
        wait = std::max(wait, lastWake_ + lazyMs - wall);
    wait = std::clamp<std::int64_t>(wait, 0, 60'000);
    plannedWake_ = wall + wait;
    timer_.start(static_cast<int>(wait));
}

void RealTimeDriver::pause()
{
    if (pauses_++ == 0) {
        const std::int64_t now = wallMs_();
        gameBase_ += now - wallBase_;
        wallBase_ = now;
        timer_.stop();
        plannedWake_.reset();
    }
}

void RealTimeDriver::resume()
{
    if (pauses_ == 0 || --pauses_ > 0)
        return;
    // Carry on from where the game stood when it paused.
    wallBase_ = wallMs_();
    lastWake_ = wallBase_;
    schedule();
}

} // namespace runtime::qt
