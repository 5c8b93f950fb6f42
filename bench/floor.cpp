// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own floor, beside which bench/load.sh measures the game: a bare window of the game
// window's size that repaints one small square a display frame, with the game's display
// settings and its pacing (a precise timer, at the display's frames as the game's driver counts
// them; on Wayland, the compositor's word that it wants the next frame), and nothing behind it.

#include <algorithm>
#include <cstdint>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <QElapsedTimer>
#include <QScreen>

#include "runtime/pacing.h"
#include "runtime/qt/display.h"

namespace {

class Square final : public QWidget {
public:
    Square()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("Gromzaks floor"));
        resize(567, 428); // the game window: the playfield and its menu bar
    }

    // Moves the square by a pixel and repaints where it was and where it is.
    void step()
    {
        x_ = (x_ + 1) % (width() - side);
        repaint(QRect(x_ - 1, 200, side + 1, side));
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
        painter.fillRect(QRect(x_, 200, side, side), Qt::yellow);
    }

    // On Wayland, each frame is painted when the compositor asks for the next one.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest)
            return QWidget::eventFilter(watched, event);
        step();
        windowHandle()->requestUpdate();
        return true;
    }

private:
    static constexpr int side = 8;
    int x_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    runtime::qt::chooseFrameTransfer(); // as the game does
    QApplication app(argc, argv);
    runtime::qt::widenDisplayConnection();
    Square square;
    square.show();
    QTimer timer;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        square.windowHandle()->installEventFilter(&square);
        square.windowHandle()->requestUpdate();
    } else {
        // Each frame due a frame after the last one was due, not after it ran.
        runtime::FrameLengths frames(QGuiApplication::primaryScreen()->refreshRate());
        QElapsedTimer wall;
        wall.start();
        std::int64_t due = frames.coming();
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &square, [&] {
            square.step();
            frames.next();
            due += frames.coming();
            timer.start(static_cast<int>(std::max<std::int64_t>(0, due - wall.elapsed())));
        });
        timer.start(static_cast<int>(due));
    }
    return QApplication::exec();
}
