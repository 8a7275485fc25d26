#include "ui/measure/tkadec.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/device/link.h"
#include "ui/measure/measurecolours.h"
#include "ui/measure/measuregraph.h"
#include "ui/widgets/lamp.h"
#include "ui/widgets/leddisplay.h"
#include "ui/widgets/segmentedbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace tork {
namespace {

constexpr int kFrameMs = 16;  // the screen's pace

const QString kSoundMenu = QStringLiteral("Sound Effect");
const QString kPotentialMenu = QStringLiteral("Measurement Potential");
const QString kPictureMenu = QStringLiteral("Measurement location Graphic");
const QString kMethodMenu = QStringLiteral("Method of Measurement");
const QString kChannelMenu = QStringLiteral("Measurement channel");

const QString kValueLed = QStringLiteral("Meridian Value:");
const QString kCompensatedLed = QStringLiteral("Compensated Value:");
const QString kQualityLed = QStringLiteral("Value Quality:");
const QString kProgressLed = QStringLiteral("Progress:");
const QString kSensitivityLed = QStringLiteral("Sensitivity:");
const QString kNextPointField = QStringLiteral("Next Point:");

QString soundName(int sound)
{
    switch (sound) {
    case MeasureSound::Standard: return QStringLiteral("Standard");
    case MeasureSound::Single: return QStringLiteral("Single");
    default: return QStringLiteral("Mute");
    }
}

QString pictureStyleName(int style)
{
    switch (style) {
    case 2: return QStringLiteral("Outline");
    case 3: return QStringLiteral("Combined");
    default: return QStringLiteral("Picture");
    }
}

QString channelName(int channel)
{
    if (channel == 0) return QStringLiteral("CPDM");
    return QStringLiteral("Channel %1").arg(channel);
}

QString locationText(const MeridianTables& tables, int position)
{
    const bool left = position <= 6 || (position >= 13 && position <= 18);
    const bool foot = tables.positionMeridian(position) > 6;
    return QStringLiteral("%1 %2").arg(left ? "Left" : "Right", foot ? "Foot" : "Hand");
}

QString oneDecimal(double value) { return formatFixed(value, 1, 1); }

int percentOf200(double microamps) { return static_cast<int>(microamps / 200 * 100); }

}  // namespace

