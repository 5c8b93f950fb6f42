// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: one at a time beside the game window, every text and picture at its place,
// gone when closed and made again on the next "Aide".

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "kit/compare.h"

#include "help/frmhelp.h"
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

    void choose(const QString& text)
    {
        QAction* action = actionNamed(window.menuBar(), text);
        QVERIFY2(action, qPrintable(text));
        action->trigger();
    }
};

QString controlName(const help::Control& control)
{
    const QString name = QString::fromLatin1(control.name);
    return control.index < 0 ? name : name + "(" + QString::number(control.index) + ")";
}

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
        QTest::addColumn<int>("control");
        const auto controls = help::frmhelpControls();
        for (std::size_t i = 0; i < controls.size(); ++i)
            QTest::newRow(qPrintable(controlName(controls[i]))) << int(i);
    }
    // Each control at its place in pixels, 15 twips a pixel. Texts wrap within their boxes and
    // show whole; pictures show at their own sizes; only the OK button takes the focus.
    void everyControlIsAtItsPlace()
    {
        QFETCH(int, control);
        QCOMPARE(help::frmhelpControls().size(), std::size_t(19));
        const help::Control& c = help::frmhelpControls()[std::size_t(control)];
        const QString name = controlName(c);
        const QString words = QString::fromUtf8(c.content);
        frmhelp help;
        QWidget* widget = help.findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
        QCOMPARE(widget->focusPolicy() != Qt::NoFocus, name == "Command1");
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), words);
            return;
        }
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label);
        const QHash<QString, QSize> pictures{
            {"Image3", {26, 26}}, {"Image1", {24, 27}}, {"Image2(0)", {26, 26}}, {"Image4", {6, 6}},
            {"Image5", {6, 6}},   {"Image6", {30, 30}}, {"Image2(1)", {26, 26}}, {"Image7", {82, 29}}};
        QCOMPARE(c.kind == help::ControlKind::picture, pictures.contains(name));
        if (pictures.contains(name)) {
            QCOMPARE(label->pixmap().size(), pictures[name]);
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
