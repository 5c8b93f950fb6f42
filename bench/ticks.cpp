// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 1: how exactly the real driver keeps the game's time under a real X server, beside
// ten plain Qt timers at the same intervals. The same runs give figure 2's loads.

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QScreen>
#include <QTimer>

#include "bench/bench.h"
#include "kit/game.h"
#include "runtime/qt/gamewindow.h"
#include "runtime/qt/playfield.h"
#include "runtime/qt/qtdialogs.h"

using game::mmm;

namespace bench {

namespace {

// Ten plain QTimers at the game's design intervals, each counting its timeouts.
Run rawQtTimers(int ms)
{
    const Game design;
    Run run;
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks)
        run.timers.push_back({t.name, (design.w.*t.timer).interval()});
    std::vector<std::unique_ptr<QTimer>> timers;
    for (TimerTicks& t : run.timers) {
        timers.push_back(std::make_unique<QTimer>());
        QObject::connect(timers.back().get(), &QTimer::timeout, [&t] { ++t.ticks; });
    }
    QElapsedTimer wall;
    const Usage before = usageNow();
    wall.start();
    for (std::size_t i = 0; i < timers.size(); ++i)
        timers[i]->start(run.timers[i].interval);
    runEventsFor(ms);
    for (auto& timer : timers)
        timer->stop();
    run.wallMs = double(wall.nsecsElapsed()) / 1e6;
    run.load = loadBetween(before, usageNow(), run.wallMs / 1000);
    for (TimerTicks& t : run.timers)
        t.ideal = run.wallMs / t.interval;
    return run;
}

// Counts every tick, and when the 1 ms timer ticks, how far game time trails wall time.
struct Probe {
    bool on = false;
    std::vector<long> ticks = std::vector<long>(game::mmm::timerTicks.size());
    std::vector<double> lags;
    QElapsedTimer wall;
    std::int64_t game0 = 0;

