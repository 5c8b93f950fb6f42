// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QKeyEvent;

namespace runtime::qt {

// The key code of a keyboard event: 37 Left, 39 Right, 32 Space, the keys the game tells
// apart; 0 for every other key, whose release still stops the ship.
std::int16_t keyCode(const QKeyEvent& event);

} // namespace runtime::qt
