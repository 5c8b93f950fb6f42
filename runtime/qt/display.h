// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace runtime::qt {

// How the game hands its frames to the display. Call before the application object exists; a
// choice the user made in the same variables is kept.
//
// Each frame changes only a few small rectangles (bullets, shots, the ship), and we want one
// wake-up per displayed frame. Qt's shared-memory drawing on X11 makes every frame that paints
// over the last one first wait for the server's reply (a second wake-up each frame), so the
// game sends its few changed pixels over the connection instead (QT_XCB_NO_MITSHM).
//
// On Wayland, Qt watches every frame shown for the compositor's word that it was shown, with a
// timer of its own (QT_WAYLAND_FRAME_CALLBACK_TIMEOUT) that wakes the game ten times a second;
// without the word within that time it takes the window for hidden and stops sending frames.
// The game keeps its time either way, so a second is soon enough to notice.
void chooseFrameTransfer();

// A wiggle of the formation sends some 190 KB at once at scale 1, four times that at scale 2.
// The connection's send buffer is widened (as far as the system allows) so that such a frame is
// written without waiting for the server to read it. Call once the application object exists.
void widenDisplayConnection();

} // namespace runtime::qt
