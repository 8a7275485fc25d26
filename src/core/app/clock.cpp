#include "core/app/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace tork {

SystemClock::SystemClock(QObject* parent) : Clock(parent), monotonic_(new QElapsedTimer)
{
    monotonic_->start();
}

SystemClock::~SystemClock() { delete monotonic_; }

std::uint32_t SystemClock::tick() const
{
    // Milliseconds on the monotonic clock, truncated: the tick wraps like any 32-bit counter.
    return static_cast<std::uint32_t>(monotonic_->msecsSinceReference() + monotonic_->elapsed());
}

bool SystemClock::waitFor(int ms, const std::function<bool()>& done)
{
    const std::uint32_t start = tick();
    while (!done()) {
        const std::uint32_t elapsed = elapsedSince(start);
        if (elapsed >= static_cast<std::uint32_t>(std::max(ms, 0))) return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &Clock::woken, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(static_cast<std::uint32_t>(ms) - elapsed));
        loop.exec();
    }
    return true;
}

void SystemClock::processEvents() { QCoreApplication::processEvents(); }

void SystemClock::callAfter(int ms, QObject* context, std::function<void()> action)
{
    if (context)
        QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, context, std::move(action));
    else
        QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, std::move(action));
}

VirtualClock::VirtualClock(std::uint32_t start, QObject* parent) : Clock(parent), now_(start) {}

void VirtualClock::callAfter(int ms, QObject* context, std::function<void()> action)
{
    const std::uint64_t at = total_ + static_cast<std::uint64_t>(std::max(ms, 0));
    schedule_.emplace(std::make_pair(at, sequence_++), Scheduled{context, context != nullptr, std::move(action)});
}

void VirtualClock::runDue()
{
    while (!schedule_.empty() && schedule_.begin()->first.first <= total_) {
        Scheduled item = std::move(schedule_.begin()->second);
        schedule_.erase(schedule_.begin());
        if (item.hasContext && !item.context) continue;
        item.action();
    }
}

void VirtualClock::processEvents()
{
    runDue();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void VirtualClock::moveTo(std::uint64_t at)
{
    if (at <= total_) return;
    now_ += static_cast<std::uint32_t>(at - total_);
    total_ = at;
}

void VirtualClock::advance(int ms)
{
    const std::uint64_t end = total_ + static_cast<std::uint64_t>(std::max(ms, 0));
    for (;;) {
        processEvents();
        if (schedule_.empty() || schedule_.begin()->first.first > end) break;
        moveTo(schedule_.begin()->first.first);
    }
    moveTo(end);
    processEvents();
}

bool VirtualClock::waitFor(int ms, const std::function<bool()>& done)
{
    const std::uint64_t deadline = total_ + static_cast<std::uint64_t>(std::max(ms, 0));
    for (;;) {
        processEvents();
        if (done()) return true;
        if (total_ >= deadline) return false;
        std::uint64_t next = deadline;
        if (!schedule_.empty()) next = std::min(next, schedule_.begin()->first.first);
        // Never stand still: a wait that found nothing due moves time on by at least 1 ms,
        // as the real tick would have while the events were processed.
        moveTo(std::max(next, total_ + 1));
    }
}

}  // namespace tork
