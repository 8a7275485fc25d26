#pragma once
// The real instrument over hidapi's hidraw backend. One thread owns the device handle:
// it reads with a short time-out and hands each input report to the UI thread as a queued
// signal; writes, string reads and flushes go through the same thread, as hidapi wants
// the calls on one device serialised. Arrival and removal come from a udev monitor on the
// hidraw subsystem, or from a light periodic enumeration when no monitor can be made.

#include "core/device/transport.h"

#include <QByteArray>
#include <QThread>

class QSocketNotifier;
class QTimer;
struct udev;
struct udev_monitor;

namespace tork {

class HidWorker;

struct InstrumentPath {
    QByteArray path;  // the hidraw device node
    QString serial;   // the USB serial string, when the device gives one
};

class HidTransport final : public Transport {
    Q_OBJECT
public:
    static constexpr int kFallbackReportLength = 9;

    explicit HidTransport(QObject* parent = nullptr);
    ~HidTransport() override;

    bool isPresent() override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    int outputReportLength() const override { return outputLength_; }
    QString indexedString(int index) override;
    bool writeReport(const QByteArray& report) override;
    void flushInput() override;

    // Every plugged instrument, in enumeration order.
    QList<InstrumentPath> instruments();
    // Limits open() to the instrument at this device node (empty: the first that opens).
    void setOnlyPath(const QByteArray& path) { onlyPath_ = path; }
    QByteArray path() const { return path_; }
    // Whether arrival and removal come from the udev monitor (else from periodic enumeration).
    bool hasMonitor() const { return monitor_ != nullptr; }

private:
    void startMonitor();
    void monitorActivated();
    void pollPresence();
    void deliver(const QByteArray& data, quint64 epoch);
    void readFailed();

    QThread thread_;
    HidWorker* worker_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* poll_ = nullptr;
    bool lastPresence_ = false;
    QByteArray path_;
    QByteArray onlyPath_;
    QString serial_;  // the serial-number string listed with the claimed device
    bool open_ = false;
    bool lost_ = false;
    int outputLength_ = kFallbackReportLength;
    quint64 flushRequests_ = 0;
};

}  // namespace tork
