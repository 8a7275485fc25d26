#include "core/device/virtualoperator.h"

namespace tork {

VirtualOperator::VirtualOperator(SimulatedInstrument& instrument, Clock& clock, const PointOrder& order, QObject* parent)
    : QObject(parent), instrument_(instrument), clock_(clock), order_(order)
{
    connect(&instrument_, &SimulatedInstrument::commandReceived, this, &VirtualOperator::observe);
}

void VirtualOperator::setEnabled(bool enabled)
{
    enabled_ = enabled;
    ++generation_;
    if (!enabled_) phase_ = Phase::Idle;
}

void VirtualOperator::setDelays(int touchMs, int liftMs)
{
    touchDelayMs_ = touchMs;
    liftDelayMs_ = liftMs;
}

int VirtualOperator::pointToTouch() const
{
    if (shownPoint_) {
        const int me = shownPoint_();
        if (me >= 1 && me <= 24) return me;
    }
    return order_[(position_ - 1) % 24];
}

void VirtualOperator::observe(const QString& command)
{
    if (!enabled_ || command.size() != 5) return;
    const QChar letter = command.at(0);
    if (letter == u'X') {
        // Start or end of a sequence: hands off, back to the first point.
        calibrating_ = false;
        position_ = 1;
        fLamp_ = cLamp_ = 0;
        sampled_ = false;
        ++generation_;
        phase_ = Phase::Idle;
        if (instrument_.contact() != ProbeContact::InAir) instrument_.lift();
        return;
    }
    if (letter == u'N') calibrating_ = true;
    if (letter != u'F' && letter != u'C') return;
    const int level = command.mid(3, 2).toInt(nullptr, 16);
    (letter == u'F' ? fLamp_ : cLamp_) = level;
    // The lamp pairs the run and the calibration show: F half and C off while waiting for
    // contact; F off and C half while sampling; F or C full when a point or phase is done.
    if (fLamp_ == 0x7F && cLamp_ == 0) enter(Phase::WaitingForContact);
    else if (fLamp_ == 0 && cLamp_ == 0x7F) enter(Phase::Sampling);
    else if ((fLamp_ == 0xFF && cLamp_ != 0x7F) || (cLamp_ == 0xFF && fLamp_ != 0x7F)) enter(Phase::Done);
    else enter(Phase::Other);
}

void VirtualOperator::enter(Phase phase)
{
    if (phase == phase_) return;
    phase_ = phase;
    const quint64 generation = ++generation_;
    if (phase == Phase::WaitingForContact) {
        clock_.callAfter(touchDelayMs_, this, [this, generation] {
            if (generation != generation_ || !enabled_) return;
            if (calibrating_) {
                instrument_.touchReference();
                emit acted(QStringLiteral("touch reference"));
            } else {
                const int me = pointToTouch();
                instrument_.touchPoint(me);
                emit acted(QStringLiteral("touch ME%1").arg(me));
            }
        });
    } else if (phase == Phase::Sampling) {
        sampled_ = true;
    } else if (phase == Phase::Done && sampled_) {
        sampled_ = false;
        if (!calibrating_) position_ = position_ % 24 + 1;
        clock_.callAfter(liftDelayMs_, this, [this, generation] {
            if (generation != generation_ || !enabled_) return;
            instrument_.lift();
            emit acted(QStringLiteral("lift"));
        });
    }
}

}  // namespace tork
