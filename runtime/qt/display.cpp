// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/display.h"

#include <QGuiApplication>

#if defined(GROMZAKS_HAVE_XCB) && QT_CONFIG(xcb)
#define GROMZAKS_WIDEN_XCB
#include <sys/socket.h>
#include <xcb/xcb.h>
#endif

namespace runtime::qt {

void chooseFrameTransfer()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"))
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "1000");
}

void widenDisplayConnection()
{
#if defined(GROMZAKS_WIDEN_XCB)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    const int fd = xcb_get_file_descriptor(x11->connection());
    int current = 0;
    socklen_t size = sizeof current;
    constexpr int wanted = 4 << 20;
    if (getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &current, &size) == 0 && current < wanted)
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &wanted, sizeof wanted); // capped by the system
#endif
}

} // namespace runtime::qt
