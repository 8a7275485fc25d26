#pragma once
// A practitioner in the program: follows the instrument's lamps through an automatic
// measuring run (touch the point shown, hold, lift when the point is done, next) and through
// a calibration (touch the reference, lift at the end), so demos and tests need no person.

#include "core/app/clock.h"
#include "core/device/simulatedinstrument.h"

#include <QObject>
#include <array>
#include <functional>

namespace tork {

class VirtualOperator : public QObject {
    Q_OBJECT
public:
    // The measuring positions' ME numbers, in the order the run visits them.
    using PointOrder = std::array<int, 24>;

    VirtualOperator(SimulatedInstrument& instrument, Clock& clock, const PointOrder& order, QObject* parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    void setPointOrder(const PointOrder& order) { order_ = order; }
    // When set, the point to touch is taken from the window that shows it.
    void setShownPoint(std::function<int()> shownPoint) { shownPoint_ = std::move(shownPoint); }
    void setDelays(int touchMs, int liftMs);
    // The position (1..24) the operator will touch next.
    int position() const { return position_; }

signals:
    void acted(const QString& what);

private:
    enum class Phase { Idle, WaitingForContact, Sampling, Done, Other };
    void observe(const QString& command);
    void enter(Phase phase);
    int pointToTouch() const;

    SimulatedInstrument& instrument_;
    Clock& clock_;
    PointOrder order_;
    std::function<int()> shownPoint_;
    bool enabled_ = false;
    bool calibrating_ = false;
    bool sampled_ = false;  // a point or phase was sampled since the last touch
    int position_ = 1;
    int fLamp_ = 0;
    int cLamp_ = 0;
    Phase phase_ = Phase::Idle;
    int touchDelayMs_ = 600;
    int liftDelayMs_ = 400;
    quint64 generation_ = 0;  // a scheduled act is dropped when the phase moved on meanwhile
};

}  // namespace tork
