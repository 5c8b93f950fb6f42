// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QString>

#include "runtime/label.h"
#include "runtime/sprites.h"

namespace runtime {

// One picture of the playfield as the view draws it, in twips.
struct ScenePicture {
    QString picture;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const ScenePicture&) const = default;
};

// What a window shows at one moment: its shown pictures, then its shown banners on top, in
// drawing order. Two equal scenes look the same, so the view repaints only on a change.
struct Scene {
    std::vector<ScenePicture> pictures;
    std::vector<Label> labels;

    void clear()
    {
        pictures.clear();
        labels.clear();
    }
    bool operator==(const Scene&) const = default;

    // Fills a scene anew, in drawing order, from the shown sprites and banners it is given (or
    // from another scene's pictures and banners).
    // What the scene held is overwritten in place: filled again at every frame, it allocates
    // nothing, and keeps the names of its pictures when they stay the same. The scene is whole
    // once the fill is over.
    class Fill {
    public:
        explicit Fill(Scene& scene) : scene_(scene) { scene_.labels.clear(); }
        Fill(const Fill&) = delete;
        Fill& operator=(const Fill&) = delete;
        ~Fill() { scene_.pictures.resize(pictures_); }

        void add(const Sprite& sprite)
        {
            if (sprite.Visible)
                place(sprite.picture, sprite.Left, sprite.Top, sprite.Width, sprite.Height);
        }
        void add(const ScenePicture& p) { place(p.picture, p.left, p.top, p.width, p.height); }
        void add(const SpriteArray& array)
        {
            array.forEach([this](const Sprite& sprite) { add(sprite); });
        }
        void add(const Label& label)
        {
            // Few and seldom shown: copied whole, as a copy of the game's banner is no change
            // to the game, where assigning one would be.
            if (label.Visible)
                scene_.labels.push_back(label);
        }

    private:
        void place(const QString& name, float left, float top, float width, float height)
        {
            if (pictures_ == scene_.pictures.size())
                scene_.pictures.emplace_back();
            ScenePicture& p = scene_.pictures[pictures_++];
            if (p.picture.constData() != name.constData() || p.picture.size() != name.size())
                p.picture = name;
            p.left = left;
            p.top = top;
            p.width = width;
            p.height = height;
        }

        Scene& scene_;
        std::size_t pictures_ = 0;
    };
};

} // namespace runtime
