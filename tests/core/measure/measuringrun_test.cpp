#include "core/measure/measuringrun.h"

#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "support/scriptedmessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tork {
namespace {

// ME k reads 20 + 3k microamperes, exactly: full scale 4000 makes every value a whole count.
PatientProfile steppedProfile()
{
    PatientProfile profile;
    profile.name = QStringLiteral("Stepped");
    for (int me = 1; me <= kPointCount; ++me) profile.microamps[me - 1] = 20 + 3 * me;
    return profile;
}

PatientProfile steadyProfile(double microamps)
{
    PatientProfile profile = PatientProfile::even(microamps);
    profile.noiseCounts = 0;
    return profile;
}

struct Completion {
    int position;
    int me;
};

class MeasuringRunTest : public ::testing::Test {
protected:
    MeasuringRunTest()
    {
        sim.setProfile(steppedProfile());
        link.install();
        state.rebuildTables();
        run.setDayCountSource([] { return 46000.25; });
        op.setShownPoint([this] { return run.currentPoint(); });
        op.setEnabled(true);
        QObject::connect(&run, &MeasuringRun::pointCompleted, [this](int position, int me, Stability) {
            completions.push_back({position, me});
        });
        QObject::connect(&run, &MeasuringRun::contactLost, [this](int position) { lostAt.push_back(position); });
        sim.clearRecords();
    }

    void useSettings(int line, int value)
    {
        state.settings.setInt(line, value);
        state.rebuildTables();
    }
    // Runs `action` once, `delayMs` after the first time the signal fires for `position`.
    template <typename Signal>
    void atPosition(Signal signal, int position, int delayMs, std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&run, signal, &run, [this, position, delayMs, action, done](int p) {
            if (p != position || *done) return;
            *done = true;
            clock.callAfter(delayMs, &run, action);
        });
    }
    QStringList commandsExceptReadings() const
    {
        QStringList result;
        for (const QString& c : sim.commands())
            if (c != QLatin1String("D0000")) result << c;
        return result;
    }
    std::vector<int> completedPoints() const
    {
        std::vector<int> mes;
        for (const Completion& c : completions) mes.push_back(c.me);
        return mes;
    }

    VirtualClock clock;
    SimulatedInstrument sim{clock};
    DeviceLink link{sim, clock};
    ProgramState state;
    CurrentMeasurement measurement;
    MeasuringRun run{state, measurement, link, clock};
    VirtualOperator op{sim, clock, VirtualOperator::PointOrder{}};
    test::ScriptedMessages messages;
    std::vector<Completion> completions;
    std::vector<int> lostAt;
};

TEST(MeasuringRules, ThresholdGainChannelsAndLamps)
{
    EXPECT_DOUBLE_EQ(gainOf(4000), 20.0);
    EXPECT_DOUBLE_EQ(contactThreshold(1.0, 4000), 20.0);
    EXPECT_DOUBLE_EQ(contactThreshold(0.5, 4060), 10.15);

    const std::vector<std::pair<int, const char*>> channels{{0, "K0001"}, {1, "K0002"}, {2, "K0003"},
                                                            {3, "K0004"}, {4, "K0005"}, {9, "K0001"}};
    for (const auto& [code, command] : channels) EXPECT_EQ(channelCommand(code), QLatin1String(command)) << code;
    EXPECT_EQ(channelCompanionCommand(0), QStringLiteral("I0000"));
    EXPECT_EQ(channelCompanionCommand(2), QStringLiteral("I00FF"));

    const std::vector<std::pair<double, Stability>> grades{
        {0, Stability::Green}, {20, Stability::Green}, {20.01, Stability::Yellow},
        {40, Stability::Yellow}, {40.5, Stability::Red}};
    for (const auto& [sd, grade] : grades) EXPECT_EQ(stabilityOf(sd), grade) << sd;
    EXPECT_EQ(completionLampCommands(Stability::Green), (QStringList{"F00FF", "C0000"}));
    EXPECT_EQ(completionLampCommands(Stability::Yellow), (QStringList{"F00FF", "C00FF"}));
    EXPECT_EQ(completionLampCommands(Stability::Red), (QStringList{"F0000", "C00FF"}));
}

