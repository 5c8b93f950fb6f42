// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/mmm.h"
#include "runtime/french.h"

namespace game {

namespace {

// Where a shot starts: this far above the ship's top, and this far right of its Left.
constexpr float shotAboveShip = 50;
constexpr float permanentShotRight = 50;
constexpr float extraShotRight = 100;

// Past wrapLeft the ship comes back at rightReentry, which lies 40 twips short of wrapRight.
// The two ways are not mirror images, so rightReentry is a number of its own.
constexpr float rightReentry = 8240;

} // namespace

// Keys only record the steering direction; the ship tick moves the ship.
void mmm::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/)
{
    if (KeyCode == keyLeft)
        valyou.Text = "4";
    if (KeyCode == keyRight)
        valyou.Text = "6";
    if (KeyCode == keySpace)
        tirer();
}

// Releasing any key stops the ship, whatever key is still held.
void mmm::Form_KeyUp(std::int16_t /*KeyCode*/, std::int16_t /*Shift*/)
{
    valyou.Text = "0";
}

// The fire key creates the extra shot at the ship, only while there is none.
void mmm::tirer()
{
    if (valyout.value() == nbtir)
        return;
    nbtir += 1;
    valyout.setValue(nbtir);
    tir.create(nbtir);
    tir(nbtir).Visible = true;
    tir(nbtir).Top = vaisseau.Top - shotAboveShip;
    tir(nbtir).Left = vaisseau.Left + extraShotRight;
}

// Re-arms the permanent shot just above the ship; the next ship tick launches it.
void mmm::placertir()
{
    tir(1).Top = vaisseau.Top - shotAboveShip;
    tir(1).Left = vaisseau.Left + permanentShotRight;
    tir(1).Visible = false;
}

// The extra shot lives at most one period of this timer.
void mmm::Timer1_Timer()
{
    const std::int16_t last = nbtir;
    for (std::int16_t i = 2; i <= last; ++i) {
        tir.destroy(i);
        nbtir = 1;
    }
}

// Carries the shots up, wraps the ship around the field's edges, then takes the step.
void mmm::vaisseautimer_Timer()
{
    const std::int16_t last = nbtir;
    for (std::int16_t i = 1; i <= last; ++i) {
        tir(i).Visible = true;
        tir(i).Top -= vitballe;
    }
    // Both tests come before the step, so the ship may stand one step beyond an edge until
    // the next tick.
    if (vaisseau.Left > wrapRight)
        vaisseau.Left = wrapLeft;
    if (vaisseau.Left < wrapLeft)
        vaisseau.Left = rightReentry;
    if (valyou.value() == 4)
        vaisseau.Left -= vitvais;
    if (valyou.value() == 6)
        vaisseau.Left += vitvais;
}

// While the extra shot exists, tests the permanent shot against the top of the field, the
// saucer and each column of aliens in turn. Only the permanent shot ever hits anything.
void mmm::pg_Timer()
{
    const std::int16_t lastTested = nbtir - 1;
    for (std::int16_t tested = 1; tested <= lastTested; ++tested) {
        const std::int16_t lastColumn = nbcol;
        for (col = 1; col <= lastColumn; ++col) {
            const std::int16_t lastRemovable = nbtir;
            for (std::int16_t removable = 2; removable <= lastRemovable; ++removable)
                shotPass(tested, removable, col);
        }
    }
}

// One pass of the hit tick: shot `testedShot` tested against the saucer and the aliens of
// `column`, shot `removableShot` removed by a hit. The pass ends with any removal, so that a
// removed shot is never touched again.
void mmm::shotPass(std::int16_t testedShot, std::int16_t removableShot, std::int16_t column)
{
    const Sprite& shot = tir(testedShot);
    if (shot.Top < 0) {
        removeExtraShot(removableShot);
        return;
    }

    // Only a saucer on screen can be hit: one parked at the right edge is not there.
    if (souc.Visible && shot.Top < souc.Top + souc.Height && shot.Top > souc.Top && shot.Left > souc.Left
        && shot.Left < souc.Left + souc.Width) {
        setScore(score + saucerBonus);
        parkSaucer();
        bon.Visible = true;
    }

    // The lowest rows are not tested first: green, then red, then blue, at most one a pass.
    for (Sprite* alien : {&mechv(column), &mechr(column), &mechb(column)}) {
        if (!isHit(*alien, shot))
            continue;
        removeExtraShot(removableShot);
        if (alien == &mechr(column)) {
            alien->Visible = false;
        } else {
            const std::int16_t left = saturated(runtime::french::numberOf(alien->Tag.get()) - 1);
            alien->Tag = runtime::french::toText(left);
            if (left == 0)
                alien->Visible = false;
        }
        reste = saturated(reste - 1.0);
        setScore(score + alienPoints);
        return;
    }
}

// A shot hits a shown alien once its top passes the alien's bottom edge within the band of
// the alien's width widened by the sensitivity on both sides. The test has no upper bound, so
// that no shot speed can carry a shot through an alien between two tests.
bool mmm::isHit(const Sprite& alien, const Sprite& shot) const
{
    return alien.Visible && shot.Top < alien.Top + alien.Height && shot.Left > alien.Left - sensib
           && shot.Left < alien.Left + alien.Width + sensib;
}

// The extra shot goes, and the permanent one is re-armed at the ship.
void mmm::removeExtraShot(std::int16_t extraShot)
{
    tir.destroy(extraShot);
    nbtir = 1;
    placertir();
}

} // namespace game