TKadec::TKadec(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock, QWidget* parent)
    : QDialog(parent), state_(state), measurement_(measurement), link_(link), run_(state, measurement, link, clock),
      frameTimer_(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Meridian Measurement"));
    frameTimer_->setSingleShot(true);
    connect(frameTimer_, &QTimer::timeout, this, &TKadec::presentSample);
    buildLayout();
    buildMenus();

    connect(&run_, &MeasuringRun::runStarted, this, &TKadec::onRunStarted);
    connect(&run_, &MeasuringRun::runFinished, this, &TKadec::onRunFinished);
    connect(&run_, &MeasuringRun::measurementCleared, this, [this] {
        refreshTable();
        refreshPatient();
    });
    connect(&run_, &MeasuringRun::pointShown, this, &TKadec::showGuide);
    connect(&run_, &MeasuringRun::pointOpened, this, &TKadec::onPointOpened);
    connect(&run_, &MeasuringRun::contactReading, this, [this](int, double microamps, double compensated) {
        leds_[kValueLed]->setText(formatFixed(microamps, 5, 1));
        leds_[kCompensatedLed]->setText(formatFixed(compensated, 5, 1));
    });
    connect(&run_, &MeasuringRun::samplingStarted, this, &TKadec::onSamplingStarted);
    connect(&run_, &MeasuringRun::sampled, this, &TKadec::onSampled);
    connect(&run_, &MeasuringRun::contactLost, this, &TKadec::onContactLost);
    connect(&run_, &MeasuringRun::pointCompleted, this, &TKadec::onPointCompleted);
    connect(&run_, &MeasuringRun::countdown, this, &TKadec::onCountdown);
    connect(&run_, &MeasuringRun::pauseFinished, this, &TKadec::onPauseFinished);
    connect(&run_, &MeasuringRun::statusChanged, statusBar_, [this](const QString& text) { statusBar_->showMessage(text); });
    connect(&run_, &MeasuringRun::tableClicksAllowedChanged, this, [this](bool allowed) {
        table_->setSelectionMode(allowed ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    });
    connect(&run_, &MeasuringRun::manualStartEnabledChanged, manualStart_, &QPushButton::setEnabled);
    connect(&run_, &MeasuringRun::phaseChanged, this, [this](RunPhase phase) {
        if (phase == RunPhase::WaitingForContact) hasSample_ = false;
    });
    FormShow();
}

TKadec::~TKadec() = default;

QLabel* TKadec::addField(const QString& caption)
{
    auto* value = new QLabel;
    value->setObjectName(caption);
    fields_[caption] = value;
    return value;
}

void TKadec::buildLayout()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 0);

    auto* tools = new QToolBar;
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::vector<std::pair<QString, void (TKadec::*)()>> toolButtons{
        {"Start", &TKadec::ToolStartClick},     {"Stop", &TKadec::ToolStopClick},
        {"Analyze", &TKadec::ToolAnalyzeClick}, {"Save", &TKadec::ToolSaveClick},
        {"Recall", &TKadec::ToolRecallClick},   {"Clear", &TKadec::ToolClearClick},
        {"Manual", &TKadec::ToolManualClick},   {"Compare", &TKadec::ToolCompareClick},
        {"Quit", &TKadec::ToolQuitClick}};
    for (const auto& [caption, handler] : toolButtons) {
        QAction* action = tools->addAction(caption);
        connect(action, &QAction::triggered, this, handler);
        actions_[caption] = action;
    }
    root->addWidget(tools);

    auto* menus = new QHBoxLayout;
    for (const QString& title : {kSoundMenu, kPotentialMenu, kPictureMenu, kMethodMenu, kChannelMenu}) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(title));
        auto* button = new QToolButton;
        button->setPopupMode(QToolButton::InstantPopup);
        button->setMinimumWidth(120);
        box->addWidget(button);
        menuButtons_[title] = button;
        menus->addLayout(box);
    }
    menus->addStretch();
    root->addLayout(menus);

    table_ = new QTableWidget(3, 13);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setFixedHeight(3 * 26 + 4);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 13; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (r == 0 || c == 0) item->setBackground(QColor(230, 230, 230));
            table_->setItem(r, c, item);
        }
    table_->item(1, 0)->setText(QStringLiteral("Left"));
    table_->item(2, 0)->setText(QStringLiteral("Right"));
    connect(table_, &QTableWidget::cellClicked, this, &TKadec::AdvStringGrid1ClickCell);
    auto* tableRow = new QHBoxLayout;
    tableRow->addWidget(table_, 1);
    auto* tableSide = new QVBoxLayout;
    tableMode_ = new QPushButton(QStringLiteral("Meridian Energy Values"));
    connect(tableMode_, &QPushButton::clicked, this, &TKadec::TableModeClick);
    tableSide->addWidget(tableMode_);
    auto* avgRow = new QHBoxLayout;
    avgRow->addWidget(new QLabel(QStringLiteral("Avg:")));
    avgRow->addWidget(addField(QStringLiteral("Avg:")), 1);
    tableSide->addLayout(avgRow);
    tableRow->addLayout(tableSide);
    root->addLayout(tableRow);

    auto* middle = new QHBoxLayout;

    auto* guide = new QGroupBox(QStringLiteral("Measurement Point"));
    auto* guideLayout = new QGridLayout(guide);
    int row = 0;
    for (const QString& caption : {QStringLiteral("Location:"), QStringLiteral("Meridian Name:"), QStringLiteral("Point Name:")}) {
        guideLayout->addWidget(new QLabel(caption), row, 0);
        guideLayout->addWidget(addField(caption), row++, 1);
    }
    picture_ = new QLabel;
    picture_->setFixedSize(220, 180);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setStyleSheet(QStringLiteral("background: white; border: 1px solid #a0a0a0;"));
    auto* pictureLabels = new QVBoxLayout(picture_);
    pictureUpper_ = new QLabel;
    pictureLower_ = new QLabel;
    for (QLabel* label : {pictureUpper_, pictureLower_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("background: transparent; border: none; color: #000080; font-weight: bold;"));
    }
    pictureLabels->addWidget(pictureUpper_);
    pictureLabels->addStretch();
    pictureLabels->addWidget(pictureLower_);
    guideLayout->addWidget(picture_, row++, 0, 1, 2, Qt::AlignCenter);
    middle->addWidget(guide);

    auto* graphBox = new QVBoxLayout;
    graph_ = new MeasureGraph;
    graph_->setObjectName(QStringLiteral("PaintBox1"));
    graphBox->addWidget(graph_, 1);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(new QLabel(QStringLiteral("Sampling Rate:")));
    // Fields that change while readings come in keep a fixed size, so a new text never
    // makes the window lay itself out again.
    rateRow->addWidget(addField(QStringLiteral("Sampling Rate:")));
    fields_[QStringLiteral("Sampling Rate:")]->setFixedSize(60, 20);
    rateRow->addStretch();
    rateRow->addWidget(new QLabel(kNextPointField));
    rateRow->addWidget(addField(kNextPointField));
    fields_[kNextPointField]->setFixedSize(70, 20);
    manualStart_ = new QPushButton(QStringLiteral("Start"));
    manualStart_->setEnabled(false);
    connect(manualStart_, &QPushButton::clicked, this, &TKadec::ManualStartClick);
    rateRow->addWidget(manualStart_);
    graphBox->addLayout(rateRow);
    middle->addLayout(graphBox, 1);

    auto* readings = new QGridLayout;
    row = 0;
    const std::vector<std::pair<QString, QString>> ledBars{
        {kValueLed, QStringLiteral("value")}, {kCompensatedLed, QStringLiteral("compensated")},
        {kQualityLed, QStringLiteral("quality")}, {kProgressLed, QStringLiteral("time")}};
    for (const auto& [caption, barName] : ledBars) {
        readings->addWidget(new QLabel(caption), row, 0);
        auto* led = new LedDisplay;
        leds_[caption] = led;
        readings->addWidget(led, row++, 1);
        auto* bar = new SegmentedBar;
        bars_[barName] = bar;
        readings->addWidget(bar, row++, 0, 1, 2);
    }
    readings->addWidget(new QLabel(QStringLiteral("Stability:")), row, 0);
    stabilityLamp_ = new Lamp;
    readings->addWidget(stabilityLamp_, row++, 1, Qt::AlignLeft);
    readings->addWidget(new QLabel(kSensitivityLed), row, 0);
    leds_[kSensitivityLed] = new LedDisplay;
    leds_[kSensitivityLed]->setColour(QColor(255, 200, 0));
    readings->addWidget(leds_[kSensitivityLed], row++, 1);
    sensitivity_ = new QSlider(Qt::Horizontal);
    sensitivity_->setRange(1, 50);
    connect(sensitivity_, &QSlider::valueChanged, this, &TKadec::SensitivityChange);
    readings->addWidget(sensitivity_, row++, 0, 1, 2);
    readings->setRowStretch(row, 1);
    middle->addLayout(readings);
    root->addLayout(middle, 1);

    auto* patient = new QGroupBox(QStringLiteral("Patient"));
    auto* patientLayout = new QGridLayout(patient);
    const QStringList left{"Patient No:", "Name:", "Date of Birth:", "Telephone:", "Age:"};
    const QStringList right{"Measurement Date:", "Measurement Time:", "Measurement Age:"};
    for (int i = 0; i < left.size(); ++i) {
        patientLayout->addWidget(new QLabel(left[i]), i % 3, (i / 3) * 2);
        patientLayout->addWidget(addField(left[i]), i % 3, (i / 3) * 2 + 1);
    }
    gender_ = new QPushButton;
    connect(gender_, &QPushButton::clicked, this, &TKadec::GenderClick);
    patientLayout->addWidget(gender_, 2, 2, 1, 2);
    for (int i = 0; i < right.size(); ++i) {
        patientLayout->addWidget(new QLabel(right[i]), i, 4);
        patientLayout->addWidget(addField(right[i]), i, 5);
    }
    patientLayout->setColumnStretch(1, 1);
    patientLayout->setColumnStretch(5, 1);
    root->addWidget(patient);

    statusBar_ = new QStatusBar;
    statusBar_->setSizeGripEnabled(false);
    root->addWidget(statusBar_);
    resize(1000, 680);
}

