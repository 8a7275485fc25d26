#pragma once
// TKadec, "Meridian Measurement": guides the operator through the 24 points, shows the live
// reading, its graph and steadiness, and keeps the current measurement's table. The run
// itself is the MeasuringRun engine; this window shows what it reports and passes the
// operator's clicks on to it.

#include "core/measure/measuringrun.h"

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QPushButton;
class QSlider;
class QStatusBar;
class QTableWidget;
class QTimer;
class QToolButton;

namespace tork {

class DeviceLink;
class Lamp;
class LedDisplay;
class MeasureGraph;
class SegmentedBar;

// The windows this one opens; each is registered by the program once it exists.
enum class MeasureFunction { Analyze, Save, Recall, Manual, Compare };
using MeasureWindowFactory = std::function<QDialog*(QWidget* parent)>;

class TKadec : public QDialog {
    Q_OBJECT
public:
    TKadec(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock,
           QWidget* parent = nullptr);
    ~TKadec() override;

    // A function's button stays disabled while no window is registered for it.
    void setFunctionWindow(MeasureFunction function, MeasureWindowFactory factory);

    MeasuringRun& run() { return run_; }

    // Handlers, named after their controls and events.
    void FormShow();
    void ToolStartClick();
    void ToolStopClick();
    void ToolAnalyzeClick();
    void ToolSaveClick();
    void ToolRecallClick();
    void ToolClearClick();
    void ToolManualClick();
    void ToolCompareClick();
    void ToolQuitClick();
    void ManualStartClick();
    void AdvStringGrid1ClickCell(int row, int column);
    void SensitivityChange(int position);
    void TableModeClick();
    void GenderClick();
    void SoundMenuClick(int sound);
    void PotentialMenuClick(bool high);
    void PictureMenuClick(int style);
    void MethodMenuClick(bool automatic);
    void ChannelMenuClick(int channel);

    // What the window shows, for tests.
    QTableWidget* table() const { return table_; }
    QAction* toolAction(const QString& caption) const;
    QPushButton* manualStartButton() const { return manualStart_; }
    QPushButton* tableModeButton() const { return tableMode_; }
    QPushButton* genderButton() const { return gender_; }
    QToolButton* menuButton(const QString& title) const;
    QSlider* sensitivitySlider() const { return sensitivity_; }
    LedDisplay* led(const QString& name) const;
    SegmentedBar* bar(const QString& name) const;
    Lamp* stabilityLamp() const { return stabilityLamp_; }
    MeasureGraph* graph() const { return graph_; }
    QLabel* pointPicture() const { return picture_; }
    // The text beside a caption such as "Location:", "Avg:" or "Sampling Rate:".
    QString fieldText(const QString& caption) const;
    QString statusText() const;
    bool showsQuality() const { return qualityView_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    QLabel* addField(const QString& caption);
    void refreshMenus();
    void refreshPatient();
    void refreshTable();
    void refreshMeasurementTime();
    void setIdleButtons();
    void setRunButtons();
    void showGuide(int position);
    void clearGuide();
    void loadPicture(int me);
    void resetDisplays();
    void presentSample();
    void schedulePresent();
    void openWindow(MeasureFunction function, bool needsOnline);
    bool refuseOffline();
    void clearCurrentMeasurement();

    void onRunStarted();
    void onRunFinished();
    void onPointOpened(int position);
    void onSamplingStarted();
    void onSampled(const SampleView& sample);
    void onContactLost();
    void onPointCompleted(int position, int me, Stability stability);
    void onCountdown(int remainingMs);
    void onPauseFinished();

    ProgramState& state_;
    CurrentMeasurement& measurement_;
    DeviceLink& link_;
    MeasuringRun run_;
    std::map<MeasureFunction, MeasureWindowFactory> windows_;

    QTableWidget* table_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> menuButtons_;
    std::map<QString, QLabel*> fields_;
    std::map<QString, LedDisplay*> leds_;
    std::map<QString, SegmentedBar*> bars_;
    QLabel* picture_ = nullptr;
    QLabel* pictureUpper_ = nullptr;
    QLabel* pictureLower_ = nullptr;
    QPushButton* manualStart_ = nullptr;
    QPushButton* tableMode_ = nullptr;
    QPushButton* gender_ = nullptr;
    QSlider* sensitivity_ = nullptr;
    Lamp* stabilityLamp_ = nullptr;
    MeasureGraph* graph_ = nullptr;
    QStatusBar* statusBar_ = nullptr;

    bool qualityView_ = false;
    bool closeAfterRun_ = false;
    bool hasSample_ = false;
    SampleView latest_;
    // Displays follow the readings at the screen's pace, never once per reading.
    QElapsedTimer frameClock_;
    QTimer* frameTimer_ = nullptr;
};

// The measurement window for the main window's "Measure" function.
TKadec* createMeasurementWindow(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock,
                                QWidget* parent);

}  // namespace tork
