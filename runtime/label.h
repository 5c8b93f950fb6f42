// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QString>

#include "runtime/watched.h"

namespace runtime {

// A text banner drawn over the playfield: a box in twips filled with its back colour, the
// caption in its fore colour.
struct Label {
    Watched<QString> Caption;
    Watched<float> Left = 0;
    Watched<float> Top = 0;
    Watched<float> Width = 0;
    Watched<float> Height = 0;
    Watched<double> fontPoints = 8.25;
    Watched<std::uint32_t> foreColor = 0x000000; // RGB
    Watched<std::uint32_t> backColor = 0xFFFFFF;
    Watched<bool> Visible = false;
    bool operator==(const Label&) const = default;
};

} // namespace runtime
