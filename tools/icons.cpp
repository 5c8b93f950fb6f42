// Makes the window icon of the desktop (the saucer) into square PNGs for the icon theme: the
// picture enlarged by whole factors, nearest-neighbour, centred on a transparent square, its
// black surround transparent as on the playfield.
//
//   icons SAUCER.xpm OUTPUT_FOLDER SIZE...

#include <cstdio>

#include <QImage>
#include <QPainter>
#include <QString>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: icons PICTURE.xpm FOLDER SIZE...\n");
        return 2;
    }
    QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "icons: cannot read %s\n", argv[1]);
        return 1;
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0)
                line[x] = 0;
    }

    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const int factor = size / std::max(picture.width(), picture.height());
        if (factor < 1) {
            std::fprintf(stderr, "icons: %d pixels is smaller than the picture\n", size);
            return 1;
        }
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        const QImage large = picture.scaled(picture.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation);
        QPainter painter(&icon);
        painter.drawImage((size - large.width()) / 2, (size - large.height()) / 2, large);
        painter.end();
        const QString file = QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (!icon.save(file)) {
            std::fprintf(stderr, "icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
