// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QMainWindow>

#include "runtime/errors.h"
#include "runtime/form.h"
#include "runtime/qt/playfield.h"
#include "runtime/qt/qtdialogs.h"
#include "runtime/qt/realtimedriver.h"

class QAction;

namespace runtime::qt {

// Shows a Form: its caption, its menu bar and its playfield, and turns wall-clock time, keys
// and menu choices into calls on it. Holds no rule of the game.
class GameWindow final : public QMainWindow {
    Q_OBJECT
public:
    // The window becomes the host of `dialogs`: game time stands still while a box is open.
    GameWindow(Form& form, QtDialogs& dialogs, QWidget* parent = nullptr);
    ~GameWindow() override;

    // Starts the game's clock on the wall clock.
    void startClock();

    // A frame: brings game time up to now and shows what changed.
    void frame();
    // An action of the player's (a key, a menu command): runs its procedure at its own moment
    // of game time, and shows its effects with the frame on its way.
    // Frames and actions never overlap: one asked for while another runs (which can happen
    // while a box is open) waits until that one has returned. A programming error is reported
    // (each distinct one once) and the game goes on.
    void act(const std::function<void()>& procedure);

    // Shows the present state: caption, menus, playfield; nothing to do when nothing changed.
    void refresh();

    PlayfieldView* playfield() const { return view_; }
    RealTimeDriver& driver() { return driver_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    bool syncMenus(); // true when a menu item changed
    void askNextFrame();
    void runWaiting();

    Form& form_;
    PlayfieldView* view_;
    RealTimeDriver driver_;
    FailureReport failures_;
    Scene scene_; // reused, to avoid allocating each frame
    // A menu item, its action and what the action shows, to touch the action only on a change.
    struct MenuAction {
        const MenuItem* item;
        QAction* action;
        std::string caption;
        bool enabled = true;
        bool checked = false;
    };
    std::vector<MenuAction> actions_;
    std::string caption_;                       // the window title shown
    std::optional<std::uint64_t> shownChanges_; // the change count when last brought up to date
    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
    // On Wayland the compositor says when it wants the next frame: the frames follow it.
    bool framesPacedByDisplay_ = false;
    bool frameAsked_ = false; // an update request of ours is on its way

    // The window system's window, watched where the display paces the frames.
    class SurfaceWatch final : public QObject {
    public:
        explicit SurfaceWatch(GameWindow& window) : window_(window) {}

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        GameWindow& window_;
    };
    SurfaceWatch surfaceWatch_{*this};
};

} // namespace runtime::qt
