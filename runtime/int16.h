// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace runtime {

// A result for a 16-bit game value: rounded to the nearest whole number (halves to the even
// neighbour) and held within -32768..32767 instead of wrapping around.
inline std::int16_t saturated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

} // namespace runtime
