// SPDX-License-Identifier: GPL-3.0-or-later
// Figure 3: what painting a frame of the full playfield costs, at scale 1 and 2.

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

struct FrameCost {
    int width = 0;
    int height = 0;
    double medianMs = 0;
    double p99Ms = 0;
};

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

FrameCost frameCost(const runtime::Scene& scene, int scale, int frames)
{
    const QSizeF client(game::fieldWidth, game::fieldHeight);
    FrameCost cost{int(game::fieldWidth / 15) * scale, int(game::fieldHeight / 15) * scale};
    QImage image(cost.width, cost.height, QImage::Format_RGB32);
    runtime::qt::PictureBook pictures;
    std::vector<double> times;
    for (int i = -20; i < frames; ++i) { // the first frames load the pictures
        QElapsedTimer t;
        t.start();
        QPainter painter(&image);
        runtime::qt::paintScene(painter, scene, client, QRectF(0, 0, cost.width, cost.height), pictures);
        painter.end();
        if (i >= 0)
            times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    cost.medianMs = percentile(times, 50);
    cost.p99Ms = percentile(times, 99);
    return cost;
}

} // namespace

void frameFigure(QJsonObject& results)
{
    runtime::Scene scene;
    fullPlayfield(scene);
    const FrameCost frames[] = {frameCost(scene, 1, 1000), frameCost(scene, 2, 1000)};
    std::printf(
        "3. Frame cost, the full playfield (%zu pictures, %zu banners), 1000 frames (anchor 16.7 ms)\n",
        scene.pictures.size(), scene.labels.size());
    for (int s = 0; s < 2; ++s)
        std::printf("  scale %d, %4dx%-4d  median %.3f ms  p99 %.3f ms\n", s + 1, frames[s].width,
                    frames[s].height, frames[s].medianMs, frames[s].p99Ms);

    QJsonArray json;
    for (const FrameCost& f : frames)
        json.append(QJsonObject{
            {"width", f.width}, {"height", f.height}, {"median_ms", f.medianMs}, {"p99_ms", f.p99Ms}});
    results.insert("frame_cost", json);
}

} // namespace bench
