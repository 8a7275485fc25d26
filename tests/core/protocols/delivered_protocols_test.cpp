// The therapy protocols delivered in the system protocol database: complete texts, sound
// conditions, and each one recommended for some plausible measurement but none for a balanced one.

#include "core/analysis/analysis.h"
#include "core/app/formats.h"
#include "core/app/meridians.h"
#include "core/app/programfolder.h"
#include "core/protocols/conditioncode.h"
#include "core/protocols/matching.h"
#include "core/records/connection.h"
#include "core/records/schema.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <functional>

namespace {

using namespace tork;

const QDate kToday(2026, 12, 11);
constexpr double kBalanced = 45;  // microamperes, compensated, at every point

using Targets = std::array<double, kPointCount>;  // compensated values by ME number - 1

struct Scenario {
    QString name;
    std::function<void(Targets&)> shape;
};

void scalePoints(Targets& t, const std::function<bool(int me)>& which, double factor)
{
    for (int me = 1; me <= kPointCount; ++me)
        if (which(me)) t[me - 1] *= factor;
}

// Measurements a practitioner meets: balanced, one meridian low or high on both sides, the
// whole body low or high, and the imbalances the five states describe.
std::vector<Scenario> scenarios()
{
    std::vector<Scenario> list{{QStringLiteral("balanced"), [](Targets&) {}}};
    for (int m = 1; m <= kMeridianCount; ++m) {
        for (double factor : {0.6, 1.5}) {
            list.push_back({meridianTable()[m - 1].abbreviation + (factor < 1 ? " low" : " high"), [m, factor](Targets& t) {
                                scalePoints(t, [m](int me) { return meridianOfPoint(me) == m; }, factor);
                            }});
        }
    }
    const auto everywhere = [](int) { return true; };
    const auto hand = [](int me) { return me <= 12; };
    const auto leftSide = [](int me) { return (me - 1) % 12 < 6; };
    const auto yin = [](int me) { return (me - 1) % 6 < 3; };
    const auto yang = [](int me) { return (me - 1) % 6 >= 3; };
    const auto handYangLeft = [](int me) { return me >= 4 && me <= 6; };
    const std::vector<std::tuple<const char*, std::function<bool(int)>, double>> shapes{
        {"whole body low", everywhere, 0.5},     {"whole body very low", everywhere, 0.38},
        {"whole body high", everywhere, 1.6},    {"upper body low", hand, 0.8},
        {"upper body high", hand, 1.3},          {"left side low", leftSide, 0.8},
        {"yin high", yin, 1.35},                 {"yang high", yang, 1.35},
        {"one group of points high", handYangLeft, 1.9},
    };
    for (const auto& [name, which, factor] : shapes)
        list.push_back({QString::fromLatin1(name), [which, factor](Targets& t) { scalePoints(t, which, factor); }});
    return list;
}

struct Patient {
    const char* name;
    bool isMale;
    int age;
};
constexpr Patient kPatients[] = {{"man of 40", true, 40}, {"woman of 50", false, 50}, {"man of 66", true, 66}, {"woman of 30", false, 30}};

MatchInputs inputsFor(const Scenario& scenario, const Patient& patient)
{
    Targets targets;
    targets.fill(kBalanced);
    scenario.shape(targets);
    const auto& factors = builtInCompensationFactors();
    AnalysisRecord record;
    for (int me = 1; me <= kPointCount; ++me) {
        record.values[me - 1] = targets[me - 1] / factors[meridianOfPoint(me) - 1];
        record.quality[me - 1] = 98;
    }
    record.isMale = patient.isMale;
    record.birthDate = toDayCount(QDate(kToday.year() - patient.age, 6, 1));
    record.measuredAt = toDayCount(kToday);
    return matchInputs(record, computeAnalysis(record, factors), kToday);
}

class DeliveredProtocols : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = deliveredDataPath() + QStringLiteral("/") + QString::fromLatin1(kSystemProtocolDatabaseFile);
        ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path) << ": build the target tork_databases first";
        ASSERT_EQ(database_.open(path, OpenMode::ReadOnly), QString());
        db_ = database_.db();
    }

    Database database_;
    QSqlDatabase db_;
};

TEST_F(DeliveredProtocols, EveryProtocolHasItsTextsAndSoundConditions)
{
    const std::vector<ProtocolRecord> protocols = loadProtocols(db_);
    EXPECT_GE(protocols.size(), 24u);
    for (const ProtocolRecord& p : protocols) {
        SCOPED_TRACE(p.number.toStdString());
        EXPECT_FALSE(p.name.trimmed().isEmpty());
        EXPECT_FALSE(p.description.trimmed().isEmpty());
        for (const QString& text : p.medicineTexts) EXPECT_FALSE(text.trimmed().isEmpty());
        for (const QString& text : p.helpTexts) EXPECT_FALSE(text.trimmed().isEmpty());
        const std::vector<ConditionRecord> conditions = conditionsOf(db_, p.number);
        EXPECT_FALSE(conditions.empty());
        for (const ConditionRecord& c : conditions) {
            EXPECT_EQ(conditionCodeProblem(c.condition, c.required, c.ageLow, c.ageHigh), QString()) << c.name.toStdString();
            const ConditionCode again = encodeCondition(decodeCondition(c.condition, c.required));
            EXPECT_EQ(again.condition, c.condition);
            EXPECT_EQ(again.required, c.required);
        }
    }
}

TEST_F(DeliveredProtocols, EachIsRecommendedForSomeMeasurementAndNoneForABalancedOne)
{
    std::map<QString, QStringList> recommendedFor;  // protocol number -> scenarios
    for (const Scenario& scenario : scenarios()) {
        for (const Patient& patient : kPatients) {
            const QString where = scenario.name + QStringLiteral(", ") + QString::fromLatin1(patient.name);
            for (const ProtocolHeading& p : recommendProtocols(db_, inputsFor(scenario, patient))) {
                EXPECT_NE(scenario.name, QStringLiteral("balanced")) << p.number.toStdString() << " for a " << patient.name;
                recommendedFor[p.number] << where;
            }
        }
    }
    for (const ProtocolHeading& p : loadProtocolHeadings(db_))
        EXPECT_TRUE(recommendedFor.count(p.number)) << p.number.toStdString() << " " << p.name.toStdString()
                                                    << " is recommended for none of the measurements";
}

// A meridian low or high on both sides brings up a protocol whose condition names that
// meridian "Hypo" or "Hyper".
TEST_F(DeliveredProtocols, AMeridianOffBalanceRecommendsAProtocolForIt)
{
    // Meridian condition items 6..17 in their order.
    const QStringList itemOrder{"LU", "LI", "PC", "TE", "HT", "SI", "SP", "ST", "LR", "GB", "KI", "BL"};
    for (const Scenario& scenario : scenarios()) {
        const int item = FirstMeridianItem + int(itemOrder.indexOf(scenario.name.section(u' ', 0, 0)));
        if (item < FirstMeridianItem) continue;
        const int digit = scenario.name.endsWith(QStringLiteral(" low")) ? 1 : 2;
        SCOPED_TRACE(scenario.name.toStdString());
        bool found = false;
        for (const ProtocolHeading& p : recommendProtocols(db_, inputsFor(scenario, kPatients[0])))
            for (const ConditionRecord& c : conditionsOf(db_, p.number))
                found = found || conditionDigit(c.condition, item) == digit;
        EXPECT_TRUE(found);
    }
}

}  // namespace
