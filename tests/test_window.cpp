// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the player sees it, offscreen: its menu bar follows the game's menus, and the
// playfield paints every shown sprite at its place in its colours.

#include <span>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QtTest>

#include "kit/compare.h"

#include "kit/game.h"
#include "kit/menus.h"
#include "runtime/artwork.h"
#include "runtime/qt/gamewindow.h"
#include "runtime/qt/pictures.h"

namespace {

// How many pixels of `color` lie inside the box of (left, top, width, height) pixels, and
// how many outside it.
std::pair<int, int> pixelsOf(const QImage& image, QRgb color, QRect box)
{
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                (box.contains(x, y) ? inside : outside)++;
    return {inside, outside};
}

// The playfield's size in twips: 567 x 409 pixels at scale 1.
const QSizeF client(8505, 6135);

// Paints `scene` scaled into the whole of `image`, or only over the region `only`.
void paint(QImage& image, const runtime::Scene& scene, runtime::qt::PictureBook& pictures,
           const QRegion* only = nullptr)
{
    QPainter painter(&image);
    if (only)
        painter.setClipRegion(*only);
    runtime::qt::paintScene(painter, scene, client, image.size(), pictures, only);
}

runtime::Scene sceneOf(const game::mmm& w)
{
    runtime::Scene scene;
    w.scene(scene);
    return scene;
}

// A game in its window; its boxes are the game's scripted ones.
struct Windowed : Game {
    runtime::qt::QtDialogs unused;
    runtime::qt::GameWindow window{w, unused};

    // Shows the window (offscreen); false if it never gets exposed.
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

// A driver on a wall clock of the test's own, at 16 ms a frame over a 1 ms timer that always
// has a tick due, unless told otherwise. At each wake-up, as the window does, it brings the
// game up to now and, when something `shows`, waits for the display's word.
struct FrameDriver {
    runtime::Clock clock;
    runtime::Timer timer;
    runtime::Watched<int> ticks{clock.changes};
    int changesLeft; // the ticks change the game this many times more, then nothing
    std::int64_t wall = 0;
    bool shows = false;
    runtime::qt::RealTimeDriver driver{clock, [this] { wakeUp(); }};

    explicit FrameDriver(int timerMs = 1, double hertz = 62.5, int changes = 1 << 30)
        : timer(clock, timerMs, true),
          changesLeft(changes)
    {
        timer.onTick([this] {
            if (changesLeft > 0)
                --changesLeft, ticks = ticks + 1;
        });
        driver.setWallClock([this] { return wall; });
        driver.setFrameRate(hertz);
        driver.start();
    }
    void wakeUp()
    {
        driver.catchUp();
        if (shows)
            driver.expectFrame();
    }
    // The driver's own timer going off at `at`.
    void timerWake(std::int64_t at)
    {
        wall = at;
        wakeUp();
        driver.schedule();
    }
    // The display's word at `at`.
    void word(std::int64_t at)
    {
        wall = at;
        driver.frameReady();
    }
    // The player acts at `at`: from then on the ticks change the game for ever.
    void play(std::int64_t at)
    {
        wall = at;
        changesLeft = 1 << 30;
        ticks = ticks + 1;
        driver.shown();
        driver.schedule();
    }
    std::int64_t plannedWake() const { return driver.plannedWake().value_or(-1); }
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); }

    void theMenuBarMirrorsTheGamesMenus()
    {
        Windowed g;
        QMenuBar* bar = g.window.menuBar();

        QCOMPARE(texts(bar->actions()), QStringList({"Général", "Options", "Aide"}));
        QCOMPARE(texts(bar->actions()[0]->menu()->actions()),
                 QStringList({"Démarrer", "Arreter", "Quitter"}));
        QCOMPARE(texts(bar->actions()[1]->menu()->actions()),
                 QStringList({"Vitesse de la fusée", "Vitesse des e-t", "Sensibilité du tir sur les e-t",
                              "Vitesse du tir de la fusée", "Vitesse du tir des e-t", "Animation des e-t"}));
        QVERIFY(!actionNamed(bar, "Arreter")->isEnabled());
        QVERIFY(actionNamed(bar, "Animation des e-t")->isChecked());
        QVERIFY(!actionNamed(bar, "Vitesse des e-t")->isCheckable());
        QCOMPARE(g.window.windowTitle(), QString(" Gromzaks v1.0"));

        // Choosing "Démarrer" in the menu starts a game; the bar shows the Building phase.
        g.dialogs.answers.push_back(runtime::answerYes);
        actionNamed(bar, "Démarrer")->trigger();
        QCOMPARE(g.phase(), Phase::Building);
        QVERIFY(actionNamed(bar, "Redémarrer"));
        for (const QAction* menu : bar->actions())
            QVERIFY2(!menu->isEnabled(), qPrintable(menu->text()));
        QVERIFY(actionNamed(bar, "Arreter")->isEnabled());

        // A change made by a tick shows as soon as the window is refreshed.
        g.w.general.Enabled = true;
        g.w.anima.Checked = false;
        g.advance(1);
        g.window.refresh();
        QVERIFY(bar->actions()[0]->isEnabled());
        QVERIFY(!actionNamed(bar, "Animation des e-t")->isChecked());
        QCOMPARE(g.window.windowTitle(), QString("Gromzak   Points:  58"));
    }

