// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace runtime {

// How a front end paces the game on the wall clock: one wake-up at a time, at the next due
// tick, but never more often than once a display frame, so that the 1 ms timers run in a
// batch each frame; and none at all while every timer sleeps.

// How late a wake-up may be and still catch the game up to the wall clock. After a longer
// stall (the machine slept, a debugger held the program) the game does not replay minutes in
// one go: it lags instead. A game that waited for the player, with nothing due, is brought up
// to now at once, however long it waited.
inline constexpr std::int64_t maxCatchUpMs = 250;

// When nothing new has been shown for quietMs, what the timers still change cannot be seen (a
// shot flown above the field, say): the game then wakes only every lazyMs, each wake-up still
// running every tick up to its moment, until something shows or the player acts.
inline constexpr std::int64_t quietMs = 2000;
inline constexpr std::int64_t lazyMs = 2000;

// What decides the next wake-up, all in milliseconds: the game's next tick that can change
// something (none when every timer sleeps), game time and wall time now, the wall time of the
// last advance and of the last change shown, the coming display frame, and whether the display
// is to say when it wants the next frame.
struct WakeFacts {
    std::optional<std::int64_t> nextDue;
    std::int64_t game = 0;
    std::int64_t wall = 0;
    std::int64_t lastWake = 0;
    std::int64_t lastShown = 0;
    int frameMs = 16;
    bool expectingFrame = false;
};

// How long to wait for the next wake-up; none when only the player can wake the game.
std::optional<std::int64_t> nextWait(const WakeFacts& facts);

// The longest a frame waits when the display is to ask for it: the display's word may come up
// to half a frame late before the timer stands in for it.
constexpr std::int64_t frameWithMargin(int frameMs)
{
    return frameMs + frameMs / 2;
}

// The display's frames in whole milliseconds, as timers and the wall clock count them, that
// last the display's own frame on average, to the fraction: 16, 17, 17, 16... ms at 60 Hz,
// exactly 60 a second.
class FrameLengths {
public:
    // A rate of 1 to 1000 Hz; any other (a display that does not say) is taken for 60 Hz.
    explicit FrameLengths(double hertz = 60);

    int coming() const { return static_cast<int>((carry_ + perMilliHertz) / milliHertz_); }
    void next() { carry_ = (carry_ + perMilliHertz) % milliHertz_; }

private:
    static constexpr std::int64_t perMilliHertz = 1'000'000; // a millisecond, in 1/1000 Hz
    std::int64_t milliHertz_;
    std::int64_t carry_ = 0; // the frames so far fell short of their true length by carry_ / milliHertz_ ms
};

} // namespace runtime
