// tork-tool analyze: a measurement as JSON in, the complete analysis as JSON out.

#include "core/analysis/analysisjson.h"
#include "core/analysis/storedmeasurement.h"
#include "core/app/programfolder.h"
#include "core/app/settings.h"
#include "core/records/protocolstore.h"
#include "core/records/connection.h"
#include "core/records/schema.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace tork {
namespace {

using test::runTool;
using test::TempProgramFolder;

QJsonArray numbers(const auto& values)
{
    QJsonArray array;
    for (double v : values) array.append(v);
    return array;
}

// Values with many significant digits, so that a shortened number would show.
AnalysisRecord awkwardRecord()
{
    AnalysisRecord record;
    for (int i = 0; i < kPointCount; ++i) {
        record.values[i] = 31.7 + 1.0 / 3 * (i % 7) + 13.1 * (i % 5 == 0);
        record.quality[i] = 99.1 - 0.37 * i;
    }
    record.isMale = false;
    record.birthDate = 25123;
    record.measuredAt = 45678.456789;
    return record;
}

QJsonObject inputOf(const AnalysisRecord& record, const std::optional<std::array<double, 12>>& factors)
{
    QJsonObject input{{"values", numbers(record.values)},
                      {"quality", numbers(record.quality)},
                      {"isMale", record.isMale},
                      {"birthDate", record.birthDate},
                      {"measuredAt", record.measuredAt}};
    if (factors) input["compensationFactors"] = numbers(*factors);
    return input;
}

QJsonObject expectedJson(const AnalysisRecord& record, const std::array<double, 12>& factors)
{
    const AnalysisResult result = computeAnalysis(record, factors);
    return analysisToJson(result, buildAnalysisTexts(result));
}

QJsonObject parseOutput(const QString& out)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    return document.object();
}

std::array<double, 12> settingsFactors(const Settings& settings)
{
    MeridianTables tables;
    tables.rebuild(settings.intValue(SettingLine::OrderMode), settings.customOrder(),
                   settings.intValue(SettingLine::FactorMode), settings.customFactors());
    return tables.compensationFactors();
}

TEST(AnalyzeCommand, JsonRoundTripIsExact)
{
    TempProgramFolder folder;
    const AnalysisRecord record = awkwardRecord();
    const std::array<double, 12> factors{0.8541, 0.9318, 1.1081, 0.9318, 0.8039, 0.8039,
                                         1.0, 1.2424, 1.0, 1.0789, 1.2424, 1.1388};
    QString out, err;
    const int code = runTool({"analyze", "--program-folder", folder.path()}, &out, &err,
                             QJsonDocument(inputOf(record, factors)).toJson());
    ASSERT_EQ(code, 0) << err.toStdString();
    const QJsonObject got = parseOutput(out);

    const QStringList keys{"energyAverage", "qualityAverage", "compensated", "deviation", "thresholdScale",
                           "pointLevel", "tripleMean", "yinMean", "yangMean", "upperMean", "lowerMean",
                           "leftMean", "rightMean", "tripleMin", "tripleMax", "pairMean", "pairLevel",
                           "coupleLevel", "meridianLevel", "sideLevel", "elementTable", "elementLevel",
                           "bodyEnergyState", "mentalState", "musculoskeletalState", "metabolismState",
                           "autonomicState", "integratedIndex", "pointScore", "meridiansIndex", "energyLow",
                           "Te", "Th", "Td", "Tl", "Tf1", "Tf2", "statements", "analysisList", "dietaryList",
                           "protocolsList"};
    QStringList gotKeys = got.keys();
    QStringList wantKeys = keys;
    gotKeys.sort();
    wantKeys.sort();
    EXPECT_EQ(gotKeys, wantKeys);

    // Every number read back equals the one computed here, bit for bit.
    const QJsonObject expected = expectedJson(record, factors);
    for (const QString& key : keys) EXPECT_EQ(got.value(key), expected.value(key)) << key.toStdString();
    EXPECT_EQ(got.value("integratedIndex").toDouble(), computeAnalysis(record, factors).integratedIndex);
    EXPECT_EQ(got.value("compensated").toArray().at(23).toDouble(), record.values[23] * 1.1388);
    EXPECT_EQ(got.value("elementTable").toArray().size(), 7);
    EXPECT_EQ(got.value("pairLevel").toArray().size(), 12);
}

