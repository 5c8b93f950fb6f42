// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

// The help window `frmhelp` as data: its caption, its size and every control at its place.
// The Qt side builds the window from this and holds no layout of its own.
namespace help {

inline constexpr char frmhelpCaption[] = "Aide";
inline constexpr int frmhelpWidth = 5865; // client area, twips
inline constexpr int frmhelpHeight = 6585;

enum class ControlKind { picture, text, button };

struct Control {
    const char* name;
    std::int16_t index; // its member of a control array, or -1
    ControlKind kind;
    int left; // twips
    int top;
    int width;
    int height;
    // A picture's artwork name; a text's words or a button's caption, in UTF-8. A picture
    // smaller than its control sits at the top-left corner, the rest of the control black.
    const char* content;
};

// Top to bottom, as the window shows them.
std::span<const Control> frmhelpControls();

} // namespace help
