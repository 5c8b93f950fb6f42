// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "game/mmm.h"

namespace game {

// A question of the "Options" menu, and the bounds its answer is held within.
struct OptionDialog {
    const char* prompt; // UTF-8
    const char* title;
    const char* proposed; // always this text, never the setting's present value
    double maximum;       // bounds on the answer as typed
    double minimum;
    std::int16_t mmm::*setting; // none: the descent interval, kept as milliseconds in `tempe`
    MenuItem mmm::*item;        // the menu item that asks it
};

// The five questions, in the order of the menu.
std::span<const OptionDialog> optionDialogs();

} // namespace game
