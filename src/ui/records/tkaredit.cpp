#include "ui/records/tkaredit.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/records/recordedits.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace tork {

namespace {
constexpr double kUnknownDateLimit = 4000;
}

TKaREdit::TKaREdit(PatientEditMode mode, QSqlDatabase db, const ProgramState& state, std::optional<PatientRecord> row,
                   QWidget* parent)
    : QDialog(parent), mode_(mode), db_(std::move(db)), row_(std::move(row))
{
    if (mode_ == PatientEditMode::Edit && !row_) mode_ = PatientEditMode::NewFromBrowser;
    const bool editing = mode_ == PatientEditMode::Edit;

    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    save_ = toolBar->addAction(QStringLiteral("Save"));
    save_->setToolTip(QStringLiteral("Save and exit"));
    QAction* exit = toolBar->addAction(QStringLiteral("     Exit     "));
    exit->setToolTip(QStringLiteral("Abort and exit"));
    connect(save_, &QAction::triggered, this, &TKaREdit::SaveClick);
    connect(exit, &QAction::triggered, this, &TKaREdit::ExitClick);

    auto lineEdit = [this](int longest) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(longest);
        edit->installEventFilter(this);
        return edit;
    };
    number_ = lineEdit(15);
    name_ = lineEdit(20);
    telephone_ = lineEdit(30);
    address_ = lineEdit(50);
    email_ = lineEdit(50);
    mobile_ = lineEdit(30);
    fax_ = lineEdit(30);
    birthKnown_ = new QCheckBox(this);
    birthDate_ = new QDateEdit(this);
    birthDate_->setCalendarPopup(true);
    birthDate_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    birthDate_->installEventFilter(this);
    male_ = new QRadioButton(QStringLiteral("Male"), this);
    female_ = new QRadioButton(QStringLiteral("Female"), this);
    male_->installEventFilter(this);
    female_->installEventFilter(this);
    memo_ = new QPlainTextEdit(this);

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(number_);
    numberRow->addWidget(new QLabel(QStringLiteral("(required)"), this));
    auto* birthRow = new QHBoxLayout;
    birthRow->addWidget(birthKnown_);
    birthRow->addWidget(birthDate_, 1);
    auto* genderBox = new QGroupBox(QStringLiteral("Gender "), this);
    auto* genderRow = new QHBoxLayout(genderBox);
    genderRow->addWidget(male_);
    genderRow->addWidget(female_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("No:"), numberRow);
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("D.O.B:"), birthRow);
    form->addRow(QStringLiteral("Tel No:"), telephone_);
    form->addRow(QStringLiteral("Address:"), address_);
    form->addRow(QStringLiteral("E-Mail:"), email_);
    form->addRow(QStringLiteral("Mobile Phone:"), mobile_);
    form->addRow(QStringLiteral("Fax No:"), fax_);
    form->addRow(genderBox);
    form->addRow(new QLabel(QStringLiteral("MEMO"), this));
    form->addRow(memo_);

    status_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addLayout(form, 1);
    layout->addWidget(status_);

    connect(number_, &QLineEdit::textChanged, this, &TKaREdit::NumberChange);
    connect(birthKnown_, &QCheckBox::clicked, this, &TKaREdit::BirthDateKnownClick);

    const QDate today = QDate::currentDate();
    if (editing) {
        setWindowTitle(QStringLiteral("Edit Patient Record"));
        status_->setText(QStringLiteral("Edit patient's basic data. Please select \"Save\" to confirm."));
        const PatientRecord& p = *row_;
        number_->setText(p.number.trimmed());
        name_->setText(p.name);
        telephone_->setText(p.telephone);
        address_->setText(p.address);
        email_->setText(p.email);
        mobile_->setText(p.mobile);
        fax_->setText(p.fax);
        memo_->setPlainText(p.memo);
        (p.male ? male_ : female_)->setChecked(true);
        const bool known = p.birthDate > kUnknownDateLimit;
        if (!known) defaultDate_ = today;
        birthDate_->setDate(known ? dateFromDayCount(p.birthDate) : today);
        birthDate_->setEnabled(known);
        birthKnown_->setChecked(known);
        savedNumber_ = p.number;
    } else {
        setWindowTitle(QStringLiteral("Add New Patient"));
        status_->setText(QStringLiteral("Number and gender are required."));
        (state.patient.isMale ? male_ : female_)->setChecked(true);
        defaultDate_ = today;
        birthDate_->setDate(today);
        birthDate_->setEnabled(false);
        birthKnown_->setChecked(false);
    }
    NumberChange();
    resize(460, 560);
}