TEST(MeasuringRules, RingKeepsTheLastTwentyReadingsAndTheirPopulationDeviation)
{
    StabilityRing ring;
    ring.fill(1000);
    EXPECT_DOUBLE_EQ(ring.standardDeviation(), 0.0);
    // Ten readings of 990 and ten of 1010: population deviation exactly 10.
    for (int i = 0; i < 10; ++i) {
        ring.put(990);
        ring.put(1010);
    }
    EXPECT_NEAR(ring.standardDeviation(), 10.0, 1e-9);
    // Twenty more steady readings push every old one out.
    for (int i = 0; i < 20; ++i) ring.put(2000);
    EXPECT_DOUBLE_EQ(ring.standardDeviation(), 0.0);
}

TEST(MeasuringRules, AveragesOfTheCurrentMeasurement)
{
    CurrentMeasurement m;
    EXPECT_FALSE(m.valueAverage());
    EXPECT_FALSE(m.qualityAverage());
    m.values[0] = 40;
    m.values[5] = 60;
    m.quality[0] = 90;
    m.quality[5] = -5;  // an unusable point counts as a point, its score as nothing
    EXPECT_TRUE(m.anyValue());
    EXPECT_FALSE(m.allValues());
    EXPECT_DOUBLE_EQ(*m.valueAverage(), 50.0);
    EXPECT_DOUBLE_EQ(*m.qualityAverage(), 45.0);
}

TEST_F(MeasuringRunTest, FullAutomaticRunStoresEveryPointWithStandardSounds)
{
    run.start();
    ASSERT_FALSE(run.isRunning());
    ASSERT_EQ(completions.size(), 24u);
    for (int me = 1; me <= kPointCount; ++me) {
        const double expected = 20 + 3 * me;
        EXPECT_DOUBLE_EQ(measurement.value(me), expected) << "ME" << me;
        EXPECT_DOUBLE_EQ(measurement.quality[me - 1], 100.0) << "ME" << me;
        EXPECT_NEAR(measurement.compensated[me - 1], expected * state.tables.compensationFactor(meridianOfPoint(me)), 1e-9);
        EXPECT_EQ(completions[me - 1].position, me);
    }
    EXPECT_TRUE(lostAt.empty());
    EXPECT_TRUE(measurement.hasData);
    EXPECT_EQ(state.analysedPointsCounter, 24);
    EXPECT_DOUBLE_EQ(state.measurementDateTime, 46000.25);

    const QStringList commands = commandsExceptReadings();
    EXPECT_EQ(commands.mid(0, 4), (QStringList{"X0000", "L0000", "I0000", "K0001"}));
    EXPECT_EQ(commands.last(), QStringLiteral("X0000"));
    EXPECT_EQ(commands.count(QStringLiteral("F00FF")), 24);  // 24 green "completed" lamps
    EXPECT_EQ(commands.count(QStringLiteral("C007F")), 24);

    // Five countdown tones and the completion tone per point; the last point has its own.
    QStringList expectedTones;
    for (int p = 1; p <= kPointCount; ++p) {
        for (int i = 0; i < 5; ++i) expectedTones << "SB660";
        expectedTones << (p < kPointCount ? QStringList{"S6862"} : QStringList{"S6864", "S4F62"});
    }
    EXPECT_EQ(sim.tones(), expectedTones);
}

TEST_F(MeasuringRunTest, SingleSoundPlaysAtSamplingStartAndCompletion)
{
    useSettings(SettingLine::MeasureSound, MeasureSound::Single);
    run.start();
    QStringList expectedTones;
    for (int p = 1; p < kPointCount; ++p) expectedTones << "SC040" << "SB660";
    expectedTones << "SC040" << "SB660" << "S6862";
    EXPECT_EQ(sim.tones(), expectedTones);

    sim.clearRecords();
    useSettings(SettingLine::MeasureSound, MeasureSound::Mute);
    run.start();
    EXPECT_TRUE(sim.tones().isEmpty());
}

