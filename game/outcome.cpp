// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/mmm.h"
#include "runtime/french.h"

namespace game {

namespace {

constexpr char scoreTitle[] = "Score";
constexpr char bulletLoss[] = "Vous avez été touché par une balle ennemie ";

} // namespace

// Is the game won or lost? The win is tested first: a last hit made while a bullet lies on
// the ship still wins.
void mmm::PERDUGAGNE_Timer()
{
    if (reste == 0) {
        win();
        return;
    }

    // Only the bullet's top-left corner counts, shown or not; every comparison is strict.
    for (std::int16_t v = 0; v <= lastAlienBullet; ++v) {
        const Sprite& bullet = tire(v);
        if (bullet.Top > vaisseau.Top - 1 && bullet.Top < vaisseau.Top + vaisseau.Height - 150
            && bullet.Left > vaisseau.Left && bullet.Left < vaisseau.Left + vaisseau.Width) {
            lose(bulletLoss);
            return;
        }
    }

    // A live alien below the ship's top has landed.
    const std::int16_t last = nbcol;
    for (col = 1; col <= last; ++col) {
        for (const Sprite* alien : {&mechv(col), &mechb(col), &mechr(col)}) {
            if (alien->Visible && alien->Top > vaisseau.Top) {
                lose("");
                return;
            }
        }
    }
}

// An ending switches the game timers off together, first: no tick runs between the steps of
// one procedure, so the player sees the ending the steps make in their own order.
void mmm::win()
{
    stopPlay();
    setScore(score + winBonus);
    parkFirstBullet();
    gagne.Visible = true;
    messageBox("Bravo vous avez gagné " + runtime::french::toText(winBonus)
                   + " pt de plus en gagnant, votre score est de: " + runtime::french::toText(score),
               runtime::styleInformation, scoreTitle);
    PERDUGAGNE.setEnabled(false);
}

void mmm::lose(const std::string& why)
{
    stopPlay();
    perd.Visible = true;
    parkFirstBullet();
    messageBox(why + "Votre score est de: " + runtime::french::toText(score), runtime::styleInformation,
               scoreTitle);
    PERDUGAGNE.setEnabled(false);
}

// The first bullet is put at the top edge of the field (lower when hidden), out of the
// ship's way.
void mmm::parkFirstBullet()
{
    tire(0).Top = tire(0).Visible ? 0.0f : 200.0f;
}

} // namespace game
