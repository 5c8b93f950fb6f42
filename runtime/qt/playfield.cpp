#include "runtime/qt/playfield.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QKeyEvent>
#include <QPainter>

#include "runtime/qt/keys.h"

namespace runtime::qt {

namespace {

constexpr double twipsPerPixel = 15;

QColor rgb(std::uint32_t color)
{
    return QColor::fromRgb(static_cast<QRgb>(color));
}

void paintLabel(QPainter& painter, const Label& label)
{
    const QRectF box(label.Left, label.Top, label.Width, label.Height);
    painter.fillRect(box, rgb(label.backColor));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(label.fontPoints * 20))); // 20 twips a point
    painter.setFont(font);
    painter.setPen(rgb(label.foreColor));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label.Caption);
}

} // namespace

QPixmap loadPicture(const QString& name)
{
    // The black surround of a picture lets what lies behind it show through, so that a bullet
    // passing an alien is not cut out by the alien's black box.
    QImage image = QImage(QStringLiteral(":/assets/%1.xpm").arg(name)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0)
                line[x] = 0;
    }
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

const QPixmap& PictureBook::operator[](const QString& name)
{
    auto found = pictures_.find(name);
    if (found == pictures_.end())
        found = pictures_.insert(name, loadPicture(name));
    return *found;
}

void paintScene(QPainter& painter, const Scene& scene, QSizeF client, const QRectF& target,
                PictureBook& pictures)
{
    const double scale = std::min(target.width() * twipsPerPixel / client.width(),
                                  target.height() * twipsPerPixel / client.height());
    const QSizeF shown = client * (scale / twipsPerPixel);
    const QRectF field(target.center() - QPointF(shown.width() / 2, shown.height() / 2), shown);

    painter.save();
    painter.fillRect(target, Qt::black);
    painter.setClipRect(field);
    painter.translate(field.topLeft());
    painter.scale(scale / twipsPerPixel, scale / twipsPerPixel); // from here on, twips
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const ScenePicture& sprite : scene.pictures) {
        const QPixmap& pixmap = pictures[sprite.picture];
        painter.drawPixmap(QRectF(sprite.left, sprite.top, sprite.width, sprite.height), pixmap,
                           QRectF(pixmap.rect()));
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Label* label : scene.labels)
        paintLabel(painter, *label);
    painter.restore();
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

void PlayfieldView::setScene(const Scene& scene)
{
    if (scene == scene_)
        return;
    scene_ = scene;
    update();
}

void PlayfieldView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintScene(painter, scene_, client_, QRectF(rect()), pictures_);
}

void PlayfieldView::keyPressEvent(QKeyEvent* event)
{
    // Held keys repeat their presses, as the game expects.
    emit keyDown(keyCode(*event), shiftState(*event));
}

void PlayfieldView::keyReleaseEvent(QKeyEvent* event)
{
    // While a key is held the platform sends a release before each repeated press: the key is
    // still down, and the ship must not stop.
    if (event->isAutoRepeat())
        return;
    emit keyUp(keyCode(*event), shiftState(*event));
}

void PlayfieldView::focusOutEvent(QFocusEvent* event)
{
    // A key released elsewhere (another window, a box, the menus) never reaches us: act as if
    // it had been released now, so that the ship does not steer on by itself.
    emit keyboardLost();
    QWidget::focusOutEvent(event);
}

} // namespace runtime::qt
