// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/realtimedriver.h"

#include <algorithm>
#include <optional>
#include <utility>

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
    expectingFrame_ = false;
    timer_.stop();
    plannedWake_.reset();
}

std::int64_t RealTimeDriver::gameNow() const
{
    return gameAt(wallMs_());
}

void RealTimeDriver::catchUp()
{
    expectingFrame_ = false; // whatever this frame or key shows asks anew
    if (!running_ || paused() || clock_.busy())
        return;
    const std::int64_t wall = wallMs_();
    if (plannedWake_ && wall - *plannedWake_ > maxCatchUpMs)
        gameBase_ -= wall - *plannedWake_ - maxCatchUpMs; // the machine stalled: the game lags
    // A wake-up a little late (a system timer a millisecond coarse, as on Windows) keeps the
    // frames' rhythm: the next frame counts from when this one was due, not from its lateness.
    const bool onBeat = plannedWake_ && wall >= *plannedWake_ && wall - *plannedWake_ < frames_.coming() / 2;
    lastWake_ = onBeat ? *plannedWake_ : wall;
    frames_.next();
    plannedWake_.reset();
    clock_.advanceTo(gameAt(wall));
}

void RealTimeDriver::keepUp()
{
    if (!running_ || paused() || clock_.busy())
        return;
    // After a stall the coming wake-up is already late: this one is that frame.
    if (plannedWake_ && wallMs_() - *plannedWake_ > maxCatchUpMs)
        return catchUp();
    clock_.advanceTo(gameNow());
}

bool RealTimeDriver::frameComing() const
{
    return plannedWake_ && *plannedWake_ - lastWake_ <= frameWithMargin(frames_.coming());
}

void RealTimeDriver::wake()
{
    wake_();
    schedule();
}

void RealTimeDriver::frameReady()
{
    const bool expected = std::exchange(expectingFrame_, false);
    if (!running_ || paused() || !plannedWake_)
        return;
    // The display wants a frame now: a wake-up due within a frame (and the margin left for
    // the display's word) is brought forward to it, in this same wake-up of the program. The
    // frames then keep the display's rhythm, also when its word comes soon after a frame of the
    // driver's own (an idle display shows a frame at once, or the two rhythms drifted apart).
    if (*plannedWake_ - wallMs_() <= frameWithMargin(frames_.coming())) {
        timer_.stop();
        wake();
    } else if (expected) {
        schedule();
    }
}

void RealTimeDriver::schedule()
{
    if (!running_ || paused())
        return;
    const std::int64_t wall = wallMs_();
    const auto wait = nextWait(
        {clock_.nextDue(), gameAt(wall), wall, lastWake_, lastShown_, frames_.coming(), expectingFrame_});
    if (!wait) {
        timer_.stop();
        plannedWake_.reset();
        return;
    }
    plannedWake_ = wall + *wait;
    timer_.start(static_cast<int>(*wait));
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
    // Carry on from where the game stood when it paused; the pause is no quiet time of the game.
    const std::int64_t now = wallMs_();
    lastShown_ += now - wallBase_;
    wallBase_ = now;
    lastWake_ = now;
    schedule();
}

} // namespace runtime::qt