QString TKaREdit::statusText() const { return status_->text(); }

void TKaREdit::NumberChange() { save_->setEnabled(!number_->text().trimmed().isEmpty()); }

bool TKaREdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == name_) NameReturnPressed();
            else if (watched == birthDate_) BirthDateReturnPressed();
            else FieldReturnPressed(static_cast<QWidget*>(watched));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TKaREdit::FieldReturnPressed(QWidget* field)
{
    const QList<QWidget*> chain{number_, name_, birthDate_, telephone_, address_, email_, mobile_, fax_, male_, female_, memo_};
    const int at = chain.indexOf(field);
    if (at < 0) return;
    for (int next = at + 1; next < chain.size(); ++next) {
        if (chain[next]->isEnabled()) {
            chain[next]->setFocus();
            return;
        }
    }
}

void TKaREdit::NameReturnPressed()
{
    birthKnown_->setChecked(true);
    birthDate_->setEnabled(true);
    birthDate_->setFocus();
}

void TKaREdit::BirthDateReturnPressed()
{
    telephone_->setFocus();
    if (defaultDate_.isValid() && birthDate_->date() == defaultDate_) {
        birthKnown_->setChecked(false);
        birthDate_->setEnabled(false);
    }
}

void TKaREdit::BirthDateKnownClick() { birthDate_->setEnabled(birthKnown_->isChecked()); }

PatientRecord TKaREdit::enteredRecord(const PatientRecord& base) const
{
    PatientRecord p = base;
    p.number = number_->text().trimmed();
    p.name = name_->text().trimmed();
    p.male = male_->isChecked();
    p.birthDate = birthKnown_->isChecked() ? toDayCount(birthDate_->date()) : 0;
    p.address = address_->text().trimmed();
    p.telephone = telephone_->text().trimmed();
    p.mobile = mobile_->text().trimmed();
    p.fax = fax_->text().trimmed();
    p.email = email_->text().trimmed();
    p.memo = memo_->toPlainText();
    return p;
}

bool TKaREdit::refuseTakenNumber(const QString& number)
{
    const auto holder = findPatient(db_, number, Qt::CaseInsensitive);
    if (!holder) return false;
    showMessage(MessageKind::CautionNotice, numberTakenMessage(holder->name));
    number_->setFocus();
    return true;
}

void TKaREdit::SaveClick()
{
    const QString number = number_->text().trimmed();
    if (number.isEmpty()) return;
    if (mode_ == PatientEditMode::Edit) {
        const QString previous = row_->number.trimmed();
        PatientRecord record = enteredRecord(*row_);
        if (number != previous) {
            if (refuseTakenNumber(number)) {
                number_->setText(previous);
                return;
            }
        } else {
            record.number = row_->number;   // the number is not rewritten
        }
        if (const QString error = updatePatient(db_, record, row_->number); !error.isEmpty()) {
            showMessage(MessageKind::ImportantNotice, QStringLiteral("The patient record could not be saved:\n") + error);
            return;
        }
        savedNumber_ = record.number;
        accept();
        return;
    }
    if (refuseTakenNumber(number)) return;
    PatientRecord record = enteredRecord(PatientRecord{});
    if (const QString error = appendPatient(db_, record); !error.isEmpty()) {
        showMessage(MessageKind::ImportantNotice, QStringLiteral("The patient record could not be saved:\n") + error);
        return;
    }
    patientAdded_ = true;
    savedNumber_ = record.number;
    accept();
}

void TKaREdit::ExitClick()
{
    patientAdded_ = false;
    reject();
}

}  // namespace tork
