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
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
