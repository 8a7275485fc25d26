// The analysis window offscreen: opening, tabs and status texts, the chart categories and
// variants, the index selector, the history, the list synchronisation, Paste and the notes.

#include "ui/records/recordsuifixture.h"

#include "core/app/formats.h"
#include "core/app/settings.h"
#include "core/records/referencetexts.h"
#include "ui/analysis/chartview.h"
#include "ui/analysis/tkaany.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <memory>

namespace tork::test {
namespace {

class AnalysisWindowTest : public RecordsWindowTest {
protected:
    void SetUp() override
    {
        RecordsWindowTest::SetUp();
        state.folder = folder.folder();
        state.loadOrCreateSettings();
        state.settings.setInt(SettingLine::FactorMode, 1);  // compensated values equal the measured ones
        state.rebuildTables();
        for (int key = 1; key <= 17; ++key) {
            ReferenceEntry entry;
            for (int f = 0; f < kReferenceFieldCount; ++f)
                entry.setText(ReferenceField(f), QStringLiteral("Text %1 of entry %2").arg(f).arg(key));
            texts.insert(key, entry);
        }
        patient = addPatient("P1", "Anna Muster", 25000, true);
        state.patient.number = patient.number;
        state.patient.name = patient.name;
        state.patient.birthDate = patient.birthDate;
        state.patient.isMale = true;
        state.chartChoices.fill(1);
    }

    // Hands a measurement to the window as the measurement window would.
    void holdMeasurement(const std::array<double, kPointCount>& values, int key = 0, const QString& memo = {})
    {
        measurement.values = values;
        measurement.quality.fill(85);
        measurement.hasData = true;
        state.currentMeasurementKey = key;
        state.measurementDateTime = 46000.3;
        state.measurementMemo = memo.isEmpty() ? QStringList() : memo.split('\n');
    }

    std::unique_ptr<TKaany> open() { return std::make_unique<TKaany>(context(), texts); }

    static std::array<double, kPointCount> valuesOf(double value, std::initializer_list<std::pair<int, double>> points = {})
    {
        std::array<double, kPointCount> values;
        values.fill(value);
        for (const auto& [me, v] : points) values[me - 1] = v;
        return values;
    }

