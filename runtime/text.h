// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

// Texts in UTF-8, read character by character: a cut or a trim never falls inside a character.
namespace runtime::text {

// The character that begins at byte `at` and the byte after it. A byte that begins no valid
// character (a stray or cut-off one) counts as a character of its own, U+FFFD.
struct Character {
    char32_t code;
    std::size_t end;
};
Character characterAt(std::string_view text, std::size_t at);

// Without the white space around it: the blanks, tabs and line ends, and the other spaces of
// Unicode (the no-break space among them).
std::string_view trimmed(std::string_view text);

// Its first `count` characters, or the whole text when it has no more.
std::string_view firstCharacters(std::string_view text, std::size_t count);

} // namespace runtime::text
