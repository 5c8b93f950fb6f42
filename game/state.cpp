// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>
#include <span>

#include "game/mmm.h"
#include "options/options.h"
#include "runtime/french.h"

namespace game {

namespace {

using runtime::Banner;
using runtime::SpriteDesign;
using runtime::french::toText;

SpriteDesign picture(const char* name, float left, float top, float width, float height, bool visible,
                     std::string tag = {})
{
    return {name, left, top, width, height, visible, std::move(tag)};
}

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;

} // namespace

mmm::mmm(Outside outside)
    : Form(" Gromzaks v1.0", fieldWidth, fieldHeight),
      mechv(clock.changes, "mechv", 1, picture("mechv", 120, greenRowTop, 360, 375, true, toText(greenHits))),
      mechb(clock.changes, "mechb", 1, picture("mechb", -120, blueRowTop, 360, 405, true, toText(blueHits))),
      mechr(clock.changes, "mechr", 1, picture("mechr", 120, redRowTop, 390, 390, true)),
      tir(clock.changes, "tir", 1, picture("tir", 3600, 5520, 90, 90, false)),
      tire(clock.changes, "tire", 0, picture("tire", 120, 1080, 90, 90, false)),
      vaisseau(clock.changes, picture("vaisseau", 3480, 5640, 450, 450, true)),
      souc(clock.changes, picture("souc", 8280, 0, 1230, 435, false)),
      bon(clock.changes, {"Bonus +" + toText(saucerBonus), 2760, 0, 2415, 375, 13.5, white, black}),
      perd(clock.changes, {"PERDU", 2760, 600, 4215, 495, 18, black, white}),
      gagne(clock.changes, {"GAGNE", 2880, 2040, 4215, 495, 18, black, white}),
      outside_(std::move(outside))
{
    static_assert(lastAlienBullet == 4, "one design member for each alien bullet");
    clock.watch(std::as_bytes(std::span<const Fields>(static_cast<const Fields*>(this), 1)));
    tire.addDesignMember(1, picture("tire", 7680, 1320, 90, 90, false));
    tire.addDesignMember(2, picture("tire", 3120, 1200, 90, 90, false));
    tire.addDesignMember(3, picture("tire", 5160, 1320, 90, 90, false));
    tire.addDesignMember(4, picture("tire", 1560, 960, 90, 90, false));

    stopi.Enabled = false;
    menuBar = {&general, &opt, &aide};
    general.add(demarrer);
    general.add(stopi);
    general.add(quit);
    for (MenuItem* item : {&vitfuse, &vite, &sensibilite, &vittir, &vitmechtir, &anima})
        opt.add(*item);

    demarrer.click = [this] { demarrer_Click(); };
    stopi.click = [this] { stopi_Click(); };
    quit.click = [this] { quit_Click(); };
    anima.click = [this] { anima_Click(); };
    for (const OptionDialog& option : optionDialogs())
        (this->*option.item).click = [this, &option] { askOption(option); };
    aide.click = [this] { aide_Click(); };

    for (const TimerTick& t : timerTicks)
        (this->*t.timer).onTick(std::bind_front(t.procedure, this));

    Form_Load();
}

const std::array<mmm::TimerTick, 10> mmm::timerTicks{{
    {"Timer2", &mmm::Timer2, &mmm::Timer2_Timer},
    {"Timer3", &mmm::Timer3, &mmm::Timer3_Timer},
    {"soucoupe", &mmm::soucoupe, &mmm::soucoupe_Timer},
    {"dem", &mmm::dem, &mmm::dem_Timer},
    {"anim", &mmm::anim, &mmm::anim_Timer},
    {"pg", &mmm::pg, &mmm::pg_Timer},
    {"PERDUGAGNE", &mmm::PERDUGAGNE, &mmm::PERDUGAGNE_Timer},
    {"Timer1", &mmm::Timer1, &mmm::Timer1_Timer},
    {"tiretimer", &mmm::tiretimer, &mmm::tiretimer_Timer},
    {"vaisseautimer", &mmm::vaisseautimer, &mmm::vaisseautimer_Timer},
}};

void mmm::Form_Load()
{
    nbtir = 1;
    nbcol = 1;
    decal = wiggleStep;
    sensib = defaultSensitivity;
    vittire = defaultBulletFall;
    vitvais = defaultShipStep;
    reste = formationHits;
    vitballe = defaultShotRise;
}

// Aliens at the back, then the alien bullets, the player's shots, the ship, the saucer, and
// the banners over everything.
void mmm::scene(runtime::Scene& out) const
{
    out.clear();
    out.add(mechv);
    out.add(mechb);
    out.add(mechr);
    out.add(tire);
    out.add(tir);
    out.add(vaisseau);
    out.add(souc);
    out.add(bon);
    out.add(perd);
    out.add(gagne);
}

std::int16_t mmm::messageBox(const std::string& prompt, std::int16_t style, const std::string& title)
{
    clock.changes.note();
    return outside_.dialogs.messageBox(prompt, style, title);
}

std::string mmm::inputBox(const std::string& prompt, const std::string& title, const std::string& proposed)
{
    clock.changes.note();
    return outside_.dialogs.inputBox(prompt, title, proposed);
}

// A draw changes the generator: the next one differs.
float mmm::random()
{
    clock.changes.note();
    return outside_.random.next();
}

} // namespace game