void TKadec::buildMenus()
{
    auto addMenu = [this](const QString& title, const std::vector<std::pair<QString, std::function<void()>>>& entries) {
        auto* menu = new QMenu(this);
        for (const auto& [text, action] : entries) connect(menu->addAction(text), &QAction::triggered, this, action);
        menuButtons_[title]->setMenu(menu);
    };
    addMenu(kSoundMenu, {{"Standard", [this] { SoundMenuClick(MeasureSound::Standard); }},
                         {"Single", [this] { SoundMenuClick(MeasureSound::Single); }},
                         {"Mute", [this] { SoundMenuClick(MeasureSound::Mute); }}});
    addMenu(kPotentialMenu, {{"NRM Potential", [this] { PotentialMenuClick(false); }},
                             {"Hi Potential", [this] { PotentialMenuClick(true); }}});
    addMenu(kPictureMenu, {{"Picture", [this] { PictureMenuClick(1); }},
                           {"Outline", [this] { PictureMenuClick(2); }},
                           {"Combined", [this] { PictureMenuClick(3); }}});
    addMenu(kMethodMenu, {{"Auto", [this] { MethodMenuClick(true); }}, {"Manual", [this] { MethodMenuClick(false); }}});
    addMenu(kChannelMenu, {{"CPDM", [this] { ChannelMenuClick(0); }},
                           {"Channel 1", [this] { ChannelMenuClick(1); }},
                           {"Channel 2", [this] { ChannelMenuClick(2); }}});
}

