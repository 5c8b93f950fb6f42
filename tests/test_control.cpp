// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the window, and starting, stopping and quitting games from the "Général" menu.

#include <algorithm>

#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"
#include "runtime/errors.h"

using game::mmm;

namespace {

const std::string leaveTheGame = "Confirmation (52): Êtes vous sûr de quitter la partie précédente?";

} // namespace

class ControlTest : public QObject {
    Q_OBJECT

private slots:
    // Made, a game is loaded (nothing else is called), and its first game, once its formation
    // stands, still needs all its hits.
    void loadGivesTheDesignState()
    {
        Game g;
        const mmm& w = g.w;
        QCOMPARE(w.Caption, std::string(" Gromzaks v1.0"));
        QCOMPARE(w.nbtir, 1);
        QCOMPARE(w.nbcol, 1);
        QCOMPARE(w.decal, 10);
        QCOMPARE(settings(w), "240 10000 50 200 30");
        QCOMPARE(w.reste, 126);
        QCOMPARE(w.score, 0);
        QCOMPARE(w.animation.Text, std::string("1"));
        for (const runtime::Cell* cell : {&w.Text1, &w.valyou, &w.valyout, &w.Textsouc})
            QCOMPARE(cell->Text, std::string("0"));
        QCOMPARE(g.phase(), Phase::Idle);
        QVERIFY(w.anima.Checked);

        // Only column 1 and the ship are on the field; the blue alien partly off the left edge.
        QCOMPARE(members(w.mechv), 1);
        QCOMPARE(w.mechv(1).Left, 120.0f);
        QCOMPARE(w.mechv(1).Top, 120.0f);
        QCOMPARE(w.mechb(1).Left, -120.0f);
        QCOMPARE(w.mechb(1).Top, 600.0f);
        QCOMPARE(w.mechr(1).Top, 1080.0f);
        QCOMPARE(column(w, 1), "green 3, blue 2, red");
        QCOMPARE(w.vaisseau.Left, 3480.0f);
        QCOMPARE(w.vaisseau.Top, 5640.0f);
        QCOMPARE(shown(w), "mechv(1) mechb(1) mechr(1) vaisseau");

        runtime::Scene scene;
        w.scene(scene);
        QCOMPARE(scene.pictures.size(), std::size_t(4));
        QVERIFY(scene.banners.empty());

        g.startPlaying();
        g.advance(1); // the first check of the outcome
        QCOMPARE(g.phase(), Phase::Playing);
        QCOMPARE(g.w.reste, 126);
    }

    void theCaptionShowsTheScoreFromTheFirstTick()
    {
        Game g;
        g.advance(1);
        QCOMPARE(g.w.Caption, std::string("Gromzak   Points:  0"));
        g.start();
        g.advance(1);
        QCOMPARE(g.w.Caption, std::string("Gromzak   Points:  58"));
        g.w.score = -5;
        g.advance(1);
        QCOMPARE(g.w.Caption, std::string("Gromzak   Points:  -5"));
    }

