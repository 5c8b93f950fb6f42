// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <QString>

#include "runtime/watched.h"

namespace runtime {

// A picture placed on the window, in twips. A hidden sprite keeps and changes its position
// like a shown one. `picture` names the artwork; the view knows how to draw it.
struct Sprite {
    Watched<QString> picture;
    Watched<float> Left = 0;
    Watched<float> Top = 0;
    Watched<float> Width = 0;
    Watched<float> Height = 0;
    Watched<bool> Visible = false;
    Watched<QString> Tag;
};

// Sprites that share a name and are told apart by a 16-bit index. Members live at stable
// addresses from their creation to their destruction.
class SpriteArray {
public:
    // `name` appears in the error raised when the array is misused.
    SpriteArray(QString name, std::int16_t index, Sprite design);

    // A further member that exists from the start, like the first one.
    void addDesignMember(std::int16_t index, Sprite design);

    bool exists(std::int16_t index) const { return find(index) != nullptr; }

    // The member must exist.
    Sprite& operator()(std::int16_t index) { return const_cast<Sprite&>(std::as_const(*this)(index)); }
    const Sprite& operator()(std::int16_t index) const
    {
        const Sprite* member = find(index);
        if (!member)
            fail("does not exist", index);
        return *member;
    }

    // Creates a hidden copy of the lowest existing member (picture, size, Left, Top, Tag).
    // The index must not exist yet.
    void create(std::int16_t index);

    // The member must exist; it vanishes at once and its index may be created again.
    void destroy(std::int16_t index);

    // Existing members in rising index order.
    template <typename Visit> void forEach(Visit&& visit) const
    {
        for (const auto& member : members_)
            if (member)
                visit(*member);
    }

private:
    const Sprite* find(std::int16_t index) const
    {
        const auto slot = static_cast<std::size_t>(index);
        return index >= 0 && slot < members_.size() ? members_[slot].get() : nullptr;
    }
    [[noreturn]] void fail(const char* what, std::int16_t index) const;

    QString name_;
    std::vector<std::unique_ptr<Sprite>> members_; // slot i holds member i, or nothing
};

} // namespace runtime
