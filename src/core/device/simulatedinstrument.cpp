#include "core/device/simulatedinstrument.h"

#include <algorithm>
#include <cmath>

namespace tork {
namespace {

// Skin draws more current at the high measuring potential; the reference contact does not.
constexpr double kHighPotentialSkinFactor = 1.2;
// One step of the gain moves a full-scale reading by about six counts.
constexpr double kGainStepFactor = 0.0015;
constexpr double kAirNoiseCounts = 1.5;
constexpr double kReferenceNoiseCounts = 1.5;
constexpr int kDefaultTrueGainNormal = 29;
constexpr int kDefaultTrueGainHigh = 30;

}  // namespace

SimulatedInstrument::SimulatedInstrument(Clock& clock, InstrumentKind kind, QObject* parent)
    : Transport(parent), clock_(clock), kind_(kind), profile_(PatientProfile::even(60, QStringLiteral("Even")))
{
    profile_.noiseCounts = 4;
    setKind(kind);
    // A serial number, a used instrument's counter, and calibration bytes at their defaults.
    const int serial[6] = {0x20, 0x05, 0x17, 0x06, 0x00, 0x42};
    for (int i = 0; i < 6; ++i) registers_[Register::Serial0 + i] = serial[i];
    registers_[Register::CounterHigh] = 0x00;
    registers_[Register::CounterHigh + 1] = 0x04;
    registers_[Register::CounterHigh + 2] = 0xD2;
    setTrueGains(kDefaultTrueGainNormal, kDefaultTrueGainHigh);
    setFullScaleCounts(kDefaultFullScale, kDefaultFullScale);
}

void SimulatedInstrument::setKind(InstrumentKind kind)
{
    kind_ = kind;
    hardwareVersion_ = QString::fromLatin1(kind == InstrumentKind::RegisterCalibration ? kRegisterCalibrationVersion
                                                                                        : kSoftwareCalibrationVersion);
    emit changed();
}

void SimulatedInstrument::setFullScaleCounts(int normal, int high)
{
    fullScale_ = {std::clamp(normal, 0, 0xFFFF), std::clamp(high, 0, 0xFFFF)};
    registers_[Register::FullScaleNormalHi] = fullScale_[0] >> 8;
    registers_[Register::FullScaleNormalHi + 1] = fullScale_[0] & 0xFF;
    registers_[Register::FullScaleHighHi] = fullScale_[1] >> 8;
    registers_[Register::FullScaleHighHi + 1] = fullScale_[1] & 0xFF;
}

void SimulatedInstrument::setTrueGains(int normal, int high)
{
    trueGain_ = {normal, high};
    registers_[Register::CrgL] = registers_[Register::MrgL] = normal & 0xFF;
    registers_[Register::CrgH] = registers_[Register::MrgH] = high & 0xFF;
}

bool SimulatedInstrument::open()
{
    open_ = plugged_;
    return open_;
}

QString SimulatedInstrument::indexedString(int index)
{
    if (!open_ || !plugged_) return {};
    return index == 3 ? hardwareVersion_ : QString();
}

void SimulatedInstrument::plug()
{
    if (plugged_) return;
    plugged_ = true;
    // Power comes back: the instrument starts at rest at normal potential on the probe.
    restLamps();
    highPotential_ = false;
    channel_ = 1;
    electrodePath_ = false;
    emit changed();
    emit devicesChanged();
}

void SimulatedInstrument::unplug()
{
    if (!plugged_) return;
    plugged_ = false;
    ++epoch_;  // replies on their way are lost with the cable
    emit changed();
    emit devicesChanged();
}

void SimulatedInstrument::setProbeFault(bool fault)
{
    probeFault_ = fault;
    emit changed();
}

void SimulatedInstrument::touchPoint(int me)
{
    contact_ = ProbeContact::OnPoint;
    touchedPoint_ = std::clamp(me, 1, 24);
    touchTick_ = clock_.tick();
    emit changed();
}

void SimulatedInstrument::touchReference()
{
    contact_ = ProbeContact::OnReference;
    touchedPoint_ = 0;
    touchTick_ = clock_.tick();
    emit changed();
}

void SimulatedInstrument::lift()
{
    contact_ = ProbeContact::InAir;
    touchedPoint_ = 0;
    emit changed();
}

void SimulatedInstrument::clearRecords()
{
    commands_.clear();
    tones_.clear();
}

void SimulatedInstrument::restLamps()
{
    for (QChar lamp : {u'A', u'B', u'C', u'F', u'I'}) lamps_[lamp] = 0;
}

int SimulatedInstrument::gainRegister(bool high) const
{
    if (electrodePath_) return high ? Register::MrgH : Register::MrgL;
    return high ? Register::CrgH : Register::CrgL;
}

int SimulatedInstrument::gain(bool high) const { return registers_[gainRegister(high)]; }

double SimulatedInstrument::gaussian(double sd)
{
    if (sd <= 0) return 0;
    std::normal_distribution<double> noise(0.0, sd);
    return noise(random_);
}

int SimulatedInstrument::expectedReading() const
{
    if (channel_ == 0) return 0;  // no channel selected: nothing flows
    const int pot = highPotential_ ? 1 : 0;
    double counts = 0;
    switch (contact_) {
    case ProbeContact::InAir: return 0;
    case ProbeContact::OnReference: counts = fullScale_[pot]; break;
    case ProbeContact::OnPoint: {
        const double microamps = profile_.microamps[touchedPoint_ - 1] * (highPotential_ ? kHighPotentialSkinFactor : 1.0);
        const double seconds = clock_.elapsedSince(touchTick_) / 1000.0;
        counts = microamps / 200.0 * fullScale_[pot] + profile_.driftCountsPerSecond * seconds;
        break;
    }
    }
    if (kind_ == InstrumentKind::RegisterCalibration)
        counts *= 1.0 + (gain(highPotential_) - trueGain_[pot]) * kGainStepFactor;
    return std::clamp(static_cast<int>(std::lround(counts)), 0, kMaxReading);
}

int SimulatedInstrument::reading()
{
    double noise = 0;
    if (channel_ != 0) {
        switch (contact_) {
        case ProbeContact::InAir: noise = std::abs(gaussian(kAirNoiseCounts)); break;
        case ProbeContact::OnReference: noise = gaussian(kReferenceNoiseCounts); break;
        case ProbeContact::OnPoint: noise = gaussian(profile_.noiseCounts); break;
        }
    }
    return std::clamp(static_cast<int>(std::lround(expectedReading() + noise)), 0, kMaxReading);
}

bool SimulatedInstrument::writeReport(const QByteArray& report)
{
    if (!open_ || !plugged_) return false;
    if (failWritesNext_ > 0) {
        --failWritesNext_;
        return false;
    }
    const QString command = commandOfReport(report);
    commands_.append(command);
    QByteArray data;
    if (!scripted_.isEmpty()) {
        data = scripted_.takeFirst();
    } else if (muteNext_ > 0) {
        --muteNext_;
    } else {
        QString reply = answer(command);
        const bool refuse = refuseNext_ > 0 || (refusalRate_ > 0 && std::uniform_real_distribution<double>(0, 1)(random_) < refusalRate_);
        if (refuseNext_ > 0) --refuseNext_;
        if (refuse) reply = kRefusedReply;
        data = reply.toLatin1();
        data.append(QByteArray(8 - std::min<qsizetype>(data.size(), 8), '\0'));
    }
    emit commandReceived(command);
    emit changed();
    if (!data.isEmpty()) {
        const quint64 epoch = epoch_;
        clock_.callAfter(latencyMs_, this, [this, epoch, data] {
            if (epoch == epoch_ && open_ && plugged_) emit reportReceived(data);
        });
    }
    return true;
}

QString SimulatedInstrument::answer(const QString& command)
{
    if (command.size() != 5 || !isHexText(command.mid(1))) return kRefusedReply;
    const QChar letter = command.at(0);
    const int high = command.mid(1, 2).toInt(nullptr, 16);
    const int low = command.mid(3, 2).toInt(nullptr, 16);
    const int value = command.mid(1).toInt(nullptr, 16);
    switch (letter.unicode()) {
    case u'D':
        if (probeFault_) return kProbeFaultReply;
        return QStringLiteral("D0") + QString::number(reading(), 16).rightJustified(3, u'0').toUpper();
    case u'R': return QStringLiteral("R") + hex2(high) + hex2(registers_[high]);
    case u'W': registers_[high] = low; break;
    case u'X':
        restLamps();
        break;
    case u'L': highPotential_ = false; break;
    case u'H': highPotential_ = true; break;
    case u'K': channel_ = value; break;
    case u'N': electrodePath_ = low != 0; break;
    case u'A': case u'B': case u'C': case u'F': case u'I': lamps_[letter] = low; break;
    case u'S': tones_.append(command); break;
    case u'G':
        // Only instruments with register calibration take a gain; it is kept as the
        // calibration byte of the selected path and potential.
        if (kind_ != InstrumentKind::RegisterCalibration) return kRefusedReply;
        registers_[gainRegister(highPotential_)] = low;
        break;
    default: return kRefusedReply;
    }
    return command;
}

}  // namespace tork
