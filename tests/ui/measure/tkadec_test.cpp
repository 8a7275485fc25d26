#include "ui/measure/tkadec.h"

#include "core/app/formats.h"
#include "core/device/link.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"
#include "support/scriptedmessages.h"
#include "support/tempfolder.h"
#include "ui/measure/measurecolours.h"
#include "ui/measure/measuregraph.h"
#include "ui/widgets/lamp.h"
#include "ui/widgets/leddisplay.h"
#include "ui/widgets/segmentedbar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

namespace tork {
namespace {

// ME k reads 20 + 3k microamperes without noise.
PatientProfile steppedProfile()
{
    PatientProfile profile;
    for (int me = 1; me <= kPointCount; ++me) profile.microamps[me - 1] = 20 + 3 * me;
    return profile;
}

// A window of another function: records that it was opened and while what was hidden.
class RecordingDialog : public QDialog {
public:
    RecordingDialog(QWidget* parent, std::function<void()> onExec) : QDialog(parent), onExec_(std::move(onExec)) {}
    int exec() override
    {
        onExec_();
        return Accepted;
    }

private:
    std::function<void()> onExec_;
};

class TKadecTest : public ::testing::Test {
protected:
    TKadecTest()
    {
        sim.setProfile(steppedProfile());
        link.install();
        state.rebuildTables();
        makeWindow();
    }
    void makeWindow()
    {
        window = std::make_unique<TKadec>(state, measurement, link, clock);
        window->run().setDayCountSource([] { return 46000.5; });
        op.setShownPoint([this] { return window->run().currentPoint(); });
        op.setEnabled(true);
        window->show();
    }
    QString cell(int row, int column) const { return window->table()->item(row, column)->text().trimmed(); }
    QColor cellColour(int row, int column) const { return window->table()->item(row, column)->foreground().color(); }
    bool enabled(const char* caption) const { return window->toolAction(QString::fromLatin1(caption))->isEnabled(); }
    void registerAll(std::function<void()> onExec = [] {})
    {
        for (MeasureFunction f : {MeasureFunction::Analyze, MeasureFunction::Save, MeasureFunction::Recall,
                                  MeasureFunction::Manual, MeasureFunction::Compare})
            window->setFunctionWindow(f, [onExec](QWidget* parent) { return new RecordingDialog(parent, onExec); });
    }

