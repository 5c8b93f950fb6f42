// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/playfield.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QFont>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QVarLengthArray>

#include "runtime/qt/keys.h"

namespace runtime::qt {

namespace {

QColor rgb(std::uint32_t color)
{
    return QColor::fromRgb(static_cast<QRgb>(color));
}

void paintBanner(QPainter& painter, const Banner& label, const QString& caption)
{
    const QRectF box(label.left, label.top, label.width, label.height);
    painter.fillRect(box, rgb(label.backColor));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(label.fontPoints * 20))); // 20 twips a point
    painter.setFont(font);
    painter.setPen(rgb(label.foreColor));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
}

} // namespace

QImage artwork(const QString& name)
{
    return QImage(QStringLiteral(":/assets/%1.xpm").arg(name));
}

QPixmap loadPicture(const QString& name)
{
    // The black surround of a picture lets what lies behind it show through, so that a bullet
    // passing an alien is not cut out by the alien's black box.
    QImage image = artwork(name).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0)
                line[x] = 0;
    }
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

const QPixmap& PictureBook::scaled(const std::string& name, QSize size)
{
    const auto key = std::tuple(name, size.width(), size.height());
    auto found = scaled_.find(key);
    if (found != scaled_.end())
        return found->second;
    if (scaled_.size() >= 64) // a window resized again and again: keep only the sizes in use
        scaled_.clear();
    auto picture = pictures_.find(name);
    if (picture == pictures_.end())
        picture = pictures_.emplace(name, loadPicture(QString::fromStdString(name))).first;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(image.rect(), picture->second, picture->second.rect());
    painter.end();
    return scaled_.emplace(key, QPixmap::fromImage(image)).first->second;
}

const QString& PictureBook::text(const std::string& utf8)
{
    auto found = texts_.find(utf8);
    if (found == texts_.end())
        found = texts_.emplace(utf8, QString::fromStdString(utf8)).first;
    return found->second;
}

namespace {

// To the nearest whole pixel, halves away from zero as std::lround does, without a call into
// the maths library: every picture's place is rounded at every frame. Far beyond the field
// (or not a number) it stays far beyond it.
int nearest(double x)
{
    constexpr double far = 1 << 30;
    if (!(x > -far))
        x = -far;
    if (!(x < far))
        x = far;
    const int whole = static_cast<int>(x); // toward zero
    const double rest = x - whole;
    return rest >= 0.5 ? whole + 1 : rest <= -0.5 ? whole - 1 : whole;
}

// Where the field lies in `target`, and the factor from twips to pixels there.
struct Placement {
    QRectF field;
    double pixelsPerTwip;

    // The whole pixels a picture covers: its size rounded on its own, so that a moving picture
    // keeps its shape, at its top-left corner rounded to the nearest pixel.
    QRect pixels(const ScenePicture& p) const
    {
        return QRect(nearest(field.left() + p.left * pixelsPerTwip),
                     nearest(field.top() + p.top * pixelsPerTwip), nearest(p.width * pixelsPerTwip),
                     nearest(p.height * pixelsPerTwip));
    }

    // The pixels a banner can touch; its text is drawn to scale, so a spare pixel around it.
    QRect pixels(const Banner& l) const
    {
        return QRectF(field.left() + l.left * pixelsPerTwip, field.top() + l.top * pixelsPerTwip,
                      l.width * pixelsPerTwip, l.height * pixelsPerTwip)
            .toAlignedRect()
            .adjusted(-1, -1, 1, 1);
    }
};

Placement place(QSizeF client, const QRectF& target)
{
    const double scale = std::min(target.width() * twipsPerPixel / client.width(),
                                  target.height() * twipsPerPixel / client.height());
    const QSizeF shown = client * (scale / twipsPerPixel);
    return {QRectF(target.center() - QPointF(shown.width() / 2, shown.height() / 2), shown),
            scale / twipsPerPixel};
}

} // namespace

