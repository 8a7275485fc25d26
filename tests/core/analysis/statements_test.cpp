// Statements, the lists of atypical meridians and the explanation of a list entry.

#include "core/analysis/statements.h"
#include "core/records/referencetexts.h"
#include "records.h"

#include <gtest/gtest.h>

namespace tork {
namespace {

using test::kUnitFactors;
using test::recordOf;

// Every field of every key holds its column name and key ("DtMH1 3"), so a composed
// explanation shows which fields it took, in which order.
InMemoryReferenceTexts labelledTexts()
{
    InMemoryReferenceTexts texts;
    for (int key = 1; key <= 17; ++key) {
        ReferenceEntry entry;
        for (int f = 0; f < kReferenceFieldCount; ++f)
            entry.fields[f] = QStringLiteral("%1 %2").arg(referenceColumnName(ReferenceField(f))).arg(key);
        texts.insert(key, entry);
    }
    return texts;
}

QList<int> keysOf(const QList<ListEntry>& list)
{
    QList<int> keys;
    for (const ListEntry& e : list) keys << e.key;
    return keys;
}

TEST(AnalysisStatements, BalancedRecordHasOnlyTheFiveStateEntries)
{
    const AnalysisTexts texts = buildAnalysisTexts(computeAnalysis(recordOf(50), kUnitFactors));
    const QList<ListEntry> expected{{"State of body energy", 13},
                                    {"State of mental stress", 14},
                                    {"Musculoskeletal system", 15},
                                    {"Metabolism of the body", 16},
                                    {"Function of autonomic nerve", 17}};
    EXPECT_EQ(texts.analysisList, expected);
    EXPECT_TRUE(texts.dietaryList.isEmpty());
    EXPECT_TRUE(texts.protocolsList.isEmpty());
    EXPECT_EQ(texts.statements[0], "Body energy and primordial Qi are normal.");
    EXPECT_EQ(texts.statements[1], "Qi-Blood is balanced in upper-jiao and lower-jiao, and the spiritual activity is normal.");
    EXPECT_EQ(texts.statements[2], "Qi-Blood is balanced and the musculoskeletal system is functioning normally.");
    EXPECT_EQ(texts.statements[3], "Yin and Yang are balanced and body metabolism is normal.");
    EXPECT_EQ(texts.statements[4], "Autonomic nervous system is normal.");
}

TEST(AnalysisStatements, StatementsFollowTheStateValues)
{
    // Hands at 15 against feet at 25 (ratio 0.6), average 20: mental -3, body energy -2.
    const AnalysisResult weakUpper = computeAnalysis(test::splitRecord([](int me) { return me <= 12; }, 15, 25), kUnitFactors);
    ASSERT_EQ(weakUpper.mentalState, -3);
    ASSERT_EQ(weakUpper.bodyEnergyState, -2);
    AnalysisTexts texts = buildAnalysisTexts(weakUpper);
    EXPECT_EQ(texts.statements[0], "Body energy and primordial energy are slightly weak.");
    EXPECT_EQ(texts.statements[1], "Qi-Blood is excessive in lower-jiao and psychasthenia is obvious.");

    const AnalysisResult mixed = computeAnalysis(test::mixedRecord(false), kUnitFactors);
    ASSERT_EQ(mixed.mentalState, 2);
    texts = buildAnalysisTexts(mixed);
    EXPECT_EQ(texts.statements[1],
              "The upper-jiao is excessive while the lower-jiao is deficient, which shows a moderate mental stress.");

    const AnalysisResult lopsided = computeAnalysis(recordOf(50, {{1, 110}, {2, 110}, {3, 110}}), kUnitFactors);
    ASSERT_EQ(lopsided.autonomicState, 3);
    EXPECT_EQ(buildAnalysisTexts(lopsided).statements[4], "Autonomic nervous system is obviously imbalanced.");
}

TEST(AnalysisStatements, AtypicalMeridiansInMeridianOrder)
{
    // LU both in excess, SP both in deficiency.
    const AnalysisTexts mixed = buildAnalysisTexts(computeAnalysis(test::mixedRecord(), kUnitFactors));
    EXPECT_EQ(keysOf(mixed.analysisList), (QList<int>{13, 14, 15, 16, 17, 1, 7}));
    EXPECT_EQ(mixed.analysisList[5].text, "[Lung Meridian Atypical]");
    EXPECT_EQ(mixed.analysisList[6].text, "[Spleen Meridian Atypical]");
    EXPECT_EQ(keysOf(mixed.dietaryList), (QList<int>{1, 7}));
    EXPECT_EQ(keysOf(mixed.protocolsList), (QList<int>{1, 7}));

    // HT left 1, right -2: atypical on both sides, not of the same sign.
    const AnalysisResult opposite = computeAnalysis(test::oppositeSidesRecord(), kUnitFactors);
    ASSERT_EQ(opposite.pointLevel[3 - 1], 1);
    ASSERT_EQ(opposite.pointLevel[9 - 1], -2);
    const AnalysisTexts texts = buildAnalysisTexts(opposite);
    EXPECT_EQ(keysOf(texts.analysisList), (QList<int>{13, 14, 15, 16, 17, 3}));
    EXPECT_EQ(texts.dietaryList, (QList<ListEntry>{{"[Heart Meridian Atypical]", 3}}));
    EXPECT_TRUE(texts.protocolsList.isEmpty());

    // LI left -2 and right 2: in the analysis list, not in the protocols list.
    const AnalysisTexts li = buildAnalysisTexts(computeAnalysis(recordOf(50, {{12, 80}, {6, 20}}), kUnitFactors));
    EXPECT_EQ(keysOf(li.analysisList), (QList<int>{13, 14, 15, 16, 17, LI}));
    EXPECT_TRUE(li.protocolsList.isEmpty());

    // LI right and ST right off, their left points at level 0: no atypical meridian.
    const AnalysisTexts single = buildAnalysisTexts(computeAnalysis(recordOf(50, {{12, 80}, {24, 20}}), kUnitFactors));
    EXPECT_EQ(single.analysisList.size(), 5);
}

TEST(AnalysisStatements, AtypicalEntryTextsNameEveryMeridian)
{
    EXPECT_EQ(atypicalEntryText(TE), "[Triple Energizer Meridian Atypical]");
    EXPECT_EQ(atypicalEntryText(GB), "[Gallbladder Meridian Atypical]");
    EXPECT_EQ(atypicalEntryText(ST), "[Stomach Meridian Atypical]");
}

struct ExplanationCase {
    const char* name;
    AnalysisRecord record;
    ListKind kind;
    int key;
    QStringList lines;
    QStringList ryodoraku;
};

TEST(AnalysisStatements, ExplanationComposition)
{
    const QString warning =
        QStringLiteral("Due to low body energy, beware of possible complications in body functions and meridians.");
    const AnalysisRecord mixed = test::mixedRecord();
    const AnalysisRecord opposite = test::oppositeSidesRecord();
    const AnalysisRecord lowEnergy = recordOf(15);                                         // body energy -3
    const AnalysisRecord lowUpper = test::splitRecord([](int me) { return me <= 12; }, 30, 50);  // mental -3
    const ExplanationCase cases[] = {
        {"body energy normal", mixed, ListKind::Analysis, 13, {"DtMA1 13", "", "DtMA2 13"}, {}},
        {"mental stress above 0", mixed, ListKind::Analysis, 14, {"DtMA1 14", "", "DtMH1 14"}, {}},
        {"body energy -3 warns", lowEnergy, ListKind::Analysis, 13, {"DtMA1 13", "", "DtML1 13", "", warning}, {}},
        {"mental stress -3 does not warn", lowUpper, ListKind::Analysis, 14, {"DtMA1 14", "", "DtML1 14"}, {}},
        {"meridian in excess", mixed, ListKind::Analysis, 1,
         {"[Lung Meridian Atypical]", "", "DtMA2 1", "", "DtMA1 1", "", "DtMH1 1"}, {"DtMH5 1"}},
        {"meridian in deficiency", mixed, ListKind::Analysis, 7,
         {"[Spleen Meridian Atypical]", "", "DtMA2 7", "", "DtMA1 7", "", "DtML1 7"}, {"DtML5 7"}},
        {"meridian of opposite signs", opposite, ListKind::Analysis, 3,
         {"[Heart Meridian Atypical]", "", "DtMA2 3", "", "DtMA1 3", ""}, {}},
        {"dietary excess", mixed, ListKind::Dietary, 1, {"DtMA3 1", "", "DtMH4 1"}, {}},
        {"dietary deficiency", mixed, ListKind::Dietary, 7, {"DtMA3 7", "", "DtML4 7"}, {}},
        {"dietary opposite signs", opposite, ListKind::Dietary, 3, {"DtMA3 3", ""}, {}},
        {"protocols excess", mixed, ListKind::Protocols, 1, {"DtMH3 1", "", "DtMH2 1"}, {}},
        {"protocols deficiency", mixed, ListKind::Protocols, 7, {"DtML3 7", "", "DtML2 7"}, {}},
        {"dietary list has no state entries", mixed, ListKind::Dietary, 13, {}, {}},
    };
    const InMemoryReferenceTexts texts = labelledTexts();
    for (const ExplanationCase& c : cases) {
        const AnalysisResult result = computeAnalysis(c.record, kUnitFactors);
        const Explanation explanation = composeExplanation(c.kind, c.key, result, texts);
        EXPECT_EQ(explanation.lines, c.lines) << c.name;
        EXPECT_EQ(explanation.ryodorakuLines, c.ryodoraku) << c.name;
    }
}

TEST(AnalysisStatements, ExplanationFieldsKeepTheirLines)
{
    InMemoryReferenceTexts texts;
    ReferenceEntry entry;
    entry.setText(ReferenceField::DtMA1, QStringLiteral("  first line\r\nsecond line  \r\n"));
    entry.setText(ReferenceField::DtMA3, QStringLiteral("one\ntwo"));
    texts.insert(13, entry);
    texts.insert(1, entry);
    const AnalysisResult result = computeAnalysis(recordOf(50), kUnitFactors);

    // DtMA2 is empty and gives one empty line.
    EXPECT_EQ(composeExplanation(ListKind::Analysis, 13, result, texts).lines,
              (QStringList{"  first line", "second line  ", "", ""}));
    EXPECT_EQ(composeExplanation(ListKind::Dietary, 1, result, texts).lines, (QStringList{"one", "two", ""}));
}

TEST(AnalysisStatements, MissingReferenceRowGivesAnEmptyExplanation)
{
    InMemoryReferenceTexts texts;
    const AnalysisResult result = computeAnalysis(test::mixedRecord(), kUnitFactors);
    EXPECT_EQ(composeExplanation(ListKind::Analysis, 1, result, texts), Explanation{});
    EXPECT_EQ(composeExplanation(ListKind::Analysis, 13, result, texts), Explanation{});
}

}  // namespace
}  // namespace tork
