// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own floor of showing a game: the frames a game painted, recorded as the bare painting
// they are (each rectangle filled, each picture copied, each banner written, in the region
// repainted) and replayed at the moments the game showed them by a bare widget with no game
// behind it. The keyboard is held in the X server itself, with its own auto-repeat, and handed
// to one window or to none by the X input focus.

#include <algorithm>
#include <cstdio>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include "bench/bench.h"

namespace bench {

namespace {

// A paint device that keeps what is painted on it, as Frame::Paint steps.
class RecordingEngine final : public QPaintEngine {
public:
    explicit RecordingEngine(std::vector<Frame::Paint>& out) : QPaintEngine(AllFeatures), out_(out) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& changed) override
    {
        if (changed.state() & DirtyTransform)
            transform_ = changed.transform();
        if (changed.state() & DirtyBrush)
            brush_ = changed.brush().color();
        if (changed.state() & DirtyPen)
            pen_ = changed.pen().color();
    }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            out_.push_back({Frame::Paint::Fill, transform_, rects[i], brush_, {}, {}, {}});
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            out_.push_back({Frame::Paint::Fill, transform_, QRectF(rects[i]), brush_, {}, {}, {}});
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF&) override
    {
        out_.push_back({Frame::Paint::Picture, transform_, r, {}, pixmap, {}, {}});
    }
    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        out_.push_back(
            {Frame::Paint::Text, transform_, QRectF(at, QSizeF()), pen_, {}, item.text(), item.font()});
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

private:
    std::vector<Frame::Paint>& out_;
    QTransform transform_;
    QColor brush_;
    QColor pen_;
};

class RecordingDevice final : public QPaintDevice {
public:
    RecordingDevice(QSize size, std::vector<Frame::Paint>& out) : size_(size), engine_(out) {}
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 1;
        }
    }

private:
    QSize size_;
    mutable RecordingEngine engine_;
};

xcb_connection_t* x11()
{
    auto* x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x ? x->connection() : nullptr;
}

} // namespace

Recorder::Recorder(runtime::qt::PlayfieldView& view, Painter paint) : view_(view), paint_(std::move(paint))
{
    view_.installEventFilter(this);
}

Recorder::~Recorder()
{
    view_.removeEventFilter(this);
}

void Recorder::start()
{
    taken_ = 0;
    wall_.start();
    on_ = true;
}

Recording Recorder::stop()
{
    on_ = false;
    Recording recording{{}, double(wall_.nsecsElapsed()) / 1e6};
    for (std::size_t i = 0; i < taken_; ++i) {
        Shot& shot = shots_[i];
        Frame frame{shot.atMs, shot.region, {}};
        RecordingDevice device(view_.size(), frame.paints);
        QPainter painter(&device);
        paint_(painter, shot.scene, frame.region);
        painter.end();
        recording.frames.push_back(std::move(frame));
    }
    taken_ = 0;
    return recording;
}

bool Recorder::eventFilter(QObject* watched, QEvent* event)
{
    if (on_ && watched == &view_ && event->type() == QEvent::Paint) {
        if (taken_ == shots_.size())
            shots_.emplace_back();
        Shot& shot = shots_[taken_++];
        shot.atMs = double(wall_.nsecsElapsed()) / 1e6;
        shot.region = static_cast<QPaintEvent*>(event)->region();
        // Most names are those of the same frame of the turn before: copied in place, they
        // cost no count of their shared text.
        const runtime::Scene& shown = view_.scene();
        runtime::Scene::Fill fill(shot.scene);
        for (const runtime::ScenePicture& picture : shown.pictures)
            fill.add(picture);
        for (const runtime::Label& label : shown.labels)
            fill.add(label);
    }
    return QObject::eventFilter(watched, event);
}

FloorWidget::FloorWidget(QSize size)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Gromzaks floor"));
    setFocusPolicy(Qt::StrongFocus);
    resize(size);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FloorWidget::nextFrame);
}

void FloorWidget::play(const Recording& recording, int ms)
{
    recording_ = &recording;
    next_ = 0;
    wall_.start();
    if (!recording.frames.empty())
        timer_.start(std::max(0, int(recording.frames.front().atMs + 0.5)));
    runEventsFor(ms);
    timer_.stop();
    recording_ = nullptr;
    shown_ = nullptr;
}

void FloorWidget::nextFrame()
{
    const std::vector<Frame>& frames = recording_->frames;
    shown_ = &frames[next_];
    repaint(shown_->region);
    if (++next_ < frames.size())
        timer_.start(std::max(0, int(frames[next_].atMs - double(wall_.nsecsElapsed()) / 1e6 + 0.5)));
}

void FloorWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!recording_ || !shown_) { // shown or uncovered between two plays
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    const QTransform* transform = nullptr;
    for (const Frame::Paint& paint : shown_->paints) {
        if (!transform || *transform != paint.transform) {
            transform = &paint.transform;
            painter.setTransform(*transform);
        }
        switch (paint.kind) {
        case Frame::Paint::Fill: painter.fillRect(paint.rect, paint.color); break;
        case Frame::Paint::Picture: painter.drawPixmap(paint.rect.topLeft(), paint.pixmap); break;
        case Frame::Paint::Text:
            painter.setFont(paint.font);
            painter.setPen(paint.color);
            painter.drawText(paint.rect.topLeft(), paint.text);
            break;
        }
    }
}

void focusKeyboardOn(const QWidget* window)
{
    if (xcb_connection_t* x = x11()) {
        xcb_set_input_focus(x, XCB_INPUT_FOCUS_NONE, window ? xcb_window_t(window->winId()) : XCB_NONE,
                            XCB_CURRENT_TIME);
        xcb_flush(x);
    }
}

HeldKey::HeldKey(const char* key) : key_(key)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return;
    held_ =
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QString::fromLatin1(key_)})
        == 0;
}

HeldKey::~HeldKey()
{
    if (held_)
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QString::fromLatin1(key_)});
}

} // namespace bench
