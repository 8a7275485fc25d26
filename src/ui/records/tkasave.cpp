#include "ui/records/tkasave.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/records/connection.h"
#include "core/records/recordedits.h"
#include "ui/records/gridheading.h"
#include "ui/records/tkaredit.h"

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace tork {

namespace {
constexpr int kConfirmSignal = 1;
const QString kSaveQuestion = QStringLiteral("Do you want to save the measurement data to this patient?");

QString genderText(bool male) { return male ? QStringLiteral("Male") : QStringLiteral("Female"); }
}  // namespace

TKasave::TKasave(RecordsContext context, QWidget* parent) : QDialog(parent), context_(std::move(context))
{
    setWindowTitle(QStringLiteral("Save Meridian Energy Values"));
    resize(1000, 640);

    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    newPatient_ = toolBar->addAction(QStringLiteral("New patient"));
    newPatient_->setToolTip(QStringLiteral("Add new patient record"));
    save_ = toolBar->addAction(QStringLiteral("Save Value"));
    save_->setToolTip(QStringLiteral("Save measurement data and exit"));
    QAction* exit = toolBar->addAction(QStringLiteral("Exit"));
    exit->setToolTip(QStringLiteral("Abort and exit"));
    connect(newPatient_, &QAction::triggered, this, &TKasave::NewPatientClick);
    connect(save_, &QAction::triggered, this, &TKasave::SaveValueClick);
    connect(exit, &QAction::triggered, this, &TKasave::ExitClick);

    auto* patientBox = new QGroupBox(QStringLiteral("Save in the record of the following patient"), this);
    auto* patientForm = new QFormLayout(patientBox);
    number_ = new QLabel(patientBox);
    name_ = new QLabel(patientBox);
    birthDate_ = new QLabel(patientBox);
    sex_ = new QLabel(patientBox);
    patientForm->addRow(QStringLiteral("Number:"), number_);
    patientForm->addRow(QStringLiteral("Name:"), name_);
    patientForm->addRow(QStringLiteral("B.O.D:"), birthDate_);
    patientForm->addRow(QStringLiteral("Sex:"), sex_);

    patients_ = new PatientListPanel(*context_.state, context_.db, this);
    patients_->model()->setLatestDateThreshold(0);
    status_ = new QLabel(QStringLiteral("Please select patient, or create a new record, to save measurement data."), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(patientBox);
    layout->addWidget(patients_, 1);
    layout->addWidget(status_);

    patients_->grid()->installEventFilter(this);
    connect(patients_, &PatientListPanel::currentPatientChanged, this, &TKasave::PatientRowChange);
    connect(patients_, &PatientListPanel::patientDoubleClicked, this, &TKasave::PatientGridDoubleClick);
    connect(patients_, &PatientListPanel::searchDone, this, &TKasave::SearchDone);

    // Opening.
    const CurrentPatient& current = context_.state->patient;
    save_->setEnabled(!current.number.trimmed().isEmpty());
    patients_->open();
    writeCounts();
    if (patients_->locateNumberIgnoringCase(current.number)) {
        // The stored row is taken as it stands, so the measurement is filed under the number
        // the patient list shows (whatever letter case the current patient's number has).
        select(patients_->currentPatient());
        patients_->grid()->setFocus();
    } else {
        select(std::nullopt);
        sex_->setText(genderText(current.isMale));
        patients_->searchBox()->setFocus();
    }
}

bool TKasave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == patients_->grid() && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        setHeadingFocused(patients_->grid(), event->type() == QEvent::FocusIn);
    return QDialog::eventFilter(watched, event);
}

QStringList TKasave::shownPatient() const { return {number_->text(), name_->text(), birthDate_->text(), sex_->text()}; }
QString TKasave::statusText() const { return status_->text(); }

void TKasave::writeCounts() { patients_->setCountsText(formatInteger(patients_->count(), 6)); }

void TKasave::select(const std::optional<PatientRecord>& patient)
{
    selected_ = patient;
    save_->setEnabled(patient.has_value());
    number_->setText(patient ? patient->number : QString());
    name_->setText(patient ? patient->name : QString());
    birthDate_->setText(patient && patient->birthDate > 0 ? shortDate(patient->birthDate) : QString());
    sex_->setText(patient ? genderText(patient->male) : QString());
}

void TKasave::PatientRowChange()
{
    if (const auto patient = patients_->currentPatient()) select(patient);
}

void TKasave::SearchDone() { PatientRowChange(); }

void TKasave::PatientGridDoubleClick()
{
    PatientRowChange();
    if (selected_ && showMessage(MessageKind::InformationQuestion, kSaveQuestion)) save();
}

void TKasave::SaveValueClick()
{
    if (selected_) save();
}

void TKasave::save()
{
    const PatientRecord& patient = *selected_;
    ProgramState& state = *context_.state;
    MeasurementRecord row;
    row.patientNumber = patient.number;
    row.dateTime = state.measurementDateTime;
    row.highPotential = state.highPotential;
    row.memo = memoFromLines(state.measurementMemo);
    row.values = context_.measurement->values;
    row.hasQuality = true;
    row.quality = context_.measurement->quality;

    // The row and the patient's latest date are stored together or not at all.
    Savepoint work(context_.db);
    QString error = work.error();
    if (error.isEmpty()) error = appendMeasurement(context_.db, row);
    if (error.isEmpty()) {
        const auto stored = patientByRowId(context_.db, patient.rowId);
        if (stored && stored->latestMeasurement < row.dateTime) error = setLatestMeasurement(context_.db, patient.number, row.dateTime);
    }
    if (error.isEmpty()) error = work.release();
    if (!error.isEmpty()) {
        work.rollback();
        showMessage(MessageKind::ImportantNotice, QStringLiteral("The measurement could not be saved:\n") + error);
        return;
    }

    state.patient.number = patient.number;
    state.patient.name = patient.name;
    state.patient.isMale = patient.male;
    state.patient.birthDate = patient.birthDate;
    state.patient.address = patient.address;
    state.patient.telephone = patient.telephone;
    state.currentMeasurementKey = int(row.key);
    accept();
}

void TKasave::NewPatientClick()
{
    const int previousRow = patients_->currentRow();
    TKaREdit editor(PatientEditMode::NewFromSave, context_.db, *context_.state, std::nullopt, this);
    context_.run(editor);
    if (editor.patientAdded()) {
        context_.sound(kConfirmSignal);
        patients_->reopen();
        patients_->locateNumberIgnoringCase(editor.savedNumber());
        select(patients_->currentPatient());
        writeCounts();
        patients_->grid()->setFocus();
        if (selected_ && showMessage(MessageKind::InformationQuestion, kSaveQuestion)) save();
        return;
    }
    if (previousRow >= 0) patients_->selectRow(previousRow);
    if (selected_ && !selected_->number.trimmed().isEmpty()) {
        save_->setEnabled(true);
        patients_->grid()->setFocus();
    } else {
        save_->setEnabled(false);
        patients_->searchBox()->setFocus();
    }
}

void TKasave::ExitClick() { reject(); }

}  // namespace tork