TEST_F(MeasuringRunTest, SteadyThousandCountsIsFiftyMicroampsWithFullQuality)
{
    sim.setProfile(steadyProfile(50));
    run.start();
    EXPECT_DOUBLE_EQ(measurement.value(HT), 50.0);
    EXPECT_DOUBLE_EQ(measurement.quality[HT - 1], 100.0);
    EXPECT_NEAR(measurement.compensated[HT - 1], 55.405, 1e-9);
}

TEST_F(MeasuringRunTest, ContactAtTwentyOneCountsButNotAtTwenty)
{
    struct Case {
        double microamps;
        bool contact;
    };
    for (const Case& c : {Case{1.0, false}, Case{1.05, true}}) {
        sim.setProfile(steadyProfile(c.microamps));
        bool sampled = false;
        auto connection = QObject::connect(&run, &MeasuringRun::samplingStarted, [&] { sampled = true; });
        clock.callAfter(3000, &run, [this] { run.requestStop(); });
        run.start();
        QObject::disconnect(connection);
        EXPECT_EQ(sampled, c.contact) << c.microamps << " uA";
        EXPECT_EQ(measurement.value(1) != 0, c.contact);
        measurement.clear();
    }
}

TEST_F(MeasuringRunTest, ContactLostWhileSamplingRestartsThePoint)
{
    atPosition(&MeasuringRun::samplingStarted, 3, 1000, [this] { sim.lift(); });
    run.start();
    EXPECT_EQ(lostAt, std::vector<int>{3});
    ASSERT_EQ(completions.size(), 24u);
    EXPECT_EQ(completions[2].position, 3);
    EXPECT_DOUBLE_EQ(measurement.value(3), 29.0);
    EXPECT_EQ(commandsExceptReadings().count(QStringLiteral("F007F")), 25);
}

TEST_F(MeasuringRunTest, LiftOffTimeOutAnsweredNoEndsTheRunAfterThePoint)
{
    op.setDelays(600, 7000);  // the operator keeps the probe on the point too long
    messages.planAnswers({false});
    run.start();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, MessageKind::ImportantQuestion);
    EXPECT_EQ(messages.shown()[0].text, MeasuringRun::timeOutQuestion());
    EXPECT_EQ(completedPoints(), std::vector<int>{1});
    EXPECT_DOUBLE_EQ(measurement.value(1), 23.0);
    EXPECT_DOUBLE_EQ(measurement.value(2), 0.0);
    EXPECT_TRUE(sim.tones().join(',').contains(QStringLiteral("S5662,S8960")));
    EXPECT_EQ(commandsExceptReadings().last(), QStringLiteral("X0000"));
}

TEST_F(MeasuringRunTest, LiftOffTimeOutAnsweredYesGoesOnAndTheLastPointJustFinishes)
{
    sim.setProfile(steadyProfile(40));
    op.setDelays(600, 7000);
    messages.setFallback(true);
    run.start();
    EXPECT_EQ(completions.size(), 24u);
    EXPECT_EQ(messages.shown().size(), 23);  // never after position 24
    for (int me = 1; me <= kPointCount; ++me) EXPECT_DOUBLE_EQ(measurement.value(me), 40.0);
}

