// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests, the soak and the benchmark give the game instead of the real world: boxes
// answered from a script, random numbers from a list, a game window loaded and ready on
// virtual time; and short texts of the game's state, for comparisons that say what differs.

#include <array>
#include <cstdint>
#include <deque>
#include <stdexcept>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "game/mmm.h"
#include "runtime/dialogs.h"
#include "runtime/random.h"

class ScriptedDialogs final : public runtime::Dialogs {
public:
    struct Box {
        QString prompt;
        std::int16_t style;
        QString title;
    };
    struct Input {
        QString prompt;
        QString title;
        QString proposed;
    };

    std::deque<std::int16_t> answers; // for the Yes/No boxes, in order
    std::deque<QString> typed;        // for the input boxes, in order
    std::vector<Box> boxes;           // every message box shown
    std::vector<Input> inputs;        // every input box shown

    // The last message box, as "title (style): prompt"; "no box" before the first.
    QString last() const
    {
        if (boxes.empty())
            return "no box";
        return QStringLiteral("%1 (%2): %3")
            .arg(boxes.back().title)
            .arg(boxes.back().style)
            .arg(boxes.back().prompt);
    }

    std::int16_t showMessage(const QString& prompt, std::int16_t style, const QString& title) override
    {
        boxes.push_back({prompt, style, title});
        if (!runtime::asksYesNo(style))
            return runtime::answerOk;
        if (answers.empty())
            throw std::runtime_error("a Yes/No box nobody expected: " + prompt.toStdString());
        const std::int16_t answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString showInput(const QString& prompt, const QString& title, const QString& proposed) override
    {
        inputs.push_back({prompt, title, proposed});
        if (typed.empty())
            throw std::runtime_error("an input box nobody expected: " + prompt.toStdString());
        const QString answer = typed.front();
        typed.pop_front();
        return answer;
    }
};

// Random numbers read from a list, to know where the alien bullets go; once the list is
// used up, the game's own fixed-seed sequence.
class ScriptedRandom final : public runtime::Random {
public:
    std::deque<float> values;
    int draws = 0;

protected:
    float draw() override
    {
        ++draws;
        if (values.empty())
            return seeded_.next();
        const float value = values.front();
        values.pop_front();
        return value;
    }

private:
    runtime::SeededRandom seeded_;
};

// The phases of a game, as the menus and timers show them.
enum class Phase { Idle, Building, Playing, Over, Stopped, Unknown };

inline const char* phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Idle: return "Idle";
    case Phase::Building: return "Building";
    case Phase::Playing: return "Playing";
    case Phase::Over: return "Over";
    case Phase::Stopped: return "Stopped";
    default: return "Unknown";
    }
}

inline Phase phaseOf(const game::mmm& w)
{
    const bool options = w.opt.Enabled && w.aide.Enabled;
    const bool noOptions = !w.opt.Enabled && !w.aide.Enabled;
    const bool gameTimers = w.dem.enabled() && w.vaisseautimer.enabled() && w.pg.enabled()
                            && w.Timer1.enabled() && w.tiretimer.enabled();
    const bool noGameTimers = !w.dem.enabled() && !w.pg.enabled() && !w.Timer1.enabled()
                              && !w.tiretimer.enabled() && !w.anim.enabled() && !w.PERDUGAGNE.enabled();
    if (w.general.Enabled && w.demarrer.Caption == "Démarrer" && !w.stopi.Enabled && options && noGameTimers
        && !w.vaisseautimer.enabled())
        return Phase::Idle;
    if (!w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions && gameTimers
        && !w.PERDUGAGNE.enabled())
        return Phase::Building;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions && gameTimers
        && w.PERDUGAGNE.enabled())
        return Phase::Playing;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions
        && noGameTimers && w.vaisseautimer.enabled())
        return Phase::Over;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && !w.stopi.Enabled && options && noGameTimers
        && !w.vaisseautimer.enabled())
        return Phase::Stopped;
    return Phase::Unknown;
}