    void attach(mmm& form)
    {
        for (std::size_t i = 0; i < game::mmm::timerTicks.size(); ++i) {
            (form.*game::mmm::timerTicks[i].timer)
                .onTick([&form, this, i, tick = game::mmm::timerTicks[i].procedure] {
                    if (on) {
                        ++ticks[i];
                        if (i == 0)
                            lags.push_back(double(wall.nsecsElapsed()) / 1e6
                                           - double(form.clock.now() - game0));
                    }
                    (form.*tick)();
                });
        }
    }
};

// `ms` of the game in progress, every tick counted; a timer switched or re-timed on the way
// has no ideal count.
Run countTicks(runtime::qt::GameWindow& window, mmm& form, Probe& probe, int ms)
{
    std::vector<std::pair<bool, int>> states;
    for (const game::mmm::TimerTick& t : game::mmm::timerTicks)
        states.emplace_back((form.*t.timer).enabled(), (form.*t.timer).interval());
    window.call({}); // game time up to now
    probe.game0 = form.clock.now();
    probe.wall.start();
    const Usage before = usageNow();
    probe.on = true;
    runEventsFor(ms);
    window.call({});
    probe.on = false;
    Run run;
    run.wallMs = double(probe.wall.nsecsElapsed()) / 1e6;
    run.gameMs = double(form.clock.now() - probe.game0);
    run.load = loadBetween(before, usageNow(), run.wallMs / 1000);
    window.driver().stop();

    for (std::size_t i = 0; i < game::mmm::timerTicks.size(); ++i) {
        const runtime::Timer& t = form.*game::mmm::timerTicks[i].timer;
        const bool steady = states[i].first && t.enabled() && states[i].second == t.interval();
        run.timers.push_back({game::mmm::timerTicks[i].name, t.interval(), probe.ticks[i],
                              steady ? run.wallMs / t.interval() : 0, steady});
    }
    run.lagMedianMs = percentile(probe.lags, 50);
    run.lagMaxMs = percentile(probe.lags, 100);
    return run;
}

// How the real window and driver load the machine for `ms` once nothing has moved for
// `settleMs`.
Load quiet(int ms, int settleMs = 1000)
{
    runEventsFor(settleMs);
    const Usage before = usageNow();
    runEventsFor(ms);
    return loadBetween(before, usageNow(), ms / 1000.0);
}

// The game in progress, in `turns` turns of `turnMs` with the ten raw timers and with its floor
// replaying the game's frames, the others paused while one runs; then the floor and the game
// again with Left held in the X server, the focus given to the one that runs. Sets the loads
// and the medians of the game's CPU over the others' from turn to turn: a machine that slows
// down for a few seconds weighs on all alike, or on a turn or two that the median leaves out.
void inTurns(runtime::qt::GameWindow& window, FloorWidget& floor, Recorder& recorder, int turns, int turnMs,
             GameRuns& out)
{
    struct Total {
        Usage usage;
        double seconds = 0;
        // Runs `run`, adds its usage, and returns its CPU share.
        double add(const std::function<void()>& run)
        {
            QElapsedTimer wall;
            wall.start();
            const Usage before = usageNow();
            run();
            const Usage after = usageNow();
            const double s = double(wall.nsecsElapsed()) / 1e9;
            usage.cpuSeconds += after.cpuSeconds - before.cpuSeconds;
            usage.wakeUps += after.wakeUps - before.wakeUps;
            usage.mainWakeUps += after.mainWakeUps - before.mainWakeUps;
            seconds += s;
            return (after.cpuSeconds - before.cpuSeconds) / s;
        }
        Load load() const { return loadBetween({}, usage, seconds); }
    } game, raw, bare, gameKey, bareKey;
    std::vector<double> ofRaw, ofFloor, keyOfFloor;
    runtime::qt::RealTimeDriver& driver = window.driver();
    const auto focus = [](const QWidget* on) {
        focusKeyboardOn(on);
        runEventsFor(150); // the focus changed hands, and a held key repeats again
    };
    // The game plays a turn, and the floor shows the very frames of it in a turn after it.
    Recording frames, framesKeyHeld;
    const auto playGame = [&driver, &recorder, turnMs] {
        recorder.start();
        driver.resume();
        runEventsFor(turnMs);
        driver.pause();
    };
    const auto keep = [&](Recording& into) { // outside the time measured
        into = recorder.stop();
        out.framesRecorded += into.frames.size();
        out.recordedMs += into.lengthMs;
    };
    const auto replay = [&floor, turnMs](const Recording& recording) {
        return [&floor, &recording, turnMs] { floor.play(recording, turnMs); };
    };
    focus(nullptr);
    const HeldKey left("Left"); // reaches only the window with the focus
    driver.pause();
    long presses = 0;
    for (int i = 0; i < turns; ++i) {
        // Every other round the floor goes first, with the game's turn of the round before:
        // neither always comes after the other, nor after the same turn.
        const bool floorFirst = i % 2 == 1;
        focus(nullptr);
        const double rawShare = raw.add([turnMs] { rawQtTimers(turnMs); });
        double floorShare = floorFirst ? bare.add(replay(frames)) : 0;
        const double gameShare = game.add(playGame);
        keep(frames);
        if (!floorFirst)
            floorShare = bare.add(replay(frames));
        ofRaw.push_back(gameShare / rawShare);
        ofFloor.push_back(gameShare / floorShare);
        if (!left.held())
            continue;
        const auto floorWithKey = [&] {
            focus(&floor);
            const long pressesBefore = floor.keyPresses();
            const double share = bareKey.add(replay(framesKeyHeld));
            presses += floor.keyPresses() - pressesBefore;
            return share;
        };
        double floorKeyShare = floorFirst ? floorWithKey() : 0;
        focus(&window);
        const double gameKeyShare = gameKey.add(playGame);
        keep(framesKeyHeld);
        if (!floorFirst)
            floorKeyShare = floorWithKey();
        keyOfFloor.push_back(gameKeyShare / floorKeyShare);
    }
    driver.resume();
    focus(&window);
    out.playing.load = game.load();
    out.rawBeside = raw.load();
    out.shareOfRaw = percentile(ofRaw, 50);
    out.floor = bare.load();
    out.shareOfFloor = percentile(ofFloor, 50);
    out.keyHeld = left.held();
    out.playingKeyHeld = gameKey.load();
    out.floorKeyHeld = bareKey.load();
    out.keyShareOfFloor = percentile(keyOfFloor, 50);
    out.keyRepeatsPerSecond = bareKey.seconds > 0 ? double(presses) / bareKey.seconds : 0;
}

// The real window and driver on the real X server, through `idleMs` before a game, the playfield
// enlarged `scale` times. Every tick runs through `playMs` of a game in progress when the ticks
// are to be counted; otherwise timers sleep as in the game, the game in progress takes turns
// with the raw timers and its floor, and `idleMs` after "Arreter" and after a lost game are
// measured too.
GameRuns realDriver(int idleMs, int playMs, int scale, bool everyTick)
{
    GameRuns out;
    Game g;
    mmm& form = g.w;
    form.clock.setEveryTick(everyTick);
    Probe probe; // counts the ticks when they are to be counted, and costs nothing otherwise
    if (everyTick)
        probe.attach(form);
    runtime::qt::QtDialogs unused; // the window's boxes; the game asks through the scripted ones
    runtime::qt::GameWindow window(form, unused);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        out.refreshRate = screen->refreshRate();
    window.show();
    if (scale > 1)
        window.resize(window.size() + window.playfield()->size() * (scale - 1));
    window.startClock();
    out.idle = quiet(idleMs);

    // A game whose formation has come in, the ship out of every bullet's reach so that the
    // game is still on when the count ends.
    g.shipOutOfReach();
    const auto startAGame = [&] {
        window.call([&g] { g.start(); });
        runEventsUntil([&form] { return form.PERDUGAGNE.enabled(); }, 20'000);
        runEventsFor(500);
    };
    startAGame();
    if (everyTick) {
        out.playing = countTicks(window, form, probe, playMs);
        return out;
    }
    // "Arreter" before the saucer's first crossing, which would go on after it; then again.
    window.call([&g] { g.stop(); });
    out.stopped = quiet(idleMs);
    startAGame();

    // Qt's floor: a bare widget beside the game, showing each turn the frames of the game's last.
    FloorWidget floor(window.playfield()->size());
    floor.move(window.frameGeometry().right() + 10, 0);
    floor.show();
    runtime::qt::PictureBook pictures;
    const QSizeF client(form.clientWidth, form.clientHeight);
    runtime::qt::PlayfieldView& view = *window.playfield();
    Recorder recorder(view, [&](QPainter& painter, const runtime::Scene& scene, const QRegion& region) {
        runtime::qt::paintScene(painter, scene, client, QRectF(view.rect()), pictures, &region);
    });
    inTurns(window, floor, recorder, gameTurns, gameTurnMs, out);
    floor.hide();

    window.call([&g] { g.stop(); });
    window.call([&g] { g.start(); });
    runEventsUntil([&form] { return form.PERDUGAGNE.enabled(); }, 20'000);
    window.call([&form] { // a bullet on the ship: the game is lost at the next tick
        form.vaisseau.Top = 5640;
        form.tire(0).Left = form.vaisseau.Left + 100;
        form.tire(0).Top = form.vaisseau.Top + 100;
    });
    runEventsUntil([&form] { return form.perd.Visible.get(); }, 1000);
    // The ship's shot still flies up, seen for a second and a half and then above the field,
    // where the driver soon stops following it closely.
    out.ended = quiet(idleMs, 1500 + int(runtime::qt::RealTimeDriver::quietMs) + 500);
    return out;
}

QJsonObject json(const Run& run)
{
    QJsonArray timers;
    for (const TimerTicks& t : run.timers)
        timers.append(QJsonObject{{"timer", t.name},
                                  {"interval_ms", t.interval},
                                  {"ticks", double(t.ticks)},
                                  {"ideal", t.steady ? QJsonValue(t.ideal) : QJsonValue()}});
    return {{"wall_ms", run.wallMs}, {"timers", timers}, {"load", bench::json(run.load)}};
}

void printTicks(const char* title, const Run& run)
{
    std::printf("%s (%.0f ms of wall time)\n", title, run.wallMs);
    for (const TimerTicks& t : run.timers) {
        if (t.steady)
            std::printf("  %-14s %5d ms  %6ld ticks of %8.1f  %6.1f %%\n", qPrintable(t.name), t.interval,
                        t.ticks, t.ideal, 100 * double(t.ticks) / std::max(1.0, std::floor(t.ideal)));
        else
            std::printf("  %-14s %5d ms  %6ld ticks (switched or re-timed during the run)\n",
                        qPrintable(t.name), t.interval, t.ticks);
    }
}

} // namespace

double timerFigures(QJsonObject& results)
{
    const Run raw = rawQtTimers(10'000);
    const GameRuns counted = realDriver(1000, 10'000, 1, true);
    const GameRuns game = realDriver(10'000, 10'000, 1, false);
    const GameRuns enlarged = realDriver(1000, 10'000, 2, false);
    std::printf("1. Tick fidelity, a game in progress under a real X server (screen %.0f Hz), every tick"
                " run and counted\n",
                counted.refreshRate);
    printTicks("Ten raw Qt timers", raw);
    printTicks("The real driver", counted.playing);
    std::printf("  game time %.0f ms for %.0f ms of wall time; game time behind wall time at each 1 ms tick:"
                " median %.1f ms, max %.1f ms\n\n",
                counted.playing.gameMs, counted.playing.wallMs, counted.playing.lagMedianMs,
                counted.playing.lagMaxMs);
    printLoads(raw, game, enlarged);

    QJsonObject driver = json(counted.playing);
    driver.insert("game_ms", counted.playing.gameMs);
    driver.insert("lag_median_ms", counted.playing.lagMedianMs);
    driver.insert("lag_max_ms", counted.playing.lagMaxMs);
    results.insert("tick_fidelity", QJsonObject{{"raw_qt_timers", json(raw)}, {"real_driver", driver}});
    const auto inProgress = [](const GameRuns& runs) {
        return QJsonObject{
            {"game", json(runs.playing.load)},
            {"floor", json(runs.floor)},
            {"raw_qt_timers", json(runs.rawBeside)},
            {"game_share_of_floor_median", runs.shareOfFloor},
            {"game_share_of_raw_qt_timers_median", runs.shareOfRaw},
            {"frames_recorded", double(runs.framesRecorded)},
            {"recorded_ms", runs.recordedMs},
            {"left_held", !runs.keyHeld ? QJsonValue()
                                        : QJsonObject{{"game", json(runs.playingKeyHeld)},
                                                      {"floor", json(runs.floorKeyHeld)},
                                                      {"game_share_of_floor_median", runs.keyShareOfFloor},
                                                      {"repeats_per_s", runs.keyRepeatsPerSecond}}}};
    };
    results.insert("load", QJsonObject{{"raw_qt_timers", json(raw.load)},
                                       {"idle_before_a_game", json(game.idle)},
                                       {"game_in_progress", inProgress(game)},
                                       {"game_in_progress_at_scale_2", inProgress(enlarged)},
                                       {"idle_after_stop", json(game.stopped)},
                                       {"idle_after_lost_game", json(game.ended)}});
    return game.refreshRate;
}

} // namespace bench
