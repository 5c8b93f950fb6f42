// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/cell.h"
#include "runtime/clock.h"
#include "runtime/codes.h"
#include "runtime/dialogs.h"
#include "runtime/form.h"
#include "runtime/int16.h"
#include "runtime/label.h"
#include "runtime/menuitem.h"
#include "runtime/random.h"
#include "runtime/scene.h"
#include "runtime/sprites.h"
#include "runtime/watched.h"

namespace game {

using runtime::Cell;
using runtime::Label;
using runtime::MenuItem;
using runtime::Sprite;
using runtime::SpriteArray;
using runtime::Timer;
using runtime::saturated;

// Numbers of the playfield that more than one procedure relies on (twips).
inline constexpr float fieldWidth = 8505;
inline constexpr float fieldHeight = 6135;
inline constexpr std::int16_t formationColumns = 21;
inline constexpr float columnSpacing = 400;
inline constexpr float greenRowTop = 120;
inline constexpr float blueRowTop = 600;
inline constexpr float redRowTop = 1080;
// The ship wraps round the field once its Left leaves wrapLeft..wrapRight.
inline constexpr float wrapLeft = -200;
inline constexpr float wrapRight = 8280;

// The hits an alien takes, counted down in its Tag (as text). A red alien has no count: its
// first hit brings it down.
inline constexpr std::int16_t greenHits = 3;
inline constexpr std::int16_t blueHits = 2;
inline constexpr std::int16_t formationHits = formationColumns * (greenHits + blueHits + 1);

// The alien bullets, tire(0) to tire(lastAlienBullet).
inline constexpr std::int16_t alienBullets = 5;
inline constexpr std::int16_t lastAlienBullet = alienBullets - 1;

// Points. Every hit on an alien scores, also one that does not bring it down.
inline constexpr double alienPoints = 10;  // for a hit on an alien
inline constexpr double saucerBonus = 200; // for a hit on the saucer
inline constexpr double winBonus = 200;    // for winning, which happens to equal it
// A new game starts with descentBonus / (the descent interval in ms / 10) points, plus the
// alien bullets' fall a tick / 10: the faster the aliens, the more points before the first shot.
inline constexpr double descentBonus = 55000;

// The game's settings at load, as the "Options" menu changes them.
inline constexpr std::int16_t defaultShipStep = 240;   // vitvais
inline constexpr std::int16_t defaultSensitivity = 50; // sensib
inline constexpr std::int16_t defaultShotRise = 200;   // vitballe
inline constexpr std::int16_t defaultBulletFall = 30;  // vittire

// Intervals of the timer `dem` (ms). It builds the formation a column a tick, slower in the
// first game than in the later ones. The tick after the build still runs at the build
// interval, and must not lower the formation; from then on `dem` runs at the chosen descent
// interval, which the options never let below shortestDescent. So an interval of at least
// descentThreshold marks a tick that lowers the formation.
inline constexpr int firstBuildInterval = 150;
inline constexpr int laterBuildInterval = 100;
inline constexpr int shortestDescent = 310;
inline constexpr int descentThreshold = 300;
// The interval of the timer `anim` and the sideways step of its wiggle (twips, decal at load):
// the formation wiggles and comes back every other tick.
inline constexpr int wiggleInterval = 100;
inline constexpr std::int16_t wiggleStep = 10;
static_assert(firstBuildInterval < descentThreshold && laterBuildInterval < descentThreshold
              && descentThreshold <= shortestDescent);

using runtime::keyLeft;
using runtime::keyRight;
using runtime::keySpace;

// The rule of the game's state: every change to it must be seen, or timers sleep through it
// and the window shows the old picture (see runtime/watched.h). So the state holds only:
//   - plain numbers here, in Fields, which the clock compares byte for byte around every tick
//     and whenever the change count is read;
//   - members that tell the clock's count of their changes: Cell, Sprite, SpriteArray, Label,
//     Timer, MenuItem, and runtime::Watched<T> for anything else;
//   - and the draws and boxes, which the game counts itself (random(), messageBox(),
//     inputBox()).
// A plain member of mmm outside Fields breaks the rule without a word: the soak test that plays
// each game with and without sleeping timers is what catches it.
//
// The game's fields: what each holds, and which procedures change it.
struct Fields {
    // nbcol: columns of the formation on the field. Form_Load, demarrer_Click and
    //   tearDownFormation set 1, dem_Timer adds one a build tick, stopi_Click sets 2 (so that
    //   the next start tears the formation down).
    // decal: the wiggle's sideways step (twips), its sign flipped column by column. Form_Load,
    //   anim_Timer.
    // nbtir: the newest shot: 1, the permanent shot alone; 2, the extra shot too. Form_Load,
    //   tirer, Timer1_Timer, removeExtraShot.
    // sensib: twips added on each side of an alien in the hit test. Form_Load, the option
    //   "Sensibilité du tir sur les e-t".
    // vitvais: the ship's step a ship tick (twips). Form_Load, the option "Vitesse de la fusée".
    // vittire: the alien bullets' fall a tiretimer tick (twips), part of the starting bonus too.
    //   Form_Load, the option "Vitesse du tir des e-t".
    // col: the column a loop over the formation is at; pg_Timer hands its own to shotPass.
    //   tearDownFormation, dem_Timer, anim_Timer, pg_Timer, PERDUGAGNE_Timer.
    // score: the points of the caption. demarrer_Click and stopi_Click set 0; setScore, from
    //   addStartingBonus, shotPass and win.
    // reste: the hits still needed to win. Form_Load, restoreFirstColumn, shotPass.
    // vitballe: the rise of the player's shots a ship tick (twips). Form_Load, the option
    //   "Vitesse du tir de la fusée".
    std::int16_t nbcol = 0;
    std::int16_t decal = 0;
    std::int16_t nbtir = 0;
    std::int16_t sensib = 0;
    std::int16_t vitvais = 0;
    std::int16_t vittire = 0;
    std::int16_t col = 0;
    std::int16_t score = 0;
    std::int16_t reste = 0;
    std::int16_t vitballe = 0;
};
static_assert(std::has_unique_object_representations_v<Fields>, "compared byte for byte");

struct OptionDialog; // a question of the "Options" menu

// The game window: every field, cell, sprite, banner, timer and menu item of the game, and
// the procedures that run on them. The procedures read and write this shared state directly;
// each is kept in the order of its steps. Made, it is loaded: shown, its timers may tick.
class mmm final : public runtime::Form, public Fields {
public:
    // What the game needs from the program around it.
    struct Outside {
        runtime::Dialogs& dialogs; // the boxes it asks with
        runtime::Random& random;   // the random numbers of the alien fire
        std::function<void()> endProgram;
        std::function<void()> showHelp; // shows the help window, without waiting for it
    };
    explicit mmm(Outside outside);

