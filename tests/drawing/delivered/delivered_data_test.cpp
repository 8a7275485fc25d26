// The data delivered with the program: point pictures and chart backgrounds in the "Data"
// folder, the reference texts and their database, and the generator that draws the pictures.

#include "core/app/meridians.h"
#include "core/app/programfolder.h"
#include "core/app/scramble.h"
#include "core/records/deliveredbuild.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <map>

namespace {

using namespace tork;

QString deliveredDataFolder() { return deliveredDataPath() + QStringLiteral("/Data"); }
QString referenceSourceFolder() { return QStringLiteral(TORK_TEST_FIXTURES "/../../data/reference"); }
QString pictureGeneratorPath()
{
    // The build share folder is <build>/share/tork; the generator is built in <build>/data/pictures.
    return QDir(QStringLiteral(TORK_BUILD_SHARE_DIR "/../..")).absoluteFilePath(QStringLiteral("data/pictures/tork-picture-generator"));
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Relative path -> hash of every file below FOLDER.
std::map<QString, QByteArray> folderHashes(const QString& folder)
{
    std::map<QString, QByteArray> hashes;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        hashes[QDir(folder).relativeFilePath(path)] = fileHash(path);
    }
    return hashes;
}

TEST(PointPictures, EveryNameOfThePictureTableLoadsAndNoTwoAreAlike)
{
    QSet<QByteArray> distinct;
    for (int style = 1; style <= 3; ++style) {
        for (int me = 1; me <= kPointCount; ++me) {
            const QString name = pointPictureName(me, style);
            const QString path = deliveredDataFolder() + QLatin1Char('/') + name;
            SCOPED_TRACE(name.toStdString());
            const QImage picture(path);
            ASSERT_FALSE(picture.isNull()) << "cannot load " << path.toStdString();
            EXPECT_EQ(picture.size(), QSize(260, 280));
            distinct.insert(fileHash(path));
        }
    }
    // A left picture that equals its right one, or a style that repeats another, is a drawing fault.
    EXPECT_EQ(distinct.size(), 72);
}

TEST(PointPictures, TheWindowsLabelBandsStayPlain)
{
    // The measurement window writes the meridian and point names over the top and bottom bands.
    for (int style = 1; style <= 3; ++style) {
        for (int me = 1; me <= kPointCount; ++me) {
            const QString name = pointPictureName(me, style);
            SCOPED_TRACE(name.toStdString());
            const QImage picture(deliveredDataFolder() + QLatin1Char('/') + name);
            ASSERT_FALSE(picture.isNull());
            for (int y : {0, 15, 29, 250, 265, 279}) {
                const QRgb first = picture.pixel(0, y);
                for (int x = 0; x < picture.width(); ++x) ASSERT_EQ(picture.pixel(x, y), first) << "x " << x << " y " << y;
            }
        }
    }
}

struct BackgroundCase {
    const char* name;
    int maxWidth;   // what the chart's field or bar area leaves on the 965 x 554 canvas
    int maxHeight;
};

TEST(ChartBackgrounds, LoadFitTheirChartAndKeepTheTransparentColourInTheCorners)
{
    const QColor key(255, 0, 255);
    const BackgroundCase cases[] = {
        {"kabkmg.msi", 712, 424},  // inside the body energy field (fx x fy)
        {"kabkma.msi", 915, 504},  // below y = 50 on the twelve-bar charts
        {"kabkmb.msi", 915, 504},
        {"kabkmc.msi", 915, 504},
    };
    for (const BackgroundCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The ".msi" files hold bitmap data; the name does not tell the reader the format.
        const QImage picture(deliveredDataFolder() + QLatin1Char('/') + QLatin1String(c.name), "BMP");
        ASSERT_FALSE(picture.isNull());
        EXPECT_LE(picture.width(), c.maxWidth);
        EXPECT_LE(picture.height(), c.maxHeight);
        const int right = picture.width() - 1;
        const int bottom = picture.height() - 1;
        for (QPoint corner : {QPoint(0, bottom), QPoint(0, 0), QPoint(right, 0), QPoint(right, bottom)})
            EXPECT_EQ(picture.pixelColor(corner), key) << "corner " << corner.x() << "," << corner.y();
        int artPixels = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) != key) ++artPixels;
        EXPECT_GT(artPixels, picture.width() * picture.height() / 10) << "the picture is nearly all transparent";
    }
}

