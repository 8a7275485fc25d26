#include "core/device/hidtransport.h"

#include "core/device/reportdescriptor.h"

#include <QFile>
#include <algorithm>
#include <QSocketNotifier>
#include <QTimer>
#include <hidapi.h>
#include <libudev.h>
#include <sys/stat.h>

namespace tork {

// Lives in the transport's thread and is the only code that touches the hid_device.
class HidWorker : public QObject {
    Q_OBJECT
public:
    static constexpr int kReadTimeoutMs = 5;
    static constexpr int kInputBufferSize = 65;

    ~HidWorker() override { closeDevice(); }

    QList<InstrumentPath> enumerate()
    {
        // First by ID; when that finds none, by walking every HID device with the same test
        // (hidapi's own filter misses devices whose IDs it reads from elsewhere).
        QList<InstrumentPath> found = matching(hid_enumerate(kInstrumentVendorId, kInstrumentProductId));
        if (found.isEmpty()) found = matching(hid_enumerate(0, 0));
        return found;
    }

    static QList<InstrumentPath> matching(hid_device_info* list)
    {
        QList<InstrumentPath> found;
        for (hid_device_info* info = list; info; info = info->next) {
            if (info->vendor_id != kInstrumentVendorId || info->product_id != kInstrumentProductId) continue;
            found.append({QByteArray(info->path), info->serial_number ? QString::fromWCharArray(info->serial_number) : QString()});
        }
        hid_free_enumeration(list);
        return found;
    }

    bool openPath(const QByteArray& path)
    {
        closeDevice();
        device_ = hid_open_path(path.constData());
        if (!device_) return false;
        QMetaObject::invokeMethod(this, &HidWorker::pump, Qt::QueuedConnection);
        return true;
    }

    void closeDevice()
    {
        if (device_) hid_close(device_);
        device_ = nullptr;
    }

    bool write(const QByteArray& report)
    {
        if (!device_) return false;
        return hid_write(device_, reinterpret_cast<const unsigned char*>(report.constData()), report.size()) == report.size();
    }

    QString indexedString(int index)
    {
        if (!device_) return {};
        wchar_t text[256] = {};
        if (hid_get_indexed_string(device_, index, text, 255) != 0) return {};
        return QString::fromWCharArray(text);
    }

    void flush()
    {
        ++epoch_;
        unsigned char buffer[kInputBufferSize];
        while (device_ && hid_read_timeout(device_, buffer, sizeof buffer, 0) > 0) {
        }
    }

    void pump()
    {
        if (!device_) return;
        unsigned char buffer[kInputBufferSize];
        const int n = hid_read_timeout(device_, buffer, sizeof buffer, kReadTimeoutMs);
        if (n < 0) {
            closeDevice();
            emit readFailed();
            return;
        }
        if (n > 0) emit report(QByteArray(reinterpret_cast<const char*>(buffer), n), epoch_);
        // Queued, so writes and flushes waiting in this thread's queue run between reads.
        QMetaObject::invokeMethod(this, &HidWorker::pump, Qt::QueuedConnection);
    }

signals:
    void report(const QByteArray& data, quint64 epoch);
    void readFailed();

private:
    hid_device* device_ = nullptr;
    quint64 epoch_ = 0;
};

namespace {

// Runs `call` in the worker's thread and returns its result.
template <typename Result, typename Call>
Result inWorker(HidWorker* worker, Call call)
{
    Result result{};
    QMetaObject::invokeMethod(worker, [&] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
}

// The report descriptor of the HID device behind a hidraw node, as sysfs keeps it.
QByteArray reportDescriptorOf(struct udev* udev, const QByteArray& path)
{
    if (!udev) return {};
    struct stat info {};
    if (stat(path.constData(), &info) != 0) return {};
    udev_device* raw = udev_device_new_from_devnum(udev, 'c', info.st_rdev);
    if (!raw) return {};
    QByteArray descriptor;
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(raw, "hid", nullptr)) {
        QFile file(QString::fromLocal8Bit(udev_device_get_syspath(hid)) + QStringLiteral("/report_descriptor"));
        if (file.open(QIODevice::ReadOnly)) descriptor = file.read(4096);
    }
    udev_device_unref(raw);
    return descriptor;
}

}  // namespace

HidTransport::HidTransport(QObject* parent) : Transport(parent), worker_(new HidWorker)
{
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &HidWorker::report, this, &HidTransport::deliver, Qt::QueuedConnection);
    connect(worker_, &HidWorker::readFailed, this, &HidTransport::readFailed, Qt::QueuedConnection);
    thread_.setObjectName(QStringLiteral("instrument reader"));
    thread_.start();
    udev_ = udev_new();
    startMonitor();
}

