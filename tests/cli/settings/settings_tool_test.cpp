#include "core/app/settings.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFile>

using tork::test::runTool;
using tork::test::TempProgramFolder;

TEST(SettingsTool, ShowSetAndShowAgain)
{
    TempProgramFolder folder;
    QString out, err;
    ASSERT_EQ(runTool({"settings", "show", "--program-folder", folder.path()}, &out, &err), 0) << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 78);
    EXPECT_EQ(lines[0], "01 full-scale count normal: 4000");
    EXPECT_EQ(lines[8], "09 User Name 2 (report title): T.O.R.K Analysis Data Report");
    EXPECT_TRUE(err.contains("no settings file"));

    ASSERT_EQ(runTool({"settings", "set", "52", "1", "--program-folder", folder.path()}, &out, &err), 0) << err.toStdString();
    ASSERT_EQ(runTool({"settings", "set", "9", "Praxis am See", "--program-folder", folder.path()}, &out, &err), 0);
    tork::Settings stored;
    ASSERT_TRUE(stored.load(folder.file("KaDefE6c.ini")).ok);
    EXPECT_EQ(stored.intValue(52), 1);
    EXPECT_EQ(stored.text(9), "Praxis am See");

    ASSERT_EQ(runTool({"settings", "show", "--program-folder", folder.path()}, &out, &err), 0);
    EXPECT_TRUE(out.contains("\n52 meridian order mode: 1\n"));
    EXPECT_FALSE(err.contains("no settings file"));
}

TEST(SettingsTool, RefusesBadInputWithoutTouchingTheFile)
{
    TempProgramFolder folder;
    ASSERT_EQ(tork::Settings().save(folder.file("KaDefE6c.ini")), QString());
    QFile file(folder.file("KaDefE6c.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    struct Case { QStringList args; const char* message; };
    const Case cases[] = {
        {{"settings", "set", "1", "1500"}, "2000 or more"},
        {{"settings", "set", "79", "1"}, "not a settings line"},
        {{"settings", "set", "23", "two"}, "whole number"},
        {{"settings", "set", "23"}, "line number and a value"},
        {{"settings", "frobnicate"}, "show or set"},
    };
    for (const Case& c : cases) {
        QString out, err;
        EXPECT_NE(runTool(c.args + QStringList{"--program-folder", folder.path()}, &out, &err), 0) << c.message;
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST(SettingsTool, DamagedFileIsReported)
{
    TempProgramFolder folder;
    QFile file(folder.file("KaDefE6c.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0G12\r\n");
    file.close();
    QString out, err;
    EXPECT_NE(runTool({"settings", "show", "--program-folder", folder.path()}, &out, &err), 0);
    EXPECT_TRUE(err.contains("Line 1"));
    EXPECT_NE(runTool({"settings", "set", "9", "x", "--program-folder", folder.path()}, &out, &err), 0);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "0G12\r\n");
}

TEST(SettingsTool, HelpAndUnknownCommand)
{
    QString out, err;
    EXPECT_EQ(runTool({"settings", "--help"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("--program-folder"));
    EXPECT_NE(runTool({"no-such-command"}, &out, &err), 0);
    EXPECT_TRUE(err.contains("unknown command"));
}
