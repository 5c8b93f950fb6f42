// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace runtime::qt {

// How the game hands its frames to an X11 display; nothing changes on other platforms.
//
// Each frame changes only a few small rectangles (bullets, shots, the ship), and we want one
// wake-up per displayed frame. Qt's shared-memory drawing on X11 makes every frame that paints
// over the last one first wait for the server's reply (a second wake-up each frame), so the
// game sends its few changed pixels over the connection instead. Call before the application
// object exists; a choice the user made in QT_XCB_NO_MITSHM is kept.
void chooseFrameTransfer();

// A wiggle of the formation sends some 190 KB at once at scale 1, four times that at scale 2.
// The connection's send buffer is widened (as far as the system allows) so that such a frame is
// written without waiting for the server to read it. Call once the application object exists.
void widenDisplayConnection();

} // namespace runtime::qt
