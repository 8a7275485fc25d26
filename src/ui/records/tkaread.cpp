#include "ui/records/tkaread.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/records/recordedits.h"
#include "ui/records/gridheading.h"
#include "ui/records/tkamnu.h"
#include "ui/records/tkaredit.h"
#include "ui/records/valuegrid.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace tork {

namespace {
constexpr int kConfirmSignal = 1;
const QString kRecallQuestion = QStringLiteral("Are you sure you want to recall this measurement data") + QChar(0xFF1F);
}  // namespace

TKaread::TKaread(RecordsContext context, bool confirmRecall, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), confirmRecall_(confirmRecall)
{
    setWindowTitle(QStringLiteral("Load Patient and Measurement Record"));
    resize(1100, 720);

    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct {
        Button button;
        const char* caption;
        const char* hint;
        void (TKaread::*handler)();
    } actions[] = {
        {Button::Recall, "Recall", "Recall energy data", &TKaread::RecallClick},
        {Button::NewPatient, "New Pat.", "Add new patient record", &TKaread::NewPatientClick},
        {Button::EditPatient, "Edit Pat.", "Edit Patient Record", &TKaread::EditPatientClick},
        {Button::DeletePatient, "Delete Pat.", "Delete Patient Record", &TKaread::DeletePatientClick},
        {Button::NewValue, "New Value", "Manually enter new meridian energy values", &TKaread::NewValueClick},
        {Button::EditValue, "Edit Value", "Edit measurement record", &TKaread::EditValueClick},
        {Button::DeleteValue, "Delete Value", "Delete measurement record", &TKaread::DeleteValueClick},
        {Button::DisplayMode, "Display Mode", "Display detailed Value", &TKaread::DisplayModeClick},
        {Button::Memo, "MEMO", "Display Memo Field", &TKaread::MemoClick},
        {Button::Exit, "Exit", "Exit read data menu", &TKaread::ExitClick},
    };
    for (const auto& a : actions) {
        QAction* action = toolBar->addAction(QString::fromLatin1(a.caption));
        action->setToolTip(QString::fromLatin1(a.hint));
        connect(action, &QAction::triggered, this, a.handler);
        buttons_[a.button] = action;
    }

    patients_ = new PatientListPanel(*context_.state, context_.db, this);

    measurements_ = new MeasurementListModel(this);
    measurementGrid_ = new QTableView(this);
    measurementGrid_->setModel(measurements_);
    measurementGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    measurementGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    measurementGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    measurementGrid_->verticalHeader()->hide();
    measurementGrid_->verticalHeader()->setDefaultSectionSize(22);
    measurementGrid_->horizontalHeader()->setDefaultSectionSize(48);
    measurementGrid_->setColumnWidth(MeasurementListModel::Date, 84);
    measurementGrid_->setColumnWidth(MeasurementListModel::Time, 72);
    measurementGrid_->setMinimumHeight(140);
    measurementGrid_->setColumnWidth(MeasurementListModel::Energy, 56);
    measurementGrid_->setColumnWidth(MeasurementListModel::Potential, 64);
    setHeadingFocused(measurementGrid_, false);

    detailGrid_ = new QTableWidget(this);
    detailGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    detailGrid_->verticalHeader()->setDefaultSectionSize(24);
    detailGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    detailGrid_->setFixedHeight(3 * 24 + 2 * detailGrid_->frameWidth());
    detailGrid_->hide();

    memoPanel_ = new QWidget(this);
    auto* memoLayout = new QHBoxLayout(memoPanel_);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    patientMemo_ = new QPlainTextEdit(memoPanel_);
    measurementMemo_ = new QPlainTextEdit(memoPanel_);
    for (QPlainTextEdit* memo : {patientMemo_, measurementMemo_}) {
        memo->setReadOnly(true);
        memo->setMaximumHeight(110);
    }
    auto* patientColumn = new QVBoxLayout;
    patientColumn->addWidget(new QLabel(QStringLiteral("Patient memo"), memoPanel_));
    patientColumn->addWidget(patientMemo_);
    auto* measurementColumn = new QVBoxLayout;
    measurementColumn->addWidget(new QLabel(QStringLiteral("Measurement memo"), memoPanel_));
    measurementColumn->addWidget(measurementMemo_);
    memoLayout->addLayout(patientColumn);
    memoLayout->addLayout(measurementColumn);
    memoPanel_->hide();

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(measurementGrid_, 1);
    lowerLayout->addWidget(detailGrid_);
    lowerLayout->addWidget(memoPanel_);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(patients_);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(splitter, 1);

    patients_->grid()->installEventFilter(this);
    measurementGrid_->installEventFilter(this);
    connect(patients_, &PatientListPanel::currentPatientChanged, this, &TKaread::PatientRowChange);
    connect(patients_, &PatientListPanel::patientDoubleClicked, this, &TKaread::PatientGridDoubleClick);
    connect(patients_, &PatientListPanel::searchDone, this, [this] { writeCounts(); });
    connect(measurementGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TKaread::MeasurementRowChange);
    connect(measurementGrid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) MeasurementGridDoubleClick();
    });

    open();
}