    test::TempProgramFolder folder;
    VirtualClock clock;
    SimulatedInstrument sim{clock};
    DeviceLink link{sim, clock};
    ProgramState state{folder.folder()};
    CurrentMeasurement measurement;
    VirtualOperator op{sim, clock, VirtualOperator::PointOrder{}};
    test::ScriptedMessages messages;
    std::unique_ptr<TKadec> window;
};

TEST(MeasureGraphGeometry, FanTraceAndClamping)
{
    const GraphGeometry g{532, 315};  // W' = 500, H' = 300
    EXPECT_EQ(g.origin(), QPointF(32, 300));
    EXPECT_EQ(g.fanPoint(0), QPointF(32, 300));
    EXPECT_EQ(g.fanPoint(250), QPointF(82, 175));
    struct Case {
        int percent;
        double deviationMicroamps;
        QPointF expected;
    };
    const std::vector<Case> cases{
        {50, 0, {292, 150}},     // half way, on the centre line
        {0, 30, {42, 0}},        // +30 uA reaches the top
        {100, -30, {542, 300}},  // -30 uA the bottom of the plot, a little past the last second
        {100, -40, {542, 315}},  // further down is held at the paint box's edge
        {20, 100, {142, 0}},     // and further up at its top
    };
    for (const Case& c : cases)
        EXPECT_EQ(g.tracePoint(c.percent, 1000 + c.deviationMicroamps * 20, 1000, 20), c.expected) << c.deviationMicroamps;
}

TEST(MeasureColours, QualityCellsAndStability)
{
    EXPECT_EQ(qualityCellColour(59.9), QColor(255, 0, 0));
    EXPECT_EQ(qualityCellColour(60), QColor(128, 128, 0));
    EXPECT_EQ(qualityCellColour(79.9), QColor(128, 128, 0));
    EXPECT_EQ(qualityCellColour(80), QColor(0x35, 0xD2, 0x2D));
    EXPECT_EQ(stabilityDisplayColour(Stability::Yellow), QColor(255, 255, 0));
    EXPECT_EQ(stabilityBarColour(Stability::Yellow), QColor(255, 0xC1, 0x40));
    EXPECT_EQ(stabilityBarColour(Stability::Green), QColor(0, 128, 0));
}

TEST_F(TKadecTest, OpeningShowsTableMenusPatientAndButtons)
{
    state.settings.setInt(SettingLine::OrderMode, 1);
    state.settings.setInt(SettingLine::MeasureSound, MeasureSound::Single);
    state.settings.setInt(SettingLine::MeasuringChannel, 2);
    state.settings.setReal(SettingLine::Sensitivity, 2.5);
    state.rebuildTables();
    state.patient.number = "P-17";
    state.patient.name = "Hanna Berg";
    state.patient.isMale = false;
    state.patient.birthDate = toDayCount(QDate(1980, 1, 1));
    measurement.values[0] = 42;
    measurement.hasData = true;
    window->FormShow();

    const QStringList header{"LU", "LI", "PC", "TE", "HT", "SI", "SP", "ST", "LR", "GB", "KI", "BL"};
    for (int c = 1; c <= 12; ++c) EXPECT_EQ(cell(0, c), header[c - 1]);
    EXPECT_EQ(cell(1, 0), "Left");
    EXPECT_EQ(cell(2, 0), "Right");
    EXPECT_EQ(cell(1, 1), "42");
    EXPECT_EQ(window->fieldText("Avg:").trimmed(), "42.0");
    EXPECT_EQ(window->sensitivitySlider()->value(), 25);
    EXPECT_EQ(window->led("Sensitivity:")->text(), "2.5");
    EXPECT_EQ(window->menuButton("Sound Effect")->text(), "Single");
    EXPECT_EQ(window->menuButton("Measurement Potential")->text(), "NRM Potential");
    EXPECT_EQ(window->menuButton("Measurement location Graphic")->text(), "Picture");
    EXPECT_EQ(window->menuButton("Method of Measurement")->text(), "Auto");
    EXPECT_EQ(window->menuButton("Measurement channel")->text(), "Channel 2");
    EXPECT_EQ(window->genderButton()->text(), "Female");
    EXPECT_EQ(window->fieldText("Patient No:"), "P-17");
    EXPECT_EQ(window->fieldText("Name:"), "Hanna Berg");
    EXPECT_EQ(window->fieldText("Date of Birth:"), shortDate(state.patient.birthDate));
    EXPECT_FALSE(window->fieldText("Age:").trimmed().isEmpty());
    EXPECT_EQ(window->led("Progress:")->text(), "off");

    // Buttons: no other window is registered yet, so their functions stay off.
    EXPECT_TRUE(enabled("Start"));
    EXPECT_FALSE(enabled("Stop"));
    EXPECT_TRUE(enabled("Clear"));
    for (const char* caption : {"Analyze", "Save", "Recall", "Manual", "Compare"}) EXPECT_FALSE(enabled(caption)) << caption;
    registerAll();
    EXPECT_TRUE(enabled("Save"));
    EXPECT_TRUE(enabled("Recall"));
    EXPECT_FALSE(enabled("Analyze"));  // 23 points still at 0
    measurement.values.fill(30);
    window->FormShow();
    EXPECT_TRUE(enabled("Analyze"));
    EXPECT_TRUE(enabled("Compare"));
}

TEST_F(TKadecTest, AutomaticRunShowsGuideReadingsValuesAndQualities)
{
    registerAll();
    QString location, meridianName, pointName, status;
    bool stopOn = false, startOn = true, potentialOn = true, traceDrawn = false;
    QString samplingRate;
    QObject::connect(&window->run(), &MeasuringRun::pointOpened, window.get(), [&](int position) {
        if (position != 1) return;
        location = window->fieldText("Location:");
        meridianName = window->fieldText("Meridian Name:");
        pointName = window->fieldText("Point Name:");
        status = window->statusText();
        stopOn = enabled("Stop");
        startOn = enabled("Start");
        potentialOn = window->menuButton("Measurement Potential")->isEnabled();
    });
    QObject::connect(&window->run(), &MeasuringRun::pointCompleted, window.get(), [&](int position) {
        if (position != 13) return;
        samplingRate = window->fieldText("Sampling Rate:");
        const QImage& trace = window->graph()->trace();
        for (int y = 0; y < trace.height() && !traceDrawn; ++y)
            for (int x = 0; x < trace.width() && !traceDrawn; ++x)
                traceDrawn = trace.pixelColor(x, y) == measureColour(0x0051FF);
    });
    window->ToolStartClick();

    EXPECT_EQ(location, "Left Hand");
    EXPECT_EQ(meridianName, "Lung Meridian of Hand-TaiYin");
    EXPECT_EQ(pointName, "TaiYuan  LU9");
    EXPECT_EQ(status, "Begin measurement with the measurement point shown in the graph. Or choose your own starting point.");
    EXPECT_TRUE(stopOn);
    EXPECT_FALSE(startOn);
    EXPECT_FALSE(potentialOn);
    EXPECT_TRUE(traceDrawn);
    // About one reading every 2 ms over the 500 ms averaging window.
    EXPECT_GT(samplingRate.toInt(), 100);

    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 12; ++c) {
            const int me = MeridianTables::tablePosition(c, r);
            EXPECT_EQ(cell(r, c), QString::number(20 + 3 * me)) << "ME" << me;
        }
    EXPECT_EQ(window->fieldText("Avg:").trimmed(), "57.5");
    EXPECT_EQ(window->fieldText("Measurement Date:"), shortDate(46000.5));
    EXPECT_EQ(window->fieldText("Measurement Time:"), "12:00:00");
    EXPECT_EQ(window->led("Progress:")->text(), "off");
    EXPECT_EQ(window->led("Meridian Value:")->text(), "0.0");
    EXPECT_TRUE(window->fieldText("Location:").isEmpty());
    EXPECT_TRUE(window->statusText().isEmpty());
    for (const char* caption : {"Start", "Analyze", "Compare", "Save", "Clear", "Recall", "Manual", "Quit"})
        EXPECT_TRUE(enabled(caption)) << caption;
    EXPECT_FALSE(enabled("Stop"));

