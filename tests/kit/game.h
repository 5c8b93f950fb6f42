// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests, the soak and the benchmark give the game instead of the real world: boxes
// answered from a script, random numbers from a list, a game window loaded and ready on
// virtual time; and short texts of the game's state, for comparisons that say what differs.

#include <array>
#include <charconv>
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/mmm.h"
#include "runtime/dialogs.h"
#include "runtime/random.h"

class ScriptedDialogs final : public runtime::Dialogs {
public:
    struct Box {
        std::string prompt;
        std::int16_t style;
        std::string title;
    };
    struct Input {
        std::string prompt;
        std::string title;
        std::string proposed;
    };

    std::deque<std::int16_t> answers; // for the Yes/No boxes, in order
    std::deque<std::string> typed;    // for the input boxes, in order
    std::vector<Box> boxes;           // every message box shown
    std::vector<Input> inputs;        // every input box shown
    // What answers a box when its queue is empty; none: such a box is a fault of the test.
    std::function<std::int16_t()> unscriptedAnswer;
    std::function<std::string(const std::string& proposed)> unscriptedTyped;

    // The last message box, as "title (style): prompt"; "no box" before the first.
    std::string last() const
    {
        if (boxes.empty())
            return "no box";
        return boxes.back().title + " (" + std::to_string(boxes.back().style) + "): " + boxes.back().prompt;
    }

    std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title) override
    {
        boxes.push_back({prompt, style, title});
        if (!runtime::asksYesNo(style))
            return runtime::answerOk;
        if (answers.empty() && unscriptedAnswer)
            return unscriptedAnswer();
        if (answers.empty())
            throw std::runtime_error("a Yes/No box nobody expected: " + prompt);
        const std::int16_t answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& proposed) override
    {
        inputs.push_back({prompt, title, proposed});
        if (typed.empty() && unscriptedTyped)
            return unscriptedTyped(proposed);
        if (typed.empty())
            throw std::runtime_error("an input box nobody expected: " + prompt);
        const std::string answer = typed.front();
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

    float next() override
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

// Words joined by blanks.
inline std::string joined(const std::vector<std::string>& words)
{
    std::string all;
    for (const std::string& word : words)
        all += (all.empty() ? "" : " ") + word;
    return all;
}

// A number as the tests write it, in its shortest exact form: "660", "-120", "0.5".
template <typename Number> std::string str(Number n)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, n).ptr);
}

// The names of the timers that are on, in that order: "Timer2 Timer3 soucoupe" at the load.
inline std::string timersOn(const game::mmm& w)
{
    std::vector<std::string> on;
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks)
        if ((w.*t.timer).enabled())
            on.push_back(t.name);
    return joined(on);
}

// The five settings in the order of the menu (vitvais, tempe, sensib, vitballe, vittire):
// "240 10000 50 200 30" at the load.
inline std::string settings(const game::mmm& w)
{
    return joined({str(w.vitvais), w.tempe.Text, str(w.sensib), str(w.vitballe), str(w.vittire)});
}

// The tops of the five alien bullets: "660 660 660 660 660".
inline std::string bulletTops(const game::mmm& w)
{
    std::vector<std::string> tops;
    for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
        tops.push_back(str(w.tire(v).Top.get()));
    return joined(tops);
}

// The shown aliens of column c, with the hits the green and blue ones still take:
// "green 3, blue 2, red" for a whole column, "" for a dead one.
inline std::string column(const game::mmm& w, std::int16_t c)
{
    std::string aliens;
    const auto add = [&aliens](const std::string& alien) { aliens += (aliens.empty() ? "" : ", ") + alien; };
    if (w.mechv(c).Visible)
        add("green " + w.mechv(c).Tag.get());
    if (w.mechb(c).Visible)
        add("blue " + w.mechb(c).Tag.get());
    if (w.mechr(c).Visible)
        add("red");
    return aliens;
}

