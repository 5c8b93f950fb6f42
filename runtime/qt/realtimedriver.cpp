// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/realtimedriver.h"

#include <utility>

namespace runtime::qt {

RealTimeDriver::RealTimeDriver(Clock& clock, std::function<void()> wake, QObject* parent)
    : QObject(parent),
      pacer_(clock),
      wake_(std::move(wake))
{
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RealTimeDriver::wake);
}

void RealTimeDriver::start()
{
    pacer_.start(wallMs_());
    schedule();
}

void RealTimeDriver::stop()
{
    pacer_.stop();
    timer_.stop();
}

void RealTimeDriver::wake()
{
    wake_();
    schedule();
}

void RealTimeDriver::frameReady()
{
    switch (pacer_.frameReady(wallMs_())) {
    case Pacer::Ready::wakeNow:
        timer_.stop();
        wake();
        break;
    case Pacer::Ready::reschedule:
        schedule();
        break;
    case Pacer::Ready::nothing:
        break;
    }
}

void RealTimeDriver::schedule()
{
    if (!pacer_.running() || pacer_.paused())
        return;
    if (const auto wait = pacer_.schedule(wallMs_()))
        timer_.start(static_cast<int>(*wait));
    else
        timer_.stop();
}

void RealTimeDriver::pause()
{
    if (pacer_.pause(wallMs_()))
        timer_.stop();
}

void RealTimeDriver::resume()
{
    if (pacer_.resume(wallMs_()))
        schedule();
}

} // namespace runtime::qt
