// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <QString>

#include "runtime/clock.h"
#include "runtime/menuitem.h"
#include "runtime/scene.h"

namespace runtime {

// The key codes of the keyboard events that the game listens to.
inline constexpr std::int16_t keyLeft = 37;
inline constexpr std::int16_t keyRight = 39;
inline constexpr std::int16_t keySpace = 32;

// A window of the game: its clock and timers, caption, menu bar, keys and playfield. The view
// shows it and turns the player's actions into calls on it; the game never sees a widget.
class Form {
public:
    Form(QString caption, float width, float height)
        : Caption(std::move(caption)),
          clientWidth(width),
          clientHeight(height)
    {
    }
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The menus and commands of the menu bar, left to right.
    virtual std::vector<MenuItem*> menuBar() = 0;

    // Fills `out` with what the playfield shows now.
    virtual void scene(Scene& out) const = 0;

    virtual void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) = 0;
    virtual void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift) = 0;

    // What the player's choice of a menu item does: its click, if the item can be reached;
    // a greyed item, or one inside a greyed menu, does nothing.
    void choose(MenuItem& item)
    {
        if (item.reachable() && item.click)
            item.click();
    }

    Clock clock; // created before the timers of the derived window, which attach to it
    Watched<QString> Caption;
    const float clientWidth;  // twips
    const float clientHeight; // twips
};

} // namespace runtime
