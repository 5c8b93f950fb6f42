// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace runtime {

namespace {

// To the nearest whole pixel, halves away from zero. Far beyond the field (or not a number) it
// stays far beyond it.
int nearest(double x)
{
    constexpr double far = 1 << 30;
    return static_cast<int>(std::lround(std::fmin(std::fmax(x, -far), far)));
}

// The whole pixels that (left, top, width, height) touches.
PixelRect aligned(double left, double top, double width, double height)
{
    const int x = static_cast<int>(std::floor(left));
    const int y = static_cast<int>(std::floor(top));
    return {x, y, static_cast<int>(std::ceil(left + width)) - x,
            static_cast<int>(std::ceil(top + height)) - y};
}

PixelRect united(const PixelRect& a, const PixelRect& b)
{
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

PixelRect intersected(const PixelRect& a, const PixelRect& b)
{
    const int left = std::max(a.left, b.left);
    const int top = std::max(a.top, b.top);
    return {left, top, std::min(a.right(), b.right()) - left, std::min(a.bottom(), b.bottom()) - top};
}

} // namespace

PixelRect Layout::pixels(const ScenePicture& p) const
{
    return {nearest(left + p.left * pixelsPerTwip), nearest(top + p.top * pixelsPerTwip),
            nearest(p.width * pixelsPerTwip), nearest(p.height * pixelsPerTwip)};
}

PixelRect Layout::pixels(const Banner& b) const
{
    const PixelRect box = aligned(left + b.left * pixelsPerTwip, top + b.top * pixelsPerTwip,
                                  b.width * pixelsPerTwip, b.height * pixelsPerTwip);
    return {box.left - 1, box.top - 1, box.width + 2, box.height + 2};
}

PixelRect Layout::field() const
{
    return aligned(left, top, width, height);
}

Layout layOut(double clientWidth, double clientHeight, int targetWidth, int targetHeight, bool wholeFactor)
{
    double scale =
        std::min(targetWidth * twipsPerPixel / clientWidth, targetHeight * twipsPerPixel / clientHeight);
    if (wholeFactor)
        scale = std::max(1.0, std::floor(scale));
    const double width = clientWidth * (scale / twipsPerPixel);
    const double height = clientHeight * (scale / twipsPerPixel);
    return {targetWidth / 2.0 - width / 2, targetHeight / 2.0 - height / 2, width, height,
            scale / twipsPerPixel};
}

std::vector<PixelRect> changedPixels(const Scene& before, const Scene& after, const Layout& at)
{
    // A pixel can change only under a picture or banner that moved, came, went or changed: the
    // ones at the same place in both drawing orders are drawn alike, in the same order, over
    // every other pixel. A picture that moved by less than a pixel has not moved.
    //
    // A rectangle is taken together with the last one when that adds few pixels: a picture's
    // two places when it slid, and, in reading order, a row of aliens after a wiggle.
    using Rects = std::vector<PixelRect>;
    const auto area = [](const PixelRect& r) { return std::int64_t(r.width) * r.height; };
    const auto add = [&area](Rects& rects, const PixelRect& r) {
        if (r.empty())
            return;
        if (!rects.empty()) {
            const PixelRect both = united(rects.back(), r);
            if (area(both) * 8 <= (area(rects.back()) + area(r)) * 9) {
                rects.back() = both;
                return;
            }
        }
        rects.push_back(r);
    };
    Rects rects;
    const auto compare = [&](const auto& was, const auto& is, const auto& same) {
        for (std::size_t i = 0; i < std::max(was.size(), is.size()); ++i) {
            if (i < was.size() && i < is.size() && same(was[i], is[i]))
                continue;
            if (i < was.size())
                add(rects, at.pixels(was[i]));
            if (i < is.size())
                add(rects, at.pixels(is[i]));
        }
    };
    compare(before.pictures, after.pictures, [&](const ScenePicture& a, const ScenePicture& b) {
        return a.picture == b.picture
               && ((a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height)
                   || at.pixels(a) == at.pixels(b));
    });
    compare(before.banners, after.banners, [](const Banner& a, const Banner& b) { return a == b; });
    // In reading order, neighbours come one after the other, and join.
    std::sort(rects.begin(), rects.end(), [](const PixelRect& a, const PixelRect& b) {
        return std::pair(a.top, a.left) < std::pair(b.top, b.left);
    });
    Rects merged;
    for (const PixelRect& r : rects)
        add(merged, r);
    for (PixelRect& r : merged)
        r = intersected(r, at.field());
    std::erase_if(merged, [](const PixelRect& r) { return r.empty(); });
    return merged;
}

} // namespace runtime