void TKaread::open()
{
    for (auto& [button, action] : buttons_) action->setEnabled(false);
    patients_->open();
    if (!patients_->locateNumberPrefix(context_.state->patient.number)) patients_->selectRow(0);
    reloadMeasurements();
    setUpValueGrid(detailGrid_, context_.state->tables, false);
    detailGrid_->horizontalHeader()->setDefaultSectionSize(75);
    patients_->grid()->setFocus();
    PatientGridEnter();
    for (Button b : {Button::DisplayMode, Button::Memo, Button::Exit}) buttons_[b]->setEnabled(true);
}

bool TKaread::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == patients_->grid()) PatientGridEnter();
        else if (watched == measurementGrid_) MeasurementGridEnter();
    }
    return QDialog::eventFilter(watched, event);
}

QString TKaread::countsText() const
{
    return formatInteger(patients_->count(), 6) + QStringLiteral("  -  [ ") + formatInteger(measurements_->count(), 6).trimmed() +
           QStringLiteral(" ]");
}

void TKaread::writeCounts() { patients_->setCountsText(countsText()); }

int TKaread::currentMeasurementRow() const
{
    const QModelIndex index = measurementGrid_->currentIndex();
    if (index.isValid()) return index.row();
    return measurements_->count() > 0 ? 0 : -1;
}

void TKaread::selectMeasurementRow(int row)
{
    if (row < 0 || row >= measurements_->count()) return;
    measurementGrid_->setCurrentIndex(measurements_->index(row, MeasurementListModel::Date));
}

void TKaread::updateButtons()
{
    const bool patientsShown = patients_->count() > 0;
    const bool measurementsShown = measurements_->count() > 0;
    const bool onPatients = focused_ == FocusedGrid::Patients;
    buttons_[Button::Recall]->setEnabled(!onPatients && measurementsShown);
    buttons_[Button::EditValue]->setEnabled(!onPatients && measurementsShown);
    buttons_[Button::DeleteValue]->setEnabled(!onPatients && measurementsShown);
    buttons_[Button::NewValue]->setEnabled(!onPatients && patientsShown);
    buttons_[Button::EditPatient]->setEnabled(onPatients && patientsShown);
    buttons_[Button::DeletePatient]->setEnabled(onPatients && patientsShown);
    buttons_[Button::NewPatient]->setEnabled(onPatients);
}

void TKaread::PatientGridEnter()
{
    focused_ = FocusedGrid::Patients;
    setHeadingFocused(patients_->grid(), true);
    setHeadingFocused(measurementGrid_, false);
    updateButtons();
}

void TKaread::MeasurementGridEnter()
{
    focused_ = FocusedGrid::Measurements;
    setHeadingFocused(patients_->grid(), false);
    setHeadingFocused(measurementGrid_, true);
    updateButtons();
}

void TKaread::reloadMeasurements()
{
    const auto patient = patients_->currentPatient();
    measurements_->open(context_.db, patient);
    selectMeasurementRow(0);
    patientMemo_->setPlainText(patient ? patient->memo : QString());
    MeasurementRowChange();
    writeCounts();
    updateButtons();
}

void TKaread::PatientRowChange() { reloadMeasurements(); }

void TKaread::MeasurementRowChange()
{
    const MeasurementRecord* m = measurements_->at(currentMeasurementRow());
    measurementMemo_->setPlainText(m ? m->memo : QString());
    refreshDetail();
}

void TKaread::refreshDetail()
{
    if (detailGrid_->isHidden()) return;
    const MeasurementRecord* m = measurements_->at(currentMeasurementRow());
    fillValueGrid(detailGrid_, context_.state->tables, m ? m->values : std::array<double, kPointCount>{},
                  [](double v) { return v == 0 ? QString() : formatFixed(v, 3, 1); });
}

void TKaread::DisplayModeClick()
{
    detailGrid_->setVisible(detailGrid_->isHidden());
    refreshDetail();
}

void TKaread::MemoClick()
{
    memoPanel_->setVisible(memoPanel_->isHidden());
    detailGrid_->horizontalHeader()->setDefaultSectionSize(memoPanel_->isHidden() ? 75 : 57);
}

void TKaread::ExitClick() { reject(); }

// ---- recall ----

void TKaread::PatientGridDoubleClick() { EditPatientClick(); }
void TKaread::MeasurementGridDoubleClick() { recall(); }

void TKaread::RecallClick()
{
    confirmRecall_ = false;
    recall();
}

