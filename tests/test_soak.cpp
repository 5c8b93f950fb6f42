// SPDX-License-Identifier: GPL-3.0-or-later
// A short random soak of the whole game on virtual time; the long one is `gromzaks_soak`.

#include <QtTest>

#include "kit/compare.h"

#include "soak.h"

// Seeds, and random events a seed; fewer under the sanitizers, where each costs far more.
#ifndef SOAK_SEEDS
#define SOAK_SEEDS 4
#endif
#ifndef SOAK_EVENTS
#define SOAK_EVENTS 20000
#endif

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomPlayBreaksNoRule_data()
    {
        QTest::addColumn<uint>("seed");
        for (uint seed = 1; seed <= SOAK_SEEDS; ++seed)
            QTest::newRow(("seed " + str(seed)).c_str()) << seed;
    }
    void randomPlayBreaksNoRule()
    {
        QFETCH(uint, seed);
        soak::Stats stats;
        const auto failure = soak::run(seed, SOAK_EVENTS, 60000, &stats);
        QVERIFY2(!failure, failure ? failure->describe().c_str() : "");
        QVERIFY(stats.simulatedMs > 60LL * 60 * 1000); // over an hour of play each
        for (Phase phase : {Phase::Idle, Phase::Building, Phase::Playing, Phase::Over, Phase::Stopped})
            QVERIFY2(stats.eventsIn[static_cast<int>(phase)] > 0, phaseName(phase));
        QVERIFY(stats.losses > 0);
        QVERIFY(stats.wins > 0);
    }

    // The same random events played by two games side by side, on one thread, one with
    // sleeping timers and one with every tick run: the same game, event after event. Each game
    // counts its own changes, so a change that one makes cannot wake the other's timers and
    // hide a change that the other failed to count. Clock moves of up to 20 minutes make long
    // idle stretches; the events stop, restart, win and lose games.
    void sleepingTimersPlayTheSameGame_data() { randomPlayBreaksNoRule_data(); }
    void sleepingTimersPlayTheSameGame()
    {
        QFETCH(uint, seed);
        soak::Run sleeping(seed, 20 * 60 * 1000), everyTick(seed, 20 * 60 * 1000, true);
        const auto state = [](const soak::Run& run) {
            std::vector<std::string> lines = everything(run.game());
            lines.push_back("boxes " + str(run.boxes()) + ", draws " + str(run.draws()));
            return lines;
        };
        int asleep = 0;
        for (int event = 1; event <= SOAK_EVENTS / 10; ++event) {
            const std::string broken = sleeping.step().value_or("") + everyTick.step().value_or("");
            QVERIFY2(broken.empty(), broken.c_str());
            const std::vector<std::string> a = state(sleeping), b = state(everyTick);
            for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
                const std::string was = i < b.size() ? b[i] : "", is = i < a.size() ? a[i] : "";
                QVERIFY2(was == is, ("event " + str(event) + ": " + was + " when every tick runs, " + is
                                     + " with sleeping timers")
                                        .c_str());
            }
            asleep += !sleeping.game().clock.nextDue(); // nothing due after this event
        }
        QVERIFY(sleeping.stats.wins + sleeping.stats.losses > 0 && asleep > 0);
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
