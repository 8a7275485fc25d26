#pragma once
// The one clock and event pump every wait of the program goes through. The program runs on
// the monotonic millisecond tick and sleeps in the Qt event loop; tests run on a virtual
// clock that jumps straight to the next thing that can happen, so long sequences of
// instrument exchanges finish in milliseconds and repeat exactly.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <map>

class QElapsedTimer;

namespace tork {

// Milliseconds from `start` to `now` on a 32-bit tick that wraps around after about 49 days.
inline std::uint32_t ticksBetween(std::uint32_t start, std::uint32_t now) { return now - start; }

class Clock : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Milliseconds on a monotonic counter that wraps at 2^32.
    virtual std::uint32_t tick() const = 0;
    std::uint32_t elapsedSince(std::uint32_t start) const { return ticksBetween(start, tick()); }

    // Waits until `done` holds or `ms` milliseconds have passed, processing pending events
    // all the while; returns whether `done` holds. Whatever makes `done` true calls wake().
    virtual bool waitFor(int ms, const std::function<bool()>& done) = 0;
    // Sleeps `ms` milliseconds while processing pending events.
    void sleep(int ms) { waitFor(ms, [] { return false; }); }
    // Processes the events pending now, without waiting.
    virtual void processEvents() = 0;
    // Runs `action` after `ms` milliseconds, unless `context` has been deleted by then.
    virtual void callAfter(int ms, QObject* context, std::function<void()> action) = 0;

    // Tells waiting callers that their condition may have changed.
    void wake() { emit woken(); }

signals:
    void woken();
};

// The program's clock: the monotonic tick and the Qt event loop. A wait sleeps in a
// QEventLoop until its timer runs out or wake() is called; it never spins.
class SystemClock final : public Clock {
    Q_OBJECT
public:
    explicit SystemClock(QObject* parent = nullptr);
    ~SystemClock() override;
    std::uint32_t tick() const override;
    bool waitFor(int ms, const std::function<bool()>& done) override;
    void processEvents() override;
    void callAfter(int ms, QObject* context, std::function<void()> action) override;

private:
    QElapsedTimer* monotonic_;
};

// Virtual time for tests: time stands still while events are processed and jumps to the
// next scheduled action (or the end of the wait) when nothing else can happen.
class VirtualClock final : public Clock {
    Q_OBJECT
public:
    explicit VirtualClock(std::uint32_t start = 0, QObject* parent = nullptr);
    std::uint32_t tick() const override { return now_; }
    bool waitFor(int ms, const std::function<bool()>& done) override;
    void processEvents() override;
    void callAfter(int ms, QObject* context, std::function<void()> action) override;
    // Moves time on by `ms`, running what falls due on the way.
    void advance(int ms);
    // Total virtual time that has passed since the clock was made.
    std::uint64_t elapsedTotal() const { return total_; }

private:
    struct Scheduled {
        QPointer<QObject> context;
        bool hasContext;
        std::function<void()> action;
    };
    void runDue();
    void moveTo(std::uint64_t at);

    std::uint32_t now_;
    std::uint64_t total_ = 0;  // virtual time as a non-wrapping count, the key of the schedule
    std::uint64_t sequence_ = 0;
    std::multimap<std::pair<std::uint64_t, std::uint64_t>, Scheduled> schedule_;
};

}  // namespace tork
