// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/watched.h"

namespace runtime {

// A sprite as it stands at design, in twips.
struct SpriteDesign {
    std::string picture; // names the artwork; the view knows how to draw it
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = false;
    std::string tag;
};

// A picture placed on the window, in twips. A hidden sprite keeps and changes its position
// like a shown one. Its picture and size are those of its design.
struct Sprite {
    Sprite(ChangeCount& changes, const SpriteDesign& design)
        : picture(design.picture),
          Left(changes, design.left),
          Top(changes, design.top),
          Width(design.width),
          Height(design.height),
          Visible(changes, design.visible),
          Tag(changes, design.tag)
    {
    }

    const std::string picture;
    Watched<float> Left;
    Watched<float> Top;
    const float Width;
    const float Height;
    Watched<bool> Visible;
    Watched<std::string> Tag; // free text, UTF-8
};

// Sprites that share a name and are told apart by a 16-bit index. Members live at stable
// addresses from their creation to their destruction.
class SpriteArray {
public:
    // `name` appears in the error raised when the array is misused.
    SpriteArray(ChangeCount& changes, std::string name, std::int16_t index, const SpriteDesign& design);

    // A further member that exists from the start, like the first one.
    void addDesignMember(std::int16_t index, const SpriteDesign& design);

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
    void add(std::int16_t index, std::unique_ptr<Sprite> member);
    [[noreturn]] void fail(const char* what, std::int16_t index) const;

    ChangeCount& changes_;
    std::string name_;
    std::vector<std::unique_ptr<Sprite>> members_; // slot i holds member i, or nothing
};

} // namespace runtime
