#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "core/app/displaystrings.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace tork {
namespace {

struct Notice {
    QString title;
    QString text;
    bool error;
};

// A link to a simulated instrument in virtual time, recording the notices it raises.
class LinkTest : public ::testing::Test {
protected:
    LinkTest()
    {
        QObject::connect(&link, &DeviceLink::noticeShown, [this](const QString& t, const QString& x, bool e) {
            notices.push_back({t, x, e});
        });
        QObject::connect(&link, &DeviceLink::noticeHidden, [this] { ++hidden; });
        QObject::connect(&link, &DeviceLink::trayStatusChanged, [this](bool online) { tray.push_back(online); });
    }
    void installAndForget()
    {
        link.install();
        sim.clearRecords();
        notices.clear();
        tray.clear();
    }
    int writesOf(const QString& command) const { return static_cast<int>(sim.commands().count(command)); }

    VirtualClock clock{1000};
    SimulatedInstrument sim{clock};
    DeviceLink link{sim, clock};
    std::vector<Notice> notices;
    std::vector<bool> tray;
    int hidden = 0;
};

TEST_F(LinkTest, ArrivalAtStartClaimsAndReadsIdentityWithoutNotice)
{
    link.install();
    EXPECT_TRUE(link.isClaimed());
    EXPECT_TRUE(link.isOnline());
    EXPECT_EQ(link.hardwareVersion(), QStringLiteral("TORK6-20051706-A02"));
    EXPECT_TRUE(link.registerCalibration());
    EXPECT_EQ(link.serialNumber(), QStringLiteral("200517060042"));
    EXPECT_EQ(link.fullScaleNormal(), 4000);
    EXPECT_EQ(link.fullScaleHigh(), 4000);
    EXPECT_TRUE(notices.empty());  // no on-line notice while the start-up check is pending
    EXPECT_EQ(tray, std::vector<bool>{true});
}

TEST_F(LinkTest, IdentityByInstrumentKind)
{
    sim.setFullScaleCounts(0x0FA0, 3900);
    sim.setRegisterValue(0x0B, 0x0F);
    sim.setRegisterValue(0x0C, 0xA0);
    link.install();
    EXPECT_EQ(link.fullScaleNormal(), 4000);
    EXPECT_EQ(link.fullScaleHigh(), 3900);

    sim.unplug();
    sim.setKind(InstrumentKind::SoftwareCalibration);
    sim.plug();
    EXPECT_FALSE(link.registerCalibration());
    EXPECT_EQ(link.fullScaleNormal(), 4060);
    EXPECT_EQ(link.fullScaleHigh(), 4060);
}

TEST_F(LinkTest, RefusedThreeTimesFailsAfterThreeWrites)
{
    installAndForget();
    sim.refuseNext(3);
    const auto start = clock.tick();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_EQ(writesOf("D0000"), 3);
    EXPECT_TRUE(link.lastReply().isEmpty());
    EXPECT_FALSE(link.replyArrived());
    // Each refusal arrives after the instrument's latency: far less than three waits.
    EXPECT_EQ(clock.elapsedSince(start), 3u * SimulatedInstrument::kDefaultLatencyMs);

    sim.refuseNext(2);
    EXPECT_TRUE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_EQ(writesOf("D0000"), 6);
}

TEST_F(LinkTest, SilenceWaitsHundredMillisecondsPerAttempt)
{
    installAndForget();
    sim.stayMuteNext(3);
    const auto start = clock.tick();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("L0000")));
    EXPECT_EQ(clock.elapsedSince(start), 300u);
    EXPECT_EQ(writesOf("L0000"), 3);
}

TEST_F(LinkTest, FaultReplyCompletesTheExchange)
{
    installAndForget();
    sim.setProbeFault(true);
    EXPECT_TRUE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_EQ(link.lastReply(), QStringLiteral("Z0001"));
    EXPECT_EQ(writesOf("D0000"), 1);
}

TEST_F(LinkTest, WriteFailureFlushesPausesAndRetries)
{
    installAndForget();
    sim.failWritesNext(1);
    const auto start = clock.tick();
    EXPECT_TRUE(link.sendCommand(QStringLiteral("K0001")));
    EXPECT_EQ(clock.elapsedSince(start), 100u + SimulatedInstrument::kDefaultLatencyMs);
    sim.failWritesNext(3);
    EXPECT_FALSE(link.sendCommand(QStringLiteral("K0002")));
    EXPECT_EQ(writesOf("K0002"), 0);
}

TEST_F(LinkTest, LateReplyNeverAnswersTheNextCommand)
{
    installAndForget();
    // Replies after 350 ms: each attempt times out before its reply comes.
    sim.setLatency(350);
    EXPECT_FALSE(link.sendCommand(QStringLiteral("R0600")));
    sim.setLatency(2);
    // The three late "R06.." replies are discarded; this read gets its own answer.
    EXPECT_TRUE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_TRUE(link.lastReply().startsWith(u'D')) << link.lastReply().toStdString();
}

TEST_F(LinkTest, NothingIsSentWithoutAnInstrument)
{
    sim.unplug();
    link.install();
    EXPECT_FALSE(link.isClaimed());
    EXPECT_FALSE(link.isOnline());
    EXPECT_FALSE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_TRUE(sim.commands().isEmpty());
    EXPECT_EQ(link.readCurrent(), 0);
    link.measurementCounter(true);
    link.playSound(1);
    EXPECT_TRUE(sim.commands().isEmpty());
}

