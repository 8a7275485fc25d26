// The hidapi transport against a recorded instrument: umockdev replays its sysfs entries,
// the hidraw ioctl hidapi asks at open, and a script of output and input reports, so
// enumeration, claiming, writing, reading, time-outs and removal all run through hidapi.
// Each test runs itself again inside the testbed (umockdev-run preloads its library).

#include "core/app/clock.h"
#include "core/device/hidtransport.h"
#include "core/device/link.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace tork {
namespace {

bool inTestbed() { return qEnvironmentVariableIsSet("UMOCKDEV_DIR"); }

QString fixture(const QString& name) { return QStringLiteral(TORK_TEST_FIXTURES "/device/") + name; }

// Runs the current test again inside a testbed holding the instrument with this script.
void rerunInTestbed(const QString& script)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("umockdev-run"),
                  {"-d", fixture("instrument.umockdev"), "-i", "/dev/hidraw0=" + fixture("instrument.ioctl"),
                   "-s", "/dev/hidraw0=" + fixture(script), "--", QCoreApplication::applicationFilePath(),
                   QStringLiteral("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name())});
    ASSERT_TRUE(process.waitForStarted()) << "umockdev-run is missing (Debian package umockdev)";
    ASSERT_TRUE(process.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

TEST(HidTransportTestbed, ClaimsTheInstrumentAndReadsItsIdentity)
{
    if (!inTestbed()) return rerunInTestbed(QStringLiteral("probe.script"));

    HidTransport transport;
    const QList<InstrumentPath> found = transport.instruments();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].path, QByteArray("/dev/hidraw0"));
    SystemClock clock;
    DeviceLink link(transport, clock);
    link.install();
    ASSERT_TRUE(link.isClaimed());
    EXPECT_TRUE(link.isOnline());
    EXPECT_EQ(transport.outputReportLength(), 17);  // from the report descriptor: 16 bytes and the ID
    EXPECT_EQ(link.hardwareVersion(), QStringLiteral("TORK6-20051706-A02"));
    EXPECT_TRUE(link.registerCalibration());
    EXPECT_EQ(link.serialNumber(), QStringLiteral("200517060042"));
    EXPECT_EQ(link.fullScaleNormal(), 4000);
    EXPECT_EQ(link.fullScaleHigh(), 3900);
    EXPECT_EQ(link.measurementCounter(false), 0x000102);
}

TEST(HidTransportTestbed, LateReplyAndRemoval)
{
    if (!inTestbed()) return rerunInTestbed(QStringLiteral("late-reply-and-removal.script"));

    HidTransport transport;
    SystemClock clock;
    DeviceLink link(transport, clock);
    link.install();
    link.setStartupCheckPending(false);
    ASSERT_TRUE(link.isOnline());
    QStringList notices;
    QObject::connect(&link, &DeviceLink::noticeShown, [&](const QString&, const QString& text, bool) { notices << text; });

    // The reply comes after the first attempt's 100 ms: the second attempt receives it.
    EXPECT_TRUE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_EQ(link.lastReply(), QStringLiteral("D0ABC"));
    // Let the reply to the second write arrive; it must not answer the next command.
    clock.sleep(50);
    EXPECT_TRUE(link.sendCommand(QStringLiteral("L0000")));
    EXPECT_EQ(link.lastReply(), QStringLiteral("L0000"));

    // Unplugged: the device leaves sysfs, and the device-change notice finds it gone.
    const QString sys = qEnvironmentVariable("UMOCKDEV_DIR") + QStringLiteral("/sys");
    ASSERT_TRUE(QFile::remove(sys + QStringLiteral("/class/hidraw/hidraw0")));
    ASSERT_TRUE(QDir(sys + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-1")).removeRecursively());
    EXPECT_TRUE(transport.instruments().isEmpty());
    EXPECT_FALSE(transport.isPresent());
    emit transport.devicesChanged();
    EXPECT_FALSE(link.isOnline());
    EXPECT_FALSE(link.isClaimed());
    EXPECT_TRUE(notices.join(u'|').contains(QStringLiteral(" is off-line."))) << notices.join(u'|').toStdString();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("D0000")));
}

}  // namespace
}  // namespace tork
