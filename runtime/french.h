// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// Numbers as the player types them and as the game keeps them in text: the French format,
// with a decimal comma and no digit grouping.
namespace runtime::french {

// "12", "-3", "2,5", ",5", "+7" and the like, blanks around allowed. No full stop, no
// exponent, no grouping: anything else is not a number.
std::optional<double> toNumber(const QString& text);

// A text the game wrote itself (a cell, a hit count), read as a number. Any other text is a
// programming error, raised as runtime::ProgrammingError.
double numberOf(const QString& text);

// Rounded to the nearest whole number, a half to the even neighbour (12,5 gives 12, 13,5
// gives 14). Nothing when the result lies outside -32768..32767.
std::optional<std::int16_t> toInt16(double value);

// Whole values without decimals ("35000"), others with a decimal comma and up to 15
// significant digits ("0,5"); "-" before negatives; never a group separator or an exponent.
QString toText(double value);

} // namespace runtime::french
