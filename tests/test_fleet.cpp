// SPDX-License-Identifier: GPL-3.0-or-later
// The alien fleet: the formation's build-up and descent, its wiggle, the alien bullets and
// the flying saucer.

#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"

using game::mmm;

class FleetTest : public QObject {
    Q_OBJECT

private slots:
    void aGameBuildsAColumnATickAndThenPlays_data()
    {
        QTest::addColumn<int>("before"); // 0 none, 1 a game in progress, 2 a stopped game
        QTest::addColumn<int>("interval");
        QTest::newRow("the first game: every 150 ms") << 0 << 150;
        QTest::newRow("restart during play: every 100 ms") << 1 << 100;
        QTest::newRow("start after a stop: every 100 ms") << 2 << 100;
    }
    void aGameBuildsAColumnATickAndThenPlays()
    {
        QFETCH(int, before);
        QFETCH(int, interval);
        Game g;
        if (before > 0)
            g.startPlaying();
        if (before > 1)
            g.stop();
        g.start();
        QCOMPARE(g.w.nbcol, 1);
        g.advance(interval - 1);
        QCOMPARE(g.w.nbcol, 1);
        g.advance(1);
        QCOMPARE(g.w.nbcol, 2);
        QCOMPARE(column(g.w, 2), "green 3, blue 2, red");
        QCOMPARE(g.w.mechv(2).Left, 520.0f);
        QCOMPARE(g.w.mechb(2).Left, 280.0f);
        QCOMPARE(g.w.mechr(2).Top, 1080.0f);

        g.advance(19 * interval - 1);
        QCOMPARE(g.w.nbcol, 20);
        g.advance(1); // the last column
        QCOMPARE(g.w.nbcol, 21);
        QCOMPARE(g.w.mechv(21).Left, 8120.0f);
        QCOMPARE(g.w.mechr(21).Left, 8120.0f);
        QCOMPARE(g.w.mechb(21).Left, 7880.0f);
        QCOMPARE(g.phase(), Phase::Building); // "Général" still greyed
        QCOMPARE(g.w.Text1.Text, std::string("0"));
        g.advance(interval - 1);
        QVERIFY(!g.w.general.Enabled);
        // The next tick completes the formation, starts the play and moves nothing.
        g.advance(1);
        QCOMPARE(g.phase(), Phase::Playing);
        QCOMPARE(timersOn(g.w),
                 "Timer2 Timer3 soucoupe dem anim pg PERDUGAGNE Timer1 tiretimer vaisseautimer");
        QCOMPARE(g.w.Text1.Text, std::string("1"));
        QCOMPARE(g.w.dem.interval(), 10000);
        QCOMPARE(g.w.mechv(1).Top, 120.0f);
        QCOMPARE(g.w.mechb(21).Top, 600.0f);
        QCOMPARE(members(g.w.mechv), 21);
    }

    // Column 1 hit while the formation builds: the columns built after it are still whole, so
    // the game can still be won.
    void aHitDuringTheBuildDoesNotWeakenTheNewColumns()
    {
        Game g;
        g.start();
        g.advance(150);
        g.shootAt(200, 300);
        g.w.mechr(1).Visible = false; // as if shot too
        QCOMPARE(column(g.w, 1), "green 2, blue 2");
        g.advance(150);
        QCOMPARE(column(g.w, 3), "green 3, blue 2, red");
    }

    void theDescentIntervalIsTheChosenOne_data()
    {
        QTest::addColumn<QString>("tempe");
        QTest::addColumn<int>("interval");
        QTest::newRow("at load") << "10000" << 10000;
        QTest::newRow("fastest") << "310" << 310;
        QTest::newRow("slowest") << "35000" << 35000;
        QTest::newRow("fraction rounds") << "2500,5" << 2500;
    }
    void theDescentIntervalIsTheChosenOne()
    {
        QFETCH(QString, tempe);
        QFETCH(int, interval);
        Game g;
        g.w.tempe.Text = tempe.toStdString();
        g.startPlaying();
        QCOMPARE(g.w.dem.interval(), interval);
        g.w.mechv(5).Visible = false; // hidden aliens come down with the others
        g.w.mechb(1).Visible = false;
        g.w.mechr(21).Visible = false;
        g.advance(interval - 1);
        QCOMPARE(g.w.mechv(1).Top, 120.0f);
        g.advance(1);
        for (std::int16_t c = 1; c <= 21; ++c) {
            QCOMPARE(g.w.mechv(c).Top, 320.0f);
            QCOMPARE(g.w.mechb(c).Top, 800.0f);
            QCOMPARE(g.w.mechr(c).Top, 1280.0f);
        }
        g.advance(interval);
        QCOMPARE(g.w.mechv(5).Top, 520.0f);
        QCOMPARE(g.w.mechr(21).Top, 1480.0f);
    }