void TKadec::setFunctionWindow(MeasureFunction function, MeasureWindowFactory factory)
{
    windows_[function] = std::move(factory);
    if (!run_.isRunning()) setIdleButtons();
}

QAction* TKadec::toolAction(const QString& caption) const
{
    const auto it = actions_.find(caption);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* TKadec::menuButton(const QString& title) const
{
    const auto it = menuButtons_.find(title);
    return it == menuButtons_.end() ? nullptr : it->second;
}

LedDisplay* TKadec::led(const QString& name) const
{
    const auto it = leds_.find(name);
    return it == leds_.end() ? nullptr : it->second;
}

SegmentedBar* TKadec::bar(const QString& name) const
{
    const auto it = bars_.find(name);
    return it == bars_.end() ? nullptr : it->second;
}

QString TKadec::fieldText(const QString& caption) const
{
    const auto it = fields_.find(caption);
    return it == fields_.end() ? QString() : it->second->text();
}

QString TKadec::statusText() const { return statusBar_->currentMessage(); }

void TKadec::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TKadec::FormShow()
{
    for (int c = 1; c <= kMeridianCount; ++c)
        table_->item(0, c)->setText(meridianInfo(state_.tables.meridianOrder(c)).abbreviation);
    const double sensitivity = run_.sensitivity();
    {
        const QSignalBlocker block(sensitivity_);
        sensitivity_->setValue(std::clamp(static_cast<int>(std::lround(sensitivity * 10)), 1, 50));
    }
    leds_[kSensitivityLed]->setText(oneDecimal(sensitivity));
    refreshMenus();
    refreshPatient();
    if (run_.isRunning()) return;
    qualityView_ = false;
    refreshTable();
    setIdleButtons();
    resetDisplays();
}

void TKadec::refreshMenus()
{
    menuButtons_[kSoundMenu]->setText(soundName(run_.sound()));
    menuButtons_[kPotentialMenu]->setText(state_.highPotential ? QStringLiteral("Hi Potential") : QStringLiteral("NRM Potential"));
    menuButtons_[kPotentialMenu]->setStyleSheet(state_.highPotential ? QStringLiteral("color: #c00000; font-weight: bold;")
                                                                     : QString());
    menuButtons_[kPictureMenu]->setText(pictureStyleName(state_.settings.intValue(SettingLine::PictureStyle)));
    menuButtons_[kMethodMenu]->setText(run_.isAutomatic() ? QStringLiteral("Auto") : QStringLiteral("Manual"));
    menuButtons_[kChannelMenu]->setText(channelName(run_.channel()));
}

void TKadec::refreshPatient()
{
    const CurrentPatient& patient = state_.patient;
    fields_[QStringLiteral("Patient No:")]->setText(patient.number);
    fields_[QStringLiteral("Name:")]->setText(patient.name);
    fields_[QStringLiteral("Telephone:")]->setText(patient.telephone);
    const bool known = patient.birthDate > 0;
    fields_[QStringLiteral("Date of Birth:")]->setText(known ? shortDate(patient.birthDate) : QString());
    fields_[QStringLiteral("Age:")]->setText(
        known ? formatFixed(ageInYears(patient.birthDate, toDayCount(QDateTime::currentDateTime())), 3, 1) : QString());
    gender_->setText(patient.isMale ? QStringLiteral("Male") : QStringLiteral("Female"));
}

void TKadec::refreshTable()
{
    tableMode_->setText(qualityView_ ? QStringLiteral("Data Quality Score") : QStringLiteral("Meridian Energy Values"));
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= kMeridianCount; ++c) {
            const int me = state_.tables.positionPoint(MeridianTables::tablePosition(c, r));
            const double value = measurement_.values[me - 1];
            const double quality = measurement_.quality[me - 1];
            QTableWidgetItem* cell = table_->item(r, c);
            if (!qualityView_) {
                cell->setText(value != 0 ? formatFixed(value, 3, 0) : QString());
                cell->setForeground(Qt::black);
            } else {
                cell->setText(value > 0 ? (quality > 0 ? formatFixed(quality, 3, 1) : QStringLiteral("0.0")) : QString());
                cell->setForeground(qualityCellColour(quality));
            }
        }
    const std::optional<double> average = qualityView_ ? measurement_.qualityAverage() : measurement_.valueAverage();
    fields_[QStringLiteral("Avg:")]->setText(average ? formatFixed(*average, 3, 1) : QString());
    refreshMeasurementTime();
}