TEST_F(LinkTest, UnplugDuringAnExchangeStopsItAndGoesOffLine)
{
    installAndForget();
    link.setStartupCheckPending(false);
    sim.stayMuteNext(3);
    clock.callAfter(30, nullptr, [this] { sim.unplug(); });
    const auto start = clock.tick();
    EXPECT_FALSE(link.sendCommand(QStringLiteral("D0000")));
    EXPECT_EQ(clock.elapsedSince(start), 30u);
    EXPECT_EQ(writesOf("D0000"), 1);
    EXPECT_FALSE(link.sendCommand(QStringLiteral("L0000")));  // gone: nothing sent, nothing passed off as done
    EXPECT_EQ(writesOf("L0000"), 0);
    EXPECT_FALSE(link.isClaimed());
    EXPECT_FALSE(link.isOnline());
    ASSERT_EQ(notices.size(), 1u);
    const QString name = displayString(DisplayString::ProductName);
    EXPECT_EQ(notices[0].title, name + QStringLiteral(" Information"));
    EXPECT_EQ(notices[0].text, name + QStringLiteral(" is off-line."));
    EXPECT_TRUE(notices[0].error);
    EXPECT_EQ(tray, std::vector<bool>{false});

    sim.plug();
    EXPECT_TRUE(link.isOnline());
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].text, name + QStringLiteral(" is on-line."));
    EXPECT_FALSE(notices[1].error);
    EXPECT_EQ(tray, (std::vector<bool>{false, true}));
}

TEST_F(LinkTest, NestedCommandWaitsForTheExchangeInProgress)
{
    installAndForget();
    sim.setLatency(20);
    // An event handler that runs during the wait sends commands of its own.
    clock.callAfter(5, nullptr, [this] {
        EXPECT_FALSE(link.sendCommand(QStringLiteral("K0002")));
        EXPECT_FALSE(link.sendCommand(QStringLiteral("I00FF")));
    });
    EXPECT_TRUE(link.sendCommand(QStringLiteral("R0600")));
    EXPECT_EQ(link.lastReply(), QStringLiteral("R0600"));  // the caller still reads its own reply
    EXPECT_EQ(sim.commands(), (QStringList{"R0600", "K0002", "I00FF"}));
    EXPECT_EQ(sim.channel(), 2);
    EXPECT_EQ(sim.lampLevel(u'I'), 0xFF);
    EXPECT_FALSE(link.isExchanging());
}

TEST_F(LinkTest, MalformedRepliesReadAsDefaults)
{
    installAndForget();
    const QList<QByteArray> replies = {
        QByteArray(8, '\0'), QByteArray("D0"), QByteArray("D0FA0FA0FA0"), QByteArray("D0QRS"),
        QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08"), QByteArray(64, '\xff'),
    };
    for (const QByteArray& reply : replies) {
        sim.answerNextWith({reply});
        EXPECT_EQ(link.readCurrent(), 0) << reply.toHex().toStdString();
        sim.answerNextWith({reply, reply});
        EXPECT_EQ(fullScaleFromRegisters(link.readRegister(0x0B), link.readRegister(0x0C)), 4060);
    }
    sim.answerNextWith({"R06GG", "R0701", "R0800"});
    EXPECT_EQ(link.measurementCounter(false), 0);
}

TEST_F(LinkTest, ProbeFaultNoticeShownOnceAndHiddenAgain)
{
    installAndForget();
    sim.setProbeFault(true);
    EXPECT_EQ(link.readCurrent(), 1);
    EXPECT_EQ(link.readCurrent(), 1);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QStringLiteral("C.P.D.M. out of function") + QChar(0xFF01) + QStringLiteral("Please check.."));
    EXPECT_TRUE(notices[0].error);
    EXPECT_EQ(hidden, 0);
    sim.setProbeFault(false);
    link.readCurrent();
    link.readCurrent();
    EXPECT_EQ(hidden, 1);
}

TEST_F(LinkTest, MeasurementCounter)
{
    installAndForget();
    EXPECT_EQ(link.measurementCounter(false), 0x4D2);
    EXPECT_TRUE(sim.commands().filter(QRegularExpression("^W")).isEmpty());

    for (int a : {0x06, 0x07}) sim.setRegisterValue(a, 0);
    sim.setRegisterValue(0x08, 0xFF);
    EXPECT_EQ(link.measurementCounter(true), 256);
    EXPECT_EQ(sim.commands().filter(QRegularExpression("^W")), (QStringList{"W0600", "W0701", "W0800"}));
    EXPECT_EQ(link.measurementCounter(false), 256);

    // Registers that do not answer: read as 0, written as 1.
    sim.clearRecords();
    sim.stayMuteNext(9);
    EXPECT_EQ(link.measurementCounter(true), 1);
    EXPECT_EQ(sim.commands().filter(QRegularExpression("^W")), (QStringList{"W0600", "W0700", "W0801"}));
}

TEST_F(LinkTest, SoundsSendTheirRow)
{
    installAndForget();
    link.playSound(6);
    link.playSound(14);
    link.playSound(1);
    EXPECT_EQ(sim.tones(), (QStringList{"S6864", "S4F62", "S8863"}));
}

TEST_F(LinkTest, RunSizedSequenceTakesOnlyVirtualTime)
{
    installAndForget();
    // About as many readings as a 24-point run takes: each costs the instrument's latency.
    const auto start = clock.tick();
    sim.touchPoint(5);
    long total = 0;
    for (int i = 0; i < 24 * 400; ++i) total += link.readCurrent();
    EXPECT_EQ(clock.elapsedSince(start), 24u * 400u * SimulatedInstrument::kDefaultLatencyMs);
    EXPECT_NEAR(double(total) / (24 * 400), 60.0 / 200 * 4000, 5);
}

}  // namespace
}  // namespace tork
