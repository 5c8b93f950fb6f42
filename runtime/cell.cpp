// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/cell.h"

#include "runtime/french.h"

namespace runtime {

double Cell::value() const
{
    return french::numberOf(Text.get());
}

void Cell::setValue(std::int16_t value)
{
    Text = french::toText(value);
}

} // namespace runtime
