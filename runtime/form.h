// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/clock.h"
#include "runtime/codes.h"
#include "runtime/menuitem.h"
#include "runtime/scene.h"
#include "runtime/watched.h"

namespace runtime {

// A window of the game: its clock and timers, caption, menu bar, keys and playfield. The view
// shows it and turns the player's actions into calls on it; the game never sees a widget.
class Form {
public:
    Form(std::string caption, float width, float height)
        : Caption(clock.changes, std::move(caption)),
          clientWidth(width),
          clientHeight(height)
    {
    }
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

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

    Clock clock;                    // made first: every part of the window tells its count of changes
    Watched<std::string> Caption;   // UTF-8
    std::vector<MenuItem*> menuBar; // its menus and commands, left to right
    const float clientWidth;        // twips
    const float clientHeight;       // twips
};

} // namespace runtime