    // The window's load, run once by the constructor: the fields' first values.
    void Form_Load();

    // Menu "Général"
    void demarrer_Click();
    void stopi_Click();
    void quit_Click();

    // Menu "Options": its five questions are asked by askOption, from the table of
    // options/options.h.

    // Menu bar command "Aide"
    void aide_Click();

    // Keys and firing
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) override;
    void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift) override;
    void tirer();
    void placertir();
    void vaisseautimer_Timer();
    void pg_Timer();

    // Win and loss
    void PERDUGAGNE_Timer();

    // The alien fleet
    void dem_Timer();
    void anim_Timer();
    void anima_Click();
    void tiretimer_Timer();
    void soucoupe_Timer();

    // Timer ticks
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    void scene(runtime::Scene& out) const override;

    // Text cells, numbers as text.
    // Text1: "1" once the formation stands, "0" until then. dem_Timer; demarrer_Click and
    //   stopi_Click (through confirmAndStop) set "0".
    // tempe: the descent interval in milliseconds. The option "Vitesse des e-t".
    // animation: "1" while the wiggle is chosen, "0" otherwise. anima_Click.
    // valyou: the steering: "4" left, "6" right, "0" none. Form_KeyDown, Form_KeyUp.
    // valyout: nbtir as the last firing left it ("0" before the first): the fire key makes a
    //   shot only while nbtir differs from it. tirer.
    // Textsouc: the countdown to the saucer's next crossing, which goes on while it is 0 or
    //   less. soucoupe_Timer, parkSaucer.
    Cell Text1{clock.changes, "0"};
    Cell tempe{clock.changes, "10000"};
    Cell animation{clock.changes, "1"};
    Cell valyou{clock.changes, "0"};
    Cell valyout{clock.changes, "0"};
    Cell Textsouc{clock.changes, "0"};

    // Sprites. The alien arrays have one member a column, 1 to nbcol; a green or blue alien
    // keeps the hits it still takes in its Tag.
    SpriteArray mechv; // green aliens, the top row: greenHits hits each
    SpriteArray mechb; // blue aliens, the middle row: blueHits hits each
    SpriteArray mechr; // red aliens, the bottom row: one hit
    SpriteArray tir;   // the player's shots: 1 the permanent one, 2 the extra one while it lives
    SpriteArray tire;  // the alien bullets, 0 to lastAlienBullet
    Sprite vaisseau;   // the player's ship, steered along the bottom
    Sprite souc;       // the flying saucer, parked off the right edge between crossings

    // Banners
    Label bon;   // "Bonus +200" after a saucer hit, until Timer3's next tick
    Label perd;  // "PERDU" after a loss, until the next start
    Label gagne; // "GAGNE" after a win, until the next start

    // Timers, in the order their simultaneous ticks run.
    Timer Timer2{clock, 1, true};                // the score into the caption
    Timer Timer3{clock, 1000, true};             // hides the bonus banner
    Timer soucoupe{clock, 10, true};             // the saucer's countdown and crossing
    Timer dem{clock, firstBuildInterval, false}; // the formation's build, then its descent
    Timer anim{clock, wiggleInterval, false};    // the wiggle, when the animation is on
    Timer pg{clock, 10, false};                  // what the permanent shot hits
    Timer PERDUGAGNE{clock, 1, false};           // looks for the win or the loss
    Timer Timer1{clock, 3000, false};            // takes the extra shot away
    Timer tiretimer{clock, 10, false};           // the alien bullets' fall and launch
    Timer vaisseautimer{clock, 50, false};       // the ship's step and the shots' climb

    // Each timer with the procedure its tick runs, in the order above.
    struct TimerTick {
        const char* name;
        Timer mmm::*timer;
        void (mmm::*procedure)();
    };
    static const std::array<TimerTick, 10> timerTicks;

    // Menus
    MenuItem general{clock.changes, "Général"}; // starts, stops and quits; greyed while the formation builds
    MenuItem demarrer{clock.changes, "Démarrer"}; // a new game, "Redémarrer" once one has been started
    MenuItem stopi{clock.changes, "Arreter"};     // stops the game in progress
    MenuItem quit{clock.changes, "Quitter"};      // ends the program
    MenuItem opt{clock.changes, "Options"};       // the settings, only between games
    MenuItem vitfuse{clock.changes, "Vitesse de la fusée"};                // vitvais
    MenuItem vite{clock.changes, "Vitesse des e-t"};                       // the descent interval, tempe
    MenuItem sensibilite{clock.changes, "Sensibilité du tir sur les e-t"}; // sensib
    MenuItem vittir{clock.changes, "Vitesse du tir de la fusée"};          // vitballe
    MenuItem vitmechtir{clock.changes, "Vitesse du tir des e-t"};          // vittire
    MenuItem anima{clock.changes, "Animation des e-t", true};              // the wiggle on or off, animation
    MenuItem aide{clock.changes, "Aide"}; // the help window, only between games

private:
    // The Form runtime's boxes and random numbers; each is something that happened.
    std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title);
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed);
    float random();

    bool confirmAndStop();
    void stopPlay();
    void tearDownFormation();
    void restoreFirstColumn();
    void addStartingBonus();
    void setScore(double points);
    void parkSaucer();
    void shotPass(std::int16_t testedShot, std::int16_t removableShot, std::int16_t column);
    bool isHit(const Sprite& alien, const Sprite& shot) const;
    void removeExtraShot(std::int16_t extraShot);
    void win();
    void lose(const std::string& why);
    void parkFirstBullet();
    void askOption(const OptionDialog& dialog);

    Outside outside_;
    // The score the caption shows, once it shows one.
    runtime::Watched<std::optional<std::int16_t>> captionScore_{clock.changes};
};

} // namespace game
