// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/cell.h"

#include "runtime/french.h"

namespace runtime {

double Cell::value() const
{
    const QString& text = Text;
    // The same text in memory is the same text: the copy kept here holds it there.
    if (text.isEmpty() || text.constData() != known_.constData() || text.size() != known_.size()) {
        knownValue_ = french::numberOf(text);
        known_ = text;
    }
    return knownValue_;
}

void Cell::setValue(std::int16_t value)
{
    Text = french::toText(value);
    known_ = Text;
    knownValue_ = value;
}

} // namespace runtime
