// The delivered databases built from their sources, and the copy of missing delivered
// files into the program folder.

#include "recordsfixture.h"
#include "support/tempfolder.h"

#include "core/app/scramble.h"
#include "core/records/deliveredfiles.h"
#include "core/records/protocolstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

using namespace tork;
using namespace tork::test;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A complete reference source with every section, where SECTIONS replaces or adds text.
QByteArray referenceSource(const QMap<QString, QByteArray>& sections = {}, const QStringList& dropped = {})
{
    QByteArray text = "# comment line\n";
    for (const QString& column : referenceTextColumns()) {
        if (dropped.contains(column)) continue;
        text += "[" + column.toUtf8() + "]\n" + sections.value(column, column.toUtf8() + " text") + "\n";
    }
    return text;
}

const QString kSourceRoot = QStringLiteral(TORK_TEST_FIXTURES "/../../data");

}  // namespace

TEST(RecordsReferenceSource, SectionsBecomeTextsWithTheirEmptyEdgesRemoved)
{
    TempProgramFolder folder;
    writeFile(folder.file("03-heart.txt"),
              referenceSource({{"DtMA1", "\n\nfirst line\r\n  second line  \n\n"}, {"DtPot2", ""}, {"DtMH1", "ä ö ü – 心"}}));
    QString error;
    const auto entry = parseReferenceSource(folder.file("03-heart.txt"), &error);
    ASSERT_TRUE(entry) << qPrintable(error);
    EXPECT_EQ(entry->key, 3);
    EXPECT_EQ(entry->texts["DtMA1"], "first line\r\n  second line  ");
    EXPECT_EQ(entry->texts["DtPot2"], "");
    EXPECT_EQ(entry->texts["DtMH1"], QString::fromUtf8("ä ö ü – 心"));
    EXPECT_EQ(entry->texts["DtEA1"], "DtEA1 text");
    EXPECT_EQ(entry->texts.size(), 21);
}

