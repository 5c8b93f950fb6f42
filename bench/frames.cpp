// SPDX-License-Identifier: GPL-3.0-or-later
// What painting a frame of the full playfield costs, at scale 1 and 2.

#include <cstdio>

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QPainter>

#include "bench/bench.h"
#include "kit/game.h"
#include "runtime/qt/playfield.h"

namespace bench {

namespace {

// Everything the playfield can show at once: the whole formation, five bullets, two shots,
// the saucer and the three banners.
void fullPlayfield(runtime::Scene& scene)
{
    Game g;
    game::mmm& w = g.w;
    g.start();
    g.completeFormation();
    for (std::int16_t c = 1; c <= w.nbcol; ++c)
        w.mechv(c).Visible = w.mechb(c).Visible = w.mechr(c).Visible = true;
    for (std::int16_t v = 0; v <= game::lastAlienBullet; ++v) {
        w.tire(v).Visible = true;
        w.tire(v).Left = 800 + 1500 * v;
        w.tire(v).Top = 2500 + 400 * v;
    }
    if (!w.tir.exists(2))
        w.tir.create(2);
    for (std::int16_t s = 1; s <= 2; ++s) {
        w.tir(s).Visible = true;
        w.tir(s).Left = 2000 + 3000 * s;
        w.tir(s).Top = 4000;
    }
    w.souc.Visible = true;
    w.souc.Left = 4000;
    w.bon.Visible = w.perd.Visible = w.gagne.Visible = true;
    w.scene(scene);
}

} // namespace

void frameFigure(QJsonObject& results)
{
    runtime::Scene scene;
    fullPlayfield(scene);
    std::printf(
        "1. Frame cost, the full playfield (%zu pictures, %zu banners), 1000 frames (anchor 16.7 ms)\n",
        scene.pictures.size(), scene.banners.size());
    QJsonArray json;
    for (int scale = 1; scale <= 2; ++scale) {
        const int width = int(game::fieldWidth / 15) * scale, height = int(game::fieldHeight / 15) * scale;
        QImage image(width, height, QImage::Format_RGB32);
        runtime::qt::PictureBook pictures;
        std::vector<double> times;
        for (int i = -20; i < 1000; ++i) { // the first frames load the pictures
            QElapsedTimer t;
            t.start();
            QPainter painter(&image);
            runtime::qt::paintScene(painter, scene, QSizeF(game::fieldWidth, game::fieldHeight), image.size(),
                                    pictures);
            painter.end();
            if (i >= 0)
                times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const double median = percentile(times, 50), p99 = percentile(times, 99);
        std::printf("  scale %d, %4dx%-4d  median %.3f ms  p99 %.3f ms\n", scale, width, height, median, p99);
        json.append(
            QJsonObject{{"width", width}, {"height", height}, {"median_ms", median}, {"p99_ms", p99}});
    }
    results.insert("frame_cost", json);
}

} // namespace bench