void paintScene(QPainter& painter, const Scene& scene, QSizeF client, const QRectF& target,
                PictureBook& pictures, const QRegion* only)
{
    const Placement at = place(client, target);
    painter.fillRect(target, Qt::black);
    if (!at.field.contains(target)) // margins: nothing is drawn into them
        painter.setClipRect(at.field, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const ScenePicture& sprite : scene.pictures) {
        const QRect place = at.pixels(sprite);
        if (place.isEmpty() || (only && !only->intersects(place)))
            continue;
        painter.drawPixmap(place.topLeft(), pictures.scaled(sprite.picture, place.size()));
    }
    bool inTwips = false;
    for (const Banner& label : scene.banners) {
        if (only && !only->intersects(at.pixels(label)))
            continue;
        if (!std::exchange(inTwips, true)) {
            painter.translate(at.field.topLeft());
            painter.scale(at.pixelsPerTwip, at.pixelsPerTwip); // from here on, twips
            painter.setRenderHint(QPainter::TextAntialiasing, true);
        }
        paintBanner(painter, label, pictures.text(label.caption));
    }
}

QRegion changedRegion(const Scene& before, const Scene& after, QSizeF client, const QRectF& target)
{
    // A pixel can change only under a picture or banner that moved, came, went or changed: the
    // ones at the same place in both drawing orders are drawn alike, in the same order, over
    // every other pixel. A picture that moved by less than a pixel has not moved.
    //
    // Fewer rectangles cost less to repaint and to send than many small ones, so a rectangle is
    // taken together with the last one when that adds few pixels: a picture's two places when
    // it slid, and, in reading order, a row of aliens after a wiggle.
    const Placement at = place(client, target);
    using Rects = QVarLengthArray<QRect, 64>; // a frame's few rectangles stay off the heap
    const auto area = [](const QRect& r) { return std::int64_t(r.width()) * r.height(); };
    const auto add = [&area](Rects& rects, const QRect& r) {
        if (r.isEmpty())
            return;
        if (!rects.isEmpty()) {
            const QRect both = rects.back() | r;
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
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    });
    Rects merged;
    for (const QRect& r : rects)
        add(merged, r);
    QRegion region;
    for (const QRect& r : merged)
        region += r;
    return region & at.field.toAlignedRect();
}

PlayfieldView::PlayfieldView(QSizeF client, QWidget* parent) : QWidget(parent), client_(client)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize PlayfieldView::sizeHint() const
{
    return QSize(static_cast<int>(std::lround(client_.width() / twipsPerPixel)),
                 static_cast<int>(std::lround(client_.height() / twipsPerPixel)));
}

bool PlayfieldView::setScene(Scene& scene)
{
    const QRegion changed = changedRegion(scene_, scene, client_, QRectF(rect()));
    std::swap(scene_, scene);
    if (changed.isEmpty())
        return false;
    // Painted at once rather than on a posted request: a frame then takes one turn of the
    // event loop instead of two, and two system calls in five fewer.
    repaint(changed);
    return true;
}

void PlayfieldView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paintScene(painter, scene_, client_, QRectF(rect()), pictures_, &event->region());
}

void PlayfieldView::keyPressEvent(QKeyEvent* event)
{
    // Held keys repeat their presses, as the game expects.
    emit keyDown(keyCode(*event));
}

void PlayfieldView::keyReleaseEvent(QKeyEvent* event)
{
    // While a key is held the platform sends a release before each repeated press: the key is
    // still down, and the ship must not stop.
    if (event->isAutoRepeat())
        return;
    emit keyUp(keyCode(*event));
}

void PlayfieldView::focusOutEvent(QFocusEvent* event)
{
    // A key released elsewhere (another window, a box, the menus) never reaches us: act as if
    // it had been released now, so that the ship does not steer on by itself.
    emit keyboardLost();
    QWidget::focusOutEvent(event);
}

} // namespace runtime::qt