void TKadec::refreshMeasurementTime()
{
    const double at = state_.measurementDateTime;
    const bool shown = measurement_.hasData && at > 0;
    fields_[QStringLiteral("Measurement Date:")]->setText(shown ? shortDate(at) : QString());
    fields_[QStringLiteral("Measurement Time:")]->setText(
        shown ? QLocale().toString(fromDayCount(at).time(), QStringLiteral("HH:mm:ss")) : QString());
    const double birth = state_.patient.birthDate;
    fields_[QStringLiteral("Measurement Age:")]->setText(shown && birth > 0 ? formatFixed(ageInYears(birth, at), 3, 1)
                                                                            : QString());
}

void TKadec::setIdleButtons()
{
    const bool all = measurement_.allValues();
    const bool any = measurement_.anyValue() || measurement_.hasData;
    auto registered = [this](MeasureFunction f) { return windows_.count(f) > 0; };
    actions_["Analyze"]->setEnabled(all && registered(MeasureFunction::Analyze));
    actions_["Compare"]->setEnabled(all && registered(MeasureFunction::Compare));
    actions_["Save"]->setEnabled(any && registered(MeasureFunction::Save));
    actions_["Clear"]->setEnabled(any);
    actions_["Recall"]->setEnabled(registered(MeasureFunction::Recall));
    actions_["Manual"]->setEnabled(registered(MeasureFunction::Manual));
    actions_["Start"]->setEnabled(true);
    actions_["Quit"]->setEnabled(true);
    actions_["Stop"]->setEnabled(false);
    manualStart_->setEnabled(false);
    menuButtons_[kPotentialMenu]->setEnabled(true);
    tableMode_->setEnabled(true);
}