    // Answered No, a first start leaves the game idle; answered Yes, it builds.
    void aFirstStartBuildsWithTheStartingBonus()
    {
        Game g;
        g.start(false);
        QCOMPARE(g.dialogs.last(), leaveTheGame);
        QCOMPARE(g.phase(), Phase::Idle);
        QCOMPARE(g.w.score, 0);
        g.start();
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(2));
        QCOMPARE(g.phase(), Phase::Building);
        QCOMPARE(g.w.score, 58);
        QCOMPARE(g.w.nbcol, 1);
        QCOMPARE(g.w.Text1.Text, std::string("0"));
        QCOMPARE(g.w.dem.interval(), 150); // the first game builds slower
        QCOMPARE(g.w.demarrer.Caption, std::string("Redémarrer"));
        QCOMPARE(g.w.tir(1).Left, 3600.0f); // no teardown at the first start
        QCOMPARE(g.w.tire(0).Top, 1080.0f);
    }

    void theStartingBonusFollowsTheSettings_data()
    {
        QTest::addColumn<QString>("tempe");
        QTest::addColumn<int>("vittire");
        QTest::addColumn<int>("score");
        QTest::newRow("defaults") << "10000" << 30 << 58;
        QTest::newRow("fast descent") << "3000" << 30 << 186;    // 183,33 + 3
        QTest::newRow("fastest descent") << "310" << 30 << 1777; // 1774,19 + 3
        QTest::newRow("slowest descent") << "35000" << 30 << 19; // 15,71 -> 16, + 3
        QTest::newRow("half on the sum") << "10000" << 25 << 58; // 55 + 2,5 -> 57,5 -> 58
        QTest::newRow("half to even") << "11000" << 5 << 50;     // 50 + 0,5 -> 50
        QTest::newRow("zero descent leaves the first part out") << "0" << 30 << 3;
        QTest::newRow("negative descent leaves it out") << "-10" << 30 << 3;
        QTest::newRow("tiny descent stops at the top") << "1" << 30 << 32767;
        QTest::newRow("fractional descent stops at the top") << "0,001" << 250 << 32767;
    }
    void theStartingBonusFollowsTheSettings()
    {
        QFETCH(QString, tempe);
        QFETCH(int, vittire);
        QFETCH(int, score);
        Game g;
        g.w.tempe.Text = tempe.toStdString();
        g.w.vittire = static_cast<std::int16_t>(vittire);
        g.start();
        QCOMPARE(int(g.w.score), score);
    }

    void aStopFreezesTheFieldAndGivesTheOptionsBack()
    {
        Playing g;
        QCOMPARE(g.phase(), Phase::Playing);
        g.w.vaisseau.Left = 1234;
        g.stop(false);
        QCOMPARE(g.phase(), Phase::Playing);
        QCOMPARE(g.w.score, 58);

        g.stop();
        QCOMPARE(g.dialogs.last(), leaveTheGame);
        QCOMPARE(g.phase(), Phase::Stopped);
        QCOMPARE(g.w.score, 0);
        QCOMPARE(g.w.nbcol, 2);
        QCOMPARE(g.w.dem.interval(), 100);
        QCOMPARE(g.w.Text1.Text, std::string("0"));
        QCOMPARE(members(g.w.mechv), 21); // frozen where it stood
        QCOMPARE(g.w.vaisseau.Left, 1234.0f);
        g.advance(1);
        QCOMPARE(g.w.Caption, std::string("Gromzak   Points:  0"));
    }

    void aNewGameTearsTheFormationDownAndRestoresItsFirstColumn_data()
    {
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("restart during play") << false;
        QTest::newRow("start after a stop") << true;
    }
    void aNewGameTearsTheFormationDownAndRestoresItsFirstColumn()
    {
        QFETCH(bool, stopFirst);
        Playing g;
        mmm& w = g.w;
        w.vaisseau.Top = 5640;
        w.mechv(1).Top = w.mechb(1).Top = w.mechr(1).Top = 3000;
        w.mechv(1).Left = 130; // a wiggle offset stays
        // Column 1 half shot: the new columns are copied from it.
        w.mechv(1).Visible = false;
        w.mechv(1).Tag = "0";
        w.mechb(1).Tag = "1";
        w.mechr(1).Visible = false;
        w.reste = 3;
        for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v)
            w.tire(v).Top = 4000 + v;
        w.vaisseau.Left = 2000;
        w.tirer(); // an extra shot in flight survives the restart
        w.tir(1).Top = -500;
        if (stopFirst)
            g.stop();

        g.start();
        QCOMPARE(g.phase(), Phase::Building);
        for (const runtime::SpriteArray* row : {&w.mechv, &w.mechb, &w.mechr})
            QCOMPARE(members(*row), 1); // column 1 alone
        QCOMPARE(column(w, 1), "green 3, blue 2, red");
        QCOMPARE(w.reste, 126);
        QCOMPARE(w.mechv(1).Top, 120.0f);
        QCOMPARE(w.mechb(1).Top, 600.0f);
        QCOMPARE(w.mechr(1).Top, 1080.0f);
        QCOMPARE(w.mechv(1).Left, 130.0f);
        QCOMPARE(bulletTops(w), "550 550 550 550 550");
        QCOMPARE(w.dem.interval(), 100);
        QCOMPARE(w.nbcol, 1);
        QCOMPARE(w.tir(1).Left, 2050.0f); // re-armed at the ship
        QCOMPARE(w.tir(1).Top, 5590.0f);
        QVERIFY(!w.tir(1).Visible);
        QCOMPARE(w.nbtir, 2);
        QCOMPARE(w.vaisseau.Left, 2000.0f);
        QCOMPARE(w.score, 58);
    }

    void quitAskedAndAnsweredNoChangesNothing()
    {
        Playing g;
        g.dialogs.answers.push_back(runtime::answerNo);
        g.w.choose(g.w.quit);
        QVERIFY(!g.ended);
        QCOMPARE(g.dialogs.last(), "Confirmation (4): Etes vous sûr?");
        QCOMPARE(g.phase(), Phase::Playing);

        g.dialogs.answers.push_back(runtime::answerYes);
        g.w.choose(g.w.quit);
        QVERIFY(g.ended);
    }

    void greyedCommandsCannotBeChosen()
    {
        Game g;
        g.w.choose(g.w.stopi); // greyed in Idle: no box, nothing happens
        QVERIFY(g.dialogs.boxes.empty());
        g.start();
        g.w.choose(g.w.demarrer); // "Général" is greyed while the formation builds
        g.w.choose(g.w.quit);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(g.phase(), Phase::Building);
    }

    void theTimersOfAGameRunOnlyDuringIt()
    {
        Game g;
        const std::string always = "Timer2 Timer3 soucoupe";
        QCOMPARE(timersOn(g.w), always);
        g.start();
        QCOMPARE(timersOn(g.w), always + " dem pg Timer1 tiretimer vaisseautimer");
        g.completeFormation();
        QCOMPARE(timersOn(g.w), always + " dem anim pg PERDUGAGNE Timer1 tiretimer vaisseautimer");
        g.stop();
        QCOMPARE(timersOn(g.w), always);
    }

    void theBannerTickHidesTheBonus()
    {
        Game g;
        g.w.bon.Visible = true;
        g.advance(999);
        QVERIFY(g.w.bon.Visible);
        g.advance(1);
        QVERIFY(!g.w.bon.Visible);
    }

    // A fault of the game itself (here a bullet gone missing) in a 1 ms timer must not put up
    // a box after every OK: each distinct failure is shown once, the timers whose ticks failed
    // stop, and the player can still stop the game.
    void aRecurringFailureIsReportedOnceAndStopsItsTimer()
    {
        Playing g;
        runtime::FailureReport report(g.dialogs);
        const auto failures = [&g] {
            return std::count_if(g.dialogs.boxes.begin(), g.dialogs.boxes.end(),
                                 [](const auto& box) { return box.style == runtime::styleCritical; });
        };
        g.w.tire.destroy(4);
        for (int ms = 0; ms < 2000; ++ms)
            report.run([&g] { g.advance(1); }); // one wake-up of the window a millisecond
        QCOMPARE(failures(), 1);
        QVERIFY2(g.dialogs.last().ends_with("tire(4) does not exist"), g.dialogs.last().c_str());
        QCOMPARE(timersOn(g.w), "Timer2 Timer3 soucoupe dem anim pg Timer1 vaisseautimer");

        g.w.tir.destroy(1); // another failure is shown too
        report.run([&g] { g.advance(1000); });
        QCOMPARE(failures(), 2);

        g.dialogs.answers.push_back(runtime::answerYes);
        report.run([&g] { g.w.choose(g.w.stopi); });
        QCOMPARE(failures(), 2);
        QCOMPARE(timersOn(g.w), "Timer2 Timer3 soucoupe");
    }
};

QTEST_GUILESS_MAIN(ControlTest)
#include "test_control.moc"
