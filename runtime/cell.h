// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "runtime/watched.h"

namespace runtime {

// An invisible text box that holds a number as text, in the French format.
struct Cell {
    Cell(ChangeCount& changes, const char* text) : Text(changes, text) {}

    Watched<std::string> Text;

    // The text read as a number. The game writes only numbers here; any other text is a
    // programming error.
    double value() const;
    void setValue(std::int16_t value);
};

} // namespace runtime
