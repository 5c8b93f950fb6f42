// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A long random game: keys pressed and released in any order, every menu command tried
// whether it can be chosen or not, every box answered at random (numbers, texts, empty
// answers, cancels), the clock moved on by random amounts, and now and then a game in
// favourable settings played well, so that wins are soaked too. After each event the rules that
// must always hold are checked. A failure names its seed and event, so that it can be
// replayed exactly.

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "kit/game.h"
#include "kit/player.h"
#include "options/options.h"
#include "runtime/french.h"

namespace soak {

// Where a run's choices come from: pick(n) is one of 0..n-1.
class Source {
public:
    virtual ~Source() = default;
    virtual int pick(int n) = 0;
};

// The soak's choices: a seeded generator, so that a seed replays its game exactly.
class SeededSource final : public Source {
public:
    explicit SeededSource(std::uint32_t seed) : random_(seed) {}
    int pick(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
};

// A random answer to an input box: numbers, texts, empty answers (cancels).
inline std::string randomTyped(Source& source, const std::string& proposed)
{
    const auto pick = [&source](int n) { return source.pick(n); };
    switch (pick(9)) {
    case 0: return {}; // cancelled, or emptied
    case 1: return proposed;
    case 2: return std::to_string(pick(100001) - 50000);
    case 3: { // the two draws in turn: the operands of + may be read in either order
        const std::string whole = std::to_string(pick(2000));
        return whole + "," + std::to_string(pick(1000));
    }
    case 4: return std::to_string(pick(700));
    case 5: {
        static const char* const odd[] = {"abc", "2.5", "1,2,3", " ", "-", "1e3", "00", "00,1", "0,0001"};
        return odd[pick(9)];
    }
    case 6: return std::string(static_cast<std::size_t>(pick(40) + 1), '9');
    case 7: return "-" + std::to_string(pick(100000));
    default: return "0," + std::to_string(pick(400));
    }
}

struct Failure {
    std::uint32_t seed;
    long long event;
    std::string what;
    std::string describe() const
    {
        return "seed " + std::to_string(seed) + ", event " + std::to_string(event) + ": " + what;
    }
};

// What must hold after every event; the empty text when it does.
inline std::string brokenRule(const game::mmm& w)
{
    if (w.nbtir != 1 && w.nbtir != 2)
        return "nbtir is " + std::to_string(w.nbtir);
    if (w.tir.exists(2) != (w.nbtir == 2) || members(w.tir) != w.nbtir)
        return "the extra shot does not match nbtir";
    if (w.score < 0)
        return "score is " + std::to_string(w.score);
    if (phaseOf(w) == Phase::Unknown)
        return "the menus and timers match no phase";
    for (const game::OptionDialog& option : game::optionDialogs()) {
        const double value = game::optionValue(w, option);
        if (value < option.minimum || value > option.maximum)
            return std::string("the answer to \"") + option.prompt + "\" is held at " + std::to_string(value)
                   + ", out of its bounds";
    }
    for (std::int16_t c = 1; c <= game::formationColumns; ++c)
        if (w.mechv.exists(c) != w.mechb.exists(c) || w.mechv.exists(c) != w.mechr.exists(c))
            return "column " + std::to_string(c) + " is not whole";
    if (members(w.mechv) == game::formationColumns) {
        double hits = 0;
        for (std::int16_t c = 1; c <= game::formationColumns; ++c) {
            if (w.mechv(c).Visible)
                hits += runtime::french::numberOf(w.mechv(c).Tag.get());
            if (w.mechb(c).Visible)
                hits += runtime::french::numberOf(w.mechb(c).Tag.get());
            if (w.mechr(c).Visible)
                hits += 1;
        }
        if (hits != w.reste)
            return "the aliens on the field need " + std::to_string(int(hits)) + " hits, reste says "
                   + std::to_string(w.reste);
    }
    return {};
}

// What a run went through, to know that it reached every phase of a game.
struct Stats {
    long long simulatedMs = 0;
    long long eventsIn[6] = {}; // by Phase
    int wins = 0;
    int losses = 0;
};

// Stops the game on the field, if any, sets a slow descent and fast shots (the other settings
// as at load), starts a new game and plays it well for at most `ms`; returns the time played.
inline std::int64_t favourableGame(game::mmm& w, ScriptedDialogs& dialogs, std::int64_t ms)
{
    const auto answer = [&](runtime::MenuItem& item, std::optional<std::string> typed) {
        dialogs.answers = {runtime::answerYes};
        if (typed)
            dialogs.typed = {*typed};
        w.choose(item);
        dialogs.answers.clear(); // not asked when the item could not be chosen
        dialogs.typed.clear();
    };
    answer(w.stopi, std::nullopt);
    answer(w.vitfuse, "240");
    answer(w.vite, "35");
    answer(w.sensibilite, "20");
    answer(w.vittir, "600");
    answer(w.vitmechtir, "30");
    answer(w.demarrer, std::nullopt);
    return scripted::Player(w).play(ms);
}

// A random game from `seed`, one event at a time; clock moves are up to `longestMs`.
class Run {
public:
    Run(std::uint32_t seed, int longestMs, bool everyTick = false)
        : owned_(std::make_unique<SeededSource>(seed)),
          source_(*owned_),
          longestMs_(longestMs),
          everyTick_(everyTick)
    {
        answerAtRandom();
        restart();
    }