// How many members an array has now.
inline int members(const runtime::SpriteArray& array)
{
    int n = 0;
    array.forEach([&n](const runtime::Sprite&) { ++n; });
    return n;
}

// The names of the timers that are on, in that order: "Timer2 Timer3 soucoupe" at the load.
inline QString timersOn(const game::mmm& w)
{
    QStringList on;
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks)
        if ((w.*t.timer).enabled())
            on << QString::fromLatin1(t.name);
    return on.join(' ');
}

// The five settings in the order of the menu (vitvais, tempe, sensib, vitballe, vittire):
// "240 10000 50 200 30" at the load.
inline QString settings(const game::mmm& w)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(w.vitvais)
        .arg(w.tempe.Text)
        .arg(w.sensib)
        .arg(w.vitballe)
        .arg(w.vittire);
}

// The tops of the five alien bullets: "660 660 660 660 660".
inline QString bulletTops(const game::mmm& w)
{
    QStringList tops;
    for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
        tops << QString::number(w.tire(v).Top);
    return tops.join(' ');
}

// The shown aliens of column c, with the hits the green and blue ones still take:
// "green 3, blue 2, red" for a whole column, "" for a dead one.
inline QString column(const game::mmm& w, std::int16_t c)
{
    QStringList aliens;
    if (w.mechv(c).Visible)
        aliens << "green " + w.mechv(c).Tag;
    if (w.mechb(c).Visible)
        aliens << "blue " + w.mechb(c).Tag;
    if (w.mechr(c).Visible)
        aliens << "red";
    return aliens.join(", ");
}

// Every shown sprite and banner: "mechv(1) mechb(1) mechr(1) vaisseau" at the load.
inline QString shown(const game::mmm& w)
{
    QStringList names;
    const std::pair<const char*, const runtime::SpriteArray*> arrays[] = {
        {"mechv", &w.mechv}, {"mechb", &w.mechb}, {"mechr", &w.mechr}, {"tir", &w.tir}, {"tire", &w.tire}};
    for (const auto& [name, array] : arrays)
        for (std::int16_t i = 0; i <= game::formationColumns; ++i)
            if (array->exists(i) && (*array)(i).Visible)
                names << QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
    const std::pair<const char*, bool> single[] = {{"vaisseau", w.vaisseau.Visible},
                                                   {"souc", w.souc.Visible},
                                                   {"bon", w.bon.Visible},
                                                   {"perd", w.perd.Visible},
                                                   {"gagne", w.gagne.Visible}};
    for (const auto& [name, visible] : single)
        if (visible)
            names << QString::fromLatin1(name);
    return names.join(' ');
}

