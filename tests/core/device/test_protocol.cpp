#include "core/device/protocol.h"
#include "core/device/reportdescriptor.h"
#include "core/app/clock.h"

#include <gtest/gtest.h>

namespace tork {
namespace {

TEST(InstrumentReport, CommandIsBlankPaddedAfterReportIdZero)
{
    const QByteArray report = buildOutputReport(QStringLiteral("D0000"), 9);
    ASSERT_EQ(report.size(), 9);
    EXPECT_EQ(report.at(0), '\0');
    EXPECT_EQ(report.mid(1), QByteArray("D0000   "));
    // A report too short for the command keeps what fits; the report ID stays 0.
    EXPECT_EQ(buildOutputReport(QStringLiteral("D0000"), 4), QByteArray("\0D00", 4));
    EXPECT_EQ(commandOfReport(buildOutputReport(QStringLiteral("R0600"), 65)), QStringLiteral("R0600"));
}

TEST(InstrumentReply, TrimsBlanksAndControlCharacters)
{
    EXPECT_EQ(replyText(QByteArray("D0FA0\0\0\0", 8)), QStringLiteral("D0FA0"));
    EXPECT_EQ(replyText(QByteArray("\x01 \tZ0001\r\n\x7f")), QStringLiteral("Z0001"));
    EXPECT_EQ(replyText(QByteArray("\0\0\0", 3)), QString());
    EXPECT_EQ(replyText(QByteArray("D0ABC\0\0\0D0DEF", 13)), QStringLiteral("D0ABC"));
    EXPECT_EQ(replyText(QByteArray()), QString());
}

TEST(InstrumentReply, ReadingsAndTheirDefaults)
{
    const struct { const char* reply; int count; } cases[] = {
        {"D0FA0", 4000}, {"D0000", 0}, {"D0FFF", 4095}, {"D0fa0", 4000},
        {"Z0001", 1},                         // the probe circuit fault reads as 1
        {"", 0}, {"D0F", 0}, {"D0FA", 0},     // no reply, too short
        {"D0FA01", 0}, {"D0FA0D0FA0", 0},     // longer than a reading
        {"D0XYZ", 0}, {"D0-1F", 0}, {"D0 1F", 0}, {"D0+1F", 0},
        {"Z0000", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parseReading(QString::fromLatin1(c.reply)), c.count) << c.reply;
}

TEST(InstrumentReply, RegisterTextIsCharactersFourAndFive)
{
    EXPECT_EQ(registerText(QStringLiteral("R061A")), QStringLiteral("1A"));
    EXPECT_EQ(registerText(QStringLiteral("R06GG")), QStringLiteral("GG"));  // shown as read
    EXPECT_EQ(registerText(QStringLiteral("R06")), QString());
    EXPECT_EQ(registerText(QStringLiteral("R061A2")), QString());
    EXPECT_EQ(registerText(QString::fromLatin1("R06\x01" "A")), QString());
}

TEST(InstrumentRegisters, CommandsAndJoinedValues)
{
    EXPECT_EQ(readRegisterCommand(0x06), QStringLiteral("R0600"));
    EXPECT_EQ(writeRegisterCommand(0x0D, 30), QStringLiteral("W0D1E"));
    EXPECT_EQ(gainCommand(20), QStringLiteral("G0014"));
    EXPECT_EQ(gainCommand(300), QStringLiteral("G00FF"));
    EXPECT_EQ(gainCommand(-4), QStringLiteral("G0000"));
    EXPECT_EQ(lampCommand(u'C', 0x7F), QStringLiteral("C007F"));

    EXPECT_EQ(fullScaleFromRegisters(QStringLiteral("0F"), QStringLiteral("A0")), 4000);
    EXPECT_EQ(fullScaleFromRegisters(QString(), QStringLiteral("A0")), 4060);
    EXPECT_EQ(fullScaleFromRegisters(QStringLiteral("0F"), QStringLiteral("ZZ")), 4060);

    EXPECT_EQ(counterWriteCommands(256), (QStringList{"W0600", "W0701", "W0800"}));
    EXPECT_EQ(counterWriteCommands(1), (QStringList{"W0600", "W0700", "W0801"}));
    EXPECT_EQ(counterWriteCommands(0x1000000), (QStringList{"W06FF", "W07FF", "W08FF"}));
    EXPECT_EQ(joinedHex({"00", "00", "FF"}), 255);
    EXPECT_FALSE(joinedHex({"00", "xx", "FF"}).has_value());
}

TEST(ToneTable, RowsAndOutside)
{
    EXPECT_EQ(toneCommands(1), QStringList{"S8863"});
    EXPECT_EQ(toneCommands(2), (QStringList{"S885E", "S8862"}));
    EXPECT_EQ(toneCommands(3), (QStringList{"S5662", "S8960"}));
    EXPECT_EQ(toneCommands(6), (QStringList{"S6864", "S4F62"}));
    EXPECT_EQ(toneCommands(7), toneCommands(9));
    EXPECT_EQ(toneCommands(13), QStringList{"SC040"});
    EXPECT_TRUE(toneCommands(0).isEmpty());
    EXPECT_TRUE(toneCommands(14).isEmpty());
}

TEST(ReportDescriptor, OutputReportLength)
{
    // Vendor page, 8-byte input and 8-byte output reports without report IDs.
    const QByteArray plain = QByteArray::fromHex("0600ff0901a101150026ff007508950809018102950809029102c0");
    EXPECT_EQ(outputReportLengthFromDescriptor(plain), 9);
    // Two numbered output reports: the longer one counts.
    const QByteArray numbered = QByteArray::fromHex("0600ff0901a1018501750895040901910285027508952009019102c0");
    EXPECT_EQ(outputReportLengthFromDescriptor(numbered), 33);
    // Input only, or cut short in the middle of an item: no length.
    EXPECT_EQ(outputReportLengthFromDescriptor(QByteArray::fromHex("0600ff0901a1017508950809018102c0")), 0);
    EXPECT_EQ(outputReportLengthFromDescriptor(QByteArray::fromHex("0600ff0901a1017508960a")), 0);
    EXPECT_EQ(outputReportLengthFromDescriptor(QByteArray()), 0);
}

TEST(Clock, TicksWrapAround)
{
    EXPECT_EQ(ticksBetween(0xFFFFFFF0u, 0x10u), 0x20u);
    VirtualClock clock(0xFFFFFFC0u);
    const std::uint32_t start = clock.tick();
    bool ran = false;
    clock.callAfter(100, nullptr, [&] { ran = true; });
    EXPECT_TRUE(clock.waitFor(500, [&] { return ran; }));
    EXPECT_EQ(clock.elapsedSince(start), 100u);
    EXPECT_LT(clock.tick(), start);  // the counter wrapped on the way
    EXPECT_FALSE(clock.waitFor(250, [] { return false; }));
    EXPECT_EQ(clock.elapsedSince(start), 350u);
}

TEST(Clock, ScheduledActionOfDeletedContextIsDropped)
{
    VirtualClock clock;
    int runs = 0;
    auto* context = new QObject;
    clock.callAfter(10, context, [&] { ++runs; });
    clock.callAfter(20, nullptr, [&] { ++runs; });
    delete context;
    clock.advance(50);
    EXPECT_EQ(runs, 1);
}

TEST(Clock, SystemWaitEndsWhenWoken)
{
    SystemClock clock;
    bool done = false;
    clock.callAfter(1, nullptr, [&] {
        done = true;
        clock.wake();
    });
    // A generous limit: the wait returns as soon as the condition holds, not at the limit.
    EXPECT_TRUE(clock.waitFor(60000, [&] { return done; }));
    EXPECT_FALSE(clock.waitFor(1, [] { return false; }));
}

}  // namespace
}  // namespace tork
