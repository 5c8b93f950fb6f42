// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/keys.h"

#include <QKeyEvent>

#include "runtime/form.h"

namespace runtime::qt {

std::int16_t keyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::int16_t>(key); // same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::int16_t>(112 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return keySpace;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return keyLeft;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return keyRight;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

std::int16_t shiftState(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0)
                                     + (modifiers & Qt::ControlModifier ? 2 : 0)
                                     + (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace runtime::qt