TEST_F(MeasuringRunTest, ManualModeWaitsForStartAndPausesBetweenPoints)
{
    useSettings(SettingLine::MeasuringMethod, 0);
    std::vector<std::uint32_t> completedAt, openedAt;
    QObject::connect(&run, &MeasuringRun::manualStartEnabledChanged, [this](bool enabled) {
        if (enabled) clock.callAfter(800, &run, [this] { run.requestManualStart(); });
    });
    QObject::connect(&run, &MeasuringRun::pointCompleted, [&] { completedAt.push_back(clock.tick()); });
    QObject::connect(&run, &MeasuringRun::pointOpened, [&] { openedAt.push_back(clock.tick()); });
    run.start();
    ASSERT_EQ(completions.size(), 24u);
    for (int me = 1; me <= kPointCount; ++me) {
        EXPECT_DOUBLE_EQ(measurement.value(me), 20 + 3 * me) << "ME" << me;
        EXPECT_DOUBLE_EQ(measurement.quality[me - 1], 100.0) << "ME" << me;
    }
    for (std::size_t i = 1; i < openedAt.size(); ++i) EXPECT_GE(openedAt[i] - completedAt[i - 1], 1500u);
    const QStringList commands = commandsExceptReadings();
    EXPECT_EQ(commands.mid(0, 4), (QStringList{"X0000", "L0000", "I0000", "K0000"}));
    EXPECT_EQ(commands.count(QStringLiteral("K0001")), 24);  // the channel is chosen at each Start
    EXPECT_EQ(commands.count(QStringLiteral("K0000")), 25);  // and dropped after each point
    EXPECT_FALSE(run.manualStartEnabled());
}

TEST_F(MeasuringRunTest, TableClickOnME14WhileWaitingMovesTheRun)
{
    atPosition(&MeasuringRun::pointOpened, 3, 100, [this] { EXPECT_TRUE(run.selectPosition(14)); });
    run.start();
    std::vector<int> expected{1, 2};
    for (int me = 14; me <= kPointCount; ++me) expected.push_back(me);
    EXPECT_EQ(completedPoints(), expected);
    EXPECT_DOUBLE_EQ(measurement.value(14), 62.0);
    for (int me = 3; me < 14; ++me) EXPECT_DOUBLE_EQ(measurement.value(me), 0.0) << "ME" << me;
    EXPECT_FALSE(run.selectPosition(5));  // idle: clicks are not taken
}

TEST_F(MeasuringRunTest, StopDuringSamplingEndsTheRunAfterThatPoint)
{
    atPosition(&MeasuringRun::samplingStarted, 5, 1000, [this] { run.requestStop(); });
    run.start();
    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(completedPoints(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_DOUBLE_EQ(measurement.value(6), 0.0);
    EXPECT_EQ(commandsExceptReadings().last(), QStringLiteral("X0000"));
}

TEST_F(MeasuringRunTest, OfflineRunIsRefusedAndSendsNothing)
{
    sim.unplug();
    sim.clearRecords();
    run.start();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, MessageKind::ImportantNotice);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("T.O.R.K. is off-line! Please reconnect the device."));
    EXPECT_TRUE(sim.commands().isEmpty());
    EXPECT_FALSE(run.isRunning());
}

TEST_F(MeasuringRunTest, InstrumentUnpluggedMidRunEndsTheRunWithTheOfflineNotice)
{
    atPosition(&MeasuringRun::samplingStarted, 2, 1000, [this] { sim.unplug(); });
    run.start();
    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(completedPoints(), std::vector<int>{1});
    EXPECT_DOUBLE_EQ(measurement.value(2), 0.0);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, MeasuringRun::offlineText());
}

TEST_F(MeasuringRunTest, ProbeFaultDuringSamplingRestartsThePointAndRaisesTheNoticeOnce)
{
    int shown = 0, hidden = 0;
    QObject::connect(&link, &DeviceLink::noticeShown, [&](const QString&, const QString& text, bool) {
        if (text == DeviceLink::probeFaultText()) ++shown;
    });
    QObject::connect(&link, &DeviceLink::noticeHidden, [&] { ++hidden; });
    atPosition(&MeasuringRun::samplingStarted, 2, 500, [this] {
        sim.setProbeFault(true);
        clock.callAfter(1000, &run, [this] { sim.setProbeFault(false); });
    });
    run.start();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(lostAt, std::vector<int>{2});
    EXPECT_EQ(completions.size(), 24u);
    EXPECT_DOUBLE_EQ(measurement.value(2), 26.0);
}