    window->TableModeClick();
    EXPECT_EQ(window->tableModeButton()->text(), "Data Quality Score");
    EXPECT_EQ(cell(1, 1), "100.0");
    EXPECT_EQ(cellColour(1, 1), QColor(0x35, 0xD2, 0x2D));
    EXPECT_EQ(window->fieldText("Avg:").trimmed(), "100.0");
}

TEST_F(TKadecTest, QualityViewColoursAndBlanks)
{
    struct Case {
        int me;
        double value, quality;
        const char* text;
        QColor colour;
    };
    const std::vector<Case> cases{{1, 50, 45.25, "45.3", QColor(255, 0, 0)},
                                  {2, 50, 70, "70.0", QColor(128, 128, 0)},
                                  {3, 50, 95.5, "95.5", QColor(0x35, 0xD2, 0x2D)},
                                  {4, 50, -12, "0.0", QColor(255, 0, 0)},
                                  {5, 0, 88, "", QColor(0x35, 0xD2, 0x2D)}};
    for (const Case& c : cases) {
        measurement.values[c.me - 1] = c.value;
        measurement.quality[c.me - 1] = c.quality;
    }
    window->FormShow();
    window->TableModeClick();
    for (const Case& c : cases) {
        EXPECT_EQ(cell(1, c.me), c.text) << "ME" << c.me;
        if (c.value > 0) {
            EXPECT_EQ(cellColour(1, c.me), c.colour) << "ME" << c.me;
        }
    }
    // Positive scores over the four points with a value.
    EXPECT_EQ(window->fieldText("Avg:").trimmed(), formatFixed((45.25 + 70 + 95.5) / 4, 3, 1).trimmed());
}

TEST_F(TKadecTest, TableClickOnME14MovesTheRun)
{
    std::vector<int> completed;
    QObject::connect(&window->run(), &MeasuringRun::pointCompleted, window.get(), [&](int, int me) { completed.push_back(me); });
    bool clicked = false;
    QObject::connect(&window->run(), &MeasuringRun::pointOpened, window.get(), [&](int position) {
        if (position != 3 || clicked) return;
        clicked = true;
        clock.callAfter(100, window.get(), [this] { window->AdvStringGrid1ClickCell(1, 8); });  // column ST.. left: ME14
    });
    window->ToolStartClick();
    ASSERT_GE(completed.size(), 3u);
    EXPECT_EQ(completed[2], 14);
    EXPECT_EQ(completed.size(), 13u);  // 1, 2, then 14 to 24
    EXPECT_EQ(cell(1, 3), "");
    EXPECT_EQ(cell(1, 8), "62");
}

TEST_F(TKadecTest, OfflineFunctionsAreRefused)
{
    int opened = 0;
    registerAll([&] { ++opened; });
    measurement.values.fill(40);
    window->FormShow();
    sim.unplug();
    messages.clear();
    window->ToolStartClick();
    window->ToolAnalyzeClick();
    window->ToolRecallClick();
    window->ToolManualClick();
    window->ToolCompareClick();
    ASSERT_EQ(messages.shown().size(), 5);
    for (const test::ShownMessage& m : messages.shown()) {
        EXPECT_EQ(m.kind, MessageKind::ImportantNotice);
        EXPECT_EQ(m.text, "T.O.R.K. is off-line! Please reconnect the device.");
    }
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(window->run().isRunning());
}

TEST_F(TKadecTest, FunctionWindowsOpenWhileThisOneIsHiddenAndAnalysisCountsTheMeasurement)
{
    bool hiddenWhileOpen = false;
    registerAll([&] { hiddenWhileOpen = !window->isVisible(); });
    measurement.values.fill(40);
    measurement.hasData = true;
    state.analysedPointsCounter = 24;
    window->FormShow();
    const int before = link.measurementCounter(false);
    window->ToolAnalyzeClick();
    EXPECT_TRUE(hiddenWhileOpen);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(link.measurementCounter(false), before + 1);
    EXPECT_EQ(state.analysedPointsCounter, 0);

    // Fewer than 12 points since the last counted analysis: the counter stays.
    state.analysedPointsCounter = 11;
    window->ToolAnalyzeClick();
    EXPECT_EQ(link.measurementCounter(false), before + 1);

    // Save switches the table back to values first.
    window->TableModeClick();
    hiddenWhileOpen = false;
    window->ToolSaveClick();
    EXPECT_TRUE(hiddenWhileOpen);
    EXPECT_FALSE(window->showsQuality());
}

TEST_F(TKadecTest, ClearAsksTwoLinesAndClearsOnYesOnly)
{
    measurement.values.fill(40);
    measurement.quality.fill(90);
    measurement.hasData = true;
    state.currentMeasurementKey = 12;
    state.patient.name = "Hanna Berg";
    state.patient.isMale = false;
    state.measurementDateTime = 46000;
    state.analysedPointsCounter = 24;
    window->FormShow();

    messages.planAnswers({false, true});
    window->ToolClearClick();
    EXPECT_EQ(messages.shown().value(0).kind, MessageKind::InformationQuestion);
    EXPECT_EQ(messages.shown().value(0).text,
              "Are you sure you want to clear the table values?\nThis action will not affect saved measurements.");
    EXPECT_EQ(cell(1, 1), "40");

    window->ToolClearClick();
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_FALSE(measurement.anyValue());
    EXPECT_FALSE(measurement.hasData);
    EXPECT_EQ(state.currentMeasurementKey, 0);
    EXPECT_EQ(state.analysedPointsCounter, 0);
    EXPECT_EQ(state.measurementDateTime, 0);
    EXPECT_TRUE(state.patient.name.isEmpty());
    EXPECT_EQ(window->genderButton()->text(), "Male");
    for (const char* caption : {"Analyze", "Compare", "Save", "Clear"}) EXPECT_FALSE(enabled(caption)) << caption;
}

TEST_F(TKadecTest, MenusWriteTheirSettingsAndQuitSavesThem)
{
    window->SoundMenuClick(MeasureSound::Mute);
    window->PictureMenuClick(3);
    window->MethodMenuClick(false);
    window->ChannelMenuClick(1);
    window->PotentialMenuClick(true);
    window->sensitivitySlider()->setValue(7);
    EXPECT_EQ(window->menuButton("Sound Effect")->text(), "Mute");
    EXPECT_EQ(window->menuButton("Measurement location Graphic")->text(), "Combined");
    EXPECT_EQ(window->menuButton("Method of Measurement")->text(), "Manual");
    EXPECT_EQ(window->menuButton("Measurement channel")->text(), "Channel 1");
    EXPECT_EQ(window->menuButton("Measurement Potential")->text(), "Hi Potential");
    EXPECT_EQ(window->led("Sensitivity:")->text(), "0.7");
    EXPECT_DOUBLE_EQ(window->run().threshold(), 0.7 * 20);
    EXPECT_TRUE(state.highPotential);

    window->ToolQuitClick();
    EXPECT_FALSE(window->isVisible());
    Settings stored;
    ASSERT_TRUE(stored.load(folder.folder().settingsFilePath()).ok);
    EXPECT_EQ(stored.intValue(SettingLine::MeasureSound), 0);
    EXPECT_EQ(stored.intValue(SettingLine::PictureStyle), 3);
    EXPECT_EQ(stored.intValue(SettingLine::MeasuringMethod), 0);
    EXPECT_EQ(stored.intValue(SettingLine::MeasuringChannel), 1);
    EXPECT_DOUBLE_EQ(stored.realValue(SettingLine::Sensitivity), 0.7);
}

TEST_F(TKadecTest, ManualModeStartButtonDrivesEachPoint)
{
    window->MethodMenuClick(false);
    int presses = 0;
    QObject::connect(&window->run(), &MeasuringRun::manualStartEnabledChanged, window.get(), [&](bool enabled) {
        if (!enabled || presses >= 2) return;
        ++presses;
        clock.callAfter(800, window.get(), [this] {
            EXPECT_TRUE(window->manualStartButton()->isEnabled());
            window->manualStartButton()->click();
        });
    });
    QStringList statuses;
    QObject::connect(&window->run(), &MeasuringRun::statusChanged, window.get(), [&](const QString& s) { statuses << s; });
    // After two points the operator stops.
    QObject::connect(&window->run(), &MeasuringRun::pointCompleted, window.get(), [&](int position) {
        if (position == 2) window->ToolStopClick();
    });
    window->ToolStartClick();
    EXPECT_EQ(cell(1, 1), "23");
    EXPECT_EQ(cell(1, 2), "26");
    EXPECT_EQ(cell(1, 3), "");
    EXPECT_TRUE(statuses.contains("Press [Start] to measurement."));
    EXPECT_TRUE(statuses.contains("Taking measurements, Please wait.."));
    EXPECT_TRUE(statuses.contains("Measurement complete. Please wait.."));
    EXPECT_FALSE(window->manualStartButton()->isEnabled());
}

TEST_F(TKadecTest, ClosingDuringARunStopsItFirst)
{
    QObject::connect(&window->run(), &MeasuringRun::samplingStarted, window.get(), [&](int position) {
        if (position == 2) window->close();
    });
    window->ToolStartClick();
    EXPECT_FALSE(window->run().isRunning());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cell(1, 2), "26");  // the point being sampled was finished
    EXPECT_EQ(cell(1, 3), "");
}

}  // namespace
}  // namespace tork
