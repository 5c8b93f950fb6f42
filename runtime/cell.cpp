// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/cell.h"

#include <charconv>
#include <iterator>

#include "runtime/french.h"

namespace runtime {

double Cell::value() const
{
    return french::numberOf(Text);
}

void Cell::setValue(std::int16_t value)
{
    // A whole number is written the same in the French format: straight from its digits.
    char digits[8];
    const char* end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    Text = QString::fromLatin1(digits, end - digits);
}

} // namespace runtime
