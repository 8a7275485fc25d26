// TKamnu: cell normalisation, the key filter and the Enter walk, conversion failures, the
// three modes and what each stores, the date check box, Clear.

#include "recordsuifixture.h"

#include "core/app/formats.h"
#include "ui/records/tkamnu.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimeEdit>

using namespace tork;
using namespace tork::test;

namespace {

class RecordsManual : public RecordsWindowTest {
protected:
    std::unique_ptr<TKamnu> entry(ManualEntryMode mode, std::optional<MeasurementRecord> row = std::nullopt,
                                  const QString& patient = QStringLiteral("A1"))
    {
        return std::make_unique<TKamnu>(mode, context(), row, patient);
    }
    static void type(TKamnu& window, int row, int column, const QString& text)
    {
        window.valueGrid()->item(row, column)->setText(text);   // committed like a left editor
    }
};

}  // namespace

TEST_F(RecordsManual, CellsAreNormalisedWhenLeft)
{
    auto window = entry(ManualEntryMode::New);
    EXPECT_FALSE(window->clearButton()->isEnabled());
    const struct {
        const char* typed;
        const char* shown;
        bool refused;
    } cases[] = {{"250", "200.0", false}, {"0.05", "", false}, {"12.34", " 12.3", false}, {" ", "", false},
                 {"-3", "", false},       {"1-2", "1-2", true}, {"%", "%", true}};
    for (const auto& c : cases) {
        messages.clear();
        type(*window, 1, 3, QString::fromLatin1(c.typed));
        EXPECT_EQ(window->valueGrid()->item(1, 3)->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(messages.shown().size(), c.refused ? 1 : 0) << c.typed;
        if (c.refused) {
            EXPECT_EQ(messages.shown()[0].kind, 5);
            EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("\"%1\" in HT Left").arg(c.typed))) << messages.shown()[0].text.toStdString();
        }
    }
    EXPECT_TRUE(window->clearButton()->isEnabled());
}

TEST_F(RecordsManual, KeyFilterAndEnterWalk)
{
    EXPECT_TRUE(TKamnu::GridKeyAccepted(u'7'));
    EXPECT_TRUE(TKamnu::GridKeyAccepted(u'('));
    EXPECT_FALSE(TKamnu::GridKeyAccepted(u'a'));
    EXPECT_FALSE(TKamnu::GridKeyAccepted(u','));

    auto window = entry(ManualEntryMode::New);
    QTableWidget* grid = window->valueGrid();
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), 1);
    const struct {
        int row, column;
        const char* typed;
        int nextRow, nextColumn;
    } steps[] = {{1, 1, "10", 1, 2}, {1, 2, "", 1, 2}, {1, 12, "5", 2, 1}, {2, 11, "7", 2, 12}, {2, 12, "8", 2, 12}};
    for (const auto& s : steps) {
        grid->setCurrentCell(s.row, s.column);
        grid->item(s.row, s.column)->setText(QString::fromLatin1(s.typed));
        window->GridReturnPressed();
        EXPECT_EQ(grid->currentRow(), s.nextRow) << s.row << "," << s.column;
        EXPECT_EQ(grid->currentColumn(), s.nextColumn) << s.row << "," << s.column;
    }
}

TEST_F(RecordsManual, NothingIsSavedUntilEveryCellConverts)
{
    addPatient("A1");
    auto window = entry(ManualEntryMode::New);
    type(*window, 2, 5, "1-2");
    messages.clear();
    window->SaveClick();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains("TE Right"));
    EXPECT_NE(window->result(), QDialog::Accepted);
    EXPECT_EQ(measurementCount(db, "A1"), 0);
    EXPECT_EQ(window->valueGrid()->currentRow(), 2);
    EXPECT_EQ(window->valueGrid()->currentColumn(), 5);

    type(*window, 2, 5, "12");
    window->SaveClick();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(measurementCount(db, "A1"), 1);
}

