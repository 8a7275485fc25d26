#pragma once
// An instrument in the program itself: it answers every command of the link as the real
// one does, reads its currents from a virtual patient, keeps its registers, and records the
// lamps, tones and commands it received so tests and the simulator panel can read them.
// Its replies arrive through the clock, so in virtual time they cost no wall time.

#include "core/app/clock.h"
#include "core/device/patientprofile.h"
#include "core/device/protocol.h"
#include "core/device/transport.h"

#include <QMap>
#include <QStringList>
#include <array>
#include <random>

namespace tork {

enum class InstrumentKind {
    RegisterCalibration,  // holds its own full-scale counts and takes "G00" gains
    SoftwareCalibration,  // the program keeps the full-scale counts in its settings
};

enum class ProbeContact { InAir, OnPoint, OnReference };

class SimulatedInstrument final : public Transport {
    Q_OBJECT
public:
    static constexpr int kReportLength = 9;       // report ID and 8 bytes, as the real instrument
    static constexpr int kDefaultFullScale = 4000;
    static constexpr int kDefaultLatencyMs = 2;
    static constexpr char kSoftwareCalibrationVersion[] = "TORK6-20040512-A01";

    explicit SimulatedInstrument(Clock& clock, InstrumentKind kind = InstrumentKind::RegisterCalibration,
                                 QObject* parent = nullptr);

    // Transport
    bool isPresent() override { return plugged_; }
    bool open() override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int outputReportLength() const override { return kReportLength; }
    QString indexedString(int index) override;
    bool writeReport(const QByteArray& report) override;
    void flushInput() override { ++epoch_; }

    // Cable
    void plug();
    void unplug();
    bool isPlugged() const { return plugged_; }

    // How it answers
    void setLatency(int ms) { latencyMs_ = ms; }
    int latency() const { return latencyMs_; }
    void setRefusalRate(double rate) { refusalRate_ = rate; }
    double refusalRate() const { return refusalRate_; }
    void refuseNext(int count) { refuseNext_ = count; }
    void stayMuteNext(int count) { muteNext_ = count; }
    void failWritesNext(int count) { failWritesNext_ = count; }
    // Replies sent as they are, for malformed answers; each one answers one command.
    void answerNextWith(const QList<QByteArray>& replies) { scripted_ = replies; }
    void setProbeFault(bool fault);
    bool probeFault() const { return probeFault_; }
    void setSeed(quint32 seed) { random_.seed(seed); }

    // What it is
    InstrumentKind kind() const { return kind_; }
    void setKind(InstrumentKind kind);
    void setHardwareVersion(const QString& version) { hardwareVersion_ = version; }
    QString hardwareVersion() const { return hardwareVersion_; }
    // What a reference current of 200 uA reads at a correct gain; in register-calibration
    // instruments also the count the registers report.
    void setFullScaleCounts(int normal, int high);
    int fullScaleCount(bool high) const { return fullScale_[high ? 1 : 0]; }
    // The gain at which the instrument reads true; the stored gain starts there.
    void setTrueGains(int normal, int high);
    int registerValue(int address) const { return registers_.at(address & 0xFF); }
    void setRegisterValue(int address, int value) { registers_.at(address & 0xFF) = value & 0xFF; }

    // The virtual patient and the probe
    void setProfile(const PatientProfile& profile) { profile_ = profile; }
    const PatientProfile& profile() const { return profile_; }
    void touchPoint(int me);
    void touchReference();
    void lift();
    ProbeContact contact() const { return contact_; }
    int touchedPoint() const { return touchedPoint_; }
    // The count a reading would show now, without noise (for tests and the panel).
    int expectedReading() const;

    // What it was told
    const QStringList& commands() const { return commands_; }
    QStringList tones() const { return tones_; }
    void clearRecords();
    int lampLevel(QChar lamp) const { return lamps_.value(lamp, 0); }
    bool highPotential() const { return highPotential_; }
    int channel() const { return channel_; }
    bool electrodePath() const { return electrodePath_; }
    int gain(bool high) const;

signals:
    void commandReceived(const QString& command);
    void changed();

private:
    QString answer(const QString& command);
    int reading();
    double gaussian(double sd);
    int gainRegister(bool high) const;
    void restLamps();

    Clock& clock_;
    InstrumentKind kind_;
    QString hardwareVersion_;
    bool plugged_ = true;
    bool open_ = false;
    int latencyMs_ = kDefaultLatencyMs;
    double refusalRate_ = 0;
    int refuseNext_ = 0;
    int muteNext_ = 0;
    int failWritesNext_ = 0;
    QList<QByteArray> scripted_;
    bool probeFault_ = false;
    quint64 epoch_ = 0;
    std::mt19937 random_{20051706};

    std::array<int, 256> registers_{};
    std::array<int, 2> fullScale_{kDefaultFullScale, kDefaultFullScale};
    std::array<int, 2> trueGain_{};

    PatientProfile profile_;
    ProbeContact contact_ = ProbeContact::InAir;
    int touchedPoint_ = 0;
    std::uint32_t touchTick_ = 0;

    QStringList commands_;
    QStringList tones_;
    QMap<QChar, int> lamps_;
    bool highPotential_ = false;
    int channel_ = 1;
    bool electrodePath_ = false;
};

}  // namespace tork
