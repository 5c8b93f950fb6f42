// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/mmm.h"
#include "runtime/french.h"

namespace game {

namespace {

constexpr char confirmationTitle[] = "Confirmation";
constexpr char leavePreviousGame[] = "Êtes vous sûr de quitter la partie précédente?";

// Where a new game puts the alien bullets: above the blue row, so that the first alien-fire
// tick launches them all.
constexpr float bulletsReady = 550;
static_assert(bulletsReady < blueRowTop);

} // namespace

// Asks before leaving the game in progress. On yes, every timer of the game stops and the
// formation counts as not built; on no, nothing changes.
bool mmm::confirmAndStop()
{
    if (messageBox(leavePreviousGame, runtime::styleYesNoExclamation, confirmationTitle) == runtime::answerNo)
        return false;

    stopPlay();
    vaisseautimer.setEnabled(false);
    PERDUGAGNE.setEnabled(false);
    Text1.Text = "0";
    return true;
}

// What every end of a game switches off, a start or a stop as well as a win or a loss: the
// fleet's build, descent and wiggle, the hits of the shots, the end of the extra shot and the
// alien fire. Each leaves the ship and the outcome check to its own steps.
void mmm::stopPlay()
{
    for (Timer* timer : {&dem, &anim, &pg, &Timer1, &tiretimer})
        timer->setEnabled(false);
}

void mmm::demarrer_Click()
{
    if (!confirmAndStop())
        return;
    perd.Visible = false;
    gagne.Visible = false;

    demarrer.Caption = "Redémarrer";
    aide.Enabled = false;
    opt.Enabled = false;
    score = 0;
    general.Enabled = false;
    stopi.Enabled = true;

    // Only the very first start finds the formation at its single design column.
    if (nbcol > 1)
        tearDownFormation();
    restoreFirstColumn();

    dem.setEnabled(true);
    vaisseautimer.setEnabled(true);
    pg.setEnabled(true);
    Timer1.setEnabled(true);
    tiretimer.setEnabled(true);

    nbcol = 1;
    addStartingBonus();
}

// Back to the first column, with every alien bullet above the blue row so that the first
// alien-fire tick launches them all.
void mmm::tearDownFormation()
{
    for (col = 2; col <= formationColumns; ++col) {
        mechb.destroy(col);
        mechr.destroy(col);
        mechv.destroy(col);
    }
    for (std::int16_t v = 0; v <= lastAlienBullet; ++v)
        tire(v).Top = bulletsReady;
    placertir();
    mechb(1).Top = blueRowTop;
    mechv(1).Top = greenRowTop;
    mechr(1).Top = redRowTop;
    nbcol = 1;
    dem.setInterval(laterBuildInterval);
}

// The new columns are copied from the first one, so it must be whole again: every alien shown
// with its full count of hits, and the whole formation's hits still to make. Otherwise a game
// after a won or lost one would copy dead aliens across the field and could never be won.
// The first column keeps its Left, wiggle offset included.
void mmm::restoreFirstColumn()
{
    mechv(1).Visible = true;
    mechv(1).Tag = runtime::french::toText(greenHits);
    mechb(1).Visible = true;
    mechb(1).Tag = runtime::french::toText(blueHits);
    mechr(1).Visible = true;
    reste = formationHits;
}

// Fast aliens and fast alien fire earn points before the first shot.
void mmm::addStartingBonus()
{
    // A descent interval of 0 or less would divide by zero or give a meaningless bonus: that
    // part of the bonus is then left out.
    const double descent = tempe.value();
    if (descent > 0)
        setScore(score + descentBonus / (descent / 10.0));
    setScore(score + vittire / 10.0);
}

// Every change of the score goes through here: rounded to the nearest whole number, halves to
// the even neighbour, and held within the 16-bit range instead of wrapping around.
void mmm::setScore(double points)
{
    score = saturated(points);
}

void mmm::stopi_Click()
{
    if (!confirmAndStop())
        return;

    stopi.Enabled = false;
    demarrer.Caption = "Redémarrer";
    score = 0;
    aide.Enabled = true;
    // The formation stays on the field; the next start must tear it down.
    nbcol = 2;
    dem.setInterval(laterBuildInterval);
    opt.Enabled = true;
}

void mmm::quit_Click()
{
    if (messageBox("Etes vous sûr?", runtime::styleYesNo, confirmationTitle) != runtime::answerNo)
        outside_.endProgram();
}

// The program shows the window beside the game, without waiting for it to be closed.
void mmm::aide_Click()
{
    outside_.showHelp();
}

void mmm::Timer2_Timer()
{
    // Rebuilding the same caption a thousand times a second would change nothing.
    if (captionScore_ == score)
        return;
    captionScore_ = score;
    Caption = "Gromzak   Points:  " + runtime::french::toText(score);
}

void mmm::Timer3_Timer()
{
    bon.Visible = false;
}

} // namespace game
