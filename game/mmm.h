// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "runtime/clock.h"
#include "runtime/dialogs.h"
#include "runtime/form.h"
#include "runtime/int16.h"
#include "runtime/random.h"
#include "runtime/sprites.h"

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
inline constexpr std::int16_t formationHits = 126; // 21 columns of 3 + 2 + 1 hits

// Key codes of the keyboard events.
inline constexpr std::int16_t keyLeft = 37;
inline constexpr std::int16_t keyRight = 39;
inline constexpr std::int16_t keySpace = 32;

struct OptionDialog; // a question of the "Options" menu

// The game window: every field, cell, sprite, banner, timer and menu item of the game, and
// the procedures that run on them. The procedures read and write this shared state directly;
// each is kept in the order of its steps.
class mmm final : public runtime::Form {
public:
    // What the game needs from the program around it.
    struct Outside {
        runtime::Dialogs& dialogs;     // the boxes it asks with
        runtime::Random& random;       // the random numbers of the alien fire
        std::function<void()> endProgram;
        std::function<void()> showHelp; // shows the help window, without waiting for it
    };
    explicit mmm(Outside outside);

    void Form_Load();

    // Menu "Général"
    void demarrer_Click();
    void stopi_Click();
    void quit_Click();

    // Menu "Options"
    void vitfuse_Click();
    void vite_Click();
    void sensibilite_Click();
    void vittir_Click();
    void vitmechtir_Click();

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

    std::vector<MenuItem*> menuBar() override;
    void scene(runtime::Scene& out) const override;

    // Game fields
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

    // Text cells
    Cell Text1{"0"};
    Cell tempe{"10000"};
    Cell animation{"1"};
    Cell valyou{"0"};
    Cell valyout{"0"};
    Cell Textsouc{"0"};

    // Sprites
    SpriteArray mechv;
    SpriteArray mechb;
    SpriteArray mechr;
    SpriteArray tir;
    SpriteArray tire;
    Sprite vaisseau;
    Sprite souc;

    // Banners
    Label bon;
    Label perd;
    Label gagne;

    // Timers, in the order their simultaneous ticks run.
    Timer Timer2{clock, 1, true};
    Timer Timer3{clock, 1000, true};
    Timer soucoupe{clock, 10, true};
    Timer dem{clock, 150, false};
    Timer anim{clock, 100, false};
    Timer pg{clock, 10, false};
    Timer PERDUGAGNE{clock, 1, false};
    Timer Timer1{clock, 3000, false};
    Timer tiretimer{clock, 10, false};
    Timer vaisseautimer{clock, 50, false};

    // Menus
    MenuItem general{"Général"};
    MenuItem demarrer{"Démarrer"};
    MenuItem stopi{"Arreter"};
    MenuItem quit{"Quitter"};
    MenuItem opt{"Options"};
    MenuItem vitfuse{"Vitesse de la fusée"};
    MenuItem vite{"Vitesse des e-t"};
    MenuItem sensibilite{"Sensibilité du tir sur les e-t"};
    MenuItem vittir{"Vitesse du tir de la fusée"};
    MenuItem vitmechtir{"Vitesse du tir des e-t"};
    MenuItem anima{"Animation des e-t", true};
    MenuItem aide{"Aide"};

private:
    void tearDownFormation();
    void restoreFirstColumn();
    void addStartingBonus();
    void setScore(double points);
    void parkSaucer();
    void shotPass(std::int16_t a, std::int16_t b);
    bool isHit(const Sprite& alien, const Sprite& shot) const;
    void removeExtraShot(std::int16_t b);
    void win();
    void lose(const QString& why);
    void parkFirstBullet();
    void askOption(const OptionDialog& dialog);

    Outside outside_;
    std::optional<std::int16_t> captionScore_; // the score the caption shows, once it shows one
};

} // namespace game