TEST_F(RecordsManual, NewMeasurementStoresTheGridByPoint)
{
    state.settings.setInt(SettingLine::OrderMode, 1);
    state.rebuildTables();
    state.chartChoices = {4, 4, 4, 4, 4, 4, 4};
    addPatient("A1");
    auto window = entry(ManualEntryMode::New);
    EXPECT_EQ(window->windowTitle(), "Enter New Meridian Energy Value");
    EXPECT_EQ(window->heading(), "Manual entry of meridian energy values");
    EXPECT_TRUE(window->dateKnown()->isChecked());
    EXPECT_EQ(window->potential()->currentText(), "NRM");
    for (int column = 1; column <= 12; ++column)
        for (int row = 1; row <= 2; ++row) type(*window, row, column, QString::number(column * 10 + row));
    type(*window, 1, 2, "250");   // LI left (ME6) in the coupled order
    type(*window, 2, 12, "");     // an empty cell stores 0
    window->dateKnown()->setChecked(false);
    window->DateKnownClick();
    window->potential()->setCurrentIndex(1);
    window->notes()->setPlainText("typed in");
    window->SaveClick();
    ASSERT_EQ(window->result(), QDialog::Accepted);

    const auto rows = measurementsOf(db, "A1");
    ASSERT_EQ(rows.size(), 1u);
    const MeasurementRecord& m = rows.front();
    EXPECT_DOUBLE_EQ(m.values[5], 200);   // ME6
    EXPECT_DOUBLE_EQ(m.values[0], 11);    // LU left
    EXPECT_DOUBLE_EQ(m.values[6], 12);    // LU right, ME7
    EXPECT_DOUBLE_EQ(m.values[21], 0);    // the last cell: BL right (ME22) in the coupled order
    EXPECT_DOUBLE_EQ(m.dateTime, 0);
    EXPECT_TRUE(m.highPotential);
    EXPECT_EQ(m.memo, "typed in");
    EXPECT_FALSE(m.hasQuality);
    EXPECT_EQ(state.chartChoices, (std::array<int, 7>{1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(RecordsManual, ModifyKeepsKeyNumberAndStd)
{
    addPatient("A1");
    MeasurementRecord stored = addMeasurement("A1", 45000.25, 30);
    QSqlQuery std(db);
    ASSERT_TRUE(std.exec("SELECT STD FROM KADATA") && std.next());
    const QString stdBefore = std.value(0).toString();

    auto window = entry(ManualEntryMode::Modify, stored);
    EXPECT_EQ(window->windowTitle(), "Modify Meridian Energy Value");
    EXPECT_EQ(window->valueGrid()->item(1, 1)->text(), "30.0");
    EXPECT_TRUE(window->dateKnown()->isChecked());
    EXPECT_EQ(window->datePicker()->date(), dateFromDayCount(45000.25));
    type(*window, 1, 1, "44.4");
    window->SaveClick();
    ASSERT_EQ(window->result(), QDialog::Accepted);

    const auto after = findMeasurement(db, stored.key);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->patientNumber, "A1");
    EXPECT_DOUBLE_EQ(after->values[0], 44.4);
    EXPECT_NEAR(after->dateTime, 45000.25, 1.0 / 86400);
    QSqlQuery stdAfter(db);
    ASSERT_TRUE(stdAfter.exec("SELECT STD FROM KADATA") && stdAfter.next());
    EXPECT_EQ(stdAfter.value(0).toString(), stdBefore);
    EXPECT_EQ(measurementCount(db), 1);
}

TEST_F(RecordsManual, ModifyOfAnUndatedMeasurementShowsTheBoxUnticked)
{
    addPatient("A1");
    MeasurementRecord stored = addMeasurement("A1", 0, 30);
    auto window = entry(ManualEntryMode::Modify, stored);
    EXPECT_FALSE(window->dateKnown()->isChecked());
    EXPECT_FALSE(window->datePicker()->isEnabled());
    EXPECT_FALSE(window->timePicker()->isEnabled());
}

TEST_F(RecordsManual, CurrentModeWritesNothingToTheDatabase)
{
    addPatient("A1");
    addMeasurement("A1", 45000);
    measurement.values.fill(20);
    measurement.quality.fill(70);
    state.measurementDateTime = 45010.5;
    state.measurementMemo = {"one", "two"};
    state.currentMeasurementKey = 1;
    auto window = entry(ManualEntryMode::Current);
    EXPECT_EQ(window->valueGrid()->item(2, 6)->text(), "20.0");
    EXPECT_EQ(window->notes()->toPlainText(), "one\ntwo");
    EXPECT_EQ(window->datePicker()->date(), dateFromDayCount(45010.5));
    type(*window, 2, 6, "150");
    window->notes()->setPlainText("three\nfour");
    window->SaveClick();
    ASSERT_EQ(window->result(), QDialog::Accepted);

    EXPECT_DOUBLE_EQ(measurement.values[11], 150);   // LI right
    EXPECT_DOUBLE_EQ(measurement.compensated[11], 150 * state.tables.compensationFactor(LI));
    EXPECT_DOUBLE_EQ(measurement.quality[0], 70);
    EXPECT_EQ(state.measurementMemo, QStringList({"three", "four"}));
    EXPECT_NEAR(state.measurementDateTime, 45010.5, 1.0 / 86400);
    EXPECT_EQ(state.currentMeasurementKey, 0);
    EXPECT_EQ(measurementCount(db), 1);
    EXPECT_EQ(findMeasurement(db, 1)->values[11], 10);
}

TEST_F(RecordsManual, ClearAsksFirst)
{
    measurement.values.fill(20);
    state.highPotential = true;
    auto window = entry(ManualEntryMode::Current);
    EXPECT_TRUE(window->clearButton()->isEnabled());
    window->dateKnown()->setChecked(false);
    window->DateKnownClick();

    messages.planAnswers({false});
    window->ClearClick();
    EXPECT_EQ(messages.shown().last().text, "Are you sure you want to clear this meridian energy data?");
    EXPECT_EQ(window->valueGrid()->item(1, 1)->text(), "20.0");
    EXPECT_EQ(window->potential()->currentText(), "HI");
    EXPECT_FALSE(window->dateKnown()->isChecked());

    messages.planAnswers({true});
    window->ClearClick();
    for (int column = 1; column <= 12; ++column) EXPECT_EQ(window->valueGrid()->item(2, column)->text(), "");
    EXPECT_FALSE(window->clearButton()->isEnabled());
    EXPECT_EQ(window->potential()->currentText(), "NRM");
    EXPECT_TRUE(window->dateKnown()->isChecked());
    EXPECT_TRUE(window->datePicker()->isEnabled());
    EXPECT_EQ(window->valueGrid()->currentRow(), 1);
    EXPECT_EQ(window->valueGrid()->currentColumn(), 1);
}

TEST_F(RecordsManual, TypingIntoACellEditor)
{
    auto window = entry(ManualEntryMode::New);
    window->show();
    QTableWidget* grid = window->valueGrid();
    grid->setCurrentCell(1, 4);
    grid->editItem(grid->item(1, 4));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(1, 4)));
    ASSERT_TRUE(editor);
    auto press = [&](int key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(editor, &event);
    };
    for (QChar c : QStringLiteral("2a5,0x.7"))
        press(c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A, QString(c));
    EXPECT_EQ(editor->text(), "250.7");   // letters and the comma are dropped
    press(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(grid->item(1, 4)->text(), "200.0");
    EXPECT_EQ(grid->currentColumn(), 5);
    EXPECT_TRUE(messages.shown().isEmpty());

    // A text that is no number is reported once and stays in its cell.
    grid->editItem(grid->item(1, 5));
    editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(1, 5)));
    ASSERT_TRUE(editor);
    for (QChar c : QStringLiteral("1-2")) press(c == u'-' ? Qt::Key_Minus : Qt::Key_0 + c.digitValue(), QString(c));
    press(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(grid->item(1, 5)->text(), "1-2");
    EXPECT_EQ(grid->currentColumn(), 5);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains("TE Left"));
}
