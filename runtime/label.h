// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QString>

namespace runtime {

// A text banner drawn over the playfield: a box in twips filled with its back colour, the
// caption in its fore colour.
struct Label {
    QString Caption;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    double fontPoints = 8.25;
    std::uint32_t foreColor = 0x000000; // RGB
    std::uint32_t backColor = 0xFFFFFF;
    bool Visible = false;
    bool operator==(const Label&) const = default;
};

} // namespace runtime