    // The same with the choices of `source`, which outlives the run, and a favourable game cut
    // short after `favourableMs`.
    Run(Source& source, int longestMs, std::int64_t favourableMs)
        : source_(source),
          longestMs_(longestMs),
          favourableMs_(favourableMs),
          everyTick_(false)
    {
        answerAtRandom();
        restart();
    }

    // Plays the next event; what went wrong, if anything.
    std::optional<std::string> step()
    {
        const bool wasOver = w_->gagne.Visible || w_->perd.Visible;
        try {
            play();
        } catch (const std::exception& error) {
            return std::string("raised: ") + error.what();
        }
        if (std::string broken = brokenRule(*w_); !broken.empty())
            return broken;
        ++stats.eventsIn[static_cast<int>(phaseOf(*w_))];
        stats.wins += !wasOver && w_->gagne.Visible;
        stats.losses += !wasOver && w_->perd.Visible;
        if (ended_) // "Quitter" answered Yes: the program starts again
            restart();
        return std::nullopt;
    }

    const game::mmm& game() const { return *w_; }
    int boxes() const { return int(dialogs_.boxes.size() + dialogs_.inputs.size()); }
    int draws() const { return alienFire_.draws; }
    Stats stats;

private:
    int pick(int n) { return source_.pick(n); }

    // Every box answered at random, unless an answer has been scripted beforehand.
    void answerAtRandom()
    {
        dialogs_.unscriptedAnswer = [&source = source_] {
            return source.pick(2) == 0 ? runtime::answerYes : runtime::answerNo;
        };
        dialogs_.unscriptedTyped = [&source = source_](const std::string& proposed) {
            return randomTyped(source, proposed);
        };
    }

    void restart()
    {
        ended_ = false;
        w_ = std::make_unique<game::mmm>(
            game::mmm::Outside{dialogs_, alienFire_, [this] { ended_ = true; }, [] {}});
        w_->clock.setEveryTick(everyTick_);
    }

    void play()
    {
        static const std::int16_t keys[] = {game::keyLeft, game::keyRight, game::keySpace, 65, 38};
        game::mmm& w = *w_;
        const int kind = pick(20);
        if (kind < 6) {
            w.Form_KeyDown(keys[pick(5)], 0);
        } else if (kind < 9) {
            w.Form_KeyUp(keys[pick(5)], 0);
        } else if (kind < 12) {
            const std::vector<runtime::MenuItem*> items = menuItems(w);
            w.choose(*items[static_cast<std::size_t>(pick(int(items.size())))]);
        } else if (kind == 19 && pick(4) == 0
                   && (phaseOf(w) == Phase::Building || phaseOf(w) == Phase::Playing)) {
            // A stretch of skilled play in whatever game is on.
            stats.simulatedMs += scripted::Player(w, pick(4) != 0).play(pick(longestMs_) + 1);
        } else if (kind == 18 && pick(8) == 0 && w.general.Enabled) {
            stats.simulatedMs += favourableGame(w, dialogs_, favourableMs_);
        } else {
            const int scale = pick(10);
            const int ms = scale < 6 ? pick(51) : scale < 9 ? pick(2000) + 1 : pick(longestMs_) + 1;
            w.clock.advanceBy(ms);
            stats.simulatedMs += ms;
        }
    }

    std::unique_ptr<Source> owned_; // a seed's generator
    Source& source_;
    ScriptedDialogs dialogs_;
    ScriptedRandom alienFire_; // nothing scripted: the game's own sequence, its draws counted
    std::unique_ptr<game::mmm> w_;
    int longestMs_;
    std::int64_t favourableMs_ = 10 * 60 * 1000;
    bool everyTick_;
    bool ended_ = false;
};

// Plays `events` random events from `seed`; clock moves are up to `longestMs`.
inline std::optional<Failure> run(std::uint32_t seed, long long events, int longestMs, Stats* stats = nullptr)
{
    Run run(seed, longestMs);
    for (long long event = 1; event <= events; ++event)
        if (std::optional<std::string> what = run.step())
            return Failure{seed, event, *what};
    if (stats)
        *stats = run.stats;
    return std::nullopt;
}

} // namespace soak
