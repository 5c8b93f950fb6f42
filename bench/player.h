#pragma once

// A game on virtual time for the benchmark: boxes answered Yes, and a player that steers under
// the aliens, dodges the falling bullets and holds the fire key, so a whole game is won.

#include <algorithm>
#include <deque>
#include <optional>

#include "game/mmm.h"
#include "runtime/dialogs.h"
#include "runtime/random.h"

namespace bench {

class YesDialogs final : public runtime::Dialogs {
public:
    std::deque<QString> typed; // answers of the input boxes, in order
    int boxes = 0;

    std::int16_t messageBox(const QString&, std::int16_t style, const QString&) override
    {
        ++boxes;
        return style == runtime::styleInformation ? runtime::answerOk : runtime::answerYes;
    }
    QString inputBox(const QString&, const QString&, const QString&) override
    {
        if (typed.empty())
            return {};
        const QString answer = typed.front();
        typed.pop_front();
        return answer;
    }
};

class Player {
public:
    explicit Player(game::mmm& w) : w_(w) {}

    // Plays until the game is over or `ms` have passed.
    void play(std::int64_t ms)
    {
        for (std::int64_t t = 0; t < ms && !w_.gagne.Visible && !w_.perd.Visible; t += 10) {
            steerTo(safe(target()));
            if (t % 50 == 0)
                w_.Form_KeyDown(game::keySpace, 0);
            w_.clock.advanceBy(10);
        }
    }

private:
    // Under the lowest live alien of the leftmost column that has one.
    float target() const
    {
        for (std::int16_t c = 1; c <= w_.nbcol; ++c)
            for (const runtime::Sprite* alien : {&w_.mechr(c), &w_.mechb(c), &w_.mechv(c)})
                if (alien->Visible)
                    return alien->Left + alien->Width / 2 - 50; // the shot leaves 50 right of the ship
        return w_.vaisseau.Left;
    }

    // Whether a bullet about to reach the ship lies over the stretch from x1 to x2.
    bool dangerous(float x1, float x2) const
    {
        const float lo = std::min(x1, x2) - 150;
        const float hi = std::max(x1, x2) + 600;
        const float top = w_.vaisseau.Top;
        for (std::int16_t v = 0; v <= 4; ++v) {
            const runtime::Sprite& b = w_.tire(v);
            if (b.Top > top - 1200 && b.Top < top + 300 && b.Left > lo && b.Left < hi)
                return true;
        }
        return false;
    }

    float safe(float goal)
    {
        const float here = w_.vaisseau.Left;
        goal = std::clamp(goal, -190.0f, 8000.0f);
        if (!dangerous(here, goal))
            return escape_.reset(), goal;
        if (!dangerous(here, here))
            return escape_.reset(), here;
        // Under a bullet: keep to one way out, so as not to dither.
        if (escape_ && !dangerous(*escape_, *escape_))
            return *escape_;
        for (float step = 240; step < 8500; step += 240)
            for (float x : {here - step, here + step})
                if (x >= -190 && x <= 8000 && !dangerous(x, x))
                    return *(escape_ = x);
        return here;
    }

    void steerTo(float goal)
    {
        const float gap = goal - w_.vaisseau.Left;
        const float step = w_.vitvais;
        if (gap > step / 2) {
            if (w_.valyou.Text != "6")
                w_.Form_KeyDown(game::keyRight, 0);
        } else if (gap < -step / 2) {
            if (w_.valyou.Text != "4")
                w_.Form_KeyDown(game::keyLeft, 0);
        } else if (w_.valyou.Text != "0") {
            w_.Form_KeyUp(game::keyLeft, 0);
        }
    }

    game::mmm& w_;
    std::optional<float> escape_;
};

} // namespace bench