    void theDesignLayoutIsPaintedAtItsPlaces_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("moreThan");   // pixels of the colour inside the box
        QTest::addColumn<bool>("onlyThere"); // and none outside it
        // Twips / 15: green alien at (8, 8), red at (8, 72), blue at (-8, 40), ship at (232, 376);
        // no bullet shown yet.
        QTest::newRow("green alien") << QRgb(0x00FF00) << QRect(8, 8, 24, 25) << 100 << false;
        QTest::newRow("red alien") << QRgb(0xFF0000) << QRect(8, 72, 26, 26) << 100 << true;
        QTest::newRow("blue alien, partly off") << QRgb(0x0000FF) << QRect(0, 40, 16, 27) << 50 << false;
        QTest::newRow("ship's navy") << QRgb(0x000080) << QRect(232, 376, 30, 30) << 50 << true;
        QTest::newRow("ship's yellow") << QRgb(0xFFFF00) << QRect(232, 376, 30, 30) << 20 << true;
        QTest::newRow("black field") << QRgb(0x000000) << QRect(400, 200, 1, 1) << 0 << false;
        QTest::newRow("no white: no shot, no banner") << QRgb(0xFFFFFF) << QRect() << -1 << true;
    }
    void theDesignLayoutIsPaintedAtItsPlaces()
    {
        QFETCH(QRgb, colour);
        QFETCH(QRect, box);
        QFETCH(int, moreThan);
        QFETCH(bool, onlyThere);
        Windowed g;
        QVERIFY(g.show());
        QCOMPARE(g.window.playfield()->size(), QSize(567, 409));
        const QImage image = g.window.playfield()->grab().toImage();
        QCOMPARE(image.size(), QSize(567, 409));
        const auto [inside, outside] = pixelsOf(image, colour, box);
        QVERIFY2(inside > moreThan, qPrintable(QString::number(inside)));
        if (onlyThere)
            QCOMPARE(outside, 0);
    }

    // The web draws the artwork as its own reading gives it: the desktop's colours, pixel for
    // pixel, and the same black surround made transparent on the playfield.
    void theArtworkReadsAsQtReadsIt()
    {
        for (const runtime::Artwork& art : runtime::artworks()) {
            const QString name = QString::fromLatin1(art.name.data(), static_cast<qsizetype>(art.name.size()));
            const QImage asIs = runtime::qt::artwork(name).convertToFormat(QImage::Format_ARGB32);
            const QImage sprite = runtime::qt::loadPicture(name).toImage().convertToFormat(QImage::Format_ARGB32);
            const runtime::Pixels ours = runtime::readXpm(art.lines);
            const runtime::Pixels ourSprite = runtime::spritePixels(art);
            QCOMPARE(QSize(ours.width, ours.height), asIs.size());
            QCOMPARE(QSize(ourSprite.width, ourSprite.height), asIs.size());
            for (int y = 0; y < asIs.height(); ++y)
                for (int x = 0; x < asIs.width(); ++x) {
                    const std::size_t at = static_cast<std::size_t>(y * asIs.width() + x);
                    QCOMPARE(ours.argb[at], asIs.pixel(x, y));
                    QCOMPARE(ourSprite.argb[at], sprite.pixel(x, y));
                }
        }
    }

    void bannersAndSpritesAppearWhenShown()
    {
        Windowed g;
        QVERIFY(g.show());
        g.w.perd.Visible = true;
        g.w.Form_KeyDown(game::keySpace, 0);
        g.window.refresh();
        const QImage image = g.window.playfield()->grab().toImage();
        // "PERDU": a white box at (184, 40), 281 x 33, with dark text in it.
        const int white = pixelsOf(image, 0xFFFFFF, QRect(184, 40, 281, 33)).first;
        QVERIFY(white > 281 * 33 / 2);
        QVERIFY(white < 281 * 33);
        // The extra shot at the ship: Left 3580, Top 5590 -> (238, 372).
        QVERIFY(pixelsOf(image, 0xFFFFFF, QRect(238, 372, 6, 6)).first > 20);
    }

    // An enlarged window scales the playfield by the largest factor that fits, centred on
    // black, pixel art kept crisp: at twice the size each picture pixel is a 2 x 2 block.
    void anEnlargedPlayfieldScalesCrispAndCentred()
    {
        Game g;
        runtime::qt::PictureBook pictures;
        QImage image(1134 + 200, 818, QImage::Format_RGB32); // 100 pixels of black each side
        paint(image, sceneOf(g.w), pictures);
        const auto red = pixelsOf(image, 0xFF0000, QRect(100 + 16, 144, 52, 52));
        QVERIFY(red.first > 400);
        QCOMPARE(red.second, 0);
        for (int y = 144; y < 196; y += 2)
            for (int x = 116; x < 168; x += 2) {
                const QRgb colour = image.pixel(x, y);
                QCOMPARE(image.pixel(x + 1, y), colour);
                QCOMPARE(image.pixel(x, y + 1), colour);
            }
        // The blue alien's part off the field's left edge is not drawn into the margin.
        QCOMPARE(pixelsOf(image, 0x0000FF, QRect(0, 0, 100, 818)).first, 0);
        QVERIFY(pixelsOf(image, 0x0000FF, QRect(100, 80, 40, 54)).first > 100);
    }

    void repaintingOnlyWhatChangedGivesTheWholePicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("scale 1") << QSize(567, 409);
        QTest::newRow("fractional scale with margins") << QSize(800, 555);
        QTest::newRow("scale 2") << QSize(1134, 818);
    }
    // Frame after frame of a game, repainting only the changed pixels over the last frame
    // gives exactly the picture painted from scratch; while only bullets, shots and the ship
    // move, that is a small part.
    void repaintingOnlyWhatChangedGivesTheWholePicture()
    {
        QFETCH(QSize, size);
        Game g;
        g.start();
        g.w.Form_KeyDown(game::keySpace, 0);
        g.w.Form_KeyDown(game::keyRight, 0);
        runtime::qt::PictureBook pictures;
        runtime::Scene shown = sceneOf(g.w);
        QImage screen(size, QImage::Format_RGB32);
        QImage whole(size, QImage::Format_RGB32);
        paint(screen, shown, pictures);
        int smallFrames = 0;
        for (int frame = 1; frame <= 600; ++frame) {
            g.advance(16);
            if (frame == 300)
                g.w.Form_KeyUp(game::keyRight, 0), g.w.Form_KeyDown(game::keyLeft, 0);
            if (frame == 200 || frame == 400)
                g.w.bon.Visible = !g.w.bon.Visible;
            const runtime::Scene next = sceneOf(g.w);
            const QRegion changed = runtime::qt::changedRegion(shown, next, client, size);
            paint(screen, next, pictures, &changed);
            paint(whole, next, pictures);
            if (screen != whole)
                QFAIL(qPrintable(QStringLiteral("frame %1 differs").arg(frame)));
            long area = 0;
            for (const QRect& r : changed)
                area += long(r.width()) * r.height();
            smallFrames += area < long(size.width()) * size.height() / 20;
            shown = next;
        }
        QVERIFY2(smallFrames > 400, qPrintable(QString::number(smallFrames)));
    }

    // A held key sends, between its repeated presses, releases marked as repeats: they must
    // not stop the ship. A real release does; so does the keyboard going elsewhere.
    void onlyARealReleaseOrTheKeyboardLostStopsTheShip()
    {
        Windowed g;
        QVERIFY(g.show());
        QWidget* field = g.window.playfield();
        // Sends the key to the playfield; gives the ship's move after it.
        auto send = [&](QEvent::Type type, Qt::Key key, bool repeat = false) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(field, &event);
            return g.w.valyou.Text.get();
        };
        QCOMPARE(send(QEvent::KeyPress, Qt::Key_Left), "4");
        QCOMPARE(send(QEvent::KeyRelease, Qt::Key_Left, true), "4");
        QCOMPARE(send(QEvent::KeyPress, Qt::Key_Left, true), "4");
        QCOMPARE(send(QEvent::KeyRelease, Qt::Key_Left), "0");

        QCOMPARE(send(QEvent::KeyPress, Qt::Key_Right), "6");
        QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(field, &lost);
        QCOMPARE(g.w.valyou.Text, std::string("0"));

        send(QEvent::KeyPress, Qt::Key_Space);
        QCOMPARE(g.w.nbtir, 2);
    }

    // A key is played at its own moment of game time, and what it changes is shown by the frame
    // it falls in: during a game by the frame already on its way, which it neither brings
    // forward nor puts back; before a game, with no frame coming, at once. A repeated key that
    // changes nothing costs no repaint and moves no frame. What changed is told as the clock tells it.
    void aKeyIsShownWithinItsFrameAndARepeatCostsNothing()
    {
        for (const bool playing : {true, false}) {
            Windowed g;
            QVERIFY(g.show());
            if (playing) {
                g.start();
                g.completeFormation();
            } else {
                g.advance(5000); // every timer asleep: nothing due until the player acts
            }
            std::int64_t wall = 0;
            runtime::qt::RealTimeDriver& driver = g.window.driver();
            driver.setWallClock([&wall] { return wall; });
            driver.setFrameRate(62.5); // 16 ms frames
            g.window.startClock();
            struct Paints : QObject {
                int count = 0;
                bool eventFilter(QObject*, QEvent* event) override
                {
                    count += event->type() == QEvent::Paint;
                    return false;
                }
            } paints;
            g.window.playfield()->installEventFilter(&paints);
            const auto space = [&](std::int64_t at) {
                wall = at;
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
                QApplication::sendEvent(g.window.playfield(), &press);
            };
            const auto shown = [&] { return g.window.playfield()->scene() == sceneOf(g.w); };
            if (!playing) {
                QVERIFY(!driver.plannedWake());
                space(5);
                QCOMPARE(paints.count, 1);
                QVERIFY(shown());
                // A procedure that sets a plain number alone wakes the timers all the same.
                g.advance(5000);
                driver.schedule();
                QVERIFY(!driver.plannedWake());
                g.window.act([&g] { g.w.score = 50; });
                QVERIFY(driver.plannedWake());
                continue;
            }
            wall = 16; // a frame
            g.window.frame();
            driver.schedule();
            QCOMPARE(driver.plannedWake().value_or(-1), 32);
            const int painted = paints.count;
            const std::int64_t gameAtFrame = g.w.clock.now();
            space(20); // the extra shot, at the ship
            QCOMPARE(g.w.clock.now(), gameAtFrame + 4);
            QCOMPARE(g.w.nbtir, 2);
            space(25); // the repeat: a shot is already out
            QCOMPARE(g.w.clock.now(), gameAtFrame + 9);
            QCOMPARE(paints.count, painted);
            QCOMPARE(driver.plannedWake().value_or(-1), 32);
            QVERIFY(!shown());
            wall = 32;
            g.window.frame();
            QCOMPARE(paints.count, painted + 1);
            QVERIFY(shown());
        }
    }

    // A tick failing on the way to the player's command does not swallow the command, and what
    // a procedure changed before it failed is still shown, its timers woken.
    void aFailureSwallowsNoCommandAndHidesNoChange()
    {
        Windowed g;
        QVERIFY(g.show());
        g.startPlaying();
        std::int64_t wall = 0;
        runtime::qt::RealTimeDriver& driver = g.window.driver();
        driver.setWallClock([&wall] { return wall; });
        g.window.startClock();
        g.w.tire.destroy(4); // every alien-fire tick fails from now on
        int boxes = 0;       // the failure's box, closed as soon as it is up
        QTimer::singleShot(0, [&boxes] { boxes += QApplication::activeModalWidget()->close(); });
        wall = 1000;
        g.dialogs.answers.push_back(runtime::answerYes);
        g.window.act([&g] { g.w.choose(g.w.stopi); });
        QCOMPARE(boxes, 1);
        QCOMPARE(g.phase(), Phase::Stopped);

        g.advance(5000); // every timer asleep
        driver.schedule();
        QVERIFY(!driver.plannedWake());
        g.window.act([&g] { g.w.vaisseau.Left = 1000, g.w.tire(4).Visible = true; }); // reported already
        QVERIFY(driver.plannedWake());
        QVERIFY(g.window.playfield()->scene() == sceneOf(g.w));
    }

    // The driver on a wall clock of the test's own, step by step: what game time it brings the
    // game to, and when it plans to wake next (-1: not until the player acts).
    // - A wake-up more than maxCatchUpMs late (a stall) lets the game lag behind; once every
    //   timer sleeps nothing wakes the program, and an hour's wait is caught up at once, the
    //   timers keeping their rhythm. With nothing new shown for quietMs it wakes only every
    //   lazyMs; the player's action wakes it again, and so does the end of a pause.
    // - A wake-up late by less than half a frame keeps the frames' rhythm; later than that, the
    //   next frame is a frame after it.
    // - On a display that says when it wants the next frame, the frames follow its word: after
    //   a frame shown the timer leaves it half a frame more; the word, a frame on or at once,
    //   runs the next frame then; a word far from any due tick wakes nothing, nor does one while
    //   a box is open; without words (a hidden window) the timer keeps game time going.
    // - The frames last the display's own, to the fraction, on average.
    void theDriverWakesWhenItMustAndCatchesUpAsItShould()
    {
        enum Act { Timer, TimerShows, Word, WordShows, Player, Pause, Resume, Slow, Run };
        struct Step {
            Act act;
            std::int64_t at, clock, wake;
        };
        constexpr int endless = 1 << 30;
        const Step stalls[] = {
            {Timer, 10'000, 260, -1},
            {Timer, 3'610'005, 3'600'265, -1},
            {Player, 3'610'005, 3'600'265, 3'610'010}, // the timers' rhythm kept: 3'600'270
            {Timer, 3'612'005, 3'600'520, 3'614'005},
            {Player, 3'612'005, 3'600'520, 3'612'015},
            {Pause, 3'612'005, 3'600'520, -1},
            {Resume, 3'632'005, 3'600'520, 3'632'015},
        };
        const Step lateThenWords[] = {
            {Timer, 16, 16, 32},         {Timer, 33, 33, 48},        {Timer, 55, 55, 64},
            {Timer, 72, 72, 88},         {Timer, 88, 88, 104},       {TimerShows, 104, 104, 128},
            {WordShows, 121, 121, 145},  {Word, 122, 122, 138},      {TimerShows, 138, 138, 162},
            {TimerShows, 162, 162, 186}, {Timer, 186, 186, 202},     {Slow, 186, 186, 202},
            {TimerShows, 202, 202, 486}, {WordShows, 219, 202, 486}, {Pause, 219, 202, -1},
            {WordShows, 688, 202, -1},
        };
        const Step at60[] = {{Timer, 16, 16, 33}, {Timer, 33, 33, 50}, {Run, 1000, 1000, 1016}};
        const Step at144[] = {{Timer, 6, 6, 13}, {Run, 1000, 1000, 1006}};
        const Step aSecond[] = {{Run, 1000, 1000, 1016}};
        const struct {
            const char* what;
            int timerMs;
            double hertz;
            int changes; // the ticks change the game this many times, then nothing
            std::int64_t firstWake;
            std::span<const Step> steps;
        } sequences[] = {
            {"stalls, sleep and quiet", 10, 1000, 3, 10, stalls},
            {"late wake-ups, then the display's word", 1, 62.5, endless, 16, lateThenWords},
            {"60 Hz", 1, 60, endless, 16, at60},
            {"144 Hz", 1, 144, endless, 6, at144},
            {"a display that does not say: 60 Hz", 1, 0, endless, 16, aSecond},
        };
        for (const auto& sequence : sequences) {
            FrameDriver f(sequence.timerMs, sequence.hertz, sequence.changes);
            QCOMPARE(f.plannedWake(), sequence.firstWake);
            for (const Step& s : sequence.steps) {
                f.shows = s.act == TimerShows || s.act == WordShows;
                switch (s.act) {
                case Timer:
                case TimerShows: f.timerWake(s.at); break;
                case Word:
                case WordShows: f.word(s.at); break;
                case Player: f.play(s.at); break;
                case Pause: f.wall = s.at, f.driver.pause(); break;
                case Resume: f.wall = s.at, f.driver.resume(); break;
                case Slow: f.timer.setInterval(300); break;
                case Run:
                    while (f.driver.plannedWake() && f.plannedWake() <= s.at)
                        f.timerWake(f.plannedWake());
                    break;
                }
                const std::string where = std::string(sequence.what) + " at " + std::to_string(s.at);
                QVERIFY2(f.clock.now() == s.clock,
                         (where + ": clock " + std::to_string(f.clock.now())).c_str());
                QVERIFY2(f.plannedWake() == s.wake,
                         (where + ": wake " + std::to_string(f.plannedWake())).c_str());
            }
        }
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
