// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "runtime/clock.h"
#include "runtime/pacer.h"

namespace runtime::qt {

// Moves the virtual clock along with the wall clock (runtime/pacer.h) on Qt's timer.
class RealTimeDriver final : public QObject {
    Q_OBJECT
public:
    // At each wake-up the driver calls `wake`, which is to call catchUp() when no procedure of
    // the game is running, and then show what changed.
    RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent = nullptr);

    // Starts following the wall clock from the clock's present moment.
    void start();
    void stop();

    // The pacer's, at the wall clock's present moment (see runtime/pacer.h).
    void catchUp() { pacer_.catchUp(wallMs_()); }
    void keepUp() { pacer_.keepUp(wallMs_()); }
    bool frameComing() const { return pacer_.frameComing(); }
    void shown() { pacer_.shown(wallMs_()); }
    void expectFrame() { pacer_.expectFrame(); }
    std::optional<std::int64_t> plannedWake() const { return pacer_.plannedWake(); }
    bool paused() const { return pacer_.paused(); }
    void setFrameRate(double hertz) { pacer_.setFrameRate(hertz); }

    // Sets the next wake-up from the clock: after anything that may have woken a timer.
    void schedule();
    // The display is ready for the next frame.
    void frameReady();
    // Game time stands still between pause() and resume(), e.g. while a modal box is open;
    // nested pairs are fine.
    void pause();
    void resume();

    // Where the wall-clock milliseconds come from; tests make their own time.
    void setWallClock(std::function<std::int64_t()> milliseconds) { wallMs_ = std::move(milliseconds); }

private:
    void wake();

    Pacer pacer_;
    std::function<void()> wake_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<std::int64_t()> wallMs_ = [this] { return elapsed_.elapsed(); };
};

} // namespace runtime::qt
