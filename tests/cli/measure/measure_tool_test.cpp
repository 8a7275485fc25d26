#include "core/app/meridians.h"
#include "core/app/settings.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using tork::test::runTool;
using tork::test::TempProgramFolder;

namespace {

// ME k reads 30 + 2k microamperes without noise, so every value is exact.
QString writeProfile(const TempProgramFolder& folder)
{
    QJsonArray microamps;
    for (int me = 1; me <= 24; ++me) microamps.append(30 + 2 * me);
    const QJsonObject profile{{"name", "Steady steps"}, {"microamps", microamps}, {"noiseCounts", 0}, {"driftCountsPerSecond", 0}};
    const QString path = folder.file("steps.json");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(profile).toJson());
    return path;
}

QJsonObject measure(const QStringList& args, int* status = nullptr, QString* error = nullptr)
{
    QString out, err;
    const int code = runTool(QStringList{"measure"} + args, &out, &err);
    if (status) *status = code;
    if (error) *error = err;
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

TEST(MeasureTool, SimulatedRunPrintsTheMeasurement)
{
    TempProgramFolder folder;
    const QString profile = writeProfile(folder);
    struct Case {
        QStringList extra;
        int factorMode;
        double potentialFactor;  // the skin draws more at high potential
    };
    const std::vector<Case> cases{{{}, 0, 1.0}, {{"--high"}, 0, 1.2}, {{"--channel", "2"}, 1, 1.0}};
    for (const Case& c : cases) {
        tork::Settings settings;
        settings.setInt(tork::SettingLine::FactorMode, c.factorMode);
        ASSERT_EQ(settings.save(folder.file("KaDefE6c.ini")), QString());
        int status = -1;
        QString err;
        const QJsonObject json =
            measure(QStringList{"--simulate", "--profile", profile, "--program-folder", folder.path()} + c.extra, &status, &err);
        ASSERT_EQ(status, 0) << err.toStdString();
        const QJsonArray values = json["values"].toArray();
        const QJsonArray compensated = json["compensated"].toArray();
        const QJsonArray quality = json["quality"].toArray();
        ASSERT_EQ(values.size(), 24);
        ASSERT_EQ(compensated.size(), 24);
        ASSERT_EQ(quality.size(), 24);
        for (int me = 1; me <= 24; ++me) {
            const double expected = (30 + 2 * me) * c.potentialFactor;
            EXPECT_NEAR(values[me - 1].toDouble(), expected, 1e-9) << "ME" << me;
            const double factor = c.factorMode == 1 ? 1.0 : tork::builtInCompensationFactors()[tork::meridianOfPoint(me) - 1];
            EXPECT_NEAR(compensated[me - 1].toDouble(), expected * factor, 1e-9) << "ME" << me;
            EXPECT_DOUBLE_EQ(quality[me - 1].toDouble(), 100.0);
        }
        EXPECT_GT(json["measuredAt"].toDouble(), 40000.0);
        EXPECT_EQ(json["highPotential"].toBool(), c.extra.contains("--high"));
    }
}

TEST(MeasureTool, BadArgumentsAreRefusedWithAMessage)
{
    TempProgramFolder folder;
    const QString profile = writeProfile(folder);
    struct Case {
        QStringList args;
        int status;
        const char* message;
    };
    const std::vector<Case> cases{
        {{"--simulate"}, 2, "--simulate needs --profile"},
        {{"--profile", profile}, 2, "add --simulate"},
        {{"--simulate", "--profile", profile, "--channel", "9"}, 2, "is not a channel"},
        {{"--simulate", "--profile", folder.file("missing.json")}, 1, "missing.json"},
        {{"--simulate", "--profile", profile, "extra"}, 2, "no further words"},
    };
    for (const Case& c : cases) {
        int status = -1;
        QString err;
        const QJsonObject json = measure(c.args + QStringList{"--program-folder", folder.path()}, &status, &err);
        EXPECT_EQ(status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
        EXPECT_TRUE(json.isEmpty());
    }
}

}  // namespace
