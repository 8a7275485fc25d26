#include "core/app/programstate.h"
#include "core/app/scramble.h"
#include "core/app/settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace tork;

namespace {

// Writes a settings file from plain line values (scrambled as the program writes them).
void writePlainLines(const QString& path, const QStringList& plain)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& line : plain) file.write(scramble(line, 5).toLatin1() + "\r\n");
}

QStringList plainLinesOf(const Settings& s)
{
    QStringList lines;
    for (int line = 1; line <= kSettingsLineCount; ++line) lines << s.fileText(line);
    return lines;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SettingsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("KaDefE6c.ini");
};

}  // namespace

TEST_F(SettingsFile, NewValuesRoundTripThroughTheFile)
{
    Settings written;
    ASSERT_EQ(written.save(path), QString());
    const QList<QByteArray> lines = readAll(path).split('\n');
    EXPECT_EQ(lines.size(), 79);  // 78 lines ending in CR LF
    EXPECT_TRUE(lines[0].endsWith('\r'));
    Settings read;
    read.setInt(SettingLine::MeasuringMethod, 0);
    ASSERT_TRUE(read.load(path).ok);
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.intValue(SettingLine::FullScaleNormal), 4000);
    EXPECT_EQ(read.text(SettingLine::PrintOptions), "011100000000000000000000000000100010201111");
    EXPECT_EQ(read.text(SettingLine::FnVisibility), "111000");
    EXPECT_EQ(read.text(SettingLine::FnCaption1 + 1), "Fn2");
    EXPECT_TRUE(read.flag(SettingLine::OptionSwitch13));
    EXPECT_EQ(read.intValue(SettingLine::IndexSelector), 1);
}

TEST_F(SettingsFile, BlankLinesTakeTheirBlankValues)
{
    QStringList plain = plainLinesOf(Settings());
    struct Case { int line; const char* expected; };
    const Case cases[] = {
        {SettingLine::FullScaleNormal, "4000"},
        {SettingLine::ReportTitle, "T.O.R.K Analysis Data Report"},
        {SettingLine::ReportLine3, "Medical R&D Center"},
        {SettingLine::OptionSwitch13, "0"},       // new value true, blank false
        {SettingLine::FnVisibility, "000000"},    // new value "111000"
        {SettingLine::FnCaption1 + 1, ""},        // taken as read
        {SettingLine::FnHint1, ""},               // taken as read
        {SettingLine::CustomOrder1, "1"},
        {SettingLine::CustomOrder1 + 11, "12"},
        {SettingLine::CustomSettlingMs, "2000"},
        {SettingLine::CustomFactor1 + 3, "1"},
        {SettingLine::IndexSelector, "1"},
    };
    for (const Case& c : cases) plain[c.line - 1] = QString();
    plain[SettingLine::ReportLine2 - 1] = "   ";  // blank after trimming
    writePlainLines(path, plain);
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    for (const Case& c : cases) EXPECT_EQ(s.text(c.line), c.expected) << "line " << c.line;
    EXPECT_EQ(s.text(SettingLine::ReportLine2), Settings().text(SettingLine::ReportLine2));
}

TEST_F(SettingsFile, TextKeepsSurroundingBlanksWhenNotBlank)
{
    QStringList plain = plainLinesOf(Settings());
    plain[SettingLine::ReportTitle - 1] = "  Praxis Nord  ";
    writePlainLines(path, plain);
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    EXPECT_EQ(s.text(SettingLine::ReportTitle), "  Praxis Nord  ");
}

TEST_F(SettingsFile, FullScaleCountsHaveAFloorOf2000)
{
    QStringList plain = plainLinesOf(Settings());
    plain[0] = "1500";
    plain[1] = "2000";
    plain[2] = "abc";
    plain[3] = "3999";
    writePlainLines(path, plain);
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    EXPECT_EQ(s.intValue(1), 4000);
    EXPECT_EQ(s.intValue(2), 2000);
    EXPECT_EQ(s.intValue(3), 4000);
    EXPECT_EQ(s.intValue(4), 3999);
}

TEST_F(SettingsFile, ShortFileFillsTheRestWithBlankValues)
{
    QStringList plain = plainLinesOf(Settings());
    plain[0] = "3000";
    writePlainLines(path, plain.mid(0, 3));
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    EXPECT_EQ(s.intValue(1), 3000);
    EXPECT_EQ(s.text(SettingLine::FnVisibility), "000000");
    EXPECT_FALSE(s.flag(SettingLine::OptionSwitch13));
    EXPECT_EQ(s.text(SettingLine::ReportTitle), "T.O.R.K Analysis Data Report");
}

TEST_F(SettingsFile, LongFileReadsItsFirst78Lines)
{
    QStringList plain = plainLinesOf(Settings());
    plain[SettingLine::IndexSelector - 1] = "2";
    for (int i = 0; i < 422; ++i) plain << "junk";
    writePlainLines(path, plain);
    const QByteArray before = readAll(path);
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    EXPECT_EQ(s.intValue(SettingLine::IndexSelector), 2);
    EXPECT_EQ(readAll(path), before);  // loading never rewrites the file
}

