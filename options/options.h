// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "game/mmm.h"

namespace game {

// A question of the "Options" menu, and the bounds its answer is held within. Texts are UTF-8.
struct OptionDialog {
    const char* prompt;
    const char* title;
    const char* proposed; // always this text, never the setting's present value
    double minimum;       // bounds on the answer as typed
    double maximum;
    std::int16_t mmm::*setting; // none: the descent interval, kept as milliseconds in `tempe`
    MenuItem mmm::*item;        // the menu item that asks it
};

// The five questions, in the order of the menu.
std::span<const OptionDialog> optionDialogs();

// What the setting of a question holds now, in the unit of its answer (the descent in seconds).
double optionValue(const mmm& w, const OptionDialog& option);

} // namespace game
