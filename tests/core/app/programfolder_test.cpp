#include "core/app/programfolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace tork;

TEST(ProgramFolder, CreatesItselfAndItsPictureFolder)
{
    QTemporaryDir dir;
    const ProgramFolder folder(dir.filePath("practice/tork"));
    EXPECT_EQ(folder.ensureExists(), QString());
    EXPECT_TRUE(QFileInfo(dir.filePath("practice/tork/Data")).isDir());
    EXPECT_EQ(folder.settingsFilePath(), dir.filePath("practice/tork/KaDefE6c.ini"));
}

TEST(ProgramFolder, FindsFilesWhateverTheirLetterCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("DATA");
    QFile(dir.filePath("TORK6.MDB")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("DATA/plh1.BMP")).open(QIODevice::WriteOnly);
    const ProgramFolder folder(dir.path());
    EXPECT_EQ(folder.filePath("tork6.mdb"), dir.filePath("TORK6.MDB"));
    EXPECT_EQ(folder.dataFilePath("PLh1.bmp"), dir.filePath("DATA/plh1.BMP"));
    EXPECT_EQ(folder.filePath("torkE.mdb"), dir.filePath("torkE.mdb"));  // missing: the name as asked
}

TEST(ProgramFolder, ReportsAFolderThatCannotBeMade)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ProgramFolder folder(dir.filePath("blocker/tork"));
    const QString error = folder.ensureExists();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains("blocker/tork"));
}
