#include "core/measure/measuringrun.h"

#include "core/app/displaystrings.h"
#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/device/link.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace tork {

using namespace MeasureTiming;

Stability stabilityOf(double sd)
{
    if (sd <= 20) return Stability::Green;
    if (sd <= 40) return Stability::Yellow;
    return Stability::Red;
}

double gainOf(int fullScaleCount) { return fullScaleCount / 200.0; }

double contactThreshold(double sensitivity, int fullScaleCount) { return sensitivity * gainOf(fullScaleCount); }

QString channelCommand(int channelCode)
{
    switch (channelCode) {
    case 1: return QStringLiteral("K0002");
    case 2: return QStringLiteral("K0003");
    case 3: return QStringLiteral("K0004");
    case 4: return QStringLiteral("K0005");
    default: return QStringLiteral("K0001");
    }
}

QString channelCompanionCommand(int channelCode)
{
    return channelCode == 0 ? QStringLiteral("I0000") : QStringLiteral("I00FF");
}

QStringList completionLampCommands(Stability stability)
{
    switch (stability) {
    case Stability::Green: return {QStringLiteral("F00FF"), QStringLiteral("C0000")};
    case Stability::Yellow: return {QStringLiteral("F00FF"), QStringLiteral("C00FF")};
    case Stability::Red: break;
    }
    return {QStringLiteral("F0000"), QStringLiteral("C00FF")};
}

void StabilityRing::fill(double reading)
{
    values_.fill(reading);
    next_ = 0;
}

void StabilityRing::put(double reading)
{
    values_[next_] = reading;
    next_ = (next_ + 1) % kSize;
}

double StabilityRing::standardDeviation() const
{
    double sum = 0, squares = 0;
    for (double v : values_) {
        sum += v;
        squares += v * v;
    }
    const double mean = sum / kSize;
    // Mean of squares minus the squared mean; rounding can take a steady ring a hair below 0.
    return std::sqrt(std::max(0.0, squares / kSize - mean * mean));
}

MeasuringRun::MeasuringRun(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock,
                           QObject* parent)
    : QObject(parent), state_(state), measurement_(measurement), link_(link), clock_(clock),
      dayCountNow_([] { return toDayCount(QDateTime::currentDateTime()); })
{
    qRegisterMetaType<SampleView>();
    updateThreshold();
}

QString MeasuringRun::offlineText()
{
    return displayString(DisplayString::ShortName) + QStringLiteral(" is off-line! Please reconnect the device.");
}

QString MeasuringRun::clearFirstQuestion() { return QStringLiteral("Do you want to clear the values first?"); }

QString MeasuringRun::highPotentialQuestion()
{
    return QStringLiteral("You have selected High Potential Measurement. Please confirm!");
}

QString MeasuringRun::timeOutQuestion() { return QStringLiteral("Time out! Do you wish to continue measurements?"); }

bool MeasuringRun::isAutomatic() const { return state_.settings.intValue(SettingLine::MeasuringMethod) != 0; }
int MeasuringRun::channel() const { return state_.settings.intValue(SettingLine::MeasuringChannel); }
int MeasuringRun::sound() const { return state_.settings.intValue(SettingLine::MeasureSound); }
double MeasuringRun::sensitivity() const { return state_.settings.realValue(SettingLine::Sensitivity); }

int MeasuringRun::currentPoint() const
{
    return position_ >= 1 && position_ <= kPointCount ? state_.tables.positionPoint(position_) : 0;
}

int MeasuringRun::fullScaleCount(bool high) const
{
    if (link_.registerCalibration()) return high ? link_.fullScaleHigh() : link_.fullScaleNormal();
    return state_.settings.intValue(high ? SettingLine::FullScaleHigh : SettingLine::FullScaleNormal);
}

void MeasuringRun::updateThreshold()
{
    const int fullScale = fullScaleCount(state_.highPotential);
    if (!running_) gain_ = gainOf(fullScale);
    threshold_ = contactThreshold(sensitivity(), fullScale);
}

void MeasuringRun::send(const QString& command) { link_.sendCommand(command); }

void MeasuringRun::playSound(int n) { link_.playSound(n); }

