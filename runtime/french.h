// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <version>

// Numbers as the player types them and as the game keeps them in text: the French format,
// with a decimal comma and no digit grouping. Texts are UTF-8.
namespace runtime::french {

// "12", "-3", "2,5", ",5", "+7" and the like, blanks around allowed. No full stop, no
// exponent, no grouping: anything else is not a number.
std::optional<double> toNumber(std::string_view text);

// A text the game wrote itself (a cell, a hit count), read as a number. Any other text is a
// programming error, raised as runtime::ProgrammingError.
double numberOf(std::string_view text);

// Rounded to the nearest whole number, a half to the even neighbour (12,5 gives 12, 13,5
// gives 14). Nothing when the result lies outside -32768..32767.
std::optional<std::int16_t> toInt16(double value);

// Whole values without decimals ("35000"), others with a decimal comma and up to 15
// significant digits ("0,5"); "-" before negatives; never a group separator or an exponent.
std::string toText(double value);

// What the conversions above rest on: a plain decimal with a full stop ("123.45", "7.", ".5",
// no sign), read and written by the C++ library where it can for doubles, else (on the web) by
// the C library. Both are built everywhere, so that the fuzz target can hold them to agree.
namespace detail {
enum class Library { cpp, c };
#ifdef __cpp_lib_to_chars
constexpr Library available = Library::cpp;
#else
constexpr Library available = Library::c;
#endif
// Nothing unless every character is read. Beyond a double: infinity if a digit other than 0
// stands before the full stop, else 0.
std::optional<double> readDecimal(std::string_view decimal, Library library = available);
// With exactly DECIMALS digits after the full stop (none, and no full stop, for 0), into
// [first, last); the end of what was written, or nothing when it does not fit.
char* writeDecimal(double value, int decimals, char* first, char* last, Library library = available);
} // namespace detail

} // namespace runtime::french
