// SPDX-License-Identifier: GPL-3.0-or-later
// A short random soak of the whole game on virtual time; the long one is `gromzaks_soak`.

#include <thread>

#include <QtTest>

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
            QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
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

    // The same random events played twice, once with sleeping timers and once with every tick
    // run: the same game, event after event. Each game is played on a thread of its own, with
    // a change count of its own, so that a change one makes cannot wake the other's timers and
    // hide a change the other failed to count. Clock moves of up to 20 minutes make long idle
    // stretches; the events stop, restart, win and lose games.
    void sleepingTimersPlayTheSameGame_data() { randomPlayBreaksNoRule_data(); }
    void sleepingTimersPlayTheSameGame()
    {
        QFETCH(uint, seed);
        struct Played {
            std::vector<QStringList> states; // after each event, with the boxes and draws so far
            std::string broken;
            int endings = 0, asleep = 0;
        };
        const auto play = [seed](bool everyTick) {
            Played p;
            std::thread([&] {
                soak::Run run(seed, 20 * 60 * 1000, everyTick);
                for (int event = 1; event <= SOAK_EVENTS / 10 && p.broken.empty(); ++event) {
                    p.broken = run.step().value_or("");
                    p.states.push_back(everything(run.game())
                                       << QString("boxes %1, draws %2").arg(run.boxes()).arg(run.draws()));
                    p.asleep += !run.game().clock.nextDue(); // nothing due after this event
                }
                p.endings = run.stats.wins + run.stats.losses;
            }).join();
            return p;
        };
        const Played sleeping = play(false), everyTick = play(true);
        QVERIFY2(sleeping.broken.empty() && everyTick.broken.empty(),
                 (sleeping.broken + everyTick.broken).c_str());
        for (std::size_t event = 0; event < sleeping.states.size(); ++event) {
            const QStringList& a = sleeping.states[event];
            const QStringList& b = everyTick.states[event];
            for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
                QVERIFY2(a.value(i) == b.value(i),
                         qPrintable(QString("event %1: %2 when every tick runs, %3 with sleeping timers")
                                        .arg(event + 1)
                                        .arg(b.value(i), a.value(i))));
        }
        QVERIFY(sleeping.endings > 0 && sleeping.asleep > 0);
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
