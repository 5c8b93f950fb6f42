// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "runtime/dialogs.h"
#include "runtime/errors.h"
#include "runtime/form.h"
#include "runtime/layout.h"
#include "runtime/pacer.h"
#include "runtime/scene.h"

namespace runtime::web {

class WebWindow;

// The page's boxes; while one is open, game time stands still in the window that hosts them.
class WebDialogs final : public Dialogs {
public:
    void setHost(WebWindow& window) { host_ = &window; }
    std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed) override;

private:
    WebWindow* host_ = nullptr;
};

// Shows a Form in the page: its caption, its menu bar and its playfield on the canvas, and
// turns the page's clock, keys and menu choices into calls on it. Holds no rule of the game.
// The page makes its calls one at a time, so no call begins while another runs or waits in a
// box.
class WebWindow final {
public:
    // The window becomes the host of `dialogs`.
    WebWindow(Form& form, WebDialogs& dialogs);

    // The field's room in the page, in the screen's pixels: the canvas takes the field's size
    // at the largest whole factor that fits, and is painted whole. The first starts the clock.
    void resize(int width, int height);

    // A wake-up: brings game time up to now and shows what changed.
    void frame();
    // An action of the player's (a key, a menu command), run at its own moment of game time.
    void act(const std::function<void()>& procedure);
    // A hidden page shows no frames and its timers are slowed down: the game keeps its time.
    void setHidden(bool hidden);
    // "Quitter": nothing moves any more.
    void end();

    // Around a box: what led to it is shown behind it, and the game stands still until it
    // closes.
    void beforeBox();
    void afterBox();

private:
    void refresh();
    void repaint(const PixelRect& r);
    void schedule();
    std::string menuJson() const;

    Form& form_;
    Pacer pacer_;
    FailureReport failures_;
    Layout layout_{};
    Scene shown_;
    Scene scene_; // reused, to avoid allocating each frame
    std::string caption_;
    std::string menus_;
    std::optional<std::uint64_t> shownChanges_;
    bool hidden_ = false;
    bool ended_ = false;
};

} // namespace runtime::web
