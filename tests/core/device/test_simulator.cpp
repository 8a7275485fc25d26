#include "core/device/link.h"
#include "core/device/patientprofile.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "core/app/meridians.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cmath>

namespace tork {
namespace {

class SimulatorTest : public ::testing::Test {
protected:
    SimulatorTest()
    {
        PatientProfile profile = PatientProfile::even(50);
        profile.microamps[13] = 100;  // ME14
        sim.setProfile(profile);
        link.install();
    }
    int meanReading(int n = 50)
    {
        long sum = 0;
        for (int i = 0; i < n; ++i) sum += link.readCurrent();
        return static_cast<int>(std::lround(double(sum) / n));
    }
    VirtualClock clock;
    SimulatedInstrument sim{clock};
    DeviceLink link{sim, clock};
};

TEST_F(SimulatorTest, ReadingsFollowProbeAndPotential)
{
    EXPECT_LE(meanReading(), 3);                       // probe in the air
    sim.touchPoint(14);
    EXPECT_NEAR(meanReading(), 2000, 3);               // 100 uA of 200 at full scale 4000
    sim.touchPoint(3);
    EXPECT_NEAR(meanReading(), 1000, 3);
    link.sendCommand(QStringLiteral("H0000"));
    EXPECT_NEAR(meanReading(), 1200, 3);               // skin draws more at high potential
    sim.touchReference();
    EXPECT_NEAR(meanReading(), 4000, 3);               // the reference always reads full scale
    link.sendCommand(QStringLiteral("K0000"));
    EXPECT_EQ(meanReading(), 0);                       // no channel selected
}

TEST_F(SimulatorTest, NoiseAndDriftOfTheProfile)
{
    PatientProfile profile = PatientProfile::even(50);
    profile.noiseCounts = 10;
    profile.driftCountsPerSecond = 40;
    sim.setProfile(profile);
    sim.touchPoint(1);
    std::vector<int> readings;
    for (int i = 0; i < 400; ++i) readings.push_back(link.readCurrent());  // 2 ms each: 0.8 s
    double mean = 0, square = 0;
    for (int r : readings) mean += r;
    mean /= readings.size();
    for (int r : readings) square += (r - mean) * (r - mean);
    EXPECT_GT(std::sqrt(square / readings.size()), 8);
    EXPECT_NEAR(mean, 1000 + 40 * 0.4, 4);
    double first = 0, last = 0;
    for (int i = 0; i < 50; ++i) {
        first += readings[i] / 50.0;
        last += readings[readings.size() - 1 - i] / 50.0;
    }
    EXPECT_GT(last - first, 20);  // 40 counts a second over 0.7 s
}

TEST_F(SimulatorTest, GainStepsMoveTheReadingOfRegisterInstruments)
{
    sim.touchReference();
    link.sendCommand(QStringLiteral("L0000"));
    EXPECT_EQ(sim.gain(false), 29);
    EXPECT_NEAR(meanReading(), 4000, 2);
    link.sendCommand(QStringLiteral("G0014"));             // 20: nine steps low
    EXPECT_EQ(sim.registerValue(Register::CrgL), 20);
    const int low = meanReading();
    EXPECT_NEAR(low, 4000 * (1 - 9 * 0.0015), 3);
    link.sendCommand(QStringLiteral("G001D"));
    EXPECT_NEAR(meanReading(), 4000, 2);

    // On the electrode path the gain is its own calibration byte.
    link.sendCommand(QStringLiteral("N00FF"));
    link.sendCommand(QStringLiteral("H0000"));
    link.sendCommand(QStringLiteral("G0020"));
    EXPECT_EQ(sim.registerValue(Register::MrgH), 0x20);
    EXPECT_EQ(sim.registerValue(Register::CrgH), 30);

    // A miscalibrated instrument reads off until its gain is steered back.
    sim.setTrueGains(35, 30);
    link.sendCommand(QStringLiteral("N0000"));
    link.sendCommand(QStringLiteral("L0000"));
    link.sendCommand(QStringLiteral("G001D"));
    EXPECT_LT(meanReading(), 4000 - 30);
}

TEST_F(SimulatorTest, SoftwareInstrumentRefusesGains)
{
    sim.unplug();
    sim.setKind(InstrumentKind::SoftwareCalibration);
    sim.setFullScaleCounts(3900, 3900);
    sim.plug();
    sim.clearRecords();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("G0014")));
    EXPECT_EQ(sim.commands().size(), 3);
    sim.touchReference();
    EXPECT_NEAR(meanReading(), 3900, 2);
}

TEST_F(SimulatorTest, RegistersLampsAndUnknownCommands)
{
    link.writeRegister(0x0D, 0x21);
    EXPECT_EQ(link.readRegister(0x0D), QStringLiteral("21"));
    for (const char* c : {"A00FF", "B007F", "C007F", "F00FF", "I00FF"}) link.sendCommand(QString::fromLatin1(c));
    EXPECT_EQ(sim.lampLevel(u'A'), 0xFF);
    EXPECT_EQ(sim.lampLevel(u'B'), 0x7F);
    EXPECT_EQ(sim.lampLevel(u'I'), 0xFF);
    link.sendCommand(QStringLiteral("X0000"));
    for (QChar lamp : {u'A', u'B', u'C', u'F', u'I'}) EXPECT_EQ(sim.lampLevel(lamp), 0) << lamp.toLatin1();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("Q0000")));
    EXPECT_FALSE(link.sendCommand(QStringLiteral("D00")));
}