TEST(RecordsReferenceSource, BadSourcesFailNamingFileAndColumn)
{
    const struct {
        const char* name;
        const char* file;
        QByteArray content;
        const char* mentions;
    } cases[] = {
        {"unknown section", "01-lung.txt", referenceSource() + "[DtXX]\nx\n", "DtXX"},
        {"repeated section", "01-lung.txt", referenceSource() + "[DtMA2]\nagain\n", "DtMA2"},
        {"missing section", "01-lung.txt", referenceSource({}, {"DtML4"}), "DtML4"},
        {"text before sections", "01-lung.txt", "stray\n" + referenceSource(), ":1"},
        {"key out of range", "18-extra.txt", referenceSource(), "01 to 17"},
        {"no key", "lung.txt", referenceSource(), "01 to 17"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder folder;
        writeFile(folder.file(c.file), c.content);
        QString error;
        EXPECT_FALSE(parseReferenceSource(folder.file(c.file), &error));
        EXPECT_TRUE(error.contains(c.file)) << qPrintable(error);
        EXPECT_TRUE(error.contains(c.mentions)) << qPrintable(error);
    }
}

TEST(RecordsReferenceSource, BuiltTableHoldsScrambledTextsAndChartPictures)
{
    TempProgramFolder folder;
    writeFile(folder.file("src/01-lung.txt"), referenceSource({{"DtMA1", "Lung text"}}));
    writeFile(folder.file("src/13-body-energy.txt"), referenceSource({{"DtMA2", "Normal state"}}));
    writeFile(folder.file("pictures/meridian-01.png"), "PNGDATA");
    std::vector<ReferenceSource> entries;
    for (const char* name : {"01-lung.txt", "13-body-energy.txt"}) {
        QString error;
        entries.push_back(*parseReferenceSource(folder.file(QStringLiteral("src/") + name), &error));
    }
    ASSERT_EQ(buildReferenceDatabase(folder.file("torkE.mdb"), entries, folder.file("pictures")), QString());

    const QString path = folder.file("torkE.mdb");
    const QString stored = queryValue(path, "SELECT DtMA1 FROM KAMTDB WHERE MKEY = 1").toString();
    EXPECT_NE(stored, "Lung text");
    EXPECT_EQ(unscramble(stored, 1), "Lung text");
    EXPECT_EQ(unscramble(queryValue(path, "SELECT DtMA2 FROM KAMTDB WHERE MKEY = 13").toString(), 1), "Normal state");
    EXPECT_EQ(queryValue(path, "SELECT DtGpM FROM KAMTDB WHERE MKEY = 1").toByteArray(), "PNGDATA");
    EXPECT_TRUE(queryValue(path, "SELECT DtGpM IS NULL FROM KAMTDB WHERE MKEY = 13").toBool());

    // Two files for one key fail the build and leave no database behind.
    entries.push_back(entries[0]);
    QFile::remove(path);
    EXPECT_TRUE(buildReferenceDatabase(path, entries, {}).contains("01-lung.txt"));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(RecordsProtocolSource, ReadsProtocolTextsAndConditions)
{
    TempProgramFolder folder;
    writeFile(folder.file("pic.png"), "PICTURE");
    writeFile(folder.file("S9-test.txt"),
              "# delivered\n[Protocol]\nProNo = S9\nProName = Test\nProScal = 1\nProFN = 1000\nProPrg1 = viewer\n"
              "ProPict = pic.png\n[ProData]\n\nline one\nline two\n\n[ProHel5]\nhelp five\n"
              "[Condition]\nProSubN = A\nProFlg = 1\nProCond = 000001000000000000000000\nProAGL = 18\n"
              "[Condition]\nProSubN = B\nProCond = 500000000000000000000000\nProEng = 150\n");
    QString error;
    const auto source = parseProtocolSource(folder.file("S9-test.txt"), &error);
    ASSERT_TRUE(source) << qPrintable(error);
    EXPECT_EQ(source->protocol.number, "S9");
    EXPECT_TRUE(source->protocol.pictureActualSize);
    EXPECT_EQ(source->protocol.description, "line one\r\nline two");
    EXPECT_EQ(source->protocol.helpTexts[4], "help five");
    EXPECT_EQ(source->protocol.picture, "PICTURE");
    ASSERT_EQ(source->conditions.size(), 2u);
    EXPECT_EQ(source->conditions[0].protocolNumber, "S9");
    EXPECT_TRUE(source->conditions[0].must);
    EXPECT_EQ(source->conditions[0].ageLow, 18);
    EXPECT_EQ(source->conditions[1].energy, 150);

    ASSERT_EQ(buildSystemProtocolDatabase(folder.file("torkKA.mdb"), {*source}), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("torkKA.mdb"), OpenMode::ReadOnly), QString());
    QSqlDatabase db = database.db();
    const auto stored = loadProtocols(db);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].helpTexts[4], "help five");
    EXPECT_EQ(conditionsOf(db, "S9").size(), 2u);
}

