// SPDX-License-Identifier: GPL-3.0-or-later
// The player's keys and shots: steering and the ship tick, the fire key, the re-arm of the
// permanent shot, the periodic removal of the extra shot, and what the shots hit.

#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"

using game::keyLeft;
using game::keyRight;
using game::keySpace;

class PlayerTest : public QObject {
    Q_OBJECT

private slots:
    void theFirstFireCreatesTheExtraShotAtTheShipEvenOutsideAGame()
    {
        Game g; // not started
        g.w.vaisseau.Left = 1000;
        g.w.Form_KeyDown(keySpace, 0);
        QCOMPARE(g.w.nbtir, 2);
        QCOMPARE(g.w.valyout.Text, std::string("2"));
        QCOMPARE(shown(g.w), "mechv(1) mechb(1) mechr(1) tir(2) vaisseau"); // not the permanent shot
        QCOMPARE(g.w.tir(2).Left, 1100.0f);
        QCOMPARE(g.w.tir(2).Top, 5590.0f);
        QCOMPARE(g.w.tir(2).Width, 90.0f);
        QCOMPARE(g.w.tir(1).Left, 3600.0f); // untouched
    }

    // From each shot state, what each event leads to.
    void theShotsGoFromOneToTwoOnlyByFireAndBackOnlyByTheRemovalTick()
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
        QCOMPARE(members(w.tir), 1);

