// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game: the win and loss tests, their sequences and messages, and whole games
// played to "GAGNE" and to "PERDU" by a scripted player on virtual time.

#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"
#include "kit/player.h"

using game::keyRight;

namespace {

// The box at the end of a game.
std::string scoreBox(const std::string& prompt)
{
    return "Score (64): " + prompt;
}
const std::string bulletText = "Vous avez été touché par une balle ennemie ";
const std::string lostToABullet = bulletText + "Votre score est de: 58";
const std::string won = "Bravo vous avez gagné 200 pt de plus en gagnant, votre score est de: ";

// A game in progress with the ship back in its place, every bullet and alien far from it.
struct AtRisk : Playing {
    AtRisk()
    {
        w.vaisseau.Top = 5640;
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
            w.tire(v).Top = 2000;
    }
};

} // namespace

class OutcomeTest : public QObject {
    Q_OBJECT

private slots:
    // One check of the ending, with the ship at Left 3480, Top 5640, 450 x 450, the first
    // bullet at (bulletLeft, bulletTop), shown or not, and the blue alien of column 12 at
    // alienTop. A dead alien far below the ship never counts. The box says how the game ends,
    // "" when it goes on; the first bullet is then parked at the top edge, lower when hidden.
    void theWinComesFirstThenABulletThenALandedAlien_data()
    {
        QTest::addColumn<int>("reste");
        QTest::addColumn<int>("score");
        QTest::addColumn<float>("bulletLeft");
        QTest::addColumn<float>("bulletTop");
        QTest::addColumn<bool>("bulletShown");
        QTest::addColumn<float>("alienTop");
        QTest::addColumn<QString>("ending");
        const auto row = [](const char* name, int reste, int score, float left, float top, bool shown,
                            float alienTop, const std::string& box) {
            QTest::newRow(name) << reste << score << left << top << shown << alienTop
                                << QString::fromStdString(box);
        };
        row("the win, even with a bullet on the ship", 0, 1060, 3500, 5700, true, 600, won + "1260");
        row("the win bonus stops at 32767", 0, 32700, 3600, 2000, true, 600, won + "32767");
        row("below zero is no win", -1, 58, 3600, 2000, true, 600, "");
        row("a bullet inside", 126, 58, 3600, 5700, true, 600, lostToABullet);
        row("a hidden bullet inside", 126, 58, 3600, 5700, false, 600, lostToABullet);
        row("top: ship's top minus 1", 126, 58, 3600, 5639, true, 600, "");
        row("top: ship's top minus 0,5", 126, 58, 3600, 5639.5f, true, 600, lostToABullet);
        row("top: 150 above the ship's bottom", 126, 58, 3600, 5940, true, 600, "");
        row("top: just above that", 126, 58, 3600, 5939.5f, true, 600, lostToABullet);
        row("left: the ship's left", 126, 58, 3480, 5700, true, 600, "");
        row("left: just right of it", 126, 58, 3480.5f, 5700, true, 600, lostToABullet);
        row("left: the ship's right", 126, 58, 3930, 5700, true, 600, "");
        row("left: just left of it", 126, 58, 3929.5f, 5700, true, 600, lostToABullet);
        row("an alien level with the ship's top", 126, 58, 3600, 2000, true, 5640, "");
        row("an alien just below it", 126, 58, 3600, 2000, true, 5641, "Votre score est de: 58");
    }
    void theWinComesFirstThenABulletThenALandedAlien()
    {
        QFETCH(int, reste);
        QFETCH(int, score);
        QFETCH(float, bulletTop);
        QFETCH(bool, bulletShown);
        QFETCH(QString, ending);
        const std::string box = ending.toStdString();
        AtRisk g;
        g.w.reste = static_cast<std::int16_t>(reste);
        g.w.score = static_cast<std::int16_t>(score);
        QFETCH(float, bulletLeft);
        g.w.tire(0).Left = bulletLeft;
        g.w.tire(0).Top = bulletTop;
        g.w.tire(0).Visible = bulletShown;
        QFETCH(float, alienTop);
        g.w.mechb(12).Top = alienTop;
        g.w.mechv(3).Visible = false;
        g.w.mechv(3).Top = 9000;
        g.w.PERDUGAGNE_Timer();
        const bool ends = !box.empty();
        QCOMPARE(g.phase(), ends ? Phase::Over : Phase::Playing);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(ends ? 2 : 1)); // the start's, then the ending's
        QCOMPARE(g.w.gagne.Visible, box.starts_with(won));
        QCOMPARE(g.w.perd.Visible, ends && !box.starts_with(won));
        if (ends) {
            QCOMPARE(g.dialogs.last(), scoreBox(box));
            QCOMPARE(g.w.score, std::int16_t(ending.section(' ', -1).toInt()));
            QCOMPARE(g.w.tire(0).Top, bulletShown ? 0.0f : 200.0f);
        }
    }

    void oneEndingGivesOneMessage_data()
    {
        QTest::addColumn<int>("bullets"); // on the ship
        QTest::addColumn<bool>("alienDown");
        QTest::addColumn<QString>("prompt");
        const QString lost = QString::fromStdString(lostToABullet);
        QTest::newRow("two bullets on the ship") << 2 << false << lost;
        QTest::newRow("a bullet and an alien") << 1 << true << lost;
        QTest::newRow("both bullets and an alien") << 2 << true << lost;
        QTest::newRow("an alien alone") << 0 << true << "Votre score est de: 58";
    }
    void oneEndingGivesOneMessage()
    {
        QFETCH(int, bullets);
        QFETCH(bool, alienDown);
        QFETCH(QString, prompt);
        AtRisk g;
        if (alienDown)
            g.w.mechr(7).Top = 5700;
        const float onTheShip[][2] = {{3600, 5700}, {3700, 5650}};
        for (int i = 0; i < bullets; ++i) {
            g.w.tire(std::int16_t(1 + 3 * i)).Left = onTheShip[i][0];
            g.w.tire(std::int16_t(1 + 3 * i)).Top = onTheShip[i][1];
        }
        g.advance(5000); // the check runs every millisecond; it stops itself after the message
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(g.dialogs.last(), scoreBox(prompt.toStdString()));
        QVERIFY(!g.w.PERDUGAGNE.enabled());
    }

    void afterAnEndingTheShipStillSteersAndNothingElseMoves()
    {
        AtRisk g;
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
        QVERIFY2(g.w.gagne.Visible, ("after " + str(played) + " ms, " + str(g.w.reste)
                                     + " hits still needed: " + g.dialogs.last())
                                        .c_str());
        QVERIFY(!g.w.perd.Visible);
        QCOMPARE(g.w.reste, 0);
        QVERIFY(!player.saucerSeen());
        QCOMPARE(g.w.score, 19 + 126 * 10 + 200);
        QCOMPARE(g.dialogs.last(), scoreBox(won + "1479"));
        for (std::int16_t c = 1; c <= 21; ++c)
            QCOMPARE(column(g.w, c), "");
        g.advance(1);
        QCOMPARE(g.w.Caption, std::string("Gromzak   Points:  1479"));

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
        QCOMPARE(g.dialogs.last(), scoreBox(lostToABullet));
    }
};

QTEST_GUILESS_MAIN(OutcomeTest)
#include "test_outcome.moc"