    void neighbouringColumnsWiggleApartAndBack()
    {
        Playing g;
        g.w.mechb(3).Visible = false; // a dead alien wiggles with its column
        g.advance(99);
        QCOMPARE(g.w.mechv(1).Left, 120.0f);
        g.advance(1);
        QCOMPARE(g.w.mechv(1).Left, 110.0f);
        QCOMPARE(g.w.mechr(1).Left, 110.0f);
        QCOMPARE(g.w.mechb(1).Left, -130.0f);
        QCOMPARE(g.w.mechv(2).Left, 530.0f);
        QCOMPARE(g.w.mechb(3).Left, 670.0f);
        QCOMPARE(g.w.mechv(21).Left, 8110.0f);
        QCOMPARE(g.w.decal, -10);
        g.advance(100);
        for (std::int16_t c = 1; c <= 21; ++c) {
            QCOMPARE(g.w.mechv(c).Left, 120.0f + 400 * (c - 1));
            QCOMPARE(g.w.mechb(c).Left, -120.0f + 400 * (c - 1));
        }
        QCOMPARE(g.w.decal, 10);
    }

    void theLastWiggleCarriesIntoTheNextGame()
    {
        Playing g;
        g.advance(100); // column 1 stands 10 to the left
        g.stop();
        g.start();
        QCOMPARE(g.w.mechv(1).Left, 110.0f);
        g.advance(100);
        QCOMPARE(g.w.mechv(2).Left, 510.0f);
    }

    void theAnimationCheckMarkCountsFromTheNextFormation()
    {
        Game g;
        QVERIFY(g.w.anima.Checked);
        g.w.choose(g.w.anima);
        QVERIFY(!g.w.anima.Checked);
        QCOMPARE(g.w.animation.Text, std::string("0"));
        g.w.choose(g.w.anima);
        QVERIFY(g.w.anima.Checked);
        QCOMPARE(g.w.animation.Text, std::string("1"));
        // The click neither starts nor stops the wiggle; the next formation does.
        g.startPlaying();
        g.stop();
        g.w.choose(g.w.anima);
        QVERIFY(!g.w.anim.enabled());
        g.start();
        g.advance(2100);
        QCOMPARE(g.phase(), Phase::Playing);
        QVERIFY(!g.w.anim.enabled());
        g.advance(20000);
        QVERIFY(!g.w.anim.enabled());
        QCOMPARE(g.w.mechv(1).Left, 120.0f);
        QCOMPARE(g.w.mechv(2).Left, 520.0f);
    }