        w.tirer(); // 1 -> 2 again, at the ship's new place
        QCOMPARE(w.nbtir, 2);
        QCOMPARE(w.tir(2).Left, 600.0f);
        QCOMPARE(w.valyout.Text, std::string("2"));
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
        QCOMPARE(g.w.valyou.Text, valyou.toStdString());
        QCOMPARE(g.w.vaisseau.Left, 3480.0f);
    }

    void theShipWrapsAroundBeforeItsStep_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<QString>("valyou");
        QTest::addColumn<float>("after");
        QTest::newRow("8281 moving left") << 8281.0f << "4" << -440.0f;
        QTest::newRow("8281 standing") << 8281.0f << "0" << -200.0f;
        QTest::newRow("8281 moving right") << 8281.0f << "6" << 40.0f;
        QTest::newRow("-440 moving left") << -440.0f << "4" << 8000.0f;
        QTest::newRow("-440 standing") << -440.0f << "0" << 8240.0f;
        QTest::newRow("exactly 8280 is not wrapped") << 8280.0f << "6" << 8520.0f;
        QTest::newRow("exactly -200 is not wrapped") << -200.0f << "4" << -440.0f;
        QTest::newRow("an ordinary step right") << 3480.0f << "6" << 3720.0f;
    }
    void theShipWrapsAroundBeforeItsStep()
    {
        QFETCH(float, left);
        QFETCH(QString, valyou);
        QFETCH(float, after);
        Game g;
        g.w.vaisseau.Left = left;
        g.w.valyou.Text = valyou.toStdString();
        g.w.vaisseautimer_Timer();
        QCOMPARE(g.w.vaisseau.Left, after);
        QCOMPARE(g.w.vaisseau.Top, 5640.0f);
    }

    void heldKeysSteerEvery50Milliseconds()
    {
        Game g;
        g.start();
        g.w.Form_KeyDown(keyLeft, 0);
        g.advance(49);
        QCOMPARE(g.w.vaisseau.Left, 3480.0f);
        g.advance(1);
        QCOMPARE(g.w.vaisseau.Left, 3240.0f);
        g.w.Form_KeyDown(keySpace, 0);
        g.w.Form_KeyUp(keySpace, 0); // any release stops the ship, though Left is still held
        g.advance(100);
        QCOMPARE(g.w.vaisseau.Left, 3240.0f);
        g.w.Form_KeyDown(keyRight, 0);
        g.w.vitvais = 1200;
        g.advance(50);
        QCOMPARE(g.w.vaisseau.Left, 4440.0f);
    }

    void theShotsClimbOnEveryShipTick()
    {
        Game g;
        g.w.tirer();
        g.w.vitballe = 600;
        g.w.vaisseautimer_Timer();
        QCOMPARE(shown(g.w), "mechv(1) mechb(1) mechr(1) tir(1) tir(2) vaisseau");
        QCOMPARE(g.w.tir(1).Top, 4920.0f);
        QCOMPARE(g.w.tir(2).Top, 4990.0f);
        QCOMPARE(g.w.tir(2).Left, 3580.0f);
        // Without limit: a shot that is never re-armed keeps rising.
        g.w.tir(1).Top = -100000;
        g.w.vaisseautimer_Timer();
        QCOMPARE(g.w.tir(1).Top, -100600.0f);
    }

    void withoutTheExtraShotNothingIsHit()
    {
        Game g;
        g.w.tir(1).Left = 200;
        g.w.tir(1).Top = 1100; // inside the red alien
        g.saucerAt(100);
        g.w.pg_Timer();
        QVERIFY(g.w.mechr(1).Visible);
        QCOMPARE(g.w.score, 0);
        QCOMPARE(g.w.reste, 126);
    }

    void aShotLeavingTheTopIsReArmedAtTheShip()
    {
        Game g;
        g.w.vaisseau.Left = 1000;
        g.w.tir(1).Top = 0; // exactly 0 is still on the field
        g.w.tirer();
        g.w.pg_Timer();
        QCOMPARE(g.w.nbtir, 2);
        g.w.tir(1).Top = -1;
        g.w.pg_Timer();
        QCOMPARE(g.w.nbtir, 1);
        QCOMPARE(shown(g.w), "mechv(1) mechb(1) mechr(1) vaisseau");
        QCOMPARE(g.w.tir(1).Top, 5590.0f);
        QCOMPARE(g.w.tir(1).Left, 1050.0f);
        g.w.vaisseautimer_Timer(); // shown again, 50 + 200 above the ship
        QVERIFY(g.w.tir(1).Visible);
        QCOMPARE(g.w.tir(1).Top, 5390.0f);
        QCOMPARE(g.w.score, 0);
    }

    // A shown green alien at Left 1000 (width 360): the band where a shot hits it.
    void aShotHitsAnAlienWithinItsWidthWidenedBySensitivity_data()
    {
        QTest::addColumn<int>("sensib");
        QTest::addColumn<float>("shotLeft");
        QTest::addColumn<float>("shotTop");
        QTest::addColumn<bool>("hit");
        QTest::newRow("50: at the band's left end") << 50 << 950.0f << 400.0f << false;
        QTest::newRow("50: just inside left") << 50 << 950.5f << 400.0f << true;
        QTest::newRow("50: just inside right") << 50 << 1409.5f << 400.0f << true;
        QTest::newRow("50: at the band's right end") << 50 << 1410.0f << 400.0f << false;
        QTest::newRow("0: at the alien's left edge") << 0 << 1000.0f << 400.0f << false;
        QTest::newRow("0: just inside") << 0 << 1000.5f << 400.0f << true;
        QTest::newRow("0: just inside right") << 0 << 1359.5f << 400.0f << true;
        QTest::newRow("0: at the right edge") << 0 << 1360.0f << 400.0f << false;
        QTest::newRow("at the bottom edge: not yet") << 50 << 1100.0f << 495.0f << false;
        QTest::newRow("just above the bottom edge") << 50 << 1100.0f << 494.5f << true;
        QTest::newRow("far above: no upper bound") << 50 << 1100.0f << 5.0f << true;
    }
    void aShotHitsAnAlienWithinItsWidthWidenedBySensitivity()
    {
        QFETCH(int, sensib);
        QFETCH(float, shotLeft);
        QFETCH(float, shotTop);
        QFETCH(bool, hit);
        Game g;
        g.w.sensib = static_cast<std::int16_t>(sensib);
        g.w.mechv(1).Left = 1000;
        g.w.mechb(1).Visible = g.w.mechr(1).Visible = false;
        g.shootAt(shotLeft, shotTop);
        QCOMPARE(g.w.mechv(1).Tag, std::string(hit ? "2" : "3"));
        QCOMPARE(g.w.nbtir, std::int16_t(hit ? 1 : 2));
    }

    void aGreenAlienTakesThreeHits()
    {
        Game g;
        g.start();
        const std::int16_t start = g.w.score;
        g.w.mechr(1).Visible = g.w.mechb(1).Visible = false;
        for (int hit = 1; hit <= 3; ++hit) {
            g.shootAt(200, 300);
            QCOMPARE(column(g.w, 1), hit < 3 ? "green " + std::to_string(3 - hit) : "");
            QCOMPARE(g.w.mechv(1).Tag, std::to_string(3 - hit));
            QCOMPARE(int(g.w.score), start + 10 * hit);
            QCOMPARE(int(g.w.reste), 126 - hit);
            QCOMPARE(g.w.nbtir, 1);
            QCOMPARE(g.w.tir(1).Top, 5590.0f); // re-armed
        }
        // Dead now: the next shot flies through its place.
        g.shootAt(200, 300);
        QCOMPARE(g.w.nbtir, 2);
        QCOMPARE(int(g.w.reste), 123);
    }

    void eachColumnTestsGreenThenRedThenBlue()
    {
        Game g;
        g.shootAt(200, 100); // in the bands of all three of column 1, above all their bottoms
        QCOMPARE(column(g.w, 1), "green 2, blue 2, red");
        QCOMPARE(g.w.reste, 125);

        g.w.mechv(1).Visible = false; // green dead: red is next
        g.shootAt(200, 100);
        QCOMPARE(column(g.w, 1), "blue 2");
        g.shootAt(200, 100); // then blue
        QCOMPARE(column(g.w, 1), "blue 1");
        QCOMPARE(g.w.reste, 123);
    }

    void columnsAreTestedInOrderAndOneHitEndsTheTick()
    {
        Playing g;
        g.w.sensib = 300; // the shot lies in the bands of columns 3 and 4
        g.shootAt(1250, 1400);
        QVERIFY(!g.w.mechr(3).Visible);
        QVERIFY(g.w.mechr(4).Visible);
        QCOMPARE(g.w.reste, 125);
    }

    // A saucer at `left` (1230 x 435 at Top 0), and a shot at (shotLeft, shotTop) in a hit tick.
    // A hit scores once, parks the saucer and shows the banner; the shot flies on, unless it
    // also hits an alien in the same pass.
    void theSaucerIsHitStrictlyInsideItsBoxWhileShown_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<float>("shotLeft");
        QTest::addColumn<float>("shotTop");
        QTest::addColumn<int>("score");
        QTest::addColumn<float>("shotTopAfter"); // 5590: re-armed at the ship
        QTest::newRow("inside") << 3000.0f << true << 3500.0f << 200.0f << 200 << 200.0f;
        QTest::newRow("on its top edge") << 3000.0f << true << 3500.0f << 0.0f << 0 << 0.0f;
        QTest::newRow("on its bottom edge") << 3000.0f << true << 3500.0f << 435.0f << 0 << 435.0f;
        QTest::newRow("on its left edge") << 3000.0f << true << 3000.0f << 200.0f << 0 << 200.0f;
        QTest::newRow("on its right edge") << 3000.0f << true << 4230.0f << 200.0f << 0 << 200.0f;
        // A ship parked under the hidden saucer's resting place must not rake in bonuses.
        QTest::newRow("hidden, low in its box") << 8300.0f << false << 8400.0f << 400.0f << 0 << 400.0f;
        QTest::newRow("hidden, high in its box") << 8300.0f << false << 8400.0f << 10.0f << 0 << 10.0f;
        // A green alien come up beside the saucer, for the test's sake: both score.
        QTest::newRow("and an alien in one pass") << 0.0f << true << 200.0f << 300.0f << 210 << 5590.0f;
    }
    void theSaucerIsHitStrictlyInsideItsBoxWhileShown()
    {
        QFETCH(float, left);
        QFETCH(bool, shown);
        QFETCH(float, shotLeft);
        QFETCH(float, shotTop);
        QFETCH(int, score);
        Game g;
        g.saucerAt(left, shown);
        g.w.mechv(1).Top = 100;
        g.shootAt(shotLeft, shotTop);
        QCOMPARE(int(g.w.score), score);
        QFETCH(float, shotTopAfter);
        QCOMPARE(g.w.tir(1).Top, shotTopAfter);
        QCOMPARE(g.w.nbtir, std::int16_t(score == 210 ? 1 : 2)); // removed only by an alien hit
        const bool hit = score >= 200;
        QCOMPARE(g.w.bon.Visible, hit);
        QCOMPARE(g.w.souc.Visible, shown && !hit);
        QCOMPARE(g.w.souc.Left, hit ? 8300.0f : left);
        QCOMPARE(g.w.Textsouc.Text, std::string(hit ? "10000" : "0"));
        QCOMPARE(g.w.mechv(1).Tag, std::string(score == 210 ? "2" : "3"));
        g.w.pg_Timer(); // the saucer is gone: no second bonus
        QCOMPARE(int(g.w.score), score);
    }

    void theScoreStopsAt32767()
    {
        Game g;
        g.w.score = 32760;
        g.shootAt(200, 1100);
        QCOMPARE(g.w.score, 32767);
        g.saucerAt(100);
        g.shootAt(200, 200); // the saucer's bonus and a green alien's points
        QVERIFY(g.w.bon.Visible);
        QCOMPARE(g.w.score, 32767);
    }

    void onlyThePermanentShotHits()
    {
        Game g;
        g.w.tirer();
        g.w.tir(2).Left = 200;
        g.w.tir(2).Top = 1100; // the extra shot inside the red alien
        g.w.tir(1).Left = 5000;
        g.w.tir(1).Top = 3000;
        g.w.pg_Timer();
        QVERIFY(g.w.mechr(1).Visible);
        QCOMPARE(g.w.nbtir, 2);
    }

    void aHiddenAlienLetsTheShotThroughToTheOneAbove()
    {
        Game g;
        g.w.mechr(1).Visible = g.w.mechb(1).Visible = false;
        g.shootAt(200, 1000);
        QCOMPARE(g.w.nbtir, 2);
        g.w.tir(1).Top = 400;
        g.w.pg_Timer();
        QCOMPARE(g.w.mechv(1).Tag, std::string("2"));
    }

    // Aliens come down to the ship: the re-armed shot lies inside one. The pass that re-arms
    // it after a top exit ends there, touching no removed shot.
    void aPassEndsWithTheRemovalOfTheExtraShot()
    {
        Game g;
        g.w.vaisseau.Left = 100;
        g.w.mechr(1).Top = 5300; // its bottom below the re-armed shot at 5590
        g.w.tirer();
        g.w.tir(1).Top = -10;
        g.w.pg_Timer();
        QCOMPARE(g.w.nbtir, 1);
        QVERIFY(g.w.mechr(1).Visible);
        QCOMPARE(g.w.reste, 126);
    }
};

QTEST_GUILESS_MAIN(PlayerTest)
#include "test_player.moc"