void TKadec::setRunButtons()
{
    for (const char* caption : {"Analyze", "Compare", "Manual", "Save", "Clear", "Quit", "Start", "Recall"})
        actions_[caption]->setEnabled(false);
    actions_["Stop"]->setEnabled(true);
    menuButtons_[kPotentialMenu]->setEnabled(false);
}

void TKadec::resetDisplays()
{
    for (const QString& name : {kValueLed, kCompensatedLed, kQualityLed}) leds_[name]->setText(QStringLiteral("0.0"));
    leds_[kQualityLed]->setColour(stabilityDisplayColour(Stability::Green));
    leds_[kProgressLed]->setText(QStringLiteral("off"));
    for (auto& [name, bar] : bars_) bar->setPercent(0);
    stabilityLamp_->setBlinking(false);
    stabilityLamp_->setColour(QColor());
    fields_[QStringLiteral("Sampling Rate:")]->setText(QString());
    fields_[kNextPointField]->setText(QString());
    graph_->clear(run_.isRunning());
}

void TKadec::showGuide(int position)
{
    const int me = state_.tables.positionPoint(position);
    const MeridianInfo& info = meridianInfo(state_.tables.positionMeridian(position));
    fields_[QStringLiteral("Location:")]->setText(locationText(state_.tables, position));
    fields_[QStringLiteral("Meridian Name:")]->setText(info.name + QStringLiteral(" of ") + info.channelName);
    fields_[QStringLiteral("Point Name:")]->setText(info.sourcePoint);
    pictureUpper_->setText(info.nameWithAbbreviation);
    pictureLower_->setText(info.sourcePoint);
    loadPicture(me);
    picture_->show();
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= kMeridianCount; ++c)
            if (MeridianTables::tablePosition(c, r) == position) table_->setCurrentCell(r, c);
}

