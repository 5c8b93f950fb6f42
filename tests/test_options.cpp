// SPDX-License-Identifier: GPL-3.0-or-later
// The "Options" menu: what each answer leaves in its setting, what an answer that is not a
// number does, and from when a changed setting counts.

#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"
#include "options/options.h"

namespace {

const std::string defaults = "240 10000 50 200 30";

// The questions by short names, in the order of the menu.
const QStringList dialogs{"ship", "descent", "sensitivity", "shot", "alienShot"};

const game::OptionDialog& optionOf(const QString& dialog)
{
    return game::optionDialogs()[static_cast<std::size_t>(dialogs.indexOf(dialog))];
}

void answer(Game& g, const QString& dialog, const std::string& typed)
{
    g.dialogs.typed.push_back(typed);
    g.w.choose(g.w.*optionOf(dialog).item);
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
            {"shot", "601", "240 10000 50 600 30"},
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
        answer(g, dialog, typed.toStdString());
        QCOMPARE(settings(g.w), after.toStdString());
        QVERIFY(g.dialogs.boxes.empty());
    }

    // Each item asks its own question. The proposed answer stays the same text whatever the
    // setting holds; no answer (the box cancelled or emptied) changes nothing.
    void eachDialogAsksItsOwnQuestion()
    {
        for (const QString& dialog : dialogs) {
            const game::OptionDialog& option = optionOf(dialog);
            Game g;
            answer(g, dialog, "");
            QCOMPARE(settings(g.w), defaults);
            answer(g, dialog, "7");
            const std::string changed = settings(g.w);
            QVERIFY(changed != defaults);
            answer(g, dialog, "");
            QCOMPARE(settings(g.w), changed);
            QCOMPARE(g.dialogs.inputs.size(), std::size_t(3));
            for (const ScriptedDialogs::Input& input : g.dialogs.inputs)
                QCOMPARE(input.prompt + "|" + input.title + "|" + input.proposed,
                         std::string(option.prompt) + "|" + option.title + "|" + option.proposed);
            QVERIFY(g.dialogs.boxes.empty());
        }
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
        QTest::newRow("sensitivity") << "sensitivity"
                                     << "beaucoup"
                                     << "Sensibilité?";
    }
    void anAnswerThatIsNotANumberChangesNothingAndSaysSo()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, typed);
        QFETCH(QString, title);
        Game g;
        answer(g, dialog, typed.toStdString());
        QCOMPARE(settings(g.w), defaults);
        QCOMPARE(g.dialogs.boxes.size(), std::size_t(1));
        QCOMPARE(
            g.dialogs.last(),
            (title + " (64): \"" + typed
             + "\" n'est pas un nombre. Tapez un nombre comme 12 ou 2,5\u00A0; le réglage ne change pas.")
                .toStdString());
        g.start();
        QCOMPARE(g.phase(), Phase::Building);
    }

    void aLongAnswerIsCutShortInItsMessage()
    {
        Game g;
        // Forty characters, whatever their size: never cut inside one.
        const auto shown = [&g](const std::string& typed) {
            answer(g, "shot", typed);
            const std::string& box = g.dialogs.last();
            return box.substr(box.find('"') + 1, box.rfind('"') - box.find('"') - 1);
        };
        QCOMPARE(shown(std::string(5000, 'x')), std::string(40, 'x') + "…");
        QCOMPARE(shown(std::string(39, 'x') + "😀é"), std::string(39, 'x') + "😀…");
        QCOMPARE(shown(std::string(38, 'x') + "😀é"), std::string(38, 'x') + "😀é");
        QCOMPARE(shown(std::string(40, 'x') + "\xff"), std::string(40, 'x') + "…"); // a stray byte counts too
    }

    // Options are greyed while a game runs, so a changed setting counts from the next start.
    void aChangedSettingCountsFromTheNextGame()
    {
        Game g;
        answer(g, "descent", "3");
        g.start();
        QCOMPARE(g.w.score, 186); // 55000 / 300 + 30 / 10
        for (const game::OptionDialog& option : game::optionDialogs())
            g.w.choose(g.w.*option.item);
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
