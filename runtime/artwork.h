// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace runtime {

// A picture as colours, row after row: 0xAARRGGBB, opaque but where it is transparent.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    bool operator==(const Pixels&) const = default;
};

// The colours of an XPM picture given as its lines (the strings of its C array): the picture
// with one character a pixel and #RRGGBB colours, or "None" for a transparent one. Lines that
// do not make a whole picture give an empty one.
Pixels readXpm(std::span<const char* const> lines);

// The game's artwork, by name ("mechv", "souc", ...), as the pictures' lines; empty for a name
// that is none of them.
struct Artwork {
    std::string_view name;
    std::span<const char* const> lines;
};
std::span<const Artwork> artworks();

// What the playfield draws: the artwork's black surround made transparent, so that a bullet
// passing an alien is not cut out by the alien's black box.
Pixels spritePixels(const Artwork& artwork);

} // namespace runtime
