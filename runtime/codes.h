// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The numbers that the window system's interface gives its keys and its message boxes, which
// the game speaks in.
namespace runtime {

// Key codes of the keyboard events: the only keys the game tells apart. Every other key comes
// with code 0.
inline constexpr std::int16_t keyLeft = 37;
inline constexpr std::int16_t keyRight = 39;
inline constexpr std::int16_t keySpace = 32;

// Styles of the message box.
inline constexpr std::int16_t styleYesNo = 4;
inline constexpr std::int16_t styleYesNoExclamation = 52;
inline constexpr std::int16_t styleInformation = 64;
inline constexpr std::int16_t styleCritical = 16; // the program's own failures, never the game's

// Whether a box of this style asks Yes or No; the others have a single OK.
inline constexpr bool asksYesNo(std::int16_t style)
{
    return style == styleYesNo || style == styleYesNoExclamation;
}

// Answers of the message box.
inline constexpr std::int16_t answerOk = 1;
inline constexpr std::int16_t answerYes = 6;
inline constexpr std::int16_t answerNo = 7;

} // namespace runtime