TEST_F(MeasuringRunTest, RecalledMeasurementIsMeasuredOverOrCleared)
{
    struct Case {
        bool clearFirst;
    };
    for (const Case& c : {Case{false}, Case{true}}) {
        measurement.values.fill(33);
        measurement.quality.fill(90);
        measurement.hasData = true;
        state.currentMeasurementKey = 7;
        state.measurementMemo = QStringList{"memo"};
        messages.clear();
        messages.planAnswers({c.clearFirst});
        sim.clearRecords();
        bool cleared = false;
        auto clearedConnection = QObject::connect(&run, &MeasuringRun::measurementCleared, [&] { cleared = true; });
        auto stopConnection = QObject::connect(&run, &MeasuringRun::pointCompleted, [this](int position) {
            if (position == 2) run.requestStop();
        });
        run.start();
        QObject::disconnect(clearedConnection);
        QObject::disconnect(stopConnection);

        ASSERT_GE(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].kind, MessageKind::InformationQuestion);
        EXPECT_EQ(messages.shown()[0].text, MeasuringRun::clearFirstQuestion());
        EXPECT_EQ(sim.tones().value(0), QStringLiteral("S8863"));
        EXPECT_EQ(cleared, c.clearFirst);
        EXPECT_DOUBLE_EQ(measurement.value(1), 23.0);
        EXPECT_DOUBLE_EQ(measurement.value(2), 26.0);
        EXPECT_DOUBLE_EQ(measurement.value(3), c.clearFirst ? 0.0 : 33.0);
        EXPECT_DOUBLE_EQ(measurement.quality[23], c.clearFirst ? 0.0 : 90.0);
        EXPECT_EQ(state.currentMeasurementKey, c.clearFirst ? 0 : 7);
        EXPECT_EQ(state.measurementMemo.isEmpty(), c.clearFirst);
    }
}

TEST_F(MeasuringRunTest, HighPotentialNeedsConfirmation)
{
    state.highPotential = true;
    messages.planAnswers({false});
    run.start();
    EXPECT_EQ(messages.shown().value(0).text, MeasuringRun::highPotentialQuestion());
    EXPECT_EQ(sim.commands(), (QStringList{"S885E", "S8862"}));  // the question's tone, nothing of a run
    EXPECT_TRUE(completions.empty());

    // Confirmed: the run selects the high potential and takes its full-scale count.
    sim.setFullScaleCounts(4000, 3600);
    link.readDeviceIdentity();
    sim.setProfile(steadyProfile(50));
    messages.planAnswers({true});
    auto stop = QObject::connect(&run, &MeasuringRun::pointCompleted, [this] { run.requestStop(); });
    run.start();
    QObject::disconnect(stop);
    EXPECT_TRUE(commandsExceptReadings().contains(QStringLiteral("H0000")));
    EXPECT_DOUBLE_EQ(run.gain(), 18.0);
    // Skin draws 1.2 times the current at high potential: 60 uA read at 18 counts per uA.
    EXPECT_DOUBLE_EQ(measurement.value(1), 60.0);
}

TEST_F(MeasuringRunTest, CoupledPairOrderVisitsThePositionsInThatOrder)
{
    useSettings(SettingLine::OrderMode, 1);
    std::vector<int> touched;
    QObject::connect(&op, &VirtualOperator::acted, [&](const QString& what) {
        if (what.startsWith(QStringLiteral("touch ME"))) touched.push_back(what.mid(8).toInt());
    });
    run.start();
    const std::vector<int> expected{1, 6, 2, 5, 3, 4, 7, 12, 8, 11, 9, 10, 13, 18, 14, 17, 15, 16, 19, 24, 20, 23, 21, 22};
    EXPECT_EQ(completedPoints(), expected);
    EXPECT_EQ(touched, expected);
    for (int me = 1; me <= kPointCount; ++me) EXPECT_DOUBLE_EQ(measurement.value(me), 20 + 3 * me) << "ME" << me;
}

}  // namespace
}  // namespace tork
