// tork-tool chart: one chart of a measurement into a PNG.

#include "core/analysis/analysis.h"
#include "drawing/charts/chartcanvas.h"
#include "drawing/charts/deviationframe.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tork {
namespace {

using test::runTool;
using test::TempProgramFolder;

// Average 50; LI left poor (90), LI right tolerable (64); measured at 07:30.
QByteArray measurementJson(double liLeft = 90)
{
    QJsonArray values;
    for (int me = 1; me <= kPointCount; ++me) values.append(me == 6 ? liLeft : me == 12 ? 64.0 : 50.0);
    return QJsonDocument(QJsonObject{{"values", values}, {"isMale", true}, {"birthDate", 29000}, {"measuredAt", 46367.3125}})
        .toJson();
}

QString writeFile(const TempProgramFolder& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.file(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

TEST(ChartTool, DrawsEveryKindIntoAPngAndPrintsItsTitle)
{
    TempProgramFolder folder;
    const QString input = writeFile(folder, "m.json", measurementJson());
    struct Case {
        QStringList args;
        QString title;
        QSize size;
    };
    const Case cases[] = {
        {{"bar"}, QString::fromUtf8("Meridian Excess-Deficiency Analysis – Bar Diagram"), {965, 554}},
        {{"timecycle", "--size", "640x380"}, QString::fromUtf8("Meridian Time Cycle Analysis – Chart A"), {640, 380}},
        {{"five-elements", "--variant", "2"}, "Five Elements Analysis By Yin-Zang", {965, 554}},
        {{"five-elements", "--variant", "3", "--size", "1930x1108"}, "Five Elements Analysis By Yang-Fu", {1930, 1108}},
        {{"eci-pie"}, "E.C.I. Pie Diagram", {965, 554}},
        {{"body-energy"}, "Diagram of Body Energy Balance", {965, 554}},
    };
    for (const Case& c : cases) {
        const QString png = folder.file(c.args.first() + ".png");
        QString out, err;
        ASSERT_EQ(runTool(QStringList{"chart"} + c.args + QStringList{input, "--out", png, "--program-folder", folder.path()},
                          &out, &err),
                  0)
            << err.toStdString();
        EXPECT_EQ(out.trimmed(), c.title);
        const QImage image(png);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
    }
}

TEST(ChartTool, ReadsStandardInputAndFollowsTheFoldersMeridianOrder)
{
    TempProgramFolder folder;
    QString out, err;
    // The paired order puts LI in the second slot: columns 3 and 4 show its two points.
    ASSERT_EQ(runTool({"settings", "set", "52", "1", "--program-folder", folder.path()}, &out, &err), 0) << err.toStdString();
    ASSERT_EQ(runTool({"settings", "set", "65", "1", "--program-folder", folder.path()}, &out, &err), 0) << err.toStdString();
    const QString png = folder.file("bar.png");
    ASSERT_EQ(runTool({"chart", "bar", "--out", png, "--program-folder", folder.path()}, &out, &err, measurementJson()), 0)
        << err.toStdString();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());

    AnalysisRecord record;
    for (int me = 1; me <= kPointCount; ++me) record.values[me - 1] = me == 6 ? 90 : me == 12 ? 64 : 50;
    MeridianTables tables;
    tables.rebuild(1, defaultMeridianOrder(), 1, builtInCompensationFactors());
    const AnalysisResult result = computeAnalysis(record, tables.compensationFactors());
    const charts::DeviationScale s(965, 554, result.energyAverage);
    for (const auto& [column, point] : {std::pair{3, 6}, std::pair{4, 12}}) {
        const int end = s.y(result.deviation[point - 1]);
        ASSERT_GT(std::abs(end - s.base), 10);
        const int x = (s.columnLeft(column) + s.columnRight(column)) / 2;
        EXPECT_EQ(image.pixelColor(x, (s.base + end) / 2 + 1).name(), charts::levelQColor(result.pointLevel[point - 1]).name())
            << "column " << column;
    }
}

TEST(ChartTool, RefusesBadRequestsWithAClearMessage)
{
    TempProgramFolder folder;
    const QString input = writeFile(folder, "m.json", measurementJson());
    const QString unfinished = writeFile(folder, "u.json", measurementJson(0));
    const QString png = folder.file("x.png");
    struct Case {
        QStringList args;
        int status;
        QString message;
    };
    const Case cases[] = {
        {{"pie", input, "--out", png}, 2, "is not a chart"},
        {{"bar", input}, 2, "--out"},
        {{"bar", input, "--out", png, "--size", "965"}, 2, "--size"},
        {{"bar", input, "--out", png, "--size", "20x20"}, 2, "--size"},
        {{"bar", input, "--out", png, "--variant", "2"}, 2, "no variants"},
        {{"five-elements", input, "--out", png, "--variant", "4"}, 2, "1, 2 or 3"},
        {{"bar", unfinished, "--out", png}, 1, "unfinished"},
        {{"bar", folder.file("missing.json"), "--out", png}, 1, "cannot be read"},
        {{"bar", input, "--out", folder.file("no/such/folder/x.png")}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        QString out, err;
        EXPECT_EQ(runTool(QStringList{"chart"} + c.args + QStringList{"--program-folder", folder.path()}, &out, &err), c.status)
            << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
        EXPECT_FALSE(QFile::exists(png)) << c.args.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace tork
