// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/pictures.h"

#include <QPainter>

namespace runtime::qt {

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

} // namespace runtime::qt
