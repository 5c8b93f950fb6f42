// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QSizeF>
#include <QWidget>

#include "runtime/scene.h"

class QPainter;

namespace runtime::qt {

// At scale 1, this many twips make one pixel: the playfield and the help window both keep it.
inline constexpr int twipsPerPixel = 15;

// A picture of the artwork as drawn (":/assets/NAME.xpm"), black surround and all.
QImage artwork(const QString& name);

// The same picture with its black surround transparent, as the playfield draws it.
QPixmap loadPicture(const QString& name);

// The artwork, each picture loaded once and scaled once to each size it is drawn at; and the
// banners' texts, each turned into Qt's once.
class PictureBook {
public:
    // The picture stretched to `size` pixels, nearest-neighbour: drawn unscaled, it gives the
    // very pixels of the picture drawn stretched into a rectangle of that size.
    const QPixmap& scaled(const std::string& name, QSize size);

    const QString& text(const std::string& utf8);

private:
    std::map<std::string, QPixmap> pictures_;
    std::map<std::tuple<std::string, int, int>, QPixmap> scaled_;
    std::map<std::string, QString> texts_;
};

// Draws a scene of a client area of `client` twips into `target` (device-independent pixels),
// scaled by the largest factor that fits and centred, nearest-neighbour so that the pixel art
// stays crisp, each picture at a whole-pixel place. Only the pictures and banners that touch
// `only`, when given, are drawn: the painter is clipped to it. The painter is left with its
// settings changed: a painter for the one call.
void paintScene(QPainter& painter, const Scene& scene, QSizeF client, const QRectF& target,
                PictureBook& pictures, const QRegion* only = nullptr);

// The pixels of `target` that can differ between the two scenes as paintScene draws them.
QRegion changedRegion(const Scene& before, const Scene& after, QSizeF client, const QRectF& target);

// The black playfield of a window. It holds the keyboard, and hands keys to the game.
class PlayfieldView final : public QWidget {
    Q_OBJECT
public:
    explicit PlayfieldView(QSizeF client, QWidget* parent = nullptr);

    // Shows `scene`, repainting at once what differs from the scene shown; true when that is
    // any pixel. The two are swapped: `scene` is left holding the one shown before, to be
    // filled anew without allocating.
    bool setScene(Scene& scene);
    const Scene& scene() const { return scene_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void keyDown(std::int16_t code);
    void keyUp(std::int16_t code);
    void keyboardLost();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; } // Tab is a key of the game too

private:
    QSizeF client_;
    Scene scene_;
    PictureBook pictures_;
};

} // namespace runtime::qt
