// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/playfield.h"

#include <cmath>
#include <utility>

#include <QFont>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include "runtime/layout.h"
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

namespace {

QRect toQt(const PixelRect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

} // namespace

void paintScene(QPainter& painter, const Scene& scene, QSizeF client, QSize target, PictureBook& pictures,
                const QRegion* only)
{
    const Layout at = layOut(client.width(), client.height(), target.width(), target.height());
    const QRectF field(at.left, at.top, at.width, at.height);
    painter.fillRect(QRect(QPoint(0, 0), target), Qt::black);
    if (!field.contains(QRectF(QPointF(0, 0), target))) // margins: nothing is drawn into them
        painter.setClipRect(field, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const ScenePicture& sprite : scene.pictures) {
        const QRect place = toQt(at.pixels(sprite));
        if (place.isEmpty() || (only && !only->intersects(place)))
            continue;
        painter.drawPixmap(place.topLeft(), pictures.scaled(sprite.picture, place.size()));
    }
    bool inTwips = false;
    for (const Banner& label : scene.banners) {
        if (only && !only->intersects(toQt(at.pixels(label))))
            continue;
        if (!std::exchange(inTwips, true)) {
            painter.translate(field.topLeft());
            painter.scale(at.pixelsPerTwip, at.pixelsPerTwip); // from here on, twips
            painter.setRenderHint(QPainter::TextAntialiasing, true);
        }
        paintBanner(painter, label, pictures.text(label.caption));
    }
}

QRegion changedRegion(const Scene& before, const Scene& after, QSizeF client, QSize target)
{
    QRegion region;
    for (const PixelRect& r : changedPixels(
             before, after, layOut(client.width(), client.height(), target.width(), target.height())))
        region += toQt(r);
    return region;
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
    const QRegion changed = changedRegion(scene_, scene, client_, size());
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
    paintScene(painter, scene_, client_, size(), pictures_, &event->region());
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
