// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "runtime/scene.h"

namespace runtime {

// At scale 1, this many twips make one pixel: the playfield and the help window both keep it.
inline constexpr int twipsPerPixel = 15;

// A rectangle of whole pixels; empty when either side is not positive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; } // the first column past it
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool overlaps(const PixelRect& o) const
    {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool operator==(const PixelRect&) const = default;
};

// How a scene is drawn into a target of whole pixels. The field is black, and nothing is drawn
// outside it. The pictures come first, in the scene's order, each stretched nearest-neighbour
// over its whole pixels so that the pixel art stays crisp; then the banners over them, in
// their order, drawn to scale in twips from the field's corner: their box filled with the back
// colour, their caption in the fore colour at fontPoints * 20 twips, smoothed.
struct Layout {
    double left, top, width, height; // the field in the target, in pixels
    double pixelsPerTwip;

    // The whole pixels a picture covers: its size rounded on its own, so that a moving picture
    // keeps its shape, at its top-left corner rounded to the nearest pixel.
    PixelRect pixels(const ScenePicture& picture) const;
    // The pixels a banner can touch; its text is drawn to scale, so a spare pixel around it.
    PixelRect pixels(const Banner& banner) const;
    // The pixels the field touches.
    PixelRect field() const;
};

// A client area of clientWidth x clientHeight twips shown in a target of targetWidth x
// targetHeight pixels, centred, scaled by the largest factor that fits; with `wholeFactor`, by
// the largest whole one (1 at the least), so that every picture pixel is a square of pixels.
Layout layOut(double clientWidth, double clientHeight, int targetWidth, int targetHeight,
              bool wholeFactor = false);

// The pixels that can differ between the two scenes drawn at `at`, in few rectangles: they
// cost less to repaint and to send than many small ones.
std::vector<PixelRect> changedPixels(const Scene& before, const Scene& after, const Layout& at);

} // namespace runtime