int MeasuringRun::read()
{
    lastReading_ = link_.readCurrent();
    return lastReading_;
}

bool MeasuringRun::instrumentPresent()
{
    if (!link_.isClaimed()) instrumentLost_ = true;
    return !instrumentLost_;
}

void MeasuringRun::setPhase(RunPhase phase)
{
    if (phase_ == phase) return;
    phase_ = phase;
    emit phaseChanged(phase);
}

void MeasuringRun::setClicksAllowed(bool allowed)
{
    if (clicksAllowed_ == allowed) return;
    clicksAllowed_ = allowed;
    emit tableClicksAllowedChanged(allowed);
}

void MeasuringRun::setManualStartEnabled(bool enabled)
{
    if (manualStartEnabled_ == enabled) return;
    manualStartEnabled_ = enabled;
    emit manualStartEnabledChanged(enabled);
}

void MeasuringRun::setStatus(const QString& automaticText, const QString& manualText)
{
    emit statusChanged(isAutomatic() ? automaticText : manualText);
}

void MeasuringRun::requestStop()
{
    stopRequested_ = true;
    clock_.wake();
}

void MeasuringRun::requestManualStart()
{
    if (!running_ || !manualStartEnabled_) return;
    manualStartRequested_ = true;
    clock_.wake();
}

bool MeasuringRun::selectPosition(int position)
{
    if (!running_ || !clicksAllowed_ || position < 1 || position > kPointCount) return false;
    position_ = position;
    emit pointShown(position_);
    return true;
}

void MeasuringRun::setSensitivity(double sensitivity)
{
    state_.settings.setReal(SettingLine::Sensitivity, sensitivity);
    updateThreshold();
    emit settingsChanged();
}

void MeasuringRun::setAutomatic(bool automatic)
{
    state_.settings.setInt(SettingLine::MeasuringMethod, automatic ? 1 : 0);
    if (running_) {
        if (automatic) {
            setManualStartEnabled(false);
            send(channelCommand(channel()));
        } else {
            send(QStringLiteral("K0000"));
            setManualStartEnabled(true);
        }
    }
    emit settingsChanged();
}

void MeasuringRun::setChannel(int channelCode)
{
    state_.settings.setInt(SettingLine::MeasuringChannel, channelCode);
    updateThreshold();
    if (running_) {
        if (isAutomatic()) send(channelCommand(channelCode));
        send(channelCompanionCommand(channelCode));
    }
    emit settingsChanged();
}

void MeasuringRun::setSound(int sound)
{
    state_.settings.setInt(SettingLine::MeasureSound, sound);
    emit settingsChanged();
}

void MeasuringRun::setHighPotential(bool high)
{
    if (running_) return;
    state_.highPotential = high;
    updateThreshold();
    emit settingsChanged();
}

void MeasuringRun::clearMeasurement()
{
    state_.currentMeasurementKey = 0;
    state_.analysedPointsCounter = 0;
    state_.measurementMemo.clear();
    state_.chartChoices.fill(1);
    state_.measurementDateTime = 0;
    measurement_.clear();
}

void MeasuringRun::start()
{
    if (running_) return;
    if (!link_.isOnline()) {
        showMessage(MessageKind::ImportantNotice, offlineText());
        return;
    }
    // The window is always 2000 + 500 ms.
    state_.settings.setInt(SettingLine::CustomTiming, 0);

    if (state_.currentMeasurementKey > 0) {
        playSound(1);
        if (showMessage(MessageKind::InformationQuestion, clearFirstQuestion())) {
            clearMeasurement();
            emit measurementCleared();
        }
    }
    if (state_.highPotential) {
        playSound(2);
        if (!showMessage(MessageKind::ImportantQuestion, highPotentialQuestion())) return;
    }

    running_ = true;
    instrumentLost_ = false;
    manualStartRequested_ = false;
    if (!isAutomatic()) setManualStartEnabled(true);
    position_ = 1;
    emit runStarted();

    send(QStringLiteral("X0000"));
    const bool high = state_.highPotential;
    send(high ? QStringLiteral("H0000") : QStringLiteral("L0000"));
    gain_ = gainOf(fullScaleCount(high));
    threshold_ = sensitivity() * gain_;
    send(channelCompanionCommand(channel()));
    send(isAutomatic() ? channelCommand(channel()) : QStringLiteral("K0000"));

    stopRequested_ = false;
    runPositions();
    finishRun();
}

