// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/pacing.h"

#include <algorithm>
#include <cmath>

namespace runtime {

std::optional<std::int64_t> nextWait(const WakeFacts& f)
{
    if (!f.nextDue)
        return std::nullopt; // nothing will happen until the player acts
    // At the next due tick, but no sooner than a frame after the last wake-up: the ticks of a
    // frame run in one batch.
    const std::int64_t frame = f.expectingFrame ? frameWithMargin(f.frameMs) : f.frameMs;
    std::int64_t wait = std::max(*f.nextDue - f.game, f.lastWake + frame - f.wall);
    if (f.wall - f.lastShown >= quietMs)
        wait = std::max(wait, f.lastWake + lazyMs - f.wall);
    return std::clamp<std::int64_t>(wait, 0, 60'000);
}

FrameLengths::FrameLengths(double hertz)
    : milliHertz_(hertz >= 1 && hertz <= 1000 ? std::llround(hertz * 1000) : 60'000)
{
}

} // namespace runtime