TEST_F(SettingsFile, LineThatIsNotHexStopsTheLoad)
{
    QStringList plain = plainLinesOf(Settings());
    plain[0] = "2500";
    plain[SettingLine::Sensitivity - 1] = "3.5";
    writePlainLines(path, plain);
    QByteArray content = readAll(path);
    QList<QByteArray> lines = content.split('\n');
    lines[SettingLine::CalibrationDate - 1] = "XYZ\r";  // line 7 damaged
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n'));
    file.close();
    const QByteArray damaged = readAll(path);

    Settings s;
    s.setText(SettingLine::ReportTitle, "kept");
    const SettingsLoadResult result = s.load(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 7);
    EXPECT_TRUE(result.message.contains("Line 7"));
    EXPECT_EQ(s.intValue(1), 2500);                         // read before the bad line
    EXPECT_DOUBLE_EQ(s.realValue(SettingLine::Sensitivity), 3.5);
    EXPECT_EQ(s.text(SettingLine::ReportTitle), "kept");   // after it: earlier value
    EXPECT_EQ(readAll(path), damaged);                      // the file is left as it was
}

TEST_F(SettingsFile, RealsIgnoreTheLocale)
{
    Settings written;
    written.setReal(SettingLine::CustomFactor1, 0.85);
    written.setReal(SettingLine::Sensitivity, 1.25);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(written.save(path), QString());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Settings read;
    ASSERT_TRUE(read.load(path).ok);
    QLocale::setDefault(QLocale::c());
    EXPECT_DOUBLE_EQ(read.realValue(SettingLine::CustomFactor1), 0.85);
    EXPECT_DOUBLE_EQ(read.realValue(SettingLine::Sensitivity), 1.25);
    EXPECT_EQ(read.fileText(SettingLine::CustomFactor1), "0.85");
}

TEST_F(SettingsFile, CommaDecimalWrittenElsewhereStillLoads)
{
    QStringList plain = plainLinesOf(Settings());
    plain[SettingLine::CustomFactor1 - 1] = "0,85";
    writePlainLines(path, plain);
    Settings s;
    ASSERT_TRUE(s.load(path).ok);
    EXPECT_DOUBLE_EQ(s.realValue(SettingLine::CustomFactor1), 0.85);
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileWhole)
{
    Settings first;
    first.setText(SettingLine::ReportTitle, "first");
    ASSERT_EQ(first.save(path), QString());
    const QByteArray before = readAll(path);

    // A file-size limit below the file's size fails the write part way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    Settings second;
    second.setText(SettingLine::ReportTitle, "second");
    const QString error = second.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), before);
    Settings reread;
    ASSERT_TRUE(reread.load(path).ok);
    EXPECT_EQ(reread.text(SettingLine::ReportTitle), "first");
}

TEST(Settings, SetFromTextChecksTheType)
{
    Settings s;
    EXPECT_EQ(s.setFromText(SettingLine::MeasuringChannel, "2"), QString());
    EXPECT_EQ(s.intValue(SettingLine::MeasuringChannel), 2);
    EXPECT_FALSE(s.setFromText(SettingLine::MeasuringChannel, "two").isEmpty());
    EXPECT_FALSE(s.setFromText(SettingLine::FullScaleNormal, "1500").isEmpty());
    EXPECT_FALSE(s.setFromText(SettingLine::OptionSwitch13, "yes").isEmpty());
    EXPECT_FALSE(s.setFromText(0, "1").isEmpty());
    EXPECT_FALSE(s.setFromText(79, "1").isEmpty());
    EXPECT_EQ(s.setFromText(SettingLine::CustomFactor1, "0.85"), QString());
    EXPECT_DOUBLE_EQ(s.realValue(SettingLine::CustomFactor1), 0.85);
    EXPECT_EQ(s.intValue(SettingLine::MeasuringChannel), 2);  // refused values changed nothing
}

TEST(ProgramState, MissingFileWritesDefaultsAndOrderModeOneTakesEffectOnLoad)
{
    QTemporaryDir dir;
    ProgramState state{ProgramFolder(dir.path())};
    ASSERT_TRUE(state.loadOrCreateSettings().ok);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("KaDefE6c.ini")));

    state.settings.setInt(SettingLine::OrderMode, 1);
    ASSERT_EQ(state.saveSettings(), QString());
    ProgramState next{ProgramFolder(dir.path())};
    ASSERT_TRUE(next.loadOrCreateSettings().ok);
    EXPECT_EQ(next.tables.meridianOrder(2), LI);
}

TEST(ProgramState, DamagedFileDoesNotRebuildTables)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("KaDefE6c.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("nothex\r\n");
    file.close();
    ProgramState state{ProgramFolder(dir.path())};
    state.tables.rebuild(1, defaultMeridianOrder(), 0, builtInCompensationFactors());
    EXPECT_FALSE(state.loadOrCreateSettings().ok);
    EXPECT_EQ(state.tables.meridianOrder(2), LI);  // untouched
}