void MeasuringRun::runPositions()
{
    while (!stopRequested_ && position_ <= kPointCount) {
        if (measurePoint() == PointEnd::Stop) break;
        ++position_;  // from wherever a table click left the run
    }
}

MeasuringRun::PointEnd MeasuringRun::measurePoint()
{
    for (;;) {
        threshold_ = sensitivity() * gain_;
        emit pointShown(position_);
        setClicksAllowed(true);
        setStatus(QStringLiteral("Begin measurement with the measurement point shown in the graph. Or choose your own starting point."),
                  QStringLiteral("Press [Start] to measurement."));
        setPhase(RunPhase::WaitingForContact);
        emit pointOpened(position_);
        send(QStringLiteral("F007F"));
        send(QStringLiteral("C0000"));

        double contact = 0;
        if (!waitForContact(&contact)) return PointEnd::Stop;
        if (!stopRequested_ && !isAutomatic()) {
            setManualStartEnabled(false);
            send(channelCommand(channel()));
        }
        send(QStringLiteral("C007F"));
        send(QStringLiteral("F0000"));
        if (stopRequested_) return PointEnd::Stop;
        emit samplingStarted(position_, contact);

        double mean = 0;
        double sd = 0;
        Stability stability = Stability::Green;
        const PointEnd end = sample(contact, &mean, &sd, &stability);
        if (end != PointEnd::Completed) {
            if (end == PointEnd::Stop) return end;
            continue;
        }
        complete(mean, sd, stability);
        if (isAutomatic()) waitForLiftOff();
        else pauseAfterPoint();
        return instrumentPresent() ? PointEnd::Completed : PointEnd::Stop;
    }
}

bool MeasuringRun::waitForContact(double* contact)
{
    for (;;) {
        if (!instrumentPresent()) return false;
        if (stopRequested_) break;
        const bool automatic = isAutomatic();
        if (!automatic && manualStartRequested_) break;
        const double g = gain_ > 0 ? gain_ : 1;
        const double factor = state_.tables.compensationFactor(state_.tables.positionMeridian(position_));
        emit contactReading(lastReading_, lastReading_ / g, lastReading_ * factor / g);
        const int r = read();
        if (automatic && r > threshold_) {
            // Two more readings confirm the contact; their mean is the contact reading.
            const double confirmed = (read() + read()) / 2.0;
            if (confirmed > threshold_) {
                *contact = confirmed;
                return true;
            }
        }
    }
    *contact = lastReading_;
    return true;
}

MeasuringRun::PointEnd MeasuringRun::sample(double contact, double* mean, double* sd, Stability* stability)
{
    StabilityRing ring;
    ring.fill(contact);
    double baseline = contact;
    setPhase(RunPhase::Sampling);
    if (sound() == MeasureSound::Single) playSound(13);
    setStatus(QStringLiteral("Keep the probe stable while taking measurements."),
              QStringLiteral("Taking measurements, Please wait.."));

    int ticksLeft = kWindowMs / kTickMs;
    std::int64_t sum = 0;
    int count = 0;
    double deviation = 0;
    const std::uint32_t t0 = clock_.tick();
    for (;;) {
        int r = read();
        if (!instrumentPresent()) return PointEnd::Stop;
        if (isAutomatic() && r <= threshold_) {
            r = read();
            if (r <= threshold_) {
                emit contactLost(position_);
                return PointEnd::Restart;
            }
        }
        const int elapsed = static_cast<int>(clock_.elapsedSince(t0));
        const int remaining = kWindowMs - elapsed;
        if (remaining <= ticksLeft * kTickMs) {
            --ticksLeft;
            if (sound() == MeasureSound::Standard) playSound(4);
            if (ticksLeft < 0) break;
        }
        if (elapsed < kBaselineMs) baseline = elapsed <= kBaselineDirectMs ? r : (r + baseline) / 2;
        if (remaining <= kAveragingMs) {
            sum += r;
            ++count;
        }
        ring.put(r);
        deviation = ring.standardDeviation();

        SampleView view;
        view.reading = r;
        view.gain = gain_;
        view.microamps = r / gain_;
        view.compensated = view.microamps * state_.tables.compensationFactor(state_.tables.positionMeridian(position_));
        view.elapsedMs = elapsed;
        view.remainingMs = remaining;
        view.timePercent = std::min(100, elapsed / 25);
        view.baseline = baseline;
        view.standardDeviation = deviation;
        view.qualityShown = std::max(0.0, 100 - deviation);
        view.stability = stabilityOf(deviation);
        view.samplingCount = count;
        emit sampled(view);
    }
    if (count == 0) {
        // No reading fell into the averaging window (an instrument that answers too slowly):
        // there is no value to store, so the point is measured again.
        emit contactLost(position_);
        return PointEnd::Restart;
    }
    *mean = double(sum) / count;
    *sd = deviation;
    *stability = stabilityOf(deviation);
    return PointEnd::Completed;
}