    // One tick of the alien fire, with the blue row at its start (600), or come down once (800)
    // with its first alien dead, and bullet 2 at `top`: at or above the blue row it is launched
    // just below it, and each launch throws all five to random places; past 6100 it is first
    // brought back to 75 above the row.
    void aBulletFallsAndIsLaunchedFromTheBlueRow_data()
    {
        QTest::addColumn<float>("top");
        QTest::addColumn<int>("vittire");
        QTest::addColumn<float>("topAfter");
        QTest::addColumn<bool>("launched");
        QTest::addColumn<bool>("down");
        QTest::newRow("exactly at the launch height") << 600.0f << 30 << 660.0f << true << false;
        QTest::newRow("above it") << 100.0f << 30 << 660.0f << true << false;
        QTest::newRow("just below it") << 600.5f << 30 << 630.5f << false << false;
        QTest::newRow("slowest") << 100.0f << 1 << 631.0f << true << false;
        QTest::newRow("fastest") << 100.0f << 250 << 880.0f << true << false;
        QTest::newRow("fastest, falling") << 880.0f << 250 << 1130.0f << false << false;
        QTest::newRow("to exactly 6100") << 6070.0f << 30 << 6100.0f << false << false;
        QTest::newRow("at 6100: not past it") << 6100.0f << 30 << 6130.0f << false << false;
        QTest::newRow("past 6100: launched again") << 6130.0f << 30 << 660.0f << true << false;
        QTest::newRow("the row come down, its first alien dead") << 7000.0f << 30 << 860.0f << true << true;
    }
    void aBulletFallsAndIsLaunchedFromTheBlueRow()
    {
        QFETCH(float, top);
        QFETCH(int, vittire);
        QFETCH(float, topAfter);
        QFETCH(bool, launched);
        Game g; // the other bullets stand hidden between the blue row and 6100
        g.random.values = {0.25f, 0.5f, 0.75f, 0.0f, 0.999f};
        g.w.vittire = static_cast<std::int16_t>(vittire);
        QFETCH(bool, down);
        if (down) {
            g.w.mechb(1).Top = 800;
            g.w.mechb(1).Visible = false;
        }
        g.w.tire(2).Top = top;
        g.w.tiretimer_Timer();
        QCOMPARE(g.w.tire(2).Top, topAfter);
        QCOMPARE(g.random.draws, launched ? 5 : 0);
        const float lefts[] = {2100, 4200, 6300, 0, 0.999f * 8400};
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v) {
            QVERIFY(g.w.tire(v).Visible);
            if (launched)
                QCOMPARE(g.w.tire(v).Left, lefts[v]);
        }
    }

    // The bullets of a game from its start. In the first game of a run they fall from their
    // design places (Tops 1080, 1320, 1200, 1320, 960), members 1 and 3 level, and each is
    // launched on the tick after it passes 6100, throwing all five sideways; in every later
    // game they start above the blue row and fall as one volley, launched again as a whole.
    void theVolleysOfAGame_data()
    {
        QTest::addColumn<bool>("later");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("tops");
        QTest::addColumn<int>("draws");
        QTest::newRow("first game, first tick") << false << 10 << "1110 1350 1230 1350 990" << 0;
        QTest::newRow("first game, none launched yet") << false << 1600 << "5880 6120 6000 6120 5760" << 0;
        QTest::newRow("first game, 1 and 3 together") << false << 1610 << "5910 660 6030 660 5790" << 10;
        QTest::newRow("first game, 2") << false << 1650 << "6030 780 660 780 5910" << 15;
        QTest::newRow("first game, 0") << false << 1690 << "660 900 780 900 6030" << 20;
        QTest::newRow("first game, 4 not yet") << false << 1720 << "750 990 870 990 6120" << 20;
        QTest::newRow("first game, 4") << false << 1730 << "780 1020 900 1020 660" << 25;
        QTest::newRow("later game, first tick") << true << 10 << "660 660 660 660 660" << 25;
        QTest::newRow("later game, 183 ticks on") << true << 1830 << "6120 6120 6120 6120 6120" << 25;
        QTest::newRow("later game, launched again") << true << 1840 << "660 660 660 660 660" << 50;
    }
    void theVolleysOfAGame()
    {
        QFETCH(bool, later);
        QFETCH(int, ms);
        QFETCH(QString, tops);
        QFETCH(int, draws);
        Game g;
        if (later) {
            g.startPlaying();
            g.stop();
        }
        const int before = g.random.draws;
        g.start();
        g.advance(ms);
        QCOMPARE(bulletTops(g.w), tops.toStdString());
        QCOMPARE(g.random.draws - before, draws);
    }

    // Every run the same: the fixed seed's first draws place the first volley.
    void theFirstVolleyFallsWhereTheFixedSeedPutsIt()
    {
        Game g;
        g.start();
        g.w.tire(0).Top = 600; // launched at the next tick
        g.advance(10);
        QCOMPARE(g.random.draws, 5);
        const float lefts[] = {6843.67871f, 1138.00635f, 7608.65186f, 7014.07178f, 1066.68909f};
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
            QCOMPARE(double(g.w.tire(v).Left), double(lefts[v])); // exactly, not within a float's fuzz
    }

    void theSaucerWaitsForTheSecondDescent()
    {
        Playing g;
        g.advance(10000);
        QCOMPARE(g.w.mechv(1).Top, 320.0f);
        QCOMPARE(g.w.Textsouc.Text, std::string("0"));
        QCOMPARE(g.w.souc.Left, 8280.0f);
        g.w.mechv(1).Top = 500; // not above 500 yet
        g.advance(10);
        QCOMPARE(g.w.Textsouc.Text, std::string("0"));
        g.w.mechv(1).Top = 320;
        g.advance(10000 - 10); // the second descent: 520
        QCOMPARE(g.w.mechv(1).Top, 520.0f);
        QCOMPARE(g.w.Textsouc.Text, std::string("0"));
        g.advance(10); // first saucer tick: the countdown was 0, a crossing starts at once
        QCOMPARE(g.w.Textsouc.Text, std::string("-80"));
        QVERIFY(g.w.souc.Visible);
        QCOMPARE(g.w.souc.Left, 8080.0f);
        QCOMPARE(g.w.souc.Top, 0.0f);
    }

    // One saucer tick, or two, from a countdown and a place, the formation come down twice.
    void theSaucerTickCountsDownFliesAndParks_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("countdown");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<float>("leftAfter");
        QTest::addColumn<bool>("shownAfter");
        QTest::addColumn<QString>("countdownAfter");
        QTest::newRow("80 becomes 0: flies") << 8300.0f << false << "80" << 1 << 8100.0f << true << "0";
        QTest::newRow("160 becomes 80: waits") << 8300.0f << false << "160" << 1 << 8300.0f << false << "80";
        QTest::newRow("exactly -5000: flies on")
            << -5000.0f << true << "-1000" << 1 << -5200.0f << true << "-1080";
        QTest::newRow("past -5000: parked")
            << -5000.0f << true << "-1000" << 2 << 8300.0f << false << "10000";
    }
    void theSaucerTickCountsDownFliesAndParks()
    {
        QFETCH(float, left);
        QFETCH(bool, shown);
        QFETCH(QString, countdown);
        QFETCH(int, ticks);
        Game g;
        g.w.mechv(1).Top = 520;
        g.saucerAt(left, shown);
        g.w.Textsouc.Text = countdown.toStdString();
        for (int tick = 0; tick < ticks; ++tick)
            g.w.soucoupe_Timer();
        QFETCH(float, leftAfter);
        QFETCH(bool, shownAfter);
        QFETCH(QString, countdownAfter);
        QCOMPARE(g.w.souc.Left, leftAfter);
        QCOMPARE(g.w.souc.Visible, shownAfter);
        QCOMPARE(g.w.Textsouc.Text, countdownAfter.toStdString());
    }

    void aSaucerCycleIs125WaitingAnd67FlyingTicks()
    {
        Game g;
        g.w.mechv(1).Top = 520;
        g.saucerAt(-5100); // a crossing that ends on the first tick
        g.w.Textsouc.Text = "-5000";
        int waiting = 0;
        int flying = 0;
        bool parkedAgain = false;
        g.w.soucoupe_Timer();
        QCOMPARE(g.w.souc.Left, 8300.0f);
        for (int tick = 0; tick < 400 && !parkedAgain; ++tick) {
            const float before = g.w.souc.Left;
            g.w.soucoupe_Timer();
            if (g.w.souc.Left == 8300.0f && before < -5000)
                parkedAgain = true;
            else if (g.w.souc.Visible)
                ++flying;
            else
                ++waiting;
        }
        QVERIFY(parkedAgain);
        QCOMPARE(waiting, 124); // plus the tick that parked it: 125
        QCOMPARE(flying, 67);
    }

    void theSaucerCrossesOnInIdleAndIsNotHiddenByANewGame()
    {
        Playing g;
        g.advance(20000); // two descents
        g.advance(200);
        QVERIFY(g.w.souc.Visible);
        g.stop();
        const float left = g.w.souc.Left;
        g.advance(100);
        QVERIFY(g.w.souc.Left < left); // the formation still stands low: it flies on
        g.start();
        const float held = g.w.souc.Left;
        QVERIFY(g.w.souc.Visible);
        g.advance(1000);
        QCOMPARE(g.w.souc.Left, held); // frozen until the new formation is low again
        QVERIFY(g.w.souc.Visible);
    }
};

QTEST_GUILESS_MAIN(FleetTest)
#include "test_fleet.moc"