TEST_F(SimulatorTest, RefusalRateIsHonouredAndRepeatable)
{
    sim.setRefusalRate(0.5);
    sim.setSeed(7);
    sim.clearRecords();
    int ok = 0;
    for (int i = 0; i < 200; ++i) ok += link.sendCommand(QStringLiteral("L0000"));
    const auto writes = sim.commands().size();
    // Half refused per attempt: about one in eight exchanges fails, each write is counted.
    EXPECT_GT(ok, 150);
    EXPECT_LT(ok, 200);
    EXPECT_GT(writes, 250);
}

// The lamp sequence of an automatic measuring run, as the run sends it.
void runPoint(DeviceLink& link, VirtualClock& clock, SimulatedInstrument& sim, int* touched)
{
    link.sendCommand(QStringLiteral("F007F"));
    link.sendCommand(QStringLiteral("C0000"));
    clock.waitFor(5000, [&] { return sim.contact() == ProbeContact::OnPoint; });
    *touched = sim.touchedPoint();
    link.sendCommand(QStringLiteral("C007F"));
    link.sendCommand(QStringLiteral("F0000"));
    clock.advance(2500);
    link.sendCommand(QStringLiteral("F00FF"));
    link.sendCommand(QStringLiteral("C0000"));
    clock.waitFor(5000, [&] { return sim.contact() == ProbeContact::InAir; });
}

TEST_F(SimulatorTest, VirtualOperatorFollowsTheRun)
{
    MeridianTables tables;
    VirtualOperator::PointOrder order{};
    for (int p = 1; p <= 24; ++p) order[p - 1] = tables.positionPoint(p);
    VirtualOperator op(sim, clock, order);
    op.setEnabled(true);
    link.sendCommand(QStringLiteral("X0000"));
    link.sendCommand(QStringLiteral("L0000"));
    link.sendCommand(QStringLiteral("K0001"));
    std::vector<int> touched;
    for (int p = 1; p <= 24; ++p) {
        int me = 0;
        runPoint(link, clock, sim, &me);
        touched.push_back(me);
        EXPECT_EQ(sim.contact(), ProbeContact::InAir);
    }
    EXPECT_EQ(touched, std::vector<int>(order.begin(), order.end()));
    link.sendCommand(QStringLiteral("X0000"));
    EXPECT_EQ(op.position(), 1);

    // A shown point overrides the order (the window's table click moves the run).
    op.setShownPoint([] { return 14; });
    int me = 0;
    runPoint(link, clock, sim, &me);
    EXPECT_EQ(me, 14);
}

TEST_F(SimulatorTest, VirtualOperatorHoldsTheReferenceInCalibration)
{
    VirtualOperator op(sim, clock, {});
    op.setEnabled(true);
    for (const char* c : {"X0000", "N0000", "K0001", "L0000", "C0000", "F007F"}) link.sendCommand(QString::fromLatin1(c));
    clock.waitFor(5000, [&] { return sim.contact() != ProbeContact::InAir; });
    EXPECT_EQ(sim.contact(), ProbeContact::OnReference);
    for (const char* c : {"F007F", "C007F", "F0000", "C007F", "H0000", "F00FF", "C0000"}) link.sendCommand(QString::fromLatin1(c));
    clock.waitFor(5000, [&] { return sim.contact() == ProbeContact::InAir; });
    EXPECT_EQ(sim.contact(), ProbeContact::InAir);

    op.setEnabled(false);
    for (const char* c : {"X0000", "N0000", "C0000", "F007F"}) link.sendCommand(QString::fromLatin1(c));
    clock.advance(5000);
    EXPECT_EQ(sim.contact(), ProbeContact::InAir);
}

TEST(PatientProfiles, ParseAndReject)
{
    QString error;
    auto good = parsePatientProfile(R"({"name": "Test", "microamps": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24],
                                         "noiseCounts": 6, "driftCountsPerSecond": -2.5})", &error);
    ASSERT_TRUE(good) << error.toStdString();
    EXPECT_EQ(good->name, QStringLiteral("Test"));
    EXPECT_EQ(good->microamps[23], 24);
    EXPECT_EQ(good->noiseCounts, 6);
    EXPECT_EQ(good->driftCountsPerSecond, -2.5);

    const struct { const char* json; const char* says; } bad[] = {
        {"{", "not JSON"},
        {"[1]", "JSON object"},
        {R"({"microamps": []})", "\"name\""},
        {R"({"name": "x", "microamps": [1,2,3]})", "24 currents"},
        {R"({"name": "x", "microamps": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,-1]})", "current 24"},
        {R"({"name": "x", "microamps": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,"a"]})", "current 24"},
        {R"({"name": "x", "microamps": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24], "noiseCounts": "lots"})", "noiseCounts"},
    };
    for (const auto& c : bad) {
        error.clear();
        EXPECT_FALSE(parsePatientProfile(c.json, &error)) << c.json;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    }
}

TEST(PatientProfiles, DeliveredProfilesAllLoad)
{
    const QString folder = QStringLiteral(TORK_TEST_FIXTURES "/../../data/profiles");
    QStringList errors;
    const auto profiles = loadPatientProfiles(folder, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_GE(profiles.size(), 5u);
    QStringList names;
    for (const auto& p : profiles) names << p.name;
    EXPECT_EQ(names.removeDuplicates(), 0);

    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.json"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\"name\": 1}");
    broken.close();
    errors.clear();
    EXPECT_TRUE(loadPatientProfiles(dir.path(), &errors).empty());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("broken.json"));
}

}  // namespace
}  // namespace tork
