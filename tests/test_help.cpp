// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: one at a time beside the game window, every text and picture at its place,
// gone when closed and made again on the next "Aide".

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "kit/compare.h"

#include "help/qt/helpwindow.h"
#include "kit/game.h"
#include "kit/menus.h"
#include "runtime/qt/gamewindow.h"

using help::qt::frmhelp;

namespace {

// The game window with the program's help window behind "Aide".
struct Program {
    ScriptedDialogs dialogs;
    ScriptedRandom random;
    help::qt::HelpWindowHost host;
    game::mmm w{{dialogs, random, [] {}, [this] { host.show(); }}};
    runtime::qt::QtDialogs qtDialogs;
    runtime::qt::GameWindow window{w, qtDialogs};

    Program() { w.Form_Load(); }

    void choose(const QString& text)
    {
        QAction* action = actionNamed(window.menuBar(), text);
        QVERIFY2(action, qPrintable(text));
        action->trigger();
    }
};

QList<frmhelp*> helpWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<frmhelp*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<frmhelp*>(widget))
            found << help;
    return found;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); }

    void aideIsAskedForOnlyBetweenGames()
    {
        Game g;
        g.w.choose(g.w.aide);
        QCOMPARE(g.helpShown, 1);
        g.start();
        g.w.choose(g.w.aide);
        QCOMPARE(g.helpShown, 1);
    }

    void aideShowsOneWindowBesideTheGame()
    {
        Program p;
        p.choose("Aide");
        p.choose("Aide");
        QCOMPARE(helpWindows().size(), 1);
        frmhelp* help = helpWindows()[0];
        QVERIFY(help->isVisible() && help->isWindow() && !help->parentWidget());
        QCOMPARE(help->windowModality(), Qt::NonModal);
        QCOMPARE(help->windowTitle(), QString("Aide"));
        QCOMPARE(help->size(), QSize(391, 439));

        // The game window goes on with its menus and keys; the help window stays open.
        p.dialogs.answers.push_back(runtime::answerYes);
        p.choose("Démarrer");
        QCOMPARE(phaseOf(p.w), Phase::Building);
        QTest::keyPress(p.window.playfield(), Qt::Key_Left);
        QCOMPARE(p.w.valyou.Text, std::string("4"));
        p.choose("Aide"); // greyed
        QCOMPARE(helpWindows(), QList<frmhelp*>{help});
        QVERIFY(help->isVisible());
    }

    void okAndTheCloseBoxDiscardTheWindow()
    {
        Program p;
        p.choose("Aide");
        frmhelp* help = p.host.window();
        const QImage look = help->grab().toImage();
        QTest::mouseClick(help->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(helpWindows().isEmpty() && !p.host.window());

        p.choose("Aide");
        QCOMPARE(helpWindows().size(), 1);
        QCOMPARE(p.host.window()->grab().toImage(), look);
        p.host.window()->close();
        QVERIFY(helpWindows().isEmpty());

        p.choose("Aide");
        QTest::keyClick(p.host.window()->findChild<QPushButton*>("Command1"), Qt::Key_Return);
        p.choose("Aide"); // before the closed one is gone: a fresh one, not the leaving one
        QCOMPARE(helpWindows().size(), 1);
        QVERIFY(p.host.window()->isVisible());
    }

    void theHostTakesItsWindowAlong()
    {
        {
            help::qt::HelpWindowHost host;
            host.show();
            QCOMPARE(helpWindows().size(), 1);
        }
        QVERIFY(helpWindows().isEmpty());
    }

    void everyControlIsAtItsPlace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("words"); // none for a picture
        const auto row = [](const char* name, QRect place, const char* words = "") {
            QTest::newRow(name) << QString(name) << place << QString(words);
        };
        row("Image3", {0, 8, 26, 26});
        row("Label1", {32, 8, 345, 33}, "Les plus dures a tuer, il faut les toucher 3 fois");
        row("Image1", {0, 48, 24, 27});
        row("Label2", {32, 48, 353, 25}, "Les moyennements dures, il faut les toucher 2 fois");
        row("Image2(0)", {0, 88, 26, 26});
        row("Label3", {32, 88, 345, 25}, "Les plus simples, un coup suffi");
        row("Image4", {0, 120, 6, 6});
        row("Label4", {8, 120, 329, 17}, "Votre balle");
        row("Label5", {8, 136, 281, 17}, "La balle des extra-terrestres");
        row("Image5", {0, 144, 6, 6});
        row("Image6", {0, 160, 30, 30});
        row("Label6", {40, 168, 321, 25},
            "Votre vaisseau, dirigé le a les des touches flechés et tirer en pressant espace. "
            "Vous pouvez tirer deux balle a la fois.");
        row("Image2(1)", {0, 200, 26, 26});
        row("Label7", {32, 200, 297, 25},
            "C'est un e-t, il descent progressivement selon les options que vous avez choisis");
        row("Image7", {0, 256, 82, 29});
        row("Label10", {96, 256, 225, 33},
            "Si vous la touché, vous gagnez un bonus de 200 points: votre fortune est faite");
        row("Label8", {8, 336, 329, 33},
            "La sensibilité du tir, c'est si la balle de votre fusée a plus de chance de toucher "
            "un e-t ou non");
        row("Label9", {8, 376, 321, 33},
            "Chaque touche sur un e-t rapporte dix points et vous avez un bonus de points selon "
            "les options choisis");
        row("Command1", {304, 416, 65, 17}, "OK");
    }
    // Texts wrap within their boxes and show whole; pictures show at their own sizes.
    void everyControlIsAtItsPlace()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, words);
        frmhelp help;
        QWidget* control = help.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->focusPolicy() != Qt::NoFocus, name == "Command1");
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(button->text(), words);
            return;
        }
        auto* label = qobject_cast<QLabel*>(control);
        QVERIFY(label);
        if (words.isEmpty()) {
            QCOMPARE(label->pixmap().size(), place.size());
            return;
        }
        QCOMPARE(label->text(), words);
        QVERIFY(label->wordWrap());
        const QRect needed = label->fontMetrics().boundingRect(label->rect(), Qt::TextWordWrap, words);
        QVERIFY2(label->rect().contains(needed),
                 qPrintable(QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height())));
    }

    void picturesShowTheArtworkOnBlack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("color");
        QTest::newRow("green alien") << "Image3" << QPoint(2, 0) << QRgb(0x00FF00);
        QTest::newRow("widened right") << "Image3" << QPoint(25, 10) << QRgb(0x000000);
        QTest::newRow("widened below") << "Image3" << QPoint(10, 25) << QRgb(0x000000);
        QTest::newRow("blue alien") << "Image1" << QPoint(12, 10) << QRgb(0x0000FF);
        QTest::newRow("red alien") << "Image2(0)" << QPoint(13, 8) << QRgb(0xFF0000);
        QTest::newRow("red alien again") << "Image2(1)" << QPoint(13, 8) << QRgb(0xFF0000);
        QTest::newRow("shot") << "Image4" << QPoint(2, 2) << QRgb(0xFFFFFF);
        QTest::newRow("shot's black corner") << "Image4" << QPoint(0, 0) << QRgb(0x000000);
        QTest::newRow("bullet") << "Image5" << QPoint(2, 2) << QRgb(0xFFFF00);
    }
    void picturesShowTheArtworkOnBlack()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, at);
        QFETCH(QRgb, color);
        frmhelp help;
        const QImage image = help.findChild<QLabel*>(name)->pixmap().toImage();
        QCOMPARE(image.pixel(at) | 0xFF000000, color | 0xFF000000);
    }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
