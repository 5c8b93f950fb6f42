// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/sprites.h"

#include "runtime/errors.h"

namespace runtime {

SpriteArray::SpriteArray(ChangeCount& changes, std::string name, std::int16_t index,
                         const SpriteDesign& design)
    : changes_(changes),
      name_(std::move(name))
{
    addDesignMember(index, design);
}

void SpriteArray::addDesignMember(std::int16_t index, const SpriteDesign& design)
{
    add(index, std::make_unique<Sprite>(changes_, design));
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
    auto copy = std::make_unique<Sprite>(*lowest);
    copy->Visible = false;
    add(index, std::move(copy));
}

void SpriteArray::add(std::int16_t index, std::unique_ptr<Sprite> member)
{
    if (exists(index))
        fail("already exists", index);
    if (index < 0)
        fail("cannot exist", index);
    if (static_cast<std::size_t>(index) >= members_.size())
        members_.resize(static_cast<std::size_t>(index) + 1);
    members_[static_cast<std::size_t>(index)] = std::move(member);
    changes_.note();
}

void SpriteArray::destroy(std::int16_t index)
{
    if (!exists(index))
        fail("does not exist", index);
    members_[static_cast<std::size_t>(index)].reset();
    changes_.note();
    while (!members_.empty() && !members_.back())
        members_.pop_back();
}

void SpriteArray::fail(const char* what, std::int16_t index) const
{
    throw ProgrammingError(name_ + "(" + std::to_string(index) + ") " + what);
}

} // namespace runtime