// The sprite arrays and the single sprites of a game, by name.
inline std::vector<std::pair<const char*, const runtime::SpriteArray*>> arraysOf(const game::mmm& w)
{
    return {
        {"mechv", &w.mechv}, {"mechb", &w.mechb}, {"mechr", &w.mechr}, {"tir", &w.tir}, {"tire", &w.tire}};
}

// Every shown sprite and banner: "mechv(1) mechb(1) mechr(1) vaisseau" at the load.
inline std::string shown(const game::mmm& w)
{
    std::vector<std::string> names;
    for (const auto& [name, array] : arraysOf(w))
        for (std::int16_t i = 0; i <= game::formationColumns; ++i)
            if (array->exists(i) && (*array)(i).Visible)
                names.push_back(std::string(name) + "(" + str(i) + ")");
    const std::pair<const char*, bool> single[] = {{"vaisseau", w.vaisseau.Visible},
                                                   {"souc", w.souc.Visible},
                                                   {"bon", w.bon.Visible},
                                                   {"perd", w.perd.Visible},
                                                   {"gagne", w.gagne.Visible}};
    for (const auto& [name, visible] : single)
        if (visible)
            names.push_back(name);
    return joined(names);
}

// Every menu item of the bar, menus first, each followed by its items.
inline std::vector<runtime::MenuItem*> menuItems(const game::mmm& w)
{
    std::vector<runtime::MenuItem*> all;
    for (runtime::MenuItem* top : w.menuBar) {
        all.push_back(top);
        all.insert(all.end(), top->items.begin(), top->items.end());
    }
    return all;
}

// The whole state of the game, a line a thing: every field, cell, sprite, banner, timer (with
// its coming tick) and menu item, the caption and the time. Two games in the same state give
// the same text.
inline std::vector<std::string> everything(const game::mmm& w)
{
    std::vector<std::string> lines{
        "at " + str(w.clock.now()) + ": " + w.Caption.get(),
        joined({"nbcol",      str(w.nbcol),   "decal",       str(w.decal), "nbtir",
                str(w.nbtir), "sensib",       str(w.sensib), "vitvais",    str(w.vitvais),
                "vittire",    str(w.vittire), "col",         str(w.col),   "score",
                str(w.score), "reste",        str(w.reste),  "vitballe",   str(w.vitballe)})};
    for (const runtime::Cell* cell : {&w.Text1, &w.tempe, &w.animation, &w.valyou, &w.valyout, &w.Textsouc})
        lines.push_back("cell " + cell->Text.get());
    const auto sprite = [&](const std::string& name, const runtime::Sprite& s) {
        lines.push_back(joined({name, s.picture, str(s.Left.get()) + "," + str(s.Top.get()),
                                str(s.Width) + "x" + str(s.Height), s.Visible ? "shown" : "hidden", s.Tag}));
    };
    for (const auto& [name, array] : arraysOf(w))
        for (std::int16_t i = 0; i <= game::formationColumns; ++i)
            if (array->exists(i))
                sprite(std::string(name) + "(" + str(i) + ")", (*array)(i));
    sprite("vaisseau", w.vaisseau);
    sprite("souc", w.souc);
    for (const runtime::Label* label : {&w.bon, &w.perd, &w.gagne})
        lines.push_back(label->look.caption + (label->Visible ? " shown" : " hidden"));
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks) {
        const runtime::Timer& timer = w.*t.timer;
        lines.push_back(joined({t.name, timer.enabled() ? "on" : "off", "every", str(timer.interval()),
                                "next", str(timer.due().value_or(-1))}));
    }
    for (const runtime::MenuItem* item : menuItems(w))
        lines.push_back(
            joined({item->Caption, item->Enabled ? "enabled" : "greyed", item->Checked ? "checked" : ""}));
    return lines;
}

// A game window after its load, with scripted boxes, on virtual time.
struct Game {
    ScriptedDialogs dialogs;
    ScriptedRandom random;
    bool ended = false; // the program was ended
    int helpShown = 0;  // times the help window was asked for
    game::mmm w{{dialogs, random, [this] { ended = true; }, [this] { ++helpShown; }}};

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