    InMemoryReferenceTexts texts;
    PatientRecord patient;
};

// HT in excess on both sides: atypical in all three lists.
const auto kHeartHigh = std::initializer_list<std::pair<int, double>>{{3, 75}, {9, 75}};

TEST_F(AnalysisWindowTest, FreshMeasurementOpensOnTheEnergyReportWithTheBodyEnergyDiagram)
{
    holdMeasurement(valuesOf(50));
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Data Analysis");
    EXPECT_EQ(window->activeTab(), AnalysisTab::EnergyReport);
    EXPECT_EQ(window->statusText(), "Analysis is gender-sensitive.");
    EXPECT_EQ(window->chartCategory(), 1);
    EXPECT_EQ(window->chartVariant(), 1);
    EXPECT_EQ(window->chartTitle(), "Diagram of Body Energy Balance");
    EXPECT_EQ(window->fieldText("Name:"), "Anna Muster");
    EXPECT_EQ(window->fieldText("Gender:"), "Male");
    EXPECT_EQ(window->fieldText("Potential:"), "NRM (normal method)");
    EXPECT_EQ(window->fieldText("Energy Average:"), " 50.0");
    EXPECT_FALSE(window->statementText(0).isEmpty());
    // Every score is 10.0, shown bracketed in blue; the value table shows the measured values.
    for (int row = 1; row <= 13; ++row) {
        EXPECT_EQ(window->scoreTable()->item(row, 1)->text(), "[10.0]") << row;
        EXPECT_EQ(window->scoreTable()->item(row, 1)->foreground().color(), QColor(0, 0, 255));
    }
    EXPECT_EQ(window->scoreTable()->item(13, 0)->text(), "Average");
    EXPECT_EQ(window->valueTableCaption(), "Meridian Energy Values");
    EXPECT_EQ(window->valueTable()->item(1, 1)->text(), "50.0");
    window->ValueTableToggleClick();
    EXPECT_EQ(window->valueTableCaption(), "Data Quality Score");
    EXPECT_EQ(window->valueTable()->item(1, 1)->text(), "85.0");
    EXPECT_EQ(window->fieldText("Avg:"), "85.0");
}

TEST_F(AnalysisWindowTest, ScoresAndValuesTakeTheirClassColours)
{
    holdMeasurement(valuesOf(50, {{1, 90}, {7, 88}}));  // LU far in excess on both sides
    auto window = open();
    const AnalysisResult& r = window->result();
    const double lu = r.pointScore[0];
    ASSERT_LT(lu, 7.0);
    EXPECT_EQ(window->scoreTable()->item(1, 1)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(window->valueTable()->item(1, 1)->text(), "90.0");
    EXPECT_EQ(window->valueTable()->item(1, 1)->foreground().color(), QColor(255, 0, 0));
}

TEST_F(AnalysisWindowTest, CategoriesAndVariantsDrawTheirChartsAndKeepTheChoiceForTheRun)
{
    holdMeasurement(valuesOf(50, kHeartHigh));
    auto window = open();
    window->showTab(AnalysisTab::Charts);
    EXPECT_EQ(window->statusText(), "Diagram of Body Energy Balance");

    window->CategoryButtonClick(3);  // Yin Yang
    EXPECT_EQ(window->chartTitle(), QString::fromUtf8("Yin-Yang Balance Analysis – Chart A"));
    EXPECT_TRUE(window->variantButton(1)->isChecked());
    EXPECT_FALSE(window->variantButton(2)->isVisibleTo(window.get()));
    EXPECT_TRUE(window->variantButton(3)->isVisibleTo(window.get()));
    EXPECT_EQ(window->variantButton(3)->toolTip(), "Yin-Yang Exc/Def A");
    window->VariantButtonClick(3);
    EXPECT_EQ(window->chartTitle(), QString::fromUtf8("Yin-Yang Excess/Deficiency Analysis – Chart A"));
    EXPECT_EQ(window->statusText(), "This graph compares the Qi-Blood balance between Yin-Zang and Yang-Fu.");
    EXPECT_TRUE(window->variantButton(3)->isChecked());
    EXPECT_FALSE(window->variantButton(1)->isChecked());

    window->CategoryButtonClick(5);
    window->VariantButtonClick(2);
    EXPECT_EQ(window->chartTitle(), "Five Elements Analysis By Yin-Zang");
    EXPECT_EQ(window->statusText(), "This graph compares the meridian energy of the Five Elements by Yin-Zang");

    window->CategoryButtonClick(6);
    EXPECT_EQ(window->chartTitle(), QString::fromUtf8("Meridian Time Cycle Analysis – Chart A"));
    for (int v = 1; v <= 4; ++v) EXPECT_FALSE(window->variantButton(v)->isVisibleTo(window.get()));
    EXPECT_EQ(window->chartView()->picture().size(), window->chartView()->size());

    // "Recall Analysis Data" shows the second history grid; a category button hides it again.
    addMeasurement("P1", 45990.5, 40);
    window->close();
    auto again = open();
    EXPECT_EQ(again->activeTab(), AnalysisTab::Charts);
    EXPECT_EQ(again->chartCategory(), 6);
    again->CategoryButtonClick(5);
    EXPECT_EQ(again->chartVariant(), 2);
    again->CategoryButtonClick(0);
    EXPECT_TRUE(again->chartHistoryGrid()->isVisibleTo(again.get()));
    again->CategoryButtonClick(3);
    EXPECT_FALSE(again->chartHistoryGrid()->isVisibleTo(again.get()));
    EXPECT_EQ(again->chartVariant(), 3);
    again->close();

    // A new measurement resets the window state to the first tab, Composite, variant 1.
    state.chartChoices.fill(1);
    auto fresh = open();
    EXPECT_EQ(fresh->activeTab(), AnalysisTab::EnergyReport);
    EXPECT_EQ(fresh->chartTitle(), "Diagram of Body Energy Balance");
}

TEST_F(AnalysisWindowTest, IndexSelectorIsStoredInTheSettingsAndKeptAfterRestart)
{
    holdMeasurement(valuesOf(50, kHeartHigh));
    auto window = open();
    EXPECT_EQ(window->indexCaption()->text(), "Integrated Index");
    window->IndexSelectorChange(2);
    EXPECT_EQ(window->indexCaption()->text(), "Meridians Index");
    EXPECT_EQ(window->indexFigure()->text(), formatFixed(window->result().meridiansIndex, 3, 1));
    window->IndexSelectorChange(0);
    EXPECT_FALSE(window->indexFigure()->isVisibleTo(window.get()));
    window->IndexSelectorChange(2);
    window->close();

    ProgramState restarted(folder.folder());
    ASSERT_TRUE(restarted.loadOrCreateSettings().ok);
    EXPECT_EQ(restarted.settings.intValue(SettingLine::IndexSelector), 2);
    state.settings = restarted.settings;
    auto reopened = open();
    EXPECT_EQ(reopened->indexSelector()->currentText(), "Average");
    EXPECT_EQ(reopened->indexCaption()->text(), "Meridians Index");
}

TEST_F(AnalysisWindowTest, HistorySelectionReanalysesButKeepsThePreviousAnalysisForAnUnfinishedRow)
{
    MeasurementRecord first = addMeasurement("P1", 45000.5, 50);
    MeasurementRecord unfinished = addMeasurement("P1", 45500.5, 30);
    unfinished.values[2] = 0;
    ASSERT_EQ(updateMeasurement(db, unfinished), QString());
    const MeasurementRecord newest = addMeasurement("P1", 46000.5, 60);
    holdMeasurement(newest.values, int(newest.key));
    auto window = open();
    ASSERT_EQ(window->historyGrid()->rowCount(), 3);
    EXPECT_EQ(window->historyGrid()->item(1, 0)->text(), "*2");
    EXPECT_EQ(window->historyGrid()->item(0, 0)->text(), "1");
    EXPECT_DOUBLE_EQ(window->result().energyAverage, 60);

    window->HistoryGridSelect(1);
    EXPECT_TRUE(window->unfinishedLabel()->isVisibleTo(window.get()));
    EXPECT_DOUBLE_EQ(window->result().energyAverage, 60);
    EXPECT_EQ(window->record().measurementKey, newest.key);

    window->HistoryGridSelect(2);
    EXPECT_FALSE(window->unfinishedLabel()->isVisibleTo(window.get()));
    EXPECT_EQ(window->record().measurementKey, first.key);
    EXPECT_DOUBLE_EQ(window->result().energyAverage, 50);
    EXPECT_EQ(window->fieldText("Energy Average:"), " 50.0");
    EXPECT_EQ(window->record().name, "Anna Muster");
}

TEST_F(AnalysisWindowTest, ChoosingAnAtypicalMeridianSelectsItInTheOtherLists)
{
    holdMeasurement(valuesOf(50, kHeartHigh));
    auto window = open();
    const QString heart = atypicalEntryText(HT);
    for (ListKind kind : {ListKind::Analysis, ListKind::Dietary, ListKind::Protocols})
        ASSERT_FALSE(window->list(kind)->findItems(heart, Qt::MatchExactly).isEmpty());
    // A state entry selects nothing elsewhere.
    window->ListClick(ListKind::Analysis, 1);
    EXPECT_EQ(window->list(ListKind::Dietary)->currentRow(), 0);

    const int row = window->list(ListKind::Analysis)->row(window->list(ListKind::Analysis)->findItems(heart, Qt::MatchExactly)[0]);
    window->ListClick(ListKind::Analysis, row);
    for (ListKind kind : {ListKind::Dietary, ListKind::Protocols}) {
        ASSERT_NE(window->list(kind)->currentItem(), nullptr);
        EXPECT_EQ(window->list(kind)->currentItem()->text(), heart);
        EXPECT_TRUE(window->explanation(kind)->toPlainText().contains("of entry 3"));
    }
    EXPECT_TRUE(window->explanation(ListKind::Analysis)->toPlainText().contains("of entry 3"));
}

TEST_F(AnalysisWindowTest, PasteAppendsEachSelectedBoxAfterAnEmptyLine)
{
    holdMeasurement(valuesOf(50, kHeartHigh), 0, "Headache");
    auto window = open();
    const QString heart = atypicalEntryText(HT);
    QListWidget* analysis = window->list(ListKind::Analysis);
    window->ListClick(ListKind::Analysis, analysis->row(analysis->findItems(heart, Qt::MatchExactly)[0]));
    const QString explanation = window->explanation(ListKind::Analysis)->toPlainText();
    const QString ryodoraku = window->ryodorakuBox()->toPlainText();
    ASSERT_FALSE(explanation.isEmpty());
    ASSERT_FALSE(ryodoraku.isEmpty());
    EXPECT_FALSE(window->pasteButton(ListKind::Analysis)->isEnabled());

    window->AllClick(ListKind::Analysis);
    EXPECT_TRUE(window->pasteButton(ListKind::Analysis)->isEnabled());
    window->PasteClick(ListKind::Analysis);
    EXPECT_EQ(window->notes()->toPlainText(), "Headache\n\n" + explanation + "\n\n" + ryodoraku);
    EXPECT_FALSE(window->pasteButton(ListKind::Analysis)->isEnabled());

    window->AllClick(ListKind::Dietary);
    window->PasteClick(ListKind::Dietary);
    EXPECT_EQ(window->notes()->toPlainText(),
              "Headache\n\n" + explanation + "\n\n" + ryodoraku + "\n\n" + window->explanation(ListKind::Dietary)->toPlainText());

    // The unsaved measurement takes its changed notes back when the window closes.
    window->close();
    EXPECT_EQ(state.measurementMemo.join('\n'), window->notes()->toPlainText());
}

TEST_F(AnalysisWindowTest, NotesAreWrittenToTheStoredMeasurementAndHandedBackOnlyToTheSameOne)
{
    MeasurementRecord older = addMeasurement("P1", 45000.5, 50);
    const MeasurementRecord held = addMeasurement("P1", 46000.5, 60);
    holdMeasurement(held.values, int(held.key), "old note");
    auto window = open();
    window->notes()->setPlainText("new note\nsecond line");
    // Moving to another row saves the notes of the row being left.
    window->HistoryGridSelect(1);
    EXPECT_EQ(findMeasurement(db, held.key)->memo, "new note\nsecond line");
    EXPECT_EQ(state.measurementMemo, QStringList({"new note", "second line"}));
    EXPECT_EQ(window->notes()->toPlainText(), older.memo);

    // The older measurement's notes go to its row, not to the measurement window.
    window->notes()->setPlainText("about the older one");
    window->close();
    EXPECT_EQ(findMeasurement(db, older.key)->memo, "about the older one");
    EXPECT_EQ(state.measurementMemo, QStringList({"new note", "second line"}));
}

}  // namespace
}  // namespace tork::test
