// SPDX-License-Identifier: GPL-3.0-or-later
// Built for the web only.
#include "runtime/qt/page.h"

#include <algorithm>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMainWindow>
#include <QResizeEvent>
#include <QTimer>
#include <QWidget>

#include <emscripten/val.h>

namespace runtime::qt::page {

namespace {

// What the page offers the game (assets/web/index.html): nothing when the program runs in
// another page, Qt's own, say.
void callPage(const char* function, const QString& text = {})
{
    const emscripten::val gromzaks = emscripten::val::global("gromzaks");
    if (!gromzaks.isUndefined())
        gromzaks.call<void>(function, text.toStdString());
}

// The windows shown, as a window manager would list them, kept in the page (gromzaks.shown)
// for the tests to read: their titles, places and sizes, which is active, and where the
// playfield is.
class WindowList final : public QObject {
public:
    explicit WindowList(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowTitleChange:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() && !pending_) {
                pending_ = true;
                QTimer::singleShot(0, this, [this] { publish(); });
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void publish()
    {
        pending_ = false;
        const auto rect = [](QWidget* w) {
            const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
            return QJsonObject{{"x", r.x()}, {"y", r.y()}, {"w", r.width()}, {"h", r.height()}};
        };
        QJsonArray windows;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            QJsonObject shown = rect(window);
            shown.insert("id", QString::number(reinterpret_cast<quintptr>(window)));
            shown.insert("title", window->windowTitle());
            shown.insert("active", window->isActiveWindow());
            if (QWidget* field = window->findChild<QWidget*>(QStringLiteral("playfield")))
                shown.insert("field", rect(field));
            windows.append(shown);
        }
        callPage("windows", QString::fromUtf8(QJsonDocument(windows).toJson(QJsonDocument::Compact)));
    }

    bool pending_ = false;
};

// Alt alone highlights the menu bar, as on the desktop. A key event takes the state of the
// modifiers before the key (as X11 gives it) and adds the key's own; the browser gives the
// state after it, so Qt sees an Alt press without Alt and the menu bar ignores it. It is told
// of the press here, as the desktop tells it.
class AltKey final : public QObject {
public:
    explicit AltKey(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt
            && watched->isWidgetType()) {
            QKeyEvent pressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier); // Alt, once added
            QCoreApplication::sendEvent(static_cast<QWidget*>(watched)->window(), &pressed);
        }
        return false;
    }
};

class Frame final : public QWidget {
public:
    explicit Frame(QWidget* playfield) : playfield_(playfield)
    {
        playfield_->setParent(this);
        playfield_->setObjectName(QStringLiteral("playfield"));
        setAutoFillBackground(true);
        QPalette black = palette();
        black.setColor(QPalette::Window, Qt::black);
        setPalette(black);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        const QSize design = playfield_->sizeHint();
        const int factor = std::max(1, std::min(event->size().width() / design.width(),
                                                event->size().height() / design.height()));
        const QSize shown = design * factor;
        playfield_->setGeometry(QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown));
    }

private:
    QWidget* playfield_;
};

} // namespace

QWidget* framed(QWidget* playfield)
{
    qApp->installEventFilter(new WindowList(qApp));
    qApp->installEventFilter(new AltKey(qApp));
    return new Frame(playfield);
}

void showCaption(const QString& caption)
{
    callPage("caption", caption);
}

void boxClosed(QMainWindow& window, QWidget& playfield)
{
    window.activateWindow();
    playfield.setFocus();
}

void ended()
{
    callPage("ended");
}

void showWindow(QWidget& window)
{
    window.showNormal();
    if (const QWidget* game = QApplication::activeWindow(); game && game != &window)
        window.move(game->geometry().center() - window.rect().center());
}

} // namespace runtime::qt::page
