// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <tuple>

#include <QImage>
#include <QPixmap>
#include <QString>

namespace runtime::qt {

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

} // namespace runtime::qt