HidTransport::~HidTransport()
{
    close();
    thread_.quit();
    thread_.wait();
    if (monitor_) udev_monitor_unref(monitor_);
    if (udev_) udev_unref(udev_);
}

void HidTransport::startMonitor()
{
    if (udev_) {
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ && (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
                         udev_monitor_enable_receiving(monitor_) < 0)) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }
    if (monitor_) {
        notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &HidTransport::monitorActivated);
        return;
    }
    poll_ = new QTimer(this);
    poll_->setInterval(1000);
    connect(poll_, &QTimer::timeout, this, &HidTransport::pollPresence);
    lastPresence_ = !instruments().isEmpty();
    poll_->start();
}

void HidTransport::monitorActivated()
{
    // Each event is only a trigger: the link enumerates again and sees what changed.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) udev_device_unref(device);
    emit devicesChanged();
}

void HidTransport::pollPresence()
{
    const bool present = isPresent();
    if (present == lastPresence_) return;
    lastPresence_ = present;
    emit devicesChanged();
}

QList<InstrumentPath> HidTransport::instruments()
{
    return inWorker<QList<InstrumentPath>>(worker_, [this] { return worker_->enumerate(); });
}

bool HidTransport::isPresent()
{
    const QList<InstrumentPath> found = instruments();
    if (!open_) return !found.isEmpty();
    if (lost_) return false;
    return std::any_of(found.begin(), found.end(), [this](const InstrumentPath& p) { return p.path == path_; });
}

bool HidTransport::open()
{
    close();
    const QList<InstrumentPath> found = instruments();
    for (const InstrumentPath& candidate : found) {
        if (!onlyPath_.isEmpty() && candidate.path != onlyPath_) continue;
        if (!inWorker<bool>(worker_, [&] { return worker_->openPath(candidate.path); })) continue;
        path_ = candidate.path;
        serial_ = candidate.serial;
        open_ = true;
        lost_ = false;
        const int length = outputReportLengthFromDescriptor(reportDescriptorOf(udev_, path_));
        outputLength_ = length > 1 ? length : kFallbackReportLength;
        lastPresence_ = true;
        return true;
    }
    return false;
}

void HidTransport::close()
{
    if (!open_) return;
    open_ = false;
    ++flushRequests_;  // whatever is still on its way belongs to the released device
    inWorker<bool>(worker_, [this] {
        worker_->flush();
        worker_->closeDevice();
        return true;
    });
    path_.clear();
    serial_.clear();
}

QString HidTransport::indexedString(int index)
{
    if (!open_) return {};
    const QString text = inWorker<QString>(worker_, [this, index] { return worker_->indexedString(index); });
    // The hidraw backend cannot read arbitrary string descriptors. String 3 of the instrument
    // is its serial-number string descriptor, which the system lists with the device.
    if (text.isEmpty() && index == 3) return serial_;
    return text;
}

bool HidTransport::writeReport(const QByteArray& report)
{
    if (!open_ || lost_) return false;
    return inWorker<bool>(worker_, [this, &report] { return worker_->write(report); });
}

void HidTransport::flushInput()
{
    if (!open_) return;
    ++flushRequests_;
    QMetaObject::invokeMethod(worker_, &HidWorker::flush, Qt::QueuedConnection);
}

void HidTransport::deliver(const QByteArray& data, quint64 epoch)
{
    // Reports read before the latest flush reached the reader are stale.
    if (open_ && epoch == flushRequests_) emit reportReceived(data);
}

void HidTransport::readFailed()
{
    if (!open_) return;
    lost_ = true;
    emit devicesChanged();
}

}  // namespace tork

#include "hidtransport.moc"
