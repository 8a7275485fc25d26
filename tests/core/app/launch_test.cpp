#include "core/app/launch.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace tork;

namespace {

auto existsIn(QSet<QString> files)
{
    return [files = std::move(files)](const QString& p) { return files.contains(p); };
}

}  // namespace

TEST(Launch, DriveLetterSearch)
{
    const auto exists = existsIn({"F:\\Tools\\viewer.exe", "E:\\doc.pdf", "C:\\here.exe"});
    EXPECT_EQ(searchDriveLetters("D:\\Tools\\viewer.exe", exists), "F:\\Tools\\viewer.exe");
    EXPECT_EQ(searchDriveLetters("C:\\here.exe", exists), "C:\\here.exe");
    EXPECT_EQ(searchDriveLetters("D:\\missing.exe", exists), QString());
    EXPECT_EQ(searchDriveLetters("/usr/bin/vlc", exists), "/usr/bin/vlc");     // no drive: unchanged
    EXPECT_EQ(searchDriveLetters("https://x.example", exists), "https://x.example");  // ':' at 6
    EXPECT_EQ(searchDriveLetters("\\\\srv:x", exists), "\\\\srv:x");  // ':' at 6
}

TEST(Launch, PlansProgramsDocumentsAndAddresses)
{
    const auto exists = existsIn({"F:\\Tools\\viewer.exe", "E:\\doc.pdf"});
    LaunchAction action;

    ASSERT_TRUE(planLaunch("D:\\Tools\\viewer.exe", "D:\\doc.pdf", exists, &action));
    EXPECT_EQ(action.program, "F:\\Tools\\viewer.exe");
    EXPECT_EQ(action.target, "E:\\doc.pdf");

    ASSERT_TRUE(planLaunch("", "https://sorvan.example", exists, &action));
    EXPECT_EQ(action.program, QString());
    EXPECT_EQ(action.target, "https://sorvan.example");

    ASSERT_TRUE(planLaunch("  vlc ", "Z:\\nowhere.mp3", exists, &action));
    EXPECT_EQ(action.program, "vlc");
    EXPECT_EQ(action.target, "Z:\\nowhere.mp3");  // parameters not found on any drive stay as they were

    EXPECT_FALSE(planLaunch("D:\\missing.exe", "", exists, &action));
    EXPECT_FALSE(planLaunch("  ", "", exists, &action));
}

TEST(Launch, GoesThroughTheInstalledOpener)
{
    QList<LaunchAction> opened;
    LaunchOpener previous = installLaunchOpener([&](const LaunchAction& a) { opened << a; });
    launch("", "https://sorvan.example");
    launch("X:\\definitely\\not\\here.exe", "");
    installLaunchOpener(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].target, "https://sorvan.example");
}
