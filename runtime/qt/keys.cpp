// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/keys.h"

#include <QKeyEvent>

#include "runtime/codes.h"

namespace runtime::qt {

std::int16_t keyCode(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Left: return keyLeft;
    case Qt::Key_Right: return keyRight;
    case Qt::Key_Space: return keySpace;
    default: return 0;
    }
}

} // namespace runtime::qt
