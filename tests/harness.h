// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests give the game instead of the real world: boxes answered from a script, a
// record of every box shown, and a game window loaded and ready on virtual time.

#include <deque>
#include <stdexcept>
#include <vector>

#include <QString>

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

    std::int16_t messageBox(const QString& prompt, std::int16_t style, const QString& title) override
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

    QString inputBox(const QString& prompt, const QString& title, const QString& proposed) override
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
    if (w.general.Enabled && w.demarrer.Caption == "Démarrer" && !w.stopi.Enabled && options
        && noGameTimers && !w.vaisseautimer.enabled())
        return Phase::Idle;
    if (!w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions
        && gameTimers && !w.PERDUGAGNE.enabled())
        return Phase::Building;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions
        && gameTimers && w.PERDUGAGNE.enabled())
        return Phase::Playing;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && w.stopi.Enabled && noOptions
        && noGameTimers && w.vaisseautimer.enabled())
        return Phase::Over;
    if (w.general.Enabled && w.demarrer.Caption == "Redémarrer" && !w.stopi.Enabled && options
        && noGameTimers && !w.vaisseautimer.enabled())
        return Phase::Stopped;
    return Phase::Unknown;
}

// A game window after its load, with scripted boxes, on virtual time.
struct Game {
    ScriptedDialogs dialogs;
    ScriptedRandom random;
    bool ended = false;  // the program was ended
    int helpShown = 0;   // times the help window was asked for
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

    // Puts the ship far below the field, where no bullet or alien ever reaches it, for tests
    // that watch the fleet and must not lose the game on the way.
    void shipOutOfReach() { w.vaisseau.Top = 1e6f; }

    // Lets the formation build up to its first descent tick, one millisecond at a time.
    void completeFormation()
    {
        for (int ms = 0; ms < 5000 && w.Text1.Text != "1"; ++ms)
            advance(1);
    }
    Phase phase() const { return phaseOf(w); }
};