void TKadec::loadPicture(int me)
{
    const QPixmap pixmap(state_.folder.dataFilePath(pointPictureName(me, state_.settings.intValue(SettingLine::PictureStyle))));
    if (pixmap.isNull()) picture_->setPixmap(QPixmap());
    else picture_->setPixmap(pixmap.scaled(picture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TKadec::clearGuide()
{
    for (const char* caption : {"Location:", "Meridian Name:", "Point Name:"}) fields_[caption]->setText(QString());
    pictureUpper_->clear();
    pictureLower_->clear();
    picture_->setPixmap(QPixmap());
    picture_->hide();
}

bool TKadec::refuseOffline()
{
    if (link_.isOnline()) return false;
    showMessage(MessageKind::ImportantNotice, MeasuringRun::offlineText());
    return true;
}

void TKadec::ToolStartClick()
{
    if (run_.isRunning()) return;
    run_.start();
}

void TKadec::ToolStopClick() { run_.requestStop(); }

void TKadec::ManualStartClick() { run_.requestManualStart(); }

void TKadec::onRunStarted()
{
    tableMode_->setEnabled(false);
    qualityView_ = false;
    refreshTable();
    table_->setEnabled(true);
    table_->setFocus();
    setRunButtons();
    resetDisplays();
}

void TKadec::onRunFinished()
{
    frameTimer_->stop();
    clearGuide();
    statusBar_->clearMessage();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setCurrentCell(-1, -1);
    setIdleButtons();
    resetDisplays();
    refreshTable();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void TKadec::onPointOpened(int)
{
    const std::optional<double> average = measurement_.valueAverage();
    if (!qualityView_) fields_[QStringLiteral("Avg:")]->setText(average ? formatFixed(*average, 3, 1) : QString());
    for (auto& [name, bar] : bars_) bar->setPercent(0);
    fields_[QStringLiteral("Sampling Rate:")]->setText(QStringLiteral("0"));
    fields_[kNextPointField]->setText(QString());
    leds_[kProgressLed]->setText(QStringLiteral("2.5"));
    stabilityLamp_->setColour(QColor(0, 255, 0));
    stabilityLamp_->setBlinking(true, 200);
}

void TKadec::onSamplingStarted()
{
    graph_->clear(true);
    leds_[kQualityLed]->setText(QStringLiteral("0.0"));
    leds_[kQualityLed]->setColour(stabilityDisplayColour(Stability::Green));
    bars_["quality"]->setPercent(0);
    stabilityLamp_->setBlinking(false);
    stabilityLamp_->setColour(QColor(255, 0, 0));
}

void TKadec::onSampled(const SampleView& sample)
{
    latest_ = sample;
    hasSample_ = true;
    graph_->addSample(sample);
    schedulePresent();
}

void TKadec::schedulePresent()
{
    if (!frameClock_.isValid() || frameClock_.elapsed() >= kFrameMs) {
        presentSample();
    } else if (!frameTimer_->isActive()) {
        frameTimer_->start(int(kFrameMs - frameClock_.elapsed()));
    }
}

void TKadec::presentSample()
{
    frameClock_.start();
    if (!hasSample_) return;
    const SampleView& s = latest_;
    leds_[kProgressLed]->setText(formatFixed(s.remainingMs / 1000.0, 5, 1));
    leds_[kValueLed]->setText(formatFixed(s.microamps, 5, 1));
    leds_[kCompensatedLed]->setText(formatFixed(s.compensated, 5, 1));
    bars_["time"]->setPercent(s.timePercent);
    bars_["value"]->setPercent(percentOf200(s.microamps));
    bars_["compensated"]->setPercent(percentOf200(s.compensated));
    leds_[kQualityLed]->setText(formatFixed(s.qualityShown, 5, 1));
    leds_[kQualityLed]->setColour(stabilityDisplayColour(s.stability));
    bars_["quality"]->setColour(stabilityBarColour(s.stability));
    bars_["quality"]->setPercent(static_cast<int>(s.qualityShown));
    fields_[QStringLiteral("Sampling Rate:")]->setText(QString::number(s.samplingCount));
    graph_->flush();
}

void TKadec::onContactLost()
{
    frameTimer_->stop();
    hasSample_ = false;
    graph_->clear(true);
    leds_[kQualityLed]->setText(QStringLiteral("0.0"));
    leds_[kQualityLed]->setColour(stabilityDisplayColour(Stability::Green));
    bars_["quality"]->setPercent(0);
}

void TKadec::onPointCompleted(int, int me, Stability stability)
{
    frameTimer_->stop();
    presentSample();
    hasSample_ = false;
    const double value = measurement_.values[me - 1];
    leds_[kValueLed]->setText(formatFixed(value, 5, 1));
    leds_[kCompensatedLed]->setText(formatFixed(measurement_.compensated[me - 1], 5, 1));
    bars_["value"]->setPercent(percentOf200(value));
    bars_["compensated"]->setPercent(percentOf200(measurement_.compensated[me - 1]));
    bars_["time"]->setPercent(100);
    leds_[kProgressLed]->setText(QStringLiteral("0.0"));
    leds_[kQualityLed]->setColour(stabilityDisplayColour(stability));
    stabilityLamp_->setColour(QColor(0, 100, 0));
    refreshTable();
}

void TKadec::onCountdown(int remainingMs)
{
    const QString text = oneDecimal(remainingMs / 1000.0) + QStringLiteral(" Sec");
    QLabel* field = fields_[kNextPointField];
    if (field->text() != text) field->setText(text);
}

void TKadec::onPauseFinished()
{
    fields_[kNextPointField]->setText(QStringLiteral("0.0 Sec"));
    leds_[kValueLed]->setText(QStringLiteral("0.0"));
    leds_[kCompensatedLed]->setText(QStringLiteral("0.0"));
    leds_[kProgressLed]->setText(QStringLiteral("2.5"));
}

void TKadec::AdvStringGrid1ClickCell(int row, int column)
{
    if (row < 1 || row > 2 || column < 1 || column > kMeridianCount) return;
    run_.selectPosition(MeridianTables::tablePosition(column, row));
}

void TKadec::SensitivityChange(int position)
{
    run_.setSensitivity(position / 10.0);
    leds_[kSensitivityLed]->setText(oneDecimal(position / 10.0));
}

void TKadec::TableModeClick()
{
    qualityView_ = !qualityView_;
    refreshTable();
}

void TKadec::GenderClick()
{
    state_.patient.isMale = !state_.patient.isMale;
    refreshPatient();
}

void TKadec::SoundMenuClick(int sound)
{
    run_.setSound(sound);
    refreshMenus();
}

void TKadec::PotentialMenuClick(bool high)
{
    if (run_.isRunning()) return;
    run_.setHighPotential(high);
    refreshMenus();
}

void TKadec::PictureMenuClick(int style)
{
    state_.settings.setInt(SettingLine::PictureStyle, style);
    if (run_.isRunning() && run_.currentPoint() > 0) loadPicture(run_.currentPoint());
    refreshMenus();
}

void TKadec::MethodMenuClick(bool automatic)
{
    run_.setAutomatic(automatic);
    refreshMenus();
}

void TKadec::ChannelMenuClick(int channel)
{
    run_.setChannel(channel);
    refreshMenus();
}

void TKadec::openWindow(MeasureFunction function, bool needsOnline)
{
    if (needsOnline && refuseOffline()) return;
    const auto it = windows_.find(function);
    if (it == windows_.end()) return;
    hide();
    QDialog* window = it->second(parentWidget());
    if (window) {
        window->exec();
        delete window;
    }
    show();
}

void TKadec::ToolAnalyzeClick()
{
    if (refuseOffline()) return;
    openWindow(MeasureFunction::Analyze, true);
    if (state_.analysedPointsCounter >= 12) {
        link_.measurementCounter(true);
        state_.analysedPointsCounter = 0;
    }
}

void TKadec::ToolSaveClick()
{
    qualityView_ = false;
    refreshTable();
    openWindow(MeasureFunction::Save, false);
}

void TKadec::ToolRecallClick()
{
    openWindow(MeasureFunction::Recall, true);
    qualityView_ = false;
    refreshMenus();
    refreshPatient();
    refreshTable();
}

void TKadec::ToolManualClick()
{
    openWindow(MeasureFunction::Manual, true);
    refreshMenus();
    refreshTable();
}

void TKadec::ToolCompareClick() { openWindow(MeasureFunction::Compare, true); }

void TKadec::ToolClearClick()
{
    if (!showMessage(MessageKind::InformationQuestion,
                     QStringLiteral("Are you sure you want to clear the table values?\n"
                                    "This action will not affect saved measurements.")))
        return;
    clearCurrentMeasurement();
}

void TKadec::clearCurrentMeasurement()
{
    state_.currentMeasurementKey = 0;
    state_.chartChoices.fill(1);
    state_.clearCurrentPatient();  // also the memo, the measurement time and the analysed points
    measurement_.clear();
    refreshTable();
    refreshPatient();
    for (const char* caption : {"Analyze", "Compare", "Save", "Clear"}) actions_[caption]->setEnabled(false);
}

void TKadec::ToolQuitClick() { close(); }

void TKadec::closeEvent(QCloseEvent* event)
{
    if (run_.isRunning()) {
        // The run lives inside the Start handler: let it end at its next check, then close.
        closeAfterRun_ = true;
        run_.requestStop();
        event->ignore();
        return;
    }
    const QString error = state_.saveSettings();
    if (!error.isEmpty()) showMessage(MessageKind::ImportantNotice, error);
    QDialog::closeEvent(event);
}

TKadec* createMeasurementWindow(ProgramState& state, CurrentMeasurement& measurement, DeviceLink& link, Clock& clock,
                                QWidget* parent)
{
    return new TKadec(state, measurement, link, clock, parent);
}

}  // namespace tork
