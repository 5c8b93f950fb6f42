// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game: the win and loss tests, their sequences and messages, and whole games
// played to "GAGNE" and to "PERDU" by a scripted player on virtual time.

#include <QtTest>

#include "kit/game.h"
#include "kit/player.h"

using game::keyRight;

namespace {

// The box at the end of a game.
QString scoreBox(const QString& prompt)
{
    return "Score (64): " + prompt;
}
const QString bulletText = "Vous avez été touché par une balle ennemie ";
const QString won = "Bravo vous avez gagné 200 pt de plus en gagnant, votre score est de: ";

// A game in progress, its formation complete, every bullet and alien far from the ship.
struct Playing : Game {
    Playing()
    {
        shipOutOfReach();
        start();
        completeFormation();
        w.vaisseau.Top = 5640;
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
            w.tire(v).Top = 2000;
    }
};

} // namespace

class OutcomeTest : public QObject {
    Q_OBJECT

private slots:
    void theWinComesFirstEvenWithABulletOnTheShip()
    {
        Playing g;
        g.w.score = 1060;
        g.w.reste = 0;
        g.w.tire(2).Left = 3500; // on the ship
        g.w.tire(2).Top = 5700;
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2)); // the start's, then the win's
        QCOMPARE(g.dialogs.last(), scoreBox(won + "1260"));
        QCOMPARE(g.w.score, 1260);
        QVERIFY(g.w.gagne.Visible);
        QVERIFY(!g.w.perd.Visible);
        QCOMPARE(g.phase(), Phase::Over);
        QCOMPARE(g.w.tire(0).Top, 0.0f); // shown during the game: to the top edge
    }

    void belowZeroIsNoWin()
    {
        Playing g;
        g.w.reste = -1;
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.phase(), Phase::Playing);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(1));
    }

    void theWinBonusStopsAt32767()
    {
        Playing g;
        g.w.score = 32700;
        g.w.reste = 0;
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.w.score, 32767);
        QCOMPARE(g.dialogs.last(), scoreBox(won + "32767"));
    }

    // The ship stands at Left 3480, Top 5640, 450 x 450.
    void theBulletTestIsStrictOnEverySide_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<bool>("touches");
        QTest::newRow("inside") << 3600.0f << 5700.0f << true;
        QTest::newRow("top: ship's top minus 1") << 3600.0f << 5639.0f << false;
        QTest::newRow("top: ship's top minus 0,5") << 3600.0f << 5639.5f << true;
        QTest::newRow("top: 150 above the ship's bottom") << 3600.0f << 5940.0f << false;
        QTest::newRow("top: just above that") << 3600.0f << 5939.5f << true;
        QTest::newRow("left: the ship's left") << 3480.0f << 5700.0f << false;
        QTest::newRow("left: just right of it") << 3480.5f << 5700.0f << true;
        QTest::newRow("left: the ship's right") << 3930.0f << 5700.0f << false;
        QTest::newRow("left: just left of it") << 3929.5f << 5700.0f << true;
    }
    void theBulletTestIsStrictOnEverySide()
    {
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(bool, touches);
        Playing g;
        g.w.tire(3).Left = left;
        g.w.tire(3).Top = top;
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.w.perd.Visible, touches);
        QCOMPARE(g.phase(), touches ? Phase::Over : Phase::Playing);
        if (touches)
            QCOMPARE(g.dialogs.last(), scoreBox(bulletText + "Votre score est de: 58"));
    }

    void aHiddenBulletOnTheShipLosesToo()
    {
        Playing g;
        g.w.tire(1).Visible = false;
        g.w.tire(1).Left = 3600;
        g.w.tire(1).Top = 5700;
        g.w.tire(0).Visible = false;
        g.w.PERDUGAGNE_Timer();
        QVERIFY(g.w.perd.Visible);
        QCOMPARE(g.w.tire(0).Top, 200.0f); // hidden: a little lower than the top edge
    }

    void oneEndingGivesOneMessage_data()
    {
        QTest::addColumn<bool>("twoBullets");
        QTest::addColumn<bool>("alienDown");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("two bullets on the ship") << true << false << bulletText + "Votre score est de: 58";
        QTest::newRow("a bullet and an alien") << false << true << bulletText + "Votre score est de: 58";
        QTest::newRow("both bullets and an alien") << true << true << bulletText + "Votre score est de: 58";
        QTest::newRow("an alien alone") << false << false << "Votre score est de: 58";
    }
    void oneEndingGivesOneMessage()
    {
        QFETCH(bool, twoBullets);
        QFETCH(bool, alienDown);
        QFETCH(QString, prompt);
        Playing g;
        if (alienDown || (!twoBullets && !alienDown))
            g.w.mechr(7).Top = 5700;
        if (twoBullets || alienDown) {
            g.w.tire(1).Left = 3600;
            g.w.tire(1).Top = 5700;
        }
        if (twoBullets) {
            g.w.tire(4).Left = 3700;
            g.w.tire(4).Top = 5650;
        }
        g.advance(5000); // the check runs every millisecond; it stops itself after the message
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(g.dialogs.last(), scoreBox(prompt));
        QVERIFY(!g.w.PERDUGAGNE.enabled());
    }

    void anAlienLandsOnlyBelowTheShipsTop()
    {
        Playing g;
        g.w.mechb(12).Top = 5640; // level with the ship's top: not yet
        g.w.mechv(3).Visible = false;
        g.w.mechv(3).Top = 9000; // dead aliens do not count
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.phase(), Phase::Playing);
        g.w.mechb(12).Top = 5641;
        g.w.PERDUGAGNE_Timer();
        QCOMPARE(g.phase(), Phase::Over);
        QCOMPARE(g.dialogs.last(), scoreBox("Votre score est de: 58"));
    }

    void afterAnEndingTheShipStillSteersAndNothingElseMoves()
    {
        Playing g;
        g.w.tire(2).Left = 3600;
        g.w.tire(2).Top = 5700;
        g.advance(1);
        QCOMPARE(g.phase(), Phase::Over);
        const float alienTop = g.w.mechv(1).Top;
        const float bulletTop = g.w.tire(3).Top;
        const float alienLeft = g.w.mechv(2).Left;
        g.w.Form_KeyDown(keyRight, 0);
        g.advance(60000);
        QCOMPARE(g.w.mechv(1).Top, alienTop);
        QCOMPARE(g.w.mechv(2).Left, alienLeft);
        QCOMPARE(g.w.tire(3).Top, bulletTop);
        QCOMPARE(g.w.tire(0).Top, 0.0f);
        QVERIFY(g.w.vaisseau.Left != 3480.0f);
        QVERIFY(g.w.soucoupe.enabled());
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2)); // no second message
        QVERIFY(g.w.general.Enabled);                     // a new game can be started

        g.start(); // its formation builds; no ending until it is complete
        QVERIFY(!g.w.perd.Visible);
        g.advance(2000);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(3));
    }

    void aWholeGameWonByAScriptedPlayer()
    {
        Game g;
        // Not the first game of the run: in that one a bullet launched late throws the others
        // sideways, now and then onto the ship, and no player could dodge that.
        g.winnableSettings();
        g.start();
        QCOMPARE(g.w.score, 19); // 55000 / 3500 rounds to 16, plus 3

        scripted::Player player(g.w);
        const std::int64_t played = player.play(10 * 60 * 1000);
        QVERIFY2(g.w.gagne.Visible, qPrintable(QString("after %1 ms, %2 hits still needed: %3")
                                                   .arg(played)
                                                   .arg(g.w.reste)
                                                   .arg(g.dialogs.last())));
        QVERIFY(!g.w.perd.Visible);
        QCOMPARE(g.w.reste, 0);
        QVERIFY(!player.saucerSeen());
        QCOMPARE(g.w.score, 19 + 126 * 10 + 200);
        QCOMPARE(g.dialogs.last(), scoreBox(won + "1479"));
        for (std::int16_t c = 1; c <= 21; ++c)
            QCOMPARE(column(g.w, c), "");
        g.advance(1);
        QCOMPARE(g.w.Caption, QString("Gromzak   Points:  1479"));

        // The next game is whole again and can be won again.
        g.start();
        QCOMPARE(g.w.reste, 126);
        QVERIFY(!g.w.gagne.Visible);
        scripted::Player again(g.w);
        again.play(10 * 60 * 1000);
        QVERIFY(g.w.gagne.Visible);
        QCOMPARE(g.w.reste, 0);
    }

    void aWholeGameLostToTheLandingFormation()
    {
        Game g;
        g.dialogs.typed = {"0,31"}; // the fastest descent
        g.w.choose(g.w.vite);
        g.start();
        QCOMPARE(g.w.score, 1777);
        scripted::Player dodger(g.w, false); // dodges the bullets, never fires
        dodger.play(60 * 1000);
        QVERIFY(g.w.perd.Visible);
        QCOMPARE(g.dialogs.last(), scoreBox("Votre score est de: 1777"));
        QCOMPARE(g.phase(), Phase::Over);
    }

    void aWholeGameLostToTheBullets()
    {
        Game g;
        g.start();
        g.advance(10 * 60 * 1000); // standing still under the falling bullets
        QVERIFY(g.w.perd.Visible);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(g.dialogs.last(), scoreBox(bulletText + "Votre score est de: 58"));
    }
};

QTEST_GUILESS_MAIN(OutcomeTest)
#include "test_outcome.moc"