TEST(PictureGenerator, WritesTheSameBytesOnEveryRun)
{
    const QString generator = pictureGeneratorPath();
    ASSERT_TRUE(QFile::exists(generator)) << generator.toStdString();
    std::map<QString, QByteArray> runs[2];
    for (auto& run : runs) {
        QTemporaryDir out;
        ASSERT_TRUE(out.isValid());
        QProcess process;
        process.start(generator, {QStringLiteral("--data"), out.filePath(QStringLiteral("Data")), QStringLiteral("--charts"),
                                  out.filePath(QStringLiteral("charts")), QStringLiteral("--icons"), out.filePath(QStringLiteral("icons"))});
        ASSERT_TRUE(process.waitForFinished(120000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        run = folderHashes(out.path());
    }
    EXPECT_EQ(runs[0].size(), 72u + 4u + 12u + 9u);
    EXPECT_EQ(runs[0], runs[1]);
    // The build's own copies came from an earlier run and match too.
    for (const auto& [relative, hash] : runs[0]) {
        if (!relative.startsWith(QLatin1String("Data/"))) continue;
        EXPECT_EQ(fileHash(deliveredDataFolder() + relative.mid(4)), hash) << relative.toStdString();
    }
}

std::vector<ReferenceSource> referenceSources()
{
    std::vector<ReferenceSource> sources;
    const QDir folder(referenceSourceFolder());
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QString error;
        auto source = parseReferenceSource(folder.filePath(name), &error);
        if (!source) {
            ADD_FAILURE() << error.toStdString();
            continue;
        }
        sources.push_back(*source);
    }
    return sources;
}

// The columns the reference window, the analysis and the report read for a state entry.
const QStringList kStateColumns{QStringLiteral("DtMA1"), QStringLiteral("DtMA2"), QStringLiteral("DtMH1"), QStringLiteral("DtML1")};
const QString kNotice = QStringLiteral("Information for research and reference; not medical advice.");

TEST(ReferenceTexts, EveryKeyHasTheTextsItsReadersShow)
{
    const std::vector<ReferenceSource> sources = referenceSources();
    std::map<int, int> filesPerKey;
    for (const ReferenceSource& entry : sources) {
        SCOPED_TRACE(entry.fileName.toStdString());
        ++filesPerKey[entry.key];
        ASSERT_GE(entry.key, 1);
        ASSERT_LE(entry.key, 17);
        const QStringList read = entry.key <= kMeridianCount ? referenceTextColumns() : kStateColumns;
        for (const QString& column : read) EXPECT_FALSE(entry.texts.value(column).trimmed().isEmpty()) << column.toStdString();
        EXPECT_TRUE(entry.texts.value(QStringLiteral("DtMA1")).endsWith(kNotice));
    }
    for (int key = 1; key <= 17; ++key) EXPECT_EQ(filesPerKey[key], 1) << "key " << key;
}

TEST(ReferenceTexts, MeridianFieldsAgreeWithTheMeridianTable)
{
    for (const ReferenceSource& entry : referenceSources()) {
        if (entry.key < 1 || entry.key > kMeridianCount) continue;
        SCOPED_TRACE(entry.fileName.toStdString());
        const MeridianInfo& info = meridianInfo(entry.key);
        // sourcePoint is the point's name, blanks and its code: "TaiYuan  LU9" gives "LU9 TaiYuan".
        const QStringList point = info.sourcePoint.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(entry.texts.value(QStringLiteral("DtPot1")), point.value(1) + QLatin1Char(' ') + point.value(0));
        EXPECT_EQ(entry.texts.value(QStringLiteral("DtEA5")), info.timeWindow);
        EXPECT_TRUE(entry.texts.value(QStringLiteral("DtEA4")).startsWith(info.element + QLatin1Char(' ')))
            << entry.texts.value(QStringLiteral("DtEA4")).toStdString();
        EXPECT_TRUE(entry.texts.value(QStringLiteral("DtMA2")).contains(QLatin1Char('(') + info.abbreviation + QLatin1Char(',')));
    }
}

// Sedation (child) and tonification (mother) points by the five-element rules.
TEST(ReferenceTexts, InhibitingAndStimulatingPointsFollowTheMotherChildRule)
{
    const std::map<int, std::pair<const char*, const char*>> expected{
        {LU, {"LU5 ChiZe", "LU9 TaiYuan"}},     {PC, {"PC7 DaLing", "PC9 ZhongChong"}},
        {HT, {"HT7 ShenMen", "HT9 ShaoChong"}}, {SI, {"SI8 XiaoHai", "SI3 HouXi"}},
        {TE, {"TE10 TianJing", "TE3 ZhongZhu"}}, {LI, {"LI2 ErJian", "LI11 QuChi"}},
        {SP, {"SP5 ShangQiu", "SP2 DaDu"}},     {LR, {"LR2 XingJian", "LR8 QuQuan"}},
        {KI, {"KI1 YongQuan", "KI7 FuLiu"}},    {BL, {"BL65 ShuGu", "BL67 ZhiYin"}},
        {GB, {"GB38 YangFu", "GB43 XiaXi"}},    {ST, {"ST45 LiDui", "ST41 JieXi"}},
    };
    for (const ReferenceSource& entry : referenceSources()) {
        const auto it = expected.find(entry.key);
        if (it == expected.end()) continue;
        SCOPED_TRACE(entry.fileName.toStdString());
        EXPECT_TRUE(entry.texts.value(QStringLiteral("DtPot2")).startsWith(QLatin1String(it->second.first)));
        EXPECT_TRUE(entry.texts.value(QStringLiteral("DtPot3")).startsWith(QLatin1String(it->second.second)));
    }
}

TEST(ReferenceDatabase, HoldsTheSourceTextsScrambledAndAChartPerMeridian)
{
    const QString path = deliveredDataPath() + QStringLiteral("/torkE.mdb");
    ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
    std::map<int, ReferenceSource> sources;
    for (const ReferenceSource& entry : referenceSources()) sources[entry.key] = entry;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("delivered-reference"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT * FROM KAMTDB ORDER BY MKEY")));
        int rows = 0;
        while (query.next()) {
            ++rows;
            const int key = query.value(QStringLiteral("MKEY")).toInt();
            SCOPED_TRACE(key);
            ASSERT_EQ(sources.count(key), 1u);
            for (const QString& column : referenceTextColumns()) {
                const QString stored = query.value(column).toString();
                ASSERT_TRUE(isScrambledText(stored)) << column.toStdString();
                EXPECT_EQ(unscramble(stored, 1), sources[key].texts.value(column)) << column.toStdString();
            }
            const QImage chart = QImage::fromData(query.value(QStringLiteral("DtGpM")).toByteArray());
            if (key <= kMeridianCount) {
                EXPECT_FALSE(chart.isNull()) << "no meridian chart";
            }
        }
        EXPECT_EQ(rows, 17);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("delivered-reference"));
}

}  // namespace
