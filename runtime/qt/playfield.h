// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QRegion>
#include <QSizeF>
#include <QWidget>

#include "runtime/qt/pictures.h"
#include "runtime/scene.h"

class QPainter;

namespace runtime::qt {

// Draws a scene of a client area of `client` twips into a target of `target` pixels, as
// runtime/layout.h lays it out. Only the pictures and banners that touch `only`, when given,
// are drawn: the painter is clipped to it. The painter is left with its settings changed: a
// painter for the one call.
void paintScene(QPainter& painter, const Scene& scene, QSizeF client, QSize target, PictureBook& pictures,
                const QRegion* only = nullptr);

// The pixels of the target that can differ between the two scenes as paintScene draws them.
QRegion changedRegion(const Scene& before, const Scene& after, QSizeF client, QSize target);

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
