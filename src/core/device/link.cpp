#include "core/device/link.h"

#include "core/app/displaystrings.h"
#include "core/device/protocol.h"

namespace tork {

DeviceLink::DeviceLink(Transport& transport, Clock& clock, QObject* parent)
    : QObject(parent), transport_(transport), clock_(clock)
{
}

QString DeviceLink::noticeTitle() { return displayString(DisplayString::ProductName) + QStringLiteral(" Information"); }

QString DeviceLink::probeFaultText()
{
    // The full-width exclamation mark is the one the instrument's notices have always shown.
    return QStringLiteral("C.P.D.M. out of function") + QChar(0xFF01) + QStringLiteral("Please check..");
}

void DeviceLink::install()
{
    if (transport_.isOpen()) transport_.close();
    claimed_ = false;
    if (!installed_) {
        installed_ = true;
        connect(&transport_, &Transport::reportReceived, this, &DeviceLink::HidCtlDeviceData);
        connect(&transport_, &Transport::devicesChanged, this, &DeviceLink::HidCtlDeviceChange);
    }
    HidCtlDeviceChange();
}

void DeviceLink::setOnline(bool online)
{
    if (online_ == online) return;
    online_ = online;
    emit onlineChanged(online);
}

void DeviceLink::HidCtlDeviceData(const QByteArray& data)
{
    lastReply_ = replyText(data);
    replyArrived_ = true;
    clock_.wake();
}

void DeviceLink::HidCtlDeviceChange()
{
    if (!claimed_) {
        if (transport_.open()) arrive();
    } else if (!transport_.isPresent()) {
        depart();
    }
}

void DeviceLink::arrive()
{
    claimed_ = true;
    emit trayStatusChanged(true);
    if (!startupCheckPending_) {
        const QString name = displayString(DisplayString::ProductName);
        emit noticeShown(noticeTitle(), name + QStringLiteral(" is on-line."), false);
    }
    hardwareVersion_ = readHardwareVersion();
    registerCalibration_ = hardwareVersion_ == QLatin1String(kRegisterCalibrationVersion);
    readDeviceIdentity();
    setOnline(true);
}

void DeviceLink::depart()
{
    transport_.flushInput();
    transport_.close();
    claimed_ = false;
    clock_.wake();  // an exchange waiting for this instrument stops at its next check
    emit trayStatusChanged(false);
    const QString name = displayString(DisplayString::ProductName);
    emit noticeShown(noticeTitle(), name + QStringLiteral(" is off-line."), true);
    setOnline(false);
}

bool DeviceLink::sendCommand(const QString& command)
{
    // Nothing claimed: nothing is sent, and no earlier exchange's success is passed off as this one's.
    if (!claimed_) return false;
    if (exchanging_) {
        queued_.push_back(command);
        return false;
    }
    const bool ok = exchange(command);
    if (!queued_.empty()) {
        // Send what event handlers asked for meanwhile, then give the caller its own reply back.
        const QString reply = lastReply_;
        const bool arrived = replyArrived_;
        while (!queued_.empty()) {
            const QString next = queued_.front();
            queued_.pop_front();
            if (claimed_) exchange(next);
        }
        lastReply_ = reply;
        replyArrived_ = arrived;
    }
    return ok;
}

bool DeviceLink::exchange(const QString& command)
{
    exchanging_ = true;
    replyArrived_ = false;
    lastReply_.clear();
    // A reply that came too late for an earlier exchange must not answer this one.
    transport_.flushInput();
    const QByteArray report = buildOutputReport(command, transport_.outputReportLength());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!claimed_) break;
        if (!transport_.writeReport(report)) {
            transport_.flushInput();
            clock_.waitFor(kReplyWaitMs, [this] { return !claimed_; });
            continue;
        }
        clock_.waitFor(kReplyWaitMs, [this] { return replyArrived_ || !claimed_; });
        if (!replyArrived_) continue;
        if (lastReply_ == kRefusedReply) {
            replyArrived_ = false;
            lastReply_.clear();
            continue;
        }
        break;
    }
    exchanging_ = false;
    emit exchanged(command, lastReply_, replyArrived_);
    return replyArrived_;
}

QString DeviceLink::readHardwareVersion()
{
    if (!claimed_) return {};
    return transport_.indexedString(3).trimmed();
}

QString DeviceLink::readRegister(int address)
{
    if (!sendCommand(readRegisterCommand(address))) return {};
    return registerText(lastReply_);
}

void DeviceLink::writeRegister(int address, int value) { sendCommand(writeRegisterCommand(address, value)); }

void DeviceLink::readDeviceIdentity()
{
    QString serial;
    for (int address = Register::Serial0; address < Register::Serial0 + 6; ++address) serial += readRegister(address);
    serialNumber_ = serial;
    if (registerCalibration_) {
        const QString normalHigh = readRegister(Register::FullScaleNormalHi);
        fullScaleNormal_ = fullScaleFromRegisters(normalHigh, readRegister(Register::FullScaleNormalHi + 1));
        const QString highHigh = readRegister(Register::FullScaleHighHi);
        fullScaleHigh_ = fullScaleFromRegisters(highHigh, readRegister(Register::FullScaleHighHi + 1));
    } else {
        fullScaleNormal_ = kDefaultFullScaleCount;
        fullScaleHigh_ = kDefaultFullScaleCount;
    }
}

int DeviceLink::readCurrent()
{
    const bool ok = sendCommand(QStringLiteral("D0000"));
    const QString reply = ok ? lastReply_ : QString();
    if (reply == kProbeFaultReply) {
        if (!faultNoticeShown_) {
            faultNoticeShown_ = true;
            emit noticeShown(noticeTitle(), probeFaultText(), true);
        }
    } else if (faultNoticeShown_) {
        faultNoticeShown_ = false;
        emit noticeHidden();
    }
    return parseReading(reply);
}

int DeviceLink::measurementCounter(bool increment)
{
    QStringList texts;
    for (int address = Register::CounterHigh; address < Register::CounterHigh + 3; ++address) {
        const QString text = readRegister(address);
        // A byte that did not answer would shift the others: the whole counter then reads 0.
        texts << (text.size() == 2 ? text : QStringLiteral("xx"));
    }
    int counter = joinedHex(texts).value_or(0);
    if (increment) {
        counter = std::min(counter + 1, kMeasurementCounterMax);
        for (const QString& command : counterWriteCommands(counter)) sendCommand(command);
    }
    return counter;
}

void DeviceLink::playSound(int n)
{
    for (const QString& command : toneCommands(n)) sendCommand(command);
}

}  // namespace tork
