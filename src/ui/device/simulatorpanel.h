#pragma once
// The simulator panel, shown when the program runs with --simulate: the hands of the
// practitioner on the simulated instrument (touch or lift the probe, choose the virtual
// patient, unplug, inject refusals and the probe fault, the virtual operator on or off).

#include "core/device/patientprofile.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace tork {

class SimulatedInstrument;
class VirtualOperator;

class SimulatorPanel final : public QWidget {
    Q_OBJECT
public:
    SimulatorPanel(SimulatedInstrument& instrument, VirtualOperator& virtualOperator,
                   std::vector<PatientProfile> profiles, QWidget* parent = nullptr);
    ~SimulatorPanel() override;

    // Handlers
    void ProfileChange(int index);
    void TouchPointClick();
    void TouchReferenceClick();
    void LiftClick();
    void PlugClick();
    void RefuseClick();
    void RefusalRateChange(int percent);
    void LatencyChange(int ms);
    void FaultToggle(bool on);
    void OperatorToggle(bool on);
    void KindChange(int index);

    // What the panel shows, for tests.
    QString stateText() const;
    QComboBox* profileBox() const { return profile_; }
    QSpinBox* pointBox() const { return point_; }
    QPushButton* plugButton() const { return plug_; }
    QCheckBox* operatorBox() const { return operator_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void followModalWindow(QWidget* window, bool shown);

    SimulatedInstrument& instrument_;
    VirtualOperator& operator_ref_;
    std::vector<PatientProfile> profiles_;
    QComboBox* profile_;
    QSpinBox* point_;
    QPushButton* plug_;
    QSpinBox* refusalRate_;
    QSpinBox* latency_;
    QCheckBox* fault_;
    QCheckBox* operator_;
    QComboBox* kind_;
    QLabel* state_;
    QList<QWidget*> modalStack_;
    QWidget* homeParent_;
};

}  // namespace tork
