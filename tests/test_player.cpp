// The player's keys and shots: the fire key, the re-arm of the permanent shot, and the
// periodic removal of the extra shot.

#include <QtTest>

#include "harness.h"

using game::keyLeft;
using game::keyRight;
using game::keySpace;

class PlayerTest : public QObject {
    Q_OBJECT

private slots:
    void theFirstFireCreatesTheExtraShotAtTheShip()
    {
        Game g;
        g.w.vaisseau.Left = 1000;
        g.w.Form_KeyDown(keySpace, 0);
        QCOMPARE(g.w.nbtir, 2);
        QCOMPARE(g.w.valyout.Text, QString("2"));
        QVERIFY(g.w.tir.exists(2));
        QVERIFY(g.w.tir(2).Visible);
        QCOMPARE(g.w.tir(2).Left, 1100.0f);
        QCOMPARE(g.w.tir(2).Top, 5590.0f);
        QCOMPARE(g.w.tir(2).Width, 90.0f);
        QVERIFY(!g.w.tir(1).Visible); // the permanent shot is not touched
        QCOMPARE(g.w.tir(1).Left, 3600.0f);
    }

    // From each shot state, what each event leads to.
    void shotStates()
    {
        Game g;
        game::mmm& w = g.w;
        w.tirer();
        w.vaisseau.Left = 500;
        w.tirer(); // 2 -> 2: nothing, no error
        QCOMPARE(w.nbtir, 2);
        QCOMPARE(w.tir(2).Left, 3580.0f);

        w.tir(1).Top = 100;
        w.tir(1).Visible = true;
        w.Timer1_Timer(); // 2 -> 1: extra shot gone, permanent one untouched
        QCOMPARE(w.nbtir, 1);
        QVERIFY(!w.tir.exists(2));
        QCOMPARE(w.tir(1).Top, 100.0f);
        QVERIFY(w.tir(1).Visible);

        w.Timer1_Timer(); // 1 -> 1: nothing
        QCOMPARE(w.nbtir, 1);
        QCOMPARE(w.tir.count(), 1);

        w.tirer(); // 1 -> 2 again, at the ship's new place
        QCOMPARE(w.nbtir, 2);
        QCOMPARE(w.tir(2).Left, 600.0f);
        QCOMPARE(w.valyout.Text, QString("2"));
    }

    void placertirReArmsThePermanentShotHiddenAboveTheShip()
    {
        Game g;
        g.w.vaisseau.Left = 700;
        g.w.tir(1).Visible = true;
        g.w.tir(1).Top = -3000;
        g.w.placertir();
        QCOMPARE(g.w.tir(1).Left, 750.0f);
        QCOMPARE(g.w.tir(1).Top, 5590.0f);
        QVERIFY(!g.w.tir(1).Visible);
        // The extra shot starts 50 twips right of it, at the same height.
        g.w.tirer();
        QCOMPARE(g.w.tir(2).Left - g.w.tir(1).Left, 50.0f);
        QCOMPARE(g.w.tir(2).Top, g.w.tir(1).Top);
    }

    void theExtraShotLivesAtMostOneRemovalPeriod()
    {
        Game g;
        g.start();
        g.w.pg.setEnabled(false); // no hit or top exit removes it first
        g.advance(1000);
        g.w.Form_KeyDown(keySpace, 0);
        QVERIFY(g.w.tir.exists(2));
        g.advance(1999);
        QVERIFY(g.w.tir.exists(2));
        g.advance(1); // 3000 ms after the start
        QVERIFY(!g.w.tir.exists(2));
        QCOMPARE(g.w.nbtir, 1);
        // A held fire key recreates it at its next repeat.
        g.w.Form_KeyDown(keySpace, 0);
        QVERIFY(g.w.tir.exists(2));
    }

    void spaceFiresAlsoOutsideAGame()
    {
        Game g;
        g.w.Form_KeyDown(keySpace, 0);
        QCOMPARE(g.w.nbtir, 2);
    }

    void keysOnlyRecordTheSteeringDirection_data()
    {
        QTest::addColumn<QList<int>>("events"); // +code a press, -code a release
        QTest::addColumn<QString>("valyou");
        QTest::newRow("left") << QList<int>{keyLeft} << "4";
        QTest::newRow("right") << QList<int>{keyRight} << "6";
        QTest::newRow("left released") << QList<int>{keyLeft, -keyLeft} << "0";
        QTest::newRow("space released while left is held") << QList<int>{keyLeft, keySpace, -keySpace} << "0";
        QTest::newRow("left, right, right released") << QList<int>{keyLeft, keyRight, -keyRight} << "0";
        QTest::newRow("left again after that") << QList<int>{keyLeft, keyRight, -keyRight, keyLeft} << "4";
        QTest::newRow("another key pressed") << QList<int>{keyLeft, 65} << "4";
        QTest::newRow("another key released") << QList<int>{keyLeft, -65} << "0";
    }
    void keysOnlyRecordTheSteeringDirection()
    {
        QFETCH(QList<int>, events);
        QFETCH(QString, valyou);
        Game g;
        for (int event : events) {
            if (event > 0)
                g.w.Form_KeyDown(static_cast<std::int16_t>(event), 0);
            else
                g.w.Form_KeyUp(static_cast<std::int16_t>(-event), 0);
        }
        QCOMPARE(g.w.valyou.Text, valyou);
        QCOMPARE(g.w.vaisseau.Left, 3480.0f);
    }
};

QTEST_GUILESS_MAIN(PlayerTest)
#include "test_player.moc"