TEST(RecordsProtocolSource, BadSourcesFailNamingFileAndField)
{
    const struct {
        const char* name;
        QByteArray content;
        const char* mentions;
    } cases[] = {
        {"no protocol", "[ProData]\ntext\n", "[Protocol]"},
        {"no number", "[Protocol]\nProName = x\n", "ProNo"},
        {"unknown field", "[Protocol]\nProNo = 1\nColour = red\n", "Colour"},
        {"field twice", "[Protocol]\nProNo = 1\nProNo = 2\n", "ProNo"},
        {"unknown section", "[Protocol]\nProNo = 1\n[Notes]\n", "Notes"},
        {"condition too short", "[Protocol]\nProNo = 1\n[Condition]\nProCond = 0101\n", "ProCond"},
        {"digit not a choice of its item", "[Protocol]\nProNo = 1\n[Condition]\nProCond = 002000000000000000000000\n", "item 3"},
        {"required tick on the age", "[Protocol]\nProNo = 1\n[Condition]\nProCond = 100000000000000000000000\nProAnd = 000000000000000000000010\n", "item 23"},
        {"ages reversed", "[Protocol]\nProNo = 1\n[Condition]\nProCond = 000000000000000000000030\nProAGL = 60\nProAGH = 40\n", "lowest age"},
        {"no item set", "[Protocol]\nProNo = 1\n[Condition]\nProSubN = nothing\n", "never be satisfied"},
        {"energy out of range", "[Protocol]\nProNo = 1\n[Condition]\nProEng = 250\n", "ProEng"},
        {"flag not 0 or 1", "[Protocol]\nProNo = 1\nProScal = yes\n", "ProScal"},
        {"missing picture", "[Protocol]\nProNo = 1\nProPict = none.png\n", "none.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder folder;
        writeFile(folder.file("P-x.txt"), c.content);
        QString error;
        EXPECT_FALSE(parseProtocolSource(folder.file("P-x.txt"), &error));
        EXPECT_TRUE(error.contains("P-x.txt")) << qPrintable(error);
        EXPECT_TRUE(error.contains(c.mentions)) << qPrintable(error);
    }
}

// The databases of the build hold exactly what the sources in data/ say.
TEST(RecordsDeliveredData, BuiltDatabasesMatchTheirSources)
{
    const QString share = QStringLiteral(TORK_BUILD_SHARE_DIR);
    ASSERT_TRUE(QFileInfo::exists(share + "/torkE.mdb")) << "build the target tork_databases first";
    Database reference;
    ASSERT_EQ(reference.open(share + "/torkE.mdb", OpenMode::ReadOnly), QString());
    QSqlDatabase db = reference.db();
    const QStringList sources = QDir(kSourceRoot + "/reference").entryList({"*.txt"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(sources.isEmpty());
    EXPECT_EQ(countRows(db, "SELECT COUNT(*) FROM KAMTDB"), sources.size());
    for (const QString& name : sources) {
        QString error;
        const auto entry = parseReferenceSource(kSourceRoot + "/reference/" + name, &error);
        ASSERT_TRUE(entry) << qPrintable(error);
        QSqlQuery q(db);
        ASSERT_TRUE(runBound(q, "SELECT * FROM KAMTDB WHERE MKEY = ?", {entry->key}) && q.next()) << qPrintable(name);
        for (const QString& column : referenceTextColumns())
            EXPECT_EQ(unscramble(q.value(column).toString(), 1), entry->texts[column]) << qPrintable(name + " " + column);
    }

    Database protocols;
    ASSERT_EQ(protocols.open(share + "/torkKA.mdb", OpenMode::ReadOnly), QString());
    QSqlDatabase pdb = protocols.db();
    const QStringList protocolSources = QDir(kSourceRoot + "/protocols").entryList({"*.txt"}, QDir::Files, QDir::Name);
    EXPECT_EQ(protocolCount(pdb), protocolSources.size());
    for (const QString& name : protocolSources) {
        QString error;
        const auto source = parseProtocolSource(kSourceRoot + "/protocols/" + name, &error);
        ASSERT_TRUE(source) << qPrintable(error);
        const auto stored = findProtocol(pdb, source->protocol.number);
        ASSERT_TRUE(stored) << qPrintable(name);
        EXPECT_EQ(stored->description, source->protocol.description);
        EXPECT_EQ(stored->medicineTexts, source->protocol.medicineTexts);
        EXPECT_EQ(conditionsOf(pdb, source->protocol.number).size(), source->conditions.size());
    }
}

TEST(RecordsDeliveredFiles, CopiesOnlyWhatIsMissingIgnoringLetterCase)
{
    TempProgramFolder delivered;
    for (const char* name : {"KaSpa_60.mdb", "torkE.mdb", "torkKA.mdb", "Data/PLh1.bmp", "Data/kabkmg.msi"})
        writeFile(delivered.file(name), QByteArray("delivered ") + name);
    TempProgramFolder program;
    writeFile(program.file("TORKE.MDB"), "the operator's own");
    writeFile(program.file("Data/plh1.BMP"), "kept");

    const DeliveredCopyResult result = copyMissingDeliveredFiles(program.folder(), delivered.path());

    EXPECT_TRUE(result.ok()) << qPrintable(result.failures.join("; "));
    EXPECT_EQ(result.copied, (QStringList{"KaSpa_60.mdb", "torkKA.mdb", "Data/kabkmg.msi"}));
    QFile kept(program.file("TORKE.MDB"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the operator's own");
    EXPECT_FALSE(QFileInfo::exists(program.file("torkE.mdb")));
    EXPECT_TRUE(QFileInfo(program.file("KaSpa_60.mdb")).isWritable());

    // A second run finds nothing to do; a delivered file that is gone and missing here is reported.
    QFile::remove(delivered.file("torkKA.mdb"));
    QFile::remove(program.file("torkKA.mdb"));
    const DeliveredCopyResult again = copyMissingDeliveredFiles(program.folder(), delivered.path());
    EXPECT_TRUE(again.copied.isEmpty());
    ASSERT_EQ(again.failures.size(), 1);
    EXPECT_TRUE(again.failures[0].contains("torkKA.mdb"));
}