// The whole state of the game, a line a thing: every field, cell, sprite, banner, timer (with
// its coming tick) and menu item, the caption and the time. Two games in the same state give
// the same text.
inline QStringList everything(const game::mmm& w)
{
    QStringList lines{QStringLiteral("at %1: %2").arg(w.clock.now()).arg(w.Caption),
                      QStringLiteral("nbcol %1 decal %2 nbtir %3 sensib %4 vitvais %5 vittire %6 col %7 "
                                     "score %8 reste %9")
                              .arg(w.nbcol)
                              .arg(w.decal)
                              .arg(w.nbtir)
                              .arg(w.sensib)
                              .arg(w.vitvais)
                              .arg(w.vittire)
                              .arg(w.col)
                              .arg(w.score)
                              .arg(w.reste)
                          + QStringLiteral(" vitballe %1").arg(w.vitballe)};
    for (const runtime::Cell* cell : {&w.Text1, &w.tempe, &w.animation, &w.valyou, &w.valyout, &w.Textsouc})
        lines << QStringLiteral("cell ") + cell->Text;
    const auto sprite = [&](const QString& name, const runtime::Sprite& s) {
        lines << QStringLiteral("%1 %2 %3,%4 %5x%6 %7 %8")
                     .arg(name, s.picture)
                     .arg(s.Left)
                     .arg(s.Top)
                     .arg(s.Width)
                     .arg(s.Height)
                     .arg(s.Visible ? "shown" : "hidden", s.Tag);
    };
    const std::pair<const char*, const runtime::SpriteArray*> arrays[] = {
        {"mechv", &w.mechv}, {"mechb", &w.mechb}, {"mechr", &w.mechr}, {"tir", &w.tir}, {"tire", &w.tire}};
    for (const auto& [name, array] : arrays)
        for (std::int16_t i = 0; i <= game::formationColumns; ++i)
            if (array->exists(i))
                sprite(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i), (*array)(i));
    sprite("vaisseau", w.vaisseau);
    sprite("souc", w.souc);
    for (const runtime::Label* label : {&w.bon, &w.perd, &w.gagne})
        lines << QStringLiteral("%1 %2").arg(label->Caption.get(), label->Visible ? "shown" : "hidden");
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks) {
        const runtime::Timer& timer = w.*t.timer;
        lines << QStringLiteral("%1 %2 every %3 next %4")
                     .arg(QLatin1String(t.name), timer.enabled() ? "on" : "off")
                     .arg(timer.interval())
                     .arg(timer.due().value_or(-1));
    }
    for (const runtime::MenuItem* item :
         {&w.general, &w.demarrer, &w.stopi, &w.quit, &w.opt, &w.vitfuse, &w.vite, &w.sensibilite, &w.vittir,
          &w.vitmechtir, &w.anima, &w.aide})
        lines << QStringLiteral("%1 %2 %3")
                     .arg(item->Caption.get(), item->Enabled ? "enabled" : "greyed",
                          item->Checked ? "checked" : "");
    return lines;
}

// A game window after its load, with scripted boxes, on virtual time.
struct Game {
    ScriptedDialogs dialogs;
    ScriptedRandom random;
    bool ended = false; // the program was ended
    int helpShown = 0;  // times the help window was asked for
    game::mmm w{{dialogs, random, [this] { ended = true; }, [this] { ++helpShown; }}};

    Game() { w.Form_Load(); }

    // "Démarrer" (or "Redémarrer") answered Yes, or No.
    void start(bool yes = true)
    {
        dialogs.answers.push_back(yes ? runtime::answerYes : runtime::answerNo);
        w.choose(w.demarrer);
    }
    void stop(bool yes = true)
    {
        dialogs.answers.push_back(yes ? runtime::answerYes : runtime::answerNo);
        w.choose(w.stopi);
    }
    void advance(std::int64_t ms) { w.clock.advanceBy(ms); }
    Phase phase() const { return phaseOf(w); }

    // Puts the ship far below the field, where no bullet or alien ever reaches it, for tests
    // that watch the fleet and must not lose the game on the way.
    void shipOutOfReach() { w.vaisseau.Top = 1e6f; }

    // Lets the formation build up to its first descent tick, one millisecond at a time.
    void completeFormation()
    {
        for (int ms = 0; ms < 5000 && w.Text1.Text != "1"; ++ms)
            advance(1);
    }

    // Starts a game and lets its formation complete: in a first game 20 build ticks of 150 ms
    // and the first descent tick. The ship stands far out of reach, so that nothing ends the
    // game on its own.
    void startPlaying()
    {
        shipOutOfReach();
        start();
        completeFormation();
    }

    // The saucer at `left`, shown or not.
    void saucerAt(float left, bool visible = true)
    {
        w.souc.Left = left;
        w.souc.Visible = visible;
    }

    // Fires, puts the permanent shot at (left, top) and runs one hit tick.
    void shootAt(float left, float top)
    {
        w.tirer();
        w.tir(1).Left = left;
        w.tir(1).Top = top;
        w.pg_Timer();
    }

    // Games a good player can win: a first game only builds the formation, so that the
    // bullets of the next ones fall as one volley; then, between games, a slow descent and
    // fast shots. The next start begins such a game.
    void winnableSettings()
    {
        start();
        completeFormation();
        stop();
        dialogs.typed.insert(dialogs.typed.end(), {"35", "600"});
        w.choose(w.vite);
        w.choose(w.vittir);
    }
};

// A game in progress from its start.
struct Playing : Game {
    Playing() { startPlaying(); }
};
