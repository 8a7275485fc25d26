#pragma once
// The device link: claims the instrument, exchanges commands with it one at a time, and
// turns arrival and removal into the on-line state and the tray notices. Readings,
// registers and tones are built on its single send operation.

#include "core/app/clock.h"
#include "core/device/transport.h"

#include <QObject>
#include <QString>
#include <deque>

namespace tork {

class DeviceLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kAttempts = 3;
    static constexpr int kReplyWaitMs = 100;

    DeviceLink(Transport& transport, Clock& clock, QObject* parent = nullptr);

    Transport& transport() { return transport_; }
    Clock& clock() { return clock_; }

    // Releases a device still claimed, starts listening for arrival and removal, and claims
    // an instrument that is already plugged in.
    void install();

    // One exchange: true when a reply other than "Z0000" arrived; the reply is in lastReply().
    // Without a claimed instrument nothing is sent and the result is false.
    // A command sent while another exchange waits (from an event handler that runs during the
    // wait) is queued and sent as soon as that exchange completes, so commands keep their
    // order; the nested call itself returns false without a reply.
    bool sendCommand(const QString& command);
    QString lastReply() const { return lastReply_; }
    bool replyArrived() const { return replyArrived_; }
    bool isExchanging() const { return exchanging_; }

    bool isClaimed() const { return claimed_; }
    bool isOnline() const { return online_; }
    void setOnline(bool online);
    // While the start-up check is pending an arrival shows no on-line notice.
    void setStartupCheckPending(bool pending) { startupCheckPending_ = pending; }

    // Identity read at arrival.
    QString hardwareVersion() const { return hardwareVersion_; }
    bool registerCalibration() const { return registerCalibration_; }
    QString serialNumber() const { return serialNumber_; }
    int fullScaleNormal() const { return fullScaleNormal_; }
    int fullScaleHigh() const { return fullScaleHigh_; }

    // Indexed string 3, trimmed; empty when nothing is claimed.
    QString readHardwareVersion();
    // Serial number and, with register calibration, both full-scale counts.
    void readDeviceIdentity();

    // One reading in instrument counts (0..4095); a "C.P.D.M." fault raises its notice.
    int readCurrent();
    QString readRegister(int address);
    void writeRegister(int address, int value);
    // Reads the counter; with `increment` adds one and writes it back.
    int measurementCounter(bool increment);
    void playSound(int n);

    // Handlers of the transport's events.
    void HidCtlDeviceData(const QByteArray& data);
    void HidCtlDeviceChange();

    static QString noticeTitle();
    static QString probeFaultText();

signals:
    void onlineChanged(bool online);
    void trayStatusChanged(bool online);
    void noticeShown(const QString& title, const QString& text, bool error);
    void noticeHidden();
    void exchanged(const QString& command, const QString& reply, bool ok);

private:
    bool exchange(const QString& command);
    void arrive();
    void depart();

    Transport& transport_;
    Clock& clock_;
    bool installed_ = false;
    bool claimed_ = false;
    bool online_ = false;
    bool startupCheckPending_ = true;
    bool exchanging_ = false;
    bool replyArrived_ = false;
    QString lastReply_;
    std::deque<QString> queued_;
    bool faultNoticeShown_ = false;
    QString hardwareVersion_;
    bool registerCalibration_ = false;
    QString serialNumber_;
    int fullScaleNormal_ = 4060;
    int fullScaleHigh_ = 4060;
};

}  // namespace tork
