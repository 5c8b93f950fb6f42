// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A scripted player on virtual time: steers with the arrow keys under the lowest live alien of
// the leftmost column that has one, keeps out of the way of the falling bullets, and holds the
// fire key. With fast shots and a slow descent it wins whole games; without firing it only
// dodges.

#include <algorithm>
#include <cstdint>

#include "game/mmm.h"

namespace scripted {

class Player {
public:
    explicit Player(game::mmm& w, bool firing = true) : w_(w), firing_(firing) {}

    // Plays until the game is won or lost, or `ms` have passed; returns the time played.
    std::int64_t play(std::int64_t ms)
    {
        std::int64_t t = 0;
        for (; t < ms && !w_.gagne.Visible && !w_.perd.Visible; t += 10) {
            steerTo(safe(target()));
            if (firing_ && t % 50 == 0)
                w_.Form_KeyDown(game::keySpace, 0); // the fire key held, repeating
            w_.clock.advanceBy(10);
            saucerSeen_ = saucerSeen_ || w_.souc.Visible;
        }
        return t;
    }

    bool saucerSeen() const { return saucerSeen_; }

private:
    float target() const
    {
        if (!firing_)
            return w_.vaisseau.Left;
        for (std::int16_t c = 1; c <= w_.nbcol; ++c)
            for (const runtime::Sprite* alien : {&w_.mechr(c), &w_.mechb(c), &w_.mechv(c)})
                if (alien->Visible)
                    return alien->Left + alien->Width / 2 - 50; // the shot leaves 50 right of the ship
        return w_.vaisseau.Left;
    }

    // Whether a bullet about to reach the ship lies over the stretch from x1 to x2 (ship Lefts).
    bool dangerous(float x1, float x2) const
    {
        const float lo = std::min(x1, x2) - 150;
        const float hi = std::max(x1, x2) + 450 + 150;
        const float top = w_.vaisseau.Top;
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v) {
            const runtime::Sprite& bullet = w_.tire(v);
            if (bullet.Top > top - 1200 && bullet.Top < top + 300 && bullet.Left > lo && bullet.Left < hi)
                return true;
        }
        return false;
    }

    // The ship wraps round to the other edge once its Left leaves this stretch: the player
    // never steps out of it, and still reaches the last column, under the right edge.
    static constexpr float lowest = game::wrapLeft;
    static constexpr float highest = game::wrapRight;

    float safe(float goal)
    {
        const float here = w_.vaisseau.Left;
        goal = std::clamp(goal, lowest, highest);
        if (!dangerous(here, goal))
            return escaping_ = false, goal;
        if (!dangerous(here, here))
            return escaping_ = false, here; // wait for the bullets to pass
        // Under a bullet: run for the nearest place out of its way, and keep to that choice.
        if (escaping_ && !dangerous(escape_, escape_))
            return escape_;
        for (float step = 240; step < 8500; step += 240)
            for (float x : {here - step, here + step})
                if (x >= lowest && x <= highest && !dangerous(x, x))
                    return escaping_ = true, escape_ = x;
        return here;
    }

    void steerTo(float goal)
    {
        const float here = w_.vaisseau.Left;
        const float gap = goal - here;
        const float step = w_.vitvais;
        if (gap > step / 2 && here + step <= highest) {
            if (w_.valyou.Text != "6")
                w_.Form_KeyDown(game::keyRight, 0);
        } else if (gap < -step / 2 && here - step >= lowest) {
            if (w_.valyou.Text != "4")
                w_.Form_KeyDown(game::keyLeft, 0);
        } else if (w_.valyou.Text != "0") {
            w_.Form_KeyUp(game::keyLeft, 0);
        }
    }

    game::mmm& w_;
    bool firing_;
    bool escaping_ = false; // running for escape_ (no std::optional: GCC 12 at -O3 warns wrongly)
    float escape_ = 0;
    bool saucerSeen_ = false;
};

} // namespace scripted
