// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/realtimedriver.h"

#include <algorithm>

namespace runtime::qt {

RealTimeDriver::RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent)
    : QObject(parent),
      clock_(clock),
      wake_(std::move(wake))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RealTimeDriver::wake);
}

void RealTimeDriver::start()
{
    elapsed_.start();
    wallBase_ = wallMs_();
    lastWake_ = wallBase_;
    gameBase_ = clock_.now();
    running_ = true;
    schedule();
}

void RealTimeDriver::stop()
{
    running_ = false;
    timer_.stop();
}

std::int64_t RealTimeDriver::gameNow() const
{
    return gameBase_ + (wallMs_() - wallBase_);
}

void RealTimeDriver::catchUp()
{
    if (!running_ || paused() || clock_.busy())
        return;
    std::int64_t target = gameNow();
    if (target - clock_.now() > maxCatchUpMs && clock_.nextDue()) {
        gameBase_ -= target - clock_.now() - maxCatchUpMs;
        target = clock_.now() + maxCatchUpMs;
    }
    lastWake_ = wallMs_();
    clock_.advanceTo(target);
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
        return;
    }
    const std::int64_t untilDue = *next - gameNow();
    const std::int64_t untilFrame = lastWake_ + frameMs_ - wallMs_();
    timer_.start(static_cast<int>(std::clamp<std::int64_t>(std::max(untilDue, untilFrame), 0, 60'000)));
}

void RealTimeDriver::pause()
{
    if (pauses_++ == 0) {
        const std::int64_t now = wallMs_();
        gameBase_ += now - wallBase_;
        wallBase_ = now;
        timer_.stop();
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