void TKaread::recall()
{
    const MeasurementRecord* m = measurements_->at(currentMeasurementRow());
    const auto patient = patients_->currentPatient();
    if (!m || !patient) return;
    if (confirmRecall_ && showMessage(MessageKind::InformationQuestion, kRecallQuestion)) confirmRecall_ = false;
    if (confirmRecall_) return;

    ProgramState& state = *context_.state;
    state.patient.number = patient->number;
    state.patient.name = patient->name;
    state.patient.isMale = patient->male;
    state.patient.birthDate = patient->birthDate;
    state.patient.address = patient->address;
    state.patient.telephone = patient->telephone;
    state.measurementDateTime = m->dateTime;
    state.highPotential = m->highPotential;
    state.measurementMemo = linesFromMemo(m->memo);
    state.currentMeasurementKey = int(m->key);
    state.analysedPointsCounter = 0;
    takeCurrentValues(context_, m->values, m->quality);
    accept();
}

// ---- patients ----

void TKaread::NewPatientClick()
{
    const int previousRow = patients_->currentRow();
    TKaREdit editor(PatientEditMode::NewFromBrowser, context_.db, *context_.state, std::nullopt, this);
    context_.run(editor);
    if (editor.patientAdded()) {
        patients_->reopen();
        patients_->locateNumberIgnoringCase(editor.savedNumber());
        reloadMeasurements();
    } else {
        patients_->selectRow(previousRow);
    }
}

void TKaread::EditPatientClick()
{
    const auto patient = patients_->currentPatient();
    if (!patient) return;
    TKaREdit editor(PatientEditMode::Edit, context_.db, *context_.state, patient, this);
    context_.run(editor);
    patients_->reopen();
    patients_->locateNumberIgnoringCase(editor.savedNumber());
    reloadMeasurements();
}

void TKaread::DeletePatientClick()
{
    context_.sound(kConfirmSignal);
    const auto patient = patients_->currentPatient();
    if (focused_ == FocusedGrid::Patients && patient &&
        showMessage(MessageKind::CautionQuestion,
                    QStringLiteral("Are you sure you want to delete this patient record, including all the measurements?"))) {
        const int row = patients_->currentRow();
        auto next = patients_->model()->patientAt(row + 1);
        if (!next) next = patients_->model()->patientAt(row - 1);
        if (const QString error = deletePatient(context_.db, *patient); !error.isEmpty())
            showMessage(MessageKind::ImportantNotice, QStringLiteral("The patient record could not be deleted:\n") + error);
        patients_->reopen();
        if (!next || !patients_->locateNumberIgnoringCase(next->number)) patients_->selectRow(row);
        reloadMeasurements();
    }
    writeCounts();
}

// ---- measurements ----

void TKaread::keepLatestMeasurement(const QString& number)
{
    const double newest = measurements_->count() > 0 ? measurements_->rows().front().dateTime : 0;
    if (const QString error = setLatestMeasurement(context_.db, number, newest); !error.isEmpty())
        showMessage(MessageKind::ImportantNotice, QStringLiteral("The latest measurement date could not be stored:\n") + error);
}

void TKaread::DeleteValueClick()
{
    context_.sound(kConfirmSignal);
    const auto patient = patients_->currentPatient();
    const MeasurementRecord* m = measurements_->at(currentMeasurementRow());
    if (focused_ == FocusedGrid::Measurements && patient && m) {
        const int row = currentMeasurementRow();
        if (showMessage(MessageKind::CautionQuestion, QStringLiteral("Are you sure you want to delete this measurement data?"))) {
            if (const QString error = deleteMeasurement(context_.db, m->key); !error.isEmpty())
                showMessage(MessageKind::ImportantNotice, QStringLiteral("The measurement could not be deleted:\n") + error);
        }
        measurements_->open(context_.db, patient);
        keepLatestMeasurement(patient->number);
        // The patient row shows the new latest date; his measurements stay in view.
        const QSignalBlocker quiet(patients_);
        patients_->reopen();
        reloadMeasurements();
        selectMeasurementRow(std::min(row, measurements_->count() - 1));
    }
    refreshDetail();
    writeCounts();
}

void TKaread::NewValueClick() { enterValues(ManualEntryMode::New); }
void TKaread::EditValueClick() { enterValues(ManualEntryMode::Modify); }

void TKaread::enterValues(ManualEntryMode mode)
{
    const auto patient = patients_->currentPatient();
    if (!patient) return;
    const MeasurementRecord* m = measurements_->at(currentMeasurementRow());
    if (mode == ManualEntryMode::Modify && !m) return;
    const std::optional<MeasurementRecord> row = m ? std::optional<MeasurementRecord>(*m) : std::nullopt;

    const bool wasVisible = isVisible();
    hide();
    {
        TKamnu entry(mode, context_, row, patient->number, this);
        context_.run(entry);
    }
    if (wasVisible) show();

    measurements_->open(context_.db, patient);
    if (measurements_->count() > 0) keepLatestMeasurement(patient->number);
    {
        const QSignalBlocker quiet(patients_);
        patients_->reopen();
    }
    reloadMeasurements();
    measurementGrid_->setFocus();
    MeasurementGridEnter();
}

}  // namespace tork
