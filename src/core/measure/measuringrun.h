#pragma once
// The guided measuring run over the 24 measuring positions: contact detection, the 2.5 s
// sampling window with its countdown, the stability grading, the completion of a point and
// the lift-off or pause before the next. Free of widgets: the measurement window observes
// it through its signals and acts on it through its request functions, which take effect
// at the run's next turn (the run's loops process pending events between readings).

#include "core/app/clock.h"
#include "core/app/programstate.h"
#include "core/measure/currentmeasurement.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace tork {

class DeviceLink;

namespace MeasureTiming {
constexpr int kWindowMs = 2500;       // settling and averaging together
constexpr int kAveragingMs = 500;     // the last part of the window, averaged into the value
constexpr int kTickMs = 625;          // one step of the countdown
constexpr int kBaselineMs = 300;      // the graph's baseline is taken in this first part
constexpr int kBaselineDirectMs = 200;  // readings up to here replace the baseline outright
constexpr int kLiftOffMs = 5000;      // automatic mode: time the operator has to lift the probe
constexpr int kPauseMs = 1500;        // manual mode: pause between points
constexpr int kCountdownStepMs = 100; // how often a waiting countdown is shown
}  // namespace MeasureTiming

// Sound effect choice of settings line 19.
namespace MeasureSound {
enum : int { Mute = 0, Standard = 1, Single = 2 };
}

enum class Stability { Green, Yellow, Red };

// Standard deviation below or at 20 counts is steady, up to 40 unsteady, above unusable.
Stability stabilityOf(double sd);
// Gain g: instrument counts per microampere, the full-scale count standing for 200 uA.
double gainOf(int fullScaleCount);
// Contact threshold in counts: sensitivity (uA) times the gain.
double contactThreshold(double sensitivity, int fullScaleCount);
// The channel command of the automatic mode: code 1 "K0002", 2 "K0003", 3 "K0004", 4 "K0005", else "K0001".
QString channelCommand(int channelCode);
// The companion command of a channel: "I0000" with CPDM (code 0), "I00FF" with the others.
QString channelCompanionCommand(int channelCode);
// The instrument's lamps at the end of a point: F and C levels for its final stability.
QStringList completionLampCommands(Stability stability);

// The last 20 readings and their population standard deviation.
class StabilityRing {
public:
    static constexpr int kSize = 20;
    void fill(double reading);
    void put(double reading);
    double standardDeviation() const;

private:
    std::array<double, kSize> values_{};
    int next_ = 0;
};

enum class RunPhase { Idle, WaitingForContact, Sampling, Completed, LiftOff, Pause };

// One reading of the sampling window as the window shows it.
struct SampleView {
    int reading = 0;
    double microamps = 0;        // reading / g
    double compensated = 0;      // microamps times the factor of the current position's meridian
    int elapsedMs = 0;           // since the window began
    int remainingMs = 0;         // of the 2500 ms window
    int timePercent = 0;         // elapsed / 25, at most 100
    double baseline = 0;         // the graph's zero, in counts
    double gain = 0;
    double standardDeviation = 0;
    double qualityShown = 0;     // 100 - sd, 0 when that is not above 0
    Stability stability = Stability::Green;
    int samplingCount = 0;       // readings taken into the averaging window
};

class MeasuringRun : public QObject {
    Q_OBJECT
public:
    MeasuringRun(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock,
                 QObject* parent = nullptr);

    // The date-time of a completed point, as a day count; the system clock unless a test sets it.
    void setDayCountSource(std::function<double()> now) { dayCountNow_ = std::move(now); }

    // The whole run, from the off-line check to the end of the run; returns when idle again.
    void start();
    // Requests the end of the run at its next check.
    void requestStop();
    // Manual mode: starts sampling the current point.
    void requestManualStart();
    // A table click: makes the position current while a point is open for it (from the start
    // of a point until its value is stored). Returns whether it was taken.
    bool selectPosition(int position);

    // Menu changes. Each writes its settings line; during a run the instrument follows.
    void setSensitivity(double sensitivity);
    void setAutomatic(bool automatic);
    void setChannel(int channelCode);
    void setSound(int sound);
    void setHighPotential(bool high);

    bool isRunning() const { return running_; }
    RunPhase phase() const { return phase_; }
    int currentPosition() const { return position_; }
    int currentPoint() const;  // ME number of the current position, 0 when idle
    bool tableClicksAllowed() const { return clicksAllowed_; }
    bool manualStartEnabled() const { return manualStartEnabled_; }
    bool isAutomatic() const;
    int channel() const;
    int sound() const;
    double sensitivity() const;
    // Full-scale count of a potential: from the instrument's registers when it keeps them,
    // else from the settings.
    int fullScaleCount(bool high) const;
    double gain() const { return gain_; }
    double threshold() const { return threshold_; }

    static QString offlineText();
    static QString clearFirstQuestion();
    static QString highPotentialQuestion();
    static QString timeOutQuestion();

signals:
    void runStarted();
    void runFinished();
    // Step 4 of the run cleared a recalled measurement.
    void measurementCleared();
    void phaseChanged(RunPhase phase);
    // The current position changed (start of a point or a table click): show its guide.
    void pointShown(int position);
    // A point opens: displays back to their resting values, waiting for contact.
    void pointOpened(int position);
    // The latest reading while waiting for contact.
    void contactReading(int reading, double microamps, double compensated);
    void samplingStarted(int position, double baseline);
    void sampled(const SampleView& sample);
    void contactLost(int position);
    // Value, compensated value and quality are stored at `me`.
    void pointCompleted(int position, int me, Stability stability);
    // Lift-off wait or manual pause: what remains of it, in milliseconds.
    void countdown(int remainingMs);
    void pauseFinished();
    void statusChanged(const QString& text);
    void tableClicksAllowedChanged(bool allowed);
    void manualStartEnabledChanged(bool enabled);
    // Settings lines or the potential changed through this run's setters.
    void settingsChanged();

private:
    enum class PointEnd { Completed, Restart, Stop };
    void runPositions();
    PointEnd measurePoint();
    bool waitForContact(double* contact);
    PointEnd sample(double contact, double* mean, double* sd, Stability* stability);
    void complete(double mean, double sd, Stability stability);
    void waitForLiftOff();
    void pauseAfterPoint();
    void clearMeasurement();
    void finishRun();

    int read();
    // False once the instrument has gone: the run then ends.
    bool instrumentPresent();
    void setPhase(RunPhase phase);
    void setClicksAllowed(bool allowed);
    void setManualStartEnabled(bool enabled);
    void updateThreshold();
    void send(const QString& command);
    void playSound(int n);
    void setStatus(const QString& automaticText, const QString& manualText);

    ProgramState& state_;
    CurrentMeasurement& measurement_;
    DeviceLink& link_;
    Clock& clock_;
    std::function<double()> dayCountNow_;

    bool running_ = false;
    bool stopRequested_ = false;
    bool manualStartRequested_ = false;
    bool instrumentLost_ = false;
    bool clicksAllowed_ = false;
    bool manualStartEnabled_ = false;
    RunPhase phase_ = RunPhase::Idle;
    int position_ = 0;
    double gain_ = 0;
    double threshold_ = 0;
    int lastReading_ = 0;
};

}  // namespace tork

Q_DECLARE_METATYPE(tork::SampleView)
