// SPDX-License-Identifier: GPL-3.0-or-later
// A short random soak of the whole game on virtual time; the long one is `gromzaks_soak`.

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
    // run: the same game, event after event. Clock moves of up to 20 minutes make long idle
    // stretches; the events stop, restart, win and lose games.
    void sleepingTimersPlayTheSameGame_data() { randomPlayBreaksNoRule_data(); }
    void sleepingTimersPlayTheSameGame()
    {
        QFETCH(uint, seed);
        soak::Run sleeping(seed, 20 * 60 * 1000);
        soak::Run everyTick(seed, 20 * 60 * 1000, true);
        int asleep = 0; // events after which nothing was due
        for (int event = 1; event <= SOAK_EVENTS / 10; ++event) {
            const auto broken = sleeping.step();
            QVERIFY2(!broken && !everyTick.step(), qPrintable(QString("event %1").arg(event)));
            const QStringList a = everything(sleeping.game());
            const QStringList b = everything(everyTick.game());
            for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
                QVERIFY2(a.value(i) == b.value(i),
                         qPrintable(QString("event %1: %2 when every tick runs, %3 with sleeping timers")
                                        .arg(event)
                                        .arg(b.value(i), a.value(i))));
            QCOMPARE(sleeping.boxes(), everyTick.boxes());
            QCOMPARE(sleeping.draws(), everyTick.draws());
            asleep += !sleeping.game().clock.nextDue();
        }
        QVERIFY(sleeping.stats.wins + sleeping.stats.losses > 0);
        QVERIFY(asleep > 0);
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
