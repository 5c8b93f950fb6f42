// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/gamewindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

namespace runtime::qt {

GameWindow::GameWindow(Form& form, QtDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      form_(form),
      view_(new PlayfieldView(QSizeF(form.clientWidth, form.clientHeight), this)),
      driver_(form.clock, [this] { frame(); }),
      failures_(dialogs)
{
    setCentralWidget(view_);
    buildMenus();

    // The game reads no Shift state.
    connect(view_, &PlayfieldView::keyDown, this,
            [this](std::int16_t code) { act([=, this] { form_.Form_KeyDown(code, 0); }); });
    connect(view_, &PlayfieldView::keyUp, this,
            [this](std::int16_t code) { act([=, this] { form_.Form_KeyUp(code, 0); }); });
    connect(view_, &PlayfieldView::keyboardLost, this, [this] { act([this] { form_.Form_KeyUp(0, 0); }); });

    dialogs.setHost({this,
                     [this] {
                         refresh();
                         driver_.pause();
                     },
                     [this] { driver_.resume(); }});

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        driver_.setFrameRate(screen->refreshRate());
    // There, a window's update requests wait for the compositor's next frame; elsewhere they
    // are mere timers, and the driver's own timer does better.
    framesPacedByDisplay_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));

    refresh();
    view_->setFocus();
}

GameWindow::~GameWindow()
{
    // The playfield outlives this window's members by a moment, and still reports the
    // keyboard lost as it goes: nothing must reach the game then.
    disconnect(view_, nullptr, this, nullptr);
    driver_.stop();
}

void GameWindow::startClock()
{
    driver_.start();
}

void GameWindow::buildMenus()
{
    for (MenuItem* top : form_.menuBar) {
        if (top->items.empty()) {
            QAction* action = menuBar()->addAction(QString::fromStdString(top->Caption));
            connect(action, &QAction::triggered, this,
                    [this, top] { act([=, this] { form_.choose(*top); }); });
            actions_.push_back({top, action, top->Caption});
            continue;
        }
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(top->Caption));
        actions_.push_back({top, menu->menuAction(), top->Caption});
        for (MenuItem* item : top->items) {
            QAction* action = menu->addAction(QString::fromStdString(item->Caption));
            connect(action, &QAction::triggered, this,
                    [this, item] { act([=, this] { form_.choose(*item); }); });
            actions_.push_back({item, action, item->Caption});
        }
    }
    syncMenus();
}

bool GameWindow::syncMenus()
{
    bool changed = false;
    for (MenuAction& shown : actions_) {
        const MenuItem& item = *shown.item;
        if (shown.caption != item.Caption) {
            shown.caption = item.Caption;
            shown.action->setText(QString::fromStdString(shown.caption));
            changed = true;
        }
        if (shown.enabled != item.Enabled) {
            shown.enabled = item.Enabled;
            shown.action->setEnabled(shown.enabled);
            changed = true;
        }
        if (shown.checked != item.Checked) {
            // Only a checked item is checkable, so an unchecked one shows no empty box.
            shown.checked = item.Checked;
            shown.action->setCheckable(shown.checked);
            shown.action->setChecked(shown.checked);
            changed = true;
        }
    }
    return changed;
}

void GameWindow::refresh()
{
    const std::uint64_t changes = form_.clock.countChanges();
    if (shownChanges_ == changes)
        return;
    shownChanges_ = changes;
    bool changed = caption_ != form_.Caption;
    if (changed) {
        caption_ = form_.Caption;
        setWindowTitle(QString::fromStdString(caption_));
    }
    changed |= syncMenus();
    form_.scene(scene_);
    const bool painted = view_->setScene(scene_);
    if (painted || changed)
        driver_.shown();
    if (painted)
        askNextFrame();
}

void GameWindow::askNextFrame()
{
    if (!framesPacedByDisplay_)
        return;
    // A hidden window gets no word from the compositor: the driver's own timer keeps the time.
    QWindow* window = windowHandle();
    if (!window || !window->isExposed())
        return;
    driver_.expectFrame();
    frameAsked_ = true;
    window->requestUpdate();
}

void GameWindow::showEvent(QShowEvent* event)
{
    if (QWindow* window = windowHandle(); window && framesPacedByDisplay_)
        window->installEventFilter(&surfaceWatch_);
    QMainWindow::showEvent(event);
}

bool GameWindow::SurfaceWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Our own update request is the compositor's word that it wants the next frame. Left to
    // Qt it would repaint the whole window; the driver repaints only what changed. Another's
    // request goes on to Qt.
    if (event->type() == QEvent::UpdateRequest && window_.frameAsked_) {
        window_.frameAsked_ = false;
        window_.driver_.frameReady();
        return true;
    }
    // Shown again, the window is repainted whole by Qt: first bring the game up to now, so that
    // the picture it shows is the present one.
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
        window_.frame();
    return false;
}

void GameWindow::frame()
{
    if (running_) {
        waiting_.push_back([this] { frame(); });
        return;
    }
    running_ = true;
    failures_.run([this] { driver_.catchUp(); });
    running_ = false;
    refresh();
    runWaiting();
}

void GameWindow::act(const std::function<void()>& procedure)
{
    if (running_) {
        waiting_.push_back([this, procedure] { act(procedure); });
        return;
    }
    running_ = true;
    // Apart: a tick that fails on the way to the action's moment must not swallow the action,
    // and what a failing procedure changed before it failed is still shown.
    failures_.run([this] { driver_.keepUp(); });
    const std::uint64_t before = form_.clock.countChanges();
    failures_.run(procedure);
    const bool changed = form_.clock.countChanges() != before;
    running_ = false;
    if (changed) {
        // What the player changed is shown by the frame on its way, or at once. A key that
        // changed nothing (a held key's repeats) costs no repaint and moves no frame.
        driver_.shown();
        if (!driver_.frameComing())
            refresh();
        driver_.schedule(); // the player may have woken a timer
    }
    runWaiting();
}

void GameWindow::runWaiting()
{
    if (waiting_.empty())
        return;
    const std::function<void()> next = std::move(waiting_.front());
    waiting_.pop_front();
    next();
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    // Closing the game window ends the program, help window and all.
    driver_.stop();
    event->accept();
    QCoreApplication::quit();
}

} // namespace runtime::qt
