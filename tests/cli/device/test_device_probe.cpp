#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace tork {
namespace {

QString fixture(const QString& name) { return QStringLiteral(TORK_TEST_FIXTURES "/device/") + name; }

// Runs tork-tool in a umockdev testbed: with the recorded instrument and a script, or empty.
int runInTestbed(const QStringList& testbed, const QStringList& args, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("umockdev-run"), testbed + QStringList{QStringLiteral("--"), QStringLiteral(TORK_TOOL_PATH)} + args);
    if (!process.waitForStarted() || !process.waitForFinished(120000)) return -1;
    *output = QString::fromLocal8Bit(process.readAll());
    return process.exitCode();
}

TEST(DeviceProbe, RecordedInstrumentThroughHidapi)
{
    test::TempProgramFolder folder;
    QString output;
    const int status = runInTestbed({"-d", fixture("instrument.umockdev"), "-i", "/dev/hidraw0=" + fixture("instrument.ioctl"),
                                     "-s", "/dev/hidraw0=" + fixture("probe.script")},
                                    {"device", "probe", "--program-folder", folder.path()}, &output);
    EXPECT_EQ(status, 0) << output.toStdString();
    for (const char* line : {"Instrument 1: /dev/hidraw0", "Hardware version:    TORK6-20051706-A02",
                             "Serial number:       200517060042", "Full-scale counts:   normal 4000, high 3900",
                             "Measurement counter: 258"})
        EXPECT_TRUE(output.contains(QString::fromLatin1(line))) << line << "\n" << output.toStdString();
}

TEST(DeviceProbe, NoInstrumentSaysSoAndFails)
{
    QString output;
    EXPECT_EQ(runInTestbed({}, {"device", "probe"}, &output), 1) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("No instrument is connected"))) << output.toStdString();
}

TEST(DeviceProbe, SimulatedInstrumentAndUsage)
{
    test::TempProgramFolder folder;
    QString out, err;
    EXPECT_EQ(test::runTool({"device", "probe", "--simulate", "--program-folder", folder.path()}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Instrument 1: simulated instrument")));
    EXPECT_TRUE(out.contains(QStringLiteral("Measurement counter: 1,234"))) << out.toStdString();
    EXPECT_EQ(test::runTool({"device", "frobnicate"}, &out, &err), 2);
    EXPECT_EQ(test::runTool({"device"}, &out, &err), 2);
}

}  // namespace
}  // namespace tork