TEST(AnalyzeCommand, FactorsDefaultToTheSettingsSet)
{
    TempProgramFolder folder;
    const AnalysisRecord record = awkwardRecord();
    const QByteArray input = QJsonDocument(inputOf(record, std::nullopt)).toJson();

    // No settings file: the set a first start would choose.
    QString out, err;
    ASSERT_EQ(runTool({"analyze", "--program-folder", folder.path()}, &out, &err, input), 0) << err.toStdString();
    EXPECT_EQ(parseOutput(out), expectedJson(record, settingsFactors(Settings())));

    Settings settings;
    settings.setInt(SettingLine::FactorMode, 2);
    for (int i = 0; i < 12; ++i) settings.setReal(SettingLine::CustomFactor1 + i, 1.5 + 0.25 * i);
    ASSERT_EQ(settings.save(folder.folder().settingsFilePath()), "");
    ASSERT_EQ(runTool({"analyze", "--program-folder", folder.path()}, &out, &err, input), 0) << err.toStdString();
    const QJsonObject got = parseOutput(out);
    EXPECT_EQ(got, expectedJson(record, settingsFactors(settings)));
    EXPECT_EQ(got.value("compensated").toArray().at(0).toDouble(), record.values[0] * 1.5);
}

TEST(AnalyzeCommand, ReadsAFileArgument)
{
    TempProgramFolder folder;
    const AnalysisRecord record = awkwardRecord();
    const std::array<double, 12> ones{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    QFile file(folder.file("measurement.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(inputOf(record, ones)).toJson());
    file.close();
    QString out, err;
    ASSERT_EQ(runTool({"analyze", file.fileName(), "--compact", "--program-folder", folder.path()}, &out, &err), 0)
        << err.toStdString();
    EXPECT_EQ(out.count(u'\n'), 1);
    EXPECT_EQ(parseOutput(out), expectedJson(record, ones));
}

TEST(AnalyzeCommand, RefusesWhatCannotBeAnalysed)
{
    TempProgramFolder folder;
    QJsonObject good = inputOf(awkwardRecord(), std::nullopt);
    auto with = [&](const QString& key, const QJsonValue& value) {
        QJsonObject o = good;
        if (value.isUndefined()) o.remove(key);
        else o[key] = value;
        return QJsonDocument(o).toJson();
    };
    QJsonArray zeroAt5 = good["values"].toArray();
    zeroAt5[4] = 0;
    QJsonArray negativeAt24 = good["values"].toArray();
    negativeAt24[23] = -2.5;
    QJsonArray short23 = good["values"].toArray();
    short23.removeLast();
    QJsonArray textAt3 = good["values"].toArray();
    textAt3[2] = "12";

    const struct {
        const char* name;
        QByteArray input;
        QString message;
    } cases[] = {
        {"malformed", "{\"values\": [1, 2", "not valid JSON"},
        {"not an object", "[1, 2, 3]", "one JSON object"},
        {"empty input", "", "not valid JSON"},
        {"a value at 0", with("values", zeroAt5), "unfinished: ME5 is 0"},
        {"a negative value", with("values", negativeAt24), "unfinished: ME24 is -2.5"},
        {"23 values", with("values", short23), "\"values\" holds 23 entries"},
        {"a value as text", with("values", textAt3), "\"values\" entry 3 is not a number"},
        {"values missing", with("values", QJsonValue::Undefined), "\"values\" is missing"},
        {"gender missing", with("isMale", QJsonValue::Undefined), "\"isMale\" is missing"},
        {"gender as text", with("isMale", "yes"), "\"isMale\" must be true or false"},
        {"birth date missing", with("birthDate", QJsonValue::Undefined), "\"birthDate\" is missing"},
        {"measuring time as text", with("measuredAt", "today"), "\"measuredAt\" must be a number"},
        {"11 factors", with("compensationFactors", QJsonArray{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}),
         "\"compensationFactors\" holds 11 entries"},
        {"quality of 25", with("quality", numbers(std::array<double, 25>{})), "\"quality\" holds 25 entries"},
    };
    for (const auto& c : cases) {
        QString out, err;
        const int code = runTool({"analyze", "--program-folder", folder.path()}, &out, &err, c.input);
        EXPECT_NE(code, 0) << c.name;
        EXPECT_TRUE(out.isEmpty()) << c.name;
        EXPECT_TRUE(err.contains(c.message)) << c.name << ": " << err.toStdString();
    }

    QString err;
    EXPECT_NE(runTool({"analyze", folder.file("nothing.json"), "--program-folder", folder.path()}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains("cannot be read")) << err.toStdString();
}

// A man with both Lung points well below the rest: the delivered Lung protocol and the user's
// own protocol for a weak lung are recommended; other user protocols are not.
TEST(AnalyzeCommand, ListsTheProtocolsRecommendedForTheMeasurement)
{
    TempProgramFolder folder;
    {
        Database main;
        ASSERT_EQ(main.open(folder.file(kMainDatabaseFile), OpenMode::Create), "");
        QSqlDatabase db = main.db();
        ASSERT_EQ(createTables(db, mainDatabaseTables()), "");
        for (const auto& [number, name, code] : {std::tuple{"U1", "My lung care", "000001000000000000000000"},
                                                 std::tuple{"U2", "My liver care", "000000000000010000000000"}}) {
            ProtocolRecord p;
            p.number = number;
            p.name = name;
            ASSERT_EQ(appendProtocol(db, p), "");
            ConditionRecord c;
            c.protocolNumber = number;
            c.condition = code;
            ASSERT_EQ(appendCondition(db, c), "");
        }
    }
    ASSERT_TRUE(QFile::copy(deliveredDataPath() + "/" + kSystemProtocolDatabaseFile, folder.file(kSystemProtocolDatabaseFile)));

    AnalysisRecord record;
    record.values.fill(45);
    record.values[0] = record.values[6] = 25;  // LU left and right
    record.isMale = true;
    const QByteArray input = QJsonDocument(inputOf(record, std::array<double, 12>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).toJson();

    QString out, err;
    ASSERT_EQ(runTool({"analyze", "--protocols", "--program-folder", folder.path()}, &out, &err, input), 0) << err.toStdString();
    const QJsonObject recommended = parseOutput(out).value("recommendedProtocols").toObject();
    EXPECT_EQ(recommended.value("user").toArray(), (QJsonArray{QJsonObject{{"number", "U1"}, {"name", "My lung care"}}}));
    const QJsonArray system = recommended.value("system").toArray();
    EXPECT_TRUE(system.contains(QJsonObject{{"number", "S001"}, {"name", "Lung deficiency"}})) << out.toStdString();
    for (const QJsonValue& p : system) EXPECT_NE(p.toObject().value("name").toString(), "Lung excess");

    // Without the databases the lists are empty and the output says why.
    TempProgramFolder empty;
    ASSERT_EQ(runTool({"analyze", "--protocols", "--program-folder", empty.path()}, &out, &err, input), 0) << err.toStdString();
    EXPECT_EQ(parseOutput(out).value("recommendedProtocols").toObject(),
              (QJsonObject{{"user", QJsonArray{}}, {"system", QJsonArray{}}}));
    EXPECT_TRUE(err.contains(kSystemProtocolDatabaseFile)) << err.toStdString();
}

class AnalyzeStored : public ::testing::Test {
protected:
    void SetUp() override
    {
        Database main;
        ASSERT_EQ(main.open(folder_.file(kMainDatabaseFile), OpenMode::Create), "");
        QSqlDatabase db = main.db();
        ASSERT_EQ(createTables(db, mainDatabaseTables()), "");
        PatientRecord patient;
        patient.number = "A-1";
        patient.male = false;
        patient.birthDate = 21000;
        ASSERT_EQ(appendPatient(db, patient), "");
        patient_ = patient;

        MeasurementRecord m;
        m.patientNumber = "A-1";
        m.dateTime = 45500.25;
        m.values = awkwardRecord().values;
        m.hasQuality = true;
        m.quality.fill(97.5);
        ASSERT_EQ(appendMeasurement(db, m), "");
        measurement_ = m;

        m.values[9] = 0;
        ASSERT_EQ(appendMeasurement(db, m), "");
        unfinishedKey_ = m.key;
    }

    TempProgramFolder folder_;
    PatientRecord patient_;
    MeasurementRecord measurement_;
    qint64 unfinishedKey_ = 0;
};

TEST_F(AnalyzeStored, AnalysesWithThePatientsGenderAndBirthDate)
{
    QString out, err;
    ASSERT_EQ(runTool({"analyze", "--stored", QString::number(measurement_.key), "--program-folder", folder_.path()},
                      &out, &err),
              0)
        << err.toStdString();
    const AnalysisRecord record = analysisRecordOf(measurement_, patient_);
    ASSERT_FALSE(record.isMale);
    const QJsonObject got = parseOutput(out);
    EXPECT_EQ(got, expectedJson(record, settingsFactors(Settings())));
    EXPECT_EQ(got.value("qualityAverage").toDouble(), 97.5);

    // The same values as a male patient of unknown age give another index.
    AnalysisRecord other = record;
    other.isMale = true;
    other.birthDate = 0;
    EXPECT_NE(got.value("integratedIndex"), expectedJson(other, settingsFactors(Settings())).value("integratedIndex"));
}

TEST_F(AnalyzeStored, RefusesUnfinishedMissingAndBadKeys)
{
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--stored", QString::number(unfinishedKey_)}, "is unfinished (ME10 is 0)"},
        {{"--stored", "4711"}, "no measurement with MKEY 4711"},
        {{"--stored", "seven"}, "not a measurement key"},
        {{"--stored", "1", "some.json"}, "--stored takes no file"},
    };
    for (const auto& c : cases) {
        QString out, err;
        EXPECT_NE(runTool(QStringList{"analyze"} << c.args << "--program-folder" << folder_.path(), &out, &err), 0);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }

    TempProgramFolder empty;
    QString err;
    EXPECT_NE(runTool({"analyze", "--stored", "1", "--program-folder", empty.path()}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains("does not exist")) << err.toStdString();
}

}  // namespace
}  // namespace tork
