// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/pacer.h"

#include <utility>

namespace runtime {

void Pacer::start(std::int64_t wall)
{
    wallBase_ = wall;
    lastWake_ = wall;
    lastShown_ = wall;
    gameBase_ = clock_.now();
    running_ = true;
}

void Pacer::stop()
{
    running_ = false;
    expectingFrame_ = false;
    plannedWake_.reset();
}

void Pacer::catchUp(std::int64_t wall)
{
    expectingFrame_ = false; // whatever this frame or key shows asks anew
    if (!running_ || paused() || clock_.busy())
        return;
    if (stalled(wall))
        gameBase_ -= wall - *plannedWake_ - maxCatchUpMs; // the machine stalled: the game lags
    // A wake-up a little late (a system timer a millisecond coarse, as on Windows) keeps the
    // frames' rhythm: the next frame counts from when this one was due, not from its lateness.
    const bool onBeat = plannedWake_ && wall >= *plannedWake_ && wall - *plannedWake_ < frames_.coming() / 2;
    lastWake_ = onBeat ? *plannedWake_ : wall;
    frames_.next();
    plannedWake_.reset();
    clock_.advanceTo(gameAt(wall));
}

void Pacer::keepUp(std::int64_t wall)
{
    if (!running_ || paused() || clock_.busy())
        return;
    // After a stall the coming wake-up is already late: this one is that frame.
    if (stalled(wall))
        return catchUp(wall);
    clock_.advanceTo(gameAt(wall));
}

bool Pacer::frameComing() const
{
    return plannedWake_ && *plannedWake_ - lastWake_ <= frameWithMargin(frames_.coming());
}

Pacer::Ready Pacer::frameReady(std::int64_t wall)
{
    const bool expected = std::exchange(expectingFrame_, false);
    if (!running_ || paused() || !plannedWake_)
        return Ready::nothing;
    // The display wants a frame now: a wake-up due within a frame (and the margin left for
    // the display's word) is brought forward to it, in this same wake-up of the program. The
    // frames then keep the display's rhythm, also when its word comes soon after a frame of the
    // driver's own (an idle display shows a frame at once, or the two rhythms drifted apart).
    if (*plannedWake_ - wall <= frameWithMargin(frames_.coming()))
        return Ready::wakeNow;
    return expected ? Ready::reschedule : Ready::nothing;
}

std::optional<std::int64_t> Pacer::schedule(std::int64_t wall)
{
    if (!running_ || paused())
        return std::nullopt;
    const auto wait = nextWait(
        {clock_.nextDue(), gameAt(wall), wall, lastWake_, lastShown_, frames_.coming(), expectingFrame_});
    if (!wait)
        plannedWake_.reset();
    else
        plannedWake_ = wall + *wait;
    return wait;
}

bool Pacer::pause(std::int64_t wall)
{
    if (pauses_++ > 0)
        return false;
    gameBase_ += wall - wallBase_;
    wallBase_ = wall;
    plannedWake_.reset();
    return true;
}

bool Pacer::resume(std::int64_t wall)
{
    if (pauses_ == 0 || --pauses_ > 0)
        return false;
    // Carry on from where the game stood when it paused; the pause is no quiet time of the game.
    lastShown_ += wall - wallBase_;
    wallBase_ = wall;
    lastWake_ = wall;
    return true;
}

} // namespace runtime
