// SPDX-License-Identifier: GPL-3.0-or-later
// The "Options" menu: what each answer leaves in its setting, what an answer that is not a
// number does, and from when a changed setting counts.

#include <QtTest>

#include "kit/game.h"
#include "options/options.h"

namespace {

const QString defaults = "240 10000 50 200 30";

// The questions by short names, in the order of the menu.
const QStringList dialogs{"ship", "descent", "sensitivity", "shot", "alienShot"};

runtime::MenuItem& itemOf(game::mmm& w, const QString& dialog)
{
    return w.*game::optionDialogs()[static_cast<std::size_t>(dialogs.indexOf(dialog))].item;
}

void answer(Game& g, const QString& dialog, const QString& typed)
{
    g.dialogs.typed.push_back(typed);
    g.w.choose(itemOf(g.w, dialog));
}

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT

private slots:
    void eachAnswerGivesItsSetting_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        const QList<std::tuple<const char*, const char*, const char*>> rows{
            // The proposed answers.
            {"ship", "240", "240 10000 50 200 30"},
            {"descent", "10", "240 10000 50 200 30"},
            {"sensitivity", "20", "240 10000 20 200 30"},
            {"shot", "200", "240 10000 50 200 30"},
            {"alienShot", "30", "240 10000 50 200 30"},
            // Bounds on the answer as typed, halves to the even neighbour within them.
            {"ship", "5000", "1200 10000 50 200 30"},
            {"ship", "5", "20 10000 50 200 30"},
            {"ship", "-3", "20 10000 50 200 30"},
            {"ship", "12,6", "20 10000 50 200 30"},
            {"ship", "1199,5", "1200 10000 50 200 30"},
            {"ship", " +300 ", "300 10000 50 200 30"},
            {"sensitivity", "301", "240 10000 300 200 30"},
            {"sensitivity", "-1", "240 10000 0 200 30"},
            {"sensitivity", "0", "240 10000 0 200 30"},
            {"sensitivity", "0,5", "240 10000 0 200 30"},
            {"sensitivity", "-0,4", "240 10000 0 200 30"},
            {"shot", "100,5", "240 10000 50 100 30"},
            {"shot", "101,5", "240 10000 50 102 30"},
            {"shot", "600,4", "240 10000 50 600 30"},
            {"shot", "20,5", "240 10000 50 20 30"},
            {"alienShot", "0,4", "240 10000 50 200 1"},
            {"alienShot", "1,5", "240 10000 50 200 2"},
            {"alienShot", "250,4", "240 10000 50 200 250"},
            // Beyond 16 bits: held like any other large or small answer.
            {"ship", "40000", "1200 10000 50 200 30"},
            {"ship", "-40000", "20 10000 50 200 30"},
            {"sensitivity", "99999999999999999999999", "240 10000 300 200 30"},
            {"alienShot", "32767,5", "240 10000 50 200 250"},
            // The descent in seconds, kept in milliseconds.
            {"descent", "2,5", "240 2500 50 200 30"},
            {"descent", "0,75", "240 750 50 200 30"},
            {"descent", ",5", "240 500 50 200 30"},
            {"descent", "1,2345", "240 1234,5 50 200 30"},
            {"descent", "35", "240 35000 50 200 30"},
            {"descent", "40", "240 35000 50 200 30"},
            {"descent", "40000", "240 35000 50 200 30"},
            {"descent", "0,310", "240 310 50 200 30"},
            {"descent", "0,1", "240 310 50 200 30"},
            {"descent", "0,3", "240 310 50 200 30"},
            {"descent", "0", "240 310 50 200 30"},
            {"descent", "-2", "240 310 50 200 30"},
            {"descent", "-40000", "240 310 50 200 30"},
            {"descent", "0,3099", "240 310 50 200 30"},
            // Below 0,310 by value though not by text: never a zero or near-zero interval.
            {"descent", "00,1", "240 310 50 200 30"},
            {"descent", "00", "240 310 50 200 30"},
            {"descent", "000,3", "240 310 50 200 30"},
        };
        for (const auto& [dialog, typed, after] : rows)
            QTest::addRow("%s %s", dialog, typed) << dialog << typed << after;
    }
    void eachAnswerGivesItsSetting()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        Game g;
        answer(g, dialog, typed);
        QCOMPARE(settings(g.w), after);
        QVERIFY(g.dialogs.boxes.empty());
    }

    void eachDialogAsksItsOwnQuestion_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("proposed");
        const auto row = [](const char* dialog, const char* prompt, const char* title, const char* proposed) {
            QTest::newRow(dialog) << QString(dialog) << QString(prompt) << QString(title)
                                  << QString(proposed);
        };
        row("ship", "Quelle est la vitesse de la fusée?", "Vitesse?", "240");
        row("descent", "Quelle est la vitesse des extra-terrestres? (descente en secondes)", "Vitesse?",
            "10");
        row("sensitivity", "Quelle est la sensibilité du tir sur les extra-terrestres?", "Sensibilité?",
            "20");
        row("shot", "Quelle est la vitesse du tir?", "Vitesse?", "200");
        row("alienShot", "Quelle est la vitesse ddu tir des extra-terrestres?", "Vitesse?", "30");
    }
    // The proposed answer stays the same text whatever the setting holds; no answer (the box
    // cancelled or emptied) changes nothing.
    void eachDialogAsksItsOwnQuestion()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        QFETCH(QString, proposed);
        Game g;
        answer(g, dialog, "");
        QCOMPARE(settings(g.w), defaults);
        answer(g, dialog, "7");
        const QString changed = settings(g.w);
        QVERIFY(changed != defaults);
        answer(g, dialog, "");
        QCOMPARE(settings(g.w), changed);
        QCOMPARE(g.dialogs.inputs.size(), std::size_t(3));
        for (const ScriptedDialogs::Input& input : g.dialogs.inputs) {
            QCOMPARE(input.prompt, prompt);
            QCOMPARE(input.title, title);
            QCOMPARE(input.proposed, proposed);
        }
        QVERIFY(g.dialogs.boxes.empty());
    }

    void anAnswerThatIsNotANumberChangesNothingAndSaysSo_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("title");
        for (const char* typed : {"abc", "2.5", "1,2,3", "   ", "1e3", "12abc", "--5", "1 000", "٣"}) {
            QTest::addRow("ship %s", typed) << "ship" << typed << "Vitesse?";
            QTest::addRow("descent %s", typed) << "descent" << typed << "Vitesse?";
        }
        QTest::newRow("sensitivity") << QString("sensitivity") << QString("beaucoup")
                                     << QString("Sensibilité?");
    }
    void anAnswerThatIsNotANumberChangesNothingAndSaysSo()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, typed);
        QFETCH(QString, title);
        Game g;
        answer(g, dialog, typed);
        QCOMPARE(settings(g.w), defaults);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(
            g.dialogs.last(),
            title + " (64): \"" + typed
                + "\" n'est pas un nombre. Tapez un nombre comme 12 ou 2,5\u00A0; le réglage ne change pas.");
        g.start();
        QCOMPARE(g.phase(), Phase::Building);
    }

    void aLongAnswerIsCutShortInItsMessage()
    {
        Game g;
        answer(g, "shot", QString(5000, u'x'));
        QVERIFY2(g.dialogs.last().contains(": \"" + QString(40, u'x') + "…\" n'est pas un nombre."),
                 qPrintable(g.dialogs.last()));
        answer(g, "shot", QString(39, u'x') + QString::fromUtf8("😀")); // not cut inside the emoji
        QVERIFY2(g.dialogs.last().contains(": \"" + QString(39, u'x') + "…\""), qPrintable(g.dialogs.last()));
    }

    // Options are greyed while a game runs, so a changed setting counts from the next start.
    void aChangedSettingCountsFromTheNextGame()
    {
        Game g;
        answer(g, "descent", "3");
        g.start();
        QCOMPARE(g.w.score, 186); // 55000 / 300 + 30 / 10
        for (const QString& dialog : dialogs)
            g.w.choose(itemOf(g.w, dialog));
        QCOMPARE(g.dialogs.inputs.size(), std::size_t(1)); // the descent's, before the start
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(1));  // the start's
        QCOMPARE(settings(g.w), "240 3000 50 200 30");

        // The formation as its build-up leaves it, then stopped.
        for (std::int16_t c = 2; c <= game::formationColumns; ++c)
            for (runtime::SpriteArray* row : {&g.w.mechv, &g.w.mechb, &g.w.mechr})
                row->create(c);
        g.w.general.Enabled = true;
        g.stop();
        QCOMPARE(g.phase(), Phase::Stopped);
        answer(g, "alienShot", "250");
        answer(g, "descent", "00");
        g.start();
        QCOMPARE(g.w.score, 1799); // 55000 / 31 + 250 / 10, no division by zero
    }
};

QTEST_MAIN(OptionsTest)
#include "test_options.moc"
