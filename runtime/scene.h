// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "runtime/label.h"
#include "runtime/sprites.h"

namespace runtime {

// One picture of the playfield as the view draws it, in twips.
struct ScenePicture {
    std::string picture;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const ScenePicture&) const = default;
};

// What a window shows at one moment, as plain values: its shown pictures, then its shown
// banners on top, in drawing order. Two equal scenes look the same, so the view repaints only
// on a change.
struct Scene {
    std::vector<ScenePicture> pictures;
    std::vector<Banner> banners;

    void clear()
    {
        pictures.clear();
        banners.clear();
    }
    void add(const Sprite& sprite)
    {
        if (sprite.Visible)
            pictures.push_back({sprite.picture, sprite.Left, sprite.Top, sprite.Width, sprite.Height});
    }
    void add(const SpriteArray& array)
    {
        array.forEach([this](const Sprite& sprite) { add(sprite); });
    }
    void add(const Label& label)
    {
        if (label.Visible)
            banners.push_back(label.look);
    }
    bool operator==(const Scene&) const = default;
};

} // namespace runtime
