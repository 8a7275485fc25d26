#pragma once
// The contract between the instrument link and whatever carries its reports: the real
// instrument over hidapi or the simulated instrument. The link never knows which.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

namespace tork {

constexpr std::uint16_t kInstrumentVendorId = 0xC925;
constexpr std::uint16_t kInstrumentProductId = 0xA13F;

class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether a matching instrument is plugged in; when one is claimed, whether that one still is.
    virtual bool isPresent() = 0;
    // Claims the first matching instrument; false when there is none or it cannot be opened.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Bytes of one output report including the report ID byte.
    virtual int outputReportLength() const = 0;
    // An indexed string of the device (string 3 holds the hardware version); empty on failure.
    virtual QString indexedString(int index) = 0;
    virtual bool writeReport(const QByteArray& report) = 0;
    // Discards input reports still waiting, including those read but not yet delivered.
    virtual void flushInput() = 0;

signals:
    // One input report's data bytes (the report ID not included), on the UI thread.
    void reportReceived(const QByteArray& data);
    // A device of the instrument's kind arrived or went; the link looks again.
    void devicesChanged();
};

}  // namespace tork
