// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/sprites.h"

#include <utility>

#include "runtime/errors.h"

namespace runtime {

SpriteArray::SpriteArray(QString name, std::int16_t index, Sprite design) : name_(std::move(name))
{
    addDesignMember(index, std::move(design));
}

void SpriteArray::addDesignMember(std::int16_t index, Sprite design)
{
    if (exists(index))
        fail("already exists", index);
    if (index < 0)
        fail("cannot exist", index);
    if (static_cast<std::size_t>(index) >= members_.size())
        members_.resize(static_cast<std::size_t>(index) + 1);
    members_[static_cast<std::size_t>(index)] = std::make_unique<Sprite>(std::move(design));
    noteChange();
}

void SpriteArray::create(std::int16_t index)
{
    const Sprite* lowest = nullptr;
    forEach([&](const Sprite& member) {
        if (!lowest)
            lowest = &member;
    });
    if (!lowest)
        fail("has no member to copy for", index);
    Sprite copy = *lowest;
    copy.Visible = false;
    addDesignMember(index, std::move(copy));
}

void SpriteArray::destroy(std::int16_t index)
{
    if (!exists(index))
        fail("does not exist", index);
    members_[static_cast<std::size_t>(index)].reset();
    noteChange();
    while (!members_.empty() && !members_.back())
        members_.pop_back();
}

void SpriteArray::fail(const char* what, std::int16_t index) const
{
    throw ProgrammingError(
        QStringLiteral("%1(%2) %3").arg(name_).arg(index).arg(QLatin1String(what)).toStdString());
}

} // namespace runtime