void MeasuringRun::complete(double mean, double sd, Stability stability)
{
    if (position_ == kPointCount) {
        if (sound() == MeasureSound::Standard) playSound(6);
        if (sound() == MeasureSound::Single) {
            playSound(4);
            playSound(5);
        }
    } else {
        if (sound() == MeasureSound::Standard) playSound(5);
        if (sound() == MeasureSound::Single) playSound(4);
    }
    const int me = state_.tables.positionPoint(position_);
    const double value = mean / gain_;
    measurement_.values[me - 1] = value;
    measurement_.compensated[me - 1] = value * state_.tables.compensationFactor(state_.tables.positionMeridian(position_));
    measurement_.quality[me - 1] = 100 - sd;
    measurement_.hasData = true;

    setStatus(QStringLiteral("Measurement complete. Proceed to the next point."),
              QStringLiteral("Measurement complete. Please wait.."));
    ++state_.analysedPointsCounter;
    state_.measurementDateTime = dayCountNow_();
    setClicksAllowed(false);
    setPhase(RunPhase::Completed);
    emit pointCompleted(position_, me, stability);
    for (const QString& command : completionLampCommands(stability)) send(command);
    state_.chartChoices.fill(1);
}

void MeasuringRun::waitForLiftOff()
{
    setPhase(RunPhase::LiftOff);
    const std::uint32_t start = clock_.tick();
    for (;;) {
        if (stopRequested_ || !instrumentPresent()) return;
        const int elapsed = static_cast<int>(clock_.elapsedSince(start));
        if (elapsed >= kLiftOffMs) break;
        emit countdown(kLiftOffMs - elapsed);
        if (read() < threshold_ && (read() + read()) / 2.0 < threshold_) return;
    }
    if (position_ == kPointCount) return;
    playSound(3);
    emit countdown(0);
    if (!showMessage(MessageKind::ImportantQuestion, timeOutQuestion())) {
        setClicksAllowed(false);
        stopRequested_ = true;
    }
}

void MeasuringRun::pauseAfterPoint()
{
    send(QStringLiteral("K0000"));
    setPhase(RunPhase::Pause);
    const std::uint32_t start = clock_.tick();
    while (!stopRequested_ && instrumentPresent()) {
        const int elapsed = static_cast<int>(clock_.elapsedSince(start));
        if (elapsed >= kPauseMs) break;
        emit countdown(kPauseMs - elapsed);
        clock_.waitFor(std::min(kCountdownStepMs, kPauseMs - elapsed), [this] { return stopRequested_; });
    }
    manualStartRequested_ = false;
    setManualStartEnabled(true);
    emit countdown(0);
    emit pauseFinished();
}

void MeasuringRun::finishRun()
{
    setClicksAllowed(false);
    setManualStartEnabled(false);
    emit statusChanged(QString());
    send(QStringLiteral("X0000"));
    running_ = false;
    position_ = 0;
    setPhase(RunPhase::Idle);
    emit runFinished();
    if (instrumentLost_) showMessage(MessageKind::ImportantNotice, offlineText());
}

}  // namespace tork
