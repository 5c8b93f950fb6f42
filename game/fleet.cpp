// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <climits>
#include <cmath>

#include "game/mmm.h"
#include "runtime/french.h"

namespace game {

namespace {

constexpr float descentStep = 200;
constexpr float bulletBottom = 6100;         // past it, a bullet has left the field
constexpr float bulletSpread = 8400;         // bullets land anywhere across the field's width
constexpr float saucerParking = 8300;        // where the saucer waits, off the right edge
constexpr float saucerGone = -5000;          // past it, a crossing is over
constexpr std::int16_t saucerWait = 10000;   // the countdown between two crossings
constexpr std::int16_t saucerCountdown = 80; // taken off it every saucer tick
constexpr float saucerStep = 200;            // the saucer's flight leftwards a tick
// The saucer flies once the green row's top is below this: after the second descent.
constexpr float saucerFormationTop = 500;
static_assert(greenRowTop + descentStep < saucerFormationTop
              && greenRowTop + 2 * descentStep > saucerFormationTop);

// The descent interval, read from its cell as whole milliseconds.
int wholeMilliseconds(double value)
{
    return static_cast<int>(std::clamp(std::nearbyint(value), 0.0, double(INT_MAX)));
}

} // namespace

// Builds the formation one column per tick; once it stands, brings the game to life and from
// then on lowers it at the player's chosen interval.
void mmm::dem_Timer()
{
    if (nbcol < formationColumns && Text1.value() != 1) {
        nbcol += 1;
        const std::int16_t n = nbcol;
        for (SpriteArray* row : {&mechv, &mechb, &mechr}) {
            row->create(n);
            (*row)(n).Visible = true;
            (*row)(n).Left = (*row)(n - 1).Left + columnSpacing;
        }
        // A new column copies column 1, which the player may already have hit during the
        // build: it gets its own full hit counts, as the hits still needed count them.
        mechv(n).Tag = runtime::french::toText(greenHits);
        mechb(n).Tag = runtime::french::toText(blueHits);
        return;
    }

    Text1.Text = "1";
    PERDUGAGNE.setEnabled(true);
    general.Enabled = true;
    if (animation.value() == 1)
        anim.setEnabled(true);
    // The first tick after the build still runs at the build's short interval: that is the
    // tick that must not move the formation yet.
    if (dem.interval() >= descentThreshold) {
        const std::int16_t last = nbcol;
        for (col = 1; col <= last; ++col) {
            mechv(col).Top += descentStep;
            mechr(col).Top += descentStep;
            mechb(col).Top += descentStep;
        }
    }
    dem.setInterval(wholeMilliseconds(tempe.value()));
}

// Neighbouring columns step sideways in opposite directions; as the formation has an odd
// number of columns, the next tick moves each one back.
void mmm::anim_Timer()
{
    const std::int16_t last = nbcol;
    for (col = 1; col <= last; ++col) {
        decal = static_cast<std::int16_t>(-decal);
        mechv(col).Left += decal;
        mechr(col).Left += decal;
        mechb(col).Left += decal;
    }
}

void mmm::anima_Click()
{
    anima.Checked = !anima.Checked;
    animation.Text = anima.Checked ? "1" : "0";
}

// The alien bullets fall from the blue row. Each launch scatters them all across the field.
void mmm::tiretimer_Timer()
{
    for (std::int16_t v = 0; v <= lastAlienBullet; ++v) {
        Sprite& bullet = tire(v);
        const float launchHeight = mechb(1).Top; // follows the formation, dead or alive
        bullet.Visible = true;
        if (bullet.Top > bulletBottom)
            bullet.Top = launchHeight - 75;
        if (bullet.Top <= launchHeight) {
            for (std::int16_t k = 0; k <= lastAlienBullet; ++k)
                tire(k).Left = random() * bulletSpread;
            bullet.Top = launchHeight + 30;
        }
        bullet.Top += vittire;
    }
}

// Once the formation has come down twice, the saucer crosses the top again and again.
void mmm::soucoupe_Timer()
{
    if (!(mechv(1).Top > saucerFormationTop))
        return;
    Textsouc.setValue(saturated(Textsouc.value() - saucerCountdown));
    if (souc.Left < saucerGone)
        parkSaucer();
    if (Textsouc.value() <= 0) {
        souc.Visible = true;
        souc.Left -= saucerStep;
    }
}

// Hidden off the right edge, for the whole countdown to its next crossing.
void mmm::parkSaucer()
{
    souc.Left = saucerParking;
    souc.Visible = false;
    Textsouc.setValue(saucerWait);
}

} // namespace game
