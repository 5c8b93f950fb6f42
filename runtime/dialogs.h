// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "runtime/codes.h"

namespace runtime {

// The modal boxes the game asks its questions with. Texts are UTF-8.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Yes/No (styles 4 and 52) or a single OK (styles 64 and 16); returns the answer code.
    virtual std::int16_t messageBox(const std::string& prompt, std::int16_t style,
                                    const std::string& title) = 0;

    // The text typed, or the empty text when the box is cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& proposed) = 0;
};

} // namespace runtime
