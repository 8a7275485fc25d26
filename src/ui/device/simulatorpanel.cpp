#include "ui/device/simulatorpanel.h"

#include "core/app/meridians.h"
#include "core/device/simulatedinstrument.h"
#include "core/device/virtualoperator.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tork {

SimulatorPanel::SimulatorPanel(SimulatedInstrument& instrument, VirtualOperator& virtualOperator,
                               std::vector<PatientProfile> profiles, QWidget* parent)
    : QWidget(parent, Qt::Tool), instrument_(instrument), operator_ref_(virtualOperator),
      profiles_(std::move(profiles)), homeParent_(parent)
{
    setWindowTitle(QStringLiteral("Simulated instrument"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;

    profile_ = new QComboBox(this);
    for (const PatientProfile& p : profiles_) profile_->addItem(p.name);
    if (profiles_.empty()) profile_->addItem(instrument_.profile().name);
    form->addRow(QStringLiteral("Virtual patient:"), profile_);

    auto* probeRow = new QHBoxLayout;
    point_ = new QSpinBox(this);
    point_->setRange(1, 24);
    point_->setPrefix(QStringLiteral("ME"));
    auto* touch = new QPushButton(QStringLiteral("Touch point"), this);
    auto* reference = new QPushButton(QStringLiteral("Touch reference"), this);
    auto* lift = new QPushButton(QStringLiteral("Lift"), this);
    probeRow->addWidget(point_);
    probeRow->addWidget(touch);
    probeRow->addWidget(reference);
    probeRow->addWidget(lift);
    form->addRow(QStringLiteral("Probe:"), probeRow);

    operator_ = new QCheckBox(QStringLiteral("measures and calibrates by itself"), this);
    form->addRow(QStringLiteral("Virtual operator:"), operator_);

    kind_ = new QComboBox(this);
    kind_->addItem(QStringLiteral("Register calibration (%1)").arg(QLatin1String(kRegisterCalibrationVersion)));
    kind_->addItem(QStringLiteral("Software calibration (%1)").arg(QLatin1String(SimulatedInstrument::kSoftwareCalibrationVersion)));
    kind_->setCurrentIndex(instrument_.kind() == InstrumentKind::RegisterCalibration ? 0 : 1);
    form->addRow(QStringLiteral("Instrument:"), kind_);

    latency_ = new QSpinBox(this);
    latency_->setRange(0, 500);
    latency_->setSuffix(QStringLiteral(" ms"));
    latency_->setValue(instrument_.latency());
    form->addRow(QStringLiteral("Reply time:"), latency_);

    auto* faults = new QHBoxLayout;
    refusalRate_ = new QSpinBox(this);
    refusalRate_->setRange(0, 90);
    refusalRate_->setSuffix(QStringLiteral(" % refused"));
    auto* refuse = new QPushButton(QStringLiteral("Refuse next 3"), this);
    fault_ = new QCheckBox(QStringLiteral("C.P.D.M. fault"), this);
    faults->addWidget(refusalRate_);
    faults->addWidget(refuse);
    faults->addWidget(fault_);
    form->addRow(QStringLiteral("Faults:"), faults);

    plug_ = new QPushButton(this);
    form->addRow(QStringLiteral("USB cable:"), plug_);
    layout->addLayout(form);

    state_ = new QLabel(this);
    state_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(state_);

    connect(profile_, &QComboBox::currentIndexChanged, this, &SimulatorPanel::ProfileChange);
    connect(touch, &QPushButton::clicked, this, &SimulatorPanel::TouchPointClick);
    connect(reference, &QPushButton::clicked, this, &SimulatorPanel::TouchReferenceClick);
    connect(lift, &QPushButton::clicked, this, &SimulatorPanel::LiftClick);
    connect(plug_, &QPushButton::clicked, this, &SimulatorPanel::PlugClick);
    connect(refuse, &QPushButton::clicked, this, &SimulatorPanel::RefuseClick);
    connect(refusalRate_, &QSpinBox::valueChanged, this, &SimulatorPanel::RefusalRateChange);
    connect(latency_, &QSpinBox::valueChanged, this, &SimulatorPanel::LatencyChange);
    connect(fault_, &QCheckBox::toggled, this, &SimulatorPanel::FaultToggle);
    connect(operator_, &QCheckBox::toggled, this, &SimulatorPanel::OperatorToggle);
    connect(kind_, &QComboBox::currentIndexChanged, this, &SimulatorPanel::KindChange);
    connect(&instrument_, &SimulatedInstrument::changed, this, &SimulatorPanel::refresh);

    operator_->setChecked(operator_ref_.isEnabled());
    if (!profiles_.empty()) ProfileChange(0);
    refresh();
    // The program's windows are modal; the panel follows each one so it stays usable.
    qApp->installEventFilter(this);
}

SimulatorPanel::~SimulatorPanel() { qApp->removeEventFilter(this); }

void SimulatorPanel::ProfileChange(int index)
{
    if (index >= 0 && index < static_cast<int>(profiles_.size())) instrument_.setProfile(profiles_[index]);
    refresh();
}

void SimulatorPanel::TouchPointClick() { instrument_.touchPoint(point_->value()); }
void SimulatorPanel::TouchReferenceClick() { instrument_.touchReference(); }
void SimulatorPanel::LiftClick() { instrument_.lift(); }

void SimulatorPanel::PlugClick()
{
    instrument_.isPlugged() ? instrument_.unplug() : instrument_.plug();
}

void SimulatorPanel::RefuseClick() { instrument_.refuseNext(3); }
void SimulatorPanel::RefusalRateChange(int percent) { instrument_.setRefusalRate(percent / 100.0); }
void SimulatorPanel::LatencyChange(int ms) { instrument_.setLatency(ms); }
void SimulatorPanel::FaultToggle(bool on) { instrument_.setProbeFault(on); }
void SimulatorPanel::OperatorToggle(bool on) { operator_ref_.setEnabled(on); }

void SimulatorPanel::KindChange(int index)
{
    // Another instrument is another device: it is unplugged, changed and plugged in again.
    const bool plugged = instrument_.isPlugged();
    if (plugged) instrument_.unplug();
    instrument_.setKind(index == 0 ? InstrumentKind::RegisterCalibration : InstrumentKind::SoftwareCalibration);
    if (plugged) instrument_.plug();
}

void SimulatorPanel::refresh()
{
    plug_->setText(instrument_.isPlugged() ? QStringLiteral("Unplug") : QStringLiteral("Plug in"));
    QString contact;
    switch (instrument_.contact()) {
    case ProbeContact::InAir: contact = QStringLiteral("in the air"); break;
    case ProbeContact::OnReference: contact = QStringLiteral("on the reference clamp"); break;
    case ProbeContact::OnPoint: {
        const int me = instrument_.touchedPoint();
        contact = QStringLiteral("on ME%1 (%2 %3)")
                      .arg(me)
                      .arg(meridianInfo(meridianOfPoint(me)).abbreviation, isLeftPoint(me) ? QStringLiteral("left") : QStringLiteral("right"));
        break;
    }
    }
    const QString last = instrument_.commands().isEmpty() ? QStringLiteral("-") : instrument_.commands().constLast();
    state_->setText(QStringLiteral("%1, probe %2, %3 potential\nlamps A %4 B %5 C %6 F %7 I %8, last command %9")
                        .arg(instrument_.isPlugged() ? QStringLiteral("Plugged in") : QStringLiteral("Unplugged"), contact,
                             instrument_.highPotential() ? QStringLiteral("high") : QStringLiteral("normal"))
                        .arg(hex2(instrument_.lampLevel(u'A')), hex2(instrument_.lampLevel(u'B')), hex2(instrument_.lampLevel(u'C')),
                             hex2(instrument_.lampLevel(u'F')), hex2(instrument_.lampLevel(u'I')), last));
}

QString SimulatorPanel::stateText() const { return state_->text(); }

bool SimulatorPanel::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget != this && widget->isWindow() && widget->isModal()) followModalWindow(widget, event->type() == QEvent::Show);
    }
    return QWidget::eventFilter(watched, event);
}

void SimulatorPanel::followModalWindow(QWidget* window, bool shown)
{
    // A modal window blocks every window but its own children: the panel becomes a child of
    // the modal window on top, and returns to the one below when it closes.
    if (shown) {
        if (modalStack_.contains(window)) return;
        modalStack_.append(window);
    } else {
        if (!modalStack_.removeOne(window)) return;
    }
    QWidget* owner = modalStack_.isEmpty() ? homeParent_ : modalStack_.constLast();
    const bool visible = isVisible();
    const QPoint at = pos();
    setParent(owner, Qt::Tool);
    move(at);
    if (visible) show();
}

}  // namespace tork
