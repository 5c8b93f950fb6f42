// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "runtime/watched.h"

namespace runtime {

// How a banner looks, fixed at design: a box in twips filled with its back colour, the caption
// in its fore colour.
struct Banner {
    std::string caption; // UTF-8
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    double fontPoints = 8.25;
    std::uint32_t foreColor = 0x000000; // RGB
    std::uint32_t backColor = 0xFFFFFF;
    bool operator==(const Banner&) const = default;
};

// A text banner drawn over the playfield; the game only shows and hides it.
struct Label {
    Label(ChangeCount& changes, Banner banner) : look(std::move(banner)), Visible(changes, false) {}

    const Banner look;
    Watched<bool> Visible;
};

} // namespace runtime
