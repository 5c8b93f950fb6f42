// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QKeyEvent;

namespace runtime::qt {

// The key code of the keyboard events (37 Left, 39 Right, 32 Space, letters and digits as
// their capital characters...), 0 for keys without one.
std::int16_t keyCode(const QKeyEvent& event);

// 1 Shift, 2 Ctrl, 4 Alt, added together.
std::int16_t shiftState(const QKeyEvent& event);

} // namespace runtime::qt
