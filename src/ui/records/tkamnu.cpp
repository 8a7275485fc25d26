#include "ui/records/tkamnu.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "core/records/recordedits.h"
#include "ui/records/valuegrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tork {

namespace {

constexpr double kUnknownDateLimit = 4000;
constexpr int kSideWidth = 64;
constexpr int kCellWidth = 58;

// The cell editor drops every character the grid does not take and hands Enter, with the
// edited text, to the window.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(std::function<void(const QString&)> returnPressed, QObject* parent)
        : QStyledItemDelegate(parent), returnPressed_(std::move(returnPressed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* editor = qobject_cast<QLineEdit*>(watched);
        if (editor && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                const QString text = editor->text();
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                returnPressed_(text);
                return true;
            }
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !TKamnu::GridKeyAccepted(text.at(0))) return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    std::function<void(const QString&)> returnPressed_;
};

const QString kRangeNote = QStringLiteral(" Please input value between 0.1 - 200.0. Value outside of the range will be invalid.");

}  // namespace

TKamnu::TKamnu(ManualEntryMode mode, RecordsContext context, std::optional<MeasurementRecord> row,
               const QString& patientNumber, QWidget* parent)
    : QDialog(parent), mode_(mode), context_(std::move(context)), row_(std::move(row)), patientNumber_(patientNumber)
{
    if (mode_ == ManualEntryMode::Modify && !row_) mode_ = ManualEntryMode::New;

    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    save_ = toolBar->addAction(QStringLiteral("    Save    "));
    save_->setToolTip(QStringLiteral("Save entered values and exit"));
    clear_ = toolBar->addAction(QStringLiteral("Clear"));
    clear_->setToolTip(QStringLiteral("Clear table values"));
    QAction* exit = toolBar->addAction(QStringLiteral("    Exit    "));
    exit->setToolTip(QStringLiteral("Abort and exit this menu"));
    connect(save_, &QAction::triggered, this, &TKamnu::SaveClick);
    connect(clear_, &QAction::triggered, this, &TKamnu::ClearClick);
    connect(exit, &QAction::triggered, this, &TKamnu::ExitClick);

    heading_ = new QLabel(this);
    QFont headingFont = heading_->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading_->setFont(headingFont);

    grid_ = new QTableWidget(this);
    setUpValueGrid(grid_, context_.state->tables, true);
    grid_->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    grid_->setColumnWidth(0, kSideWidth);
    grid_->verticalHeader()->setDefaultSectionSize(28);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setFixedSize(kSideWidth + 12 * kCellWidth + 2 * grid_->frameWidth(), 3 * 28 + 2 * grid_->frameWidth());
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    grid_->setItemDelegate(new CellDelegate(
        [this](const QString& text) {
            if (QTableWidgetItem* item = grid_->currentItem()) {
                filling_ = true;   // normalised once, by the Enter handler
                item->setText(text);
                filling_ = false;
            }
            GridReturnPressed();
        },
        grid_));
    grid_->installEventFilter(this);
    auto* sideLabels = new QHBoxLayout;
    sideLabels->setSpacing(0);
    sideLabels->addSpacing(kSideWidth + grid_->frameWidth());
    for (const char* group : {"Hand", "Foot"}) {
        auto* label = new QLabel(QString::fromLatin1(group), this);
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(6 * kCellWidth);
        sideLabels->addWidget(label);
    }
    sideLabels->addStretch(1);

    dateKnown_ = new QCheckBox(this);
    date_ = new QDateEdit(this);
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    time_ = new QTimeEdit(this);
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    potential_ = new QComboBox(this);
    potential_->addItems({QStringLiteral("NRM"), QStringLiteral("HI")});
    potential_->setToolTip(QStringLiteral(" Measuring potential  "));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateKnown_);
    dateRow->addWidget(new QLabel(QStringLiteral("Measurement Date:"), this));
    dateRow->addWidget(date_);
    dateRow->addSpacing(12);
    dateRow->addWidget(new QLabel(QStringLiteral("Measurement Time:"), this));
    dateRow->addWidget(time_);
    dateRow->addSpacing(12);
    dateRow->addWidget(new QLabel(QStringLiteral("Potential  "), this));
    dateRow->addWidget(potential_);
    dateRow->addStretch(1);

    auto* notesBox = new QGroupBox(QStringLiteral("Patient symptoms and notes"), this);
    auto* notesLayout = new QVBoxLayout(notesBox);
    notes_ = new QPlainTextEdit(notesBox);
    notesLayout->addWidget(notes_);

    status_ = new QLabel(this);
    status_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(heading_);
    layout->addLayout(sideLabels);
    layout->addWidget(grid_);
    layout->addLayout(dateRow);
    layout->addWidget(notesBox, 1);
    layout->addWidget(status_);

    connect(dateKnown_, &QCheckBox::clicked, this, &TKamnu::DateKnownClick);
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->row() > 0 && item->column() > 0) GridCellLeave(item->row(), item->column());
    });

    std::array<double, kPointCount> values{};
    bool high = false;
    const double now = toDayCount(QDateTime::currentDateTime());
    if (mode_ == ManualEntryMode::Modify) {
        setWindowTitle(QStringLiteral("Modify Meridian Energy Value"));
        heading_->setText(QStringLiteral("Modify meridian energy values"));
        status_->setText(QStringLiteral("Modify the original data.") + kRangeNote);
        values = row_->values;
        high = row_->highPotential;
        notes_->setPlainText(row_->memo);
        const bool known = row_->dateTime >= kUnknownDateLimit;
        setPickers(known, known ? row_->dateTime : now);
    } else {
        setWindowTitle(QStringLiteral("Enter New Meridian Energy Value"));
        heading_->setText(QStringLiteral("Manual entry of meridian energy values"));
        status_->setText(QStringLiteral("Add new meridian energy data.") + kRangeNote);
        if (mode_ == ManualEntryMode::Current) {
            values = context_.measurement->values;
            high = context_.state->highPotential;
            notes_->setPlainText(context_.state->measurementMemo.join(u'\n'));
            const double when = context_.state->measurementDateTime;
            setPickers(true, when >= kUnknownDateLimit ? when : now);
        } else {
            setPickers(true, now);
        }
    }
    potential_->setCurrentIndex(high ? 1 : 0);
    fill(values);
    resize(880, 460);
}

QString TKamnu::heading() const { return heading_->text(); }
QString TKamnu::statusText() const { return status_->text(); }

bool TKamnu::GridKeyAccepted(QChar c) { return isManualEntryCharacter(c); }

void TKamnu::setPickers(bool known, double dayCount)
{
    const QDateTime when = fromDayCount(dayCount);
    date_->setDate(when.date());
    time_->setTime(when.time());
    dateKnown_->setChecked(known);
    date_->setEnabled(known);
    time_->setEnabled(known);
}

void TKamnu::DateKnownClick()
{
    date_->setEnabled(dateKnown_->isChecked());
    time_->setEnabled(dateKnown_->isChecked());
}

void TKamnu::fill(const std::array<double, kPointCount>& values)
{
    filling_ = true;
    fillValueGrid(grid_, context_.state->tables, values, [](double v) { return v == 0 ? QString() : formatFixed(v, 3, 1); });
    filling_ = false;
    grid_->setCurrentCell(1, 1);
    clear_->setEnabled(std::any_of(values.begin(), values.end(), [](double v) { return v != 0; }));
}

QString TKamnu::cellName(int row, int column) const
{
    return meridianInfo(context_.state->tables.meridianOrder(column)).abbreviation + (row == 1 ? QStringLiteral(" Left") : QStringLiteral(" Right"));
}

bool TKamnu::normalise(QTableWidgetItem* item, bool report)
{
    const auto number = parseCellNumber(item->text());
    if (!number) {
        if (report)
            showMessage(MessageKind::CautionNotice, QStringLiteral("\"%1\" in %2 is not a number.\r\nPlease input a value between 0.1 and 200.0.")
                                                        .arg(item->text().trimmed(), cellName(item->row(), item->column())));
        return false;
    }
    const QString text = cellText(*number);
    if (item->text() != text) {
        filling_ = true;
        item->setText(text);
        filling_ = false;
    }
    if (!text.isEmpty()) clear_->setEnabled(true);
    return true;
}

bool TKamnu::GridCellLeave(int row, int column)
{
    QTableWidgetItem* item = grid_->item(row, column);
    return item && row > 0 && column > 0 ? normalise(item, true) : true;
}

void TKamnu::GridReturnPressed()
{
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (row < 1 || column < 1) return;
    QTableWidgetItem* item = grid_->item(row, column);
    if (!normalise(item, true) || item->text().isEmpty()) return;
    if (row == 1) grid_->setCurrentCell(column < 12 ? 1 : 2, column < 12 ? column + 1 : 1);
    else if (column < 12) grid_->setCurrentCell(2, column + 1);
}

void TKamnu::GridExit()
{
    for (int row = 1; row <= 2; ++row)
        for (int column = 1; column <= 12; ++column) normalise(grid_->item(row, column), false);
}

bool TKamnu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !grid_->indexWidget(grid_->currentIndex())) {
                GridReturnPressed();
                return true;
            }
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !GridKeyAccepted(text.at(0))) return true;
        } else if (event->type() == QEvent::FocusOut && !grid_->indexWidget(grid_->currentIndex())) {
            GridExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

double TKamnu::enteredDateTime() const
{
    if (!dateKnown_->isChecked()) return 0;
    const QTime time = time_->time();
    return toDayCount(QDateTime(date_->date(), QTime(time.hour(), time.minute(), time.second())));
}

void TKamnu::SaveClick()
{
    commitOpenEditor();
    std::array<double, kPointCount> values{};
    for (int row = 1; row <= 2; ++row) {
        for (int column = 1; column <= 12; ++column) {
            QTableWidgetItem* item = grid_->item(row, column);
            if (!normalise(item, true)) {
                grid_->setCurrentCell(row, column);
                return;   // nothing is stored until every cell is a number
            }
            values[pointOfCell(context_.state->tables, column, row) - 1] = storedCellValue(*parseCellNumber(item->text()));
        }
    }
    const double dateTime = enteredDateTime();
    const bool high = potential_->currentIndex() == 1;
    const QString notes = notes_->toPlainText();
    ProgramState& state = *context_.state;

    QString error;
    switch (mode_) {
    case ManualEntryMode::Modify:
        error = updateEnteredValues(context_.db, row_->key, dateTime, high, notes, values);
        break;
    case ManualEntryMode::New: {
        MeasurementRecord record;
        record.patientNumber = patientNumber_;
        record.dateTime = dateTime;
        record.highPotential = high;
        record.memo = notes;
        record.values = values;
        error = appendMeasurement(context_.db, record);
        break;
    }
    case ManualEntryMode::Current:
        state.measurementDateTime = dateTime;
        state.highPotential = high;
        state.measurementMemo = linesFromMemo(notes);
        // The values in memory are no longer those of a stored row.
        state.currentMeasurementKey = 0;
        takeCurrentValues(context_, values, context_.measurement->quality);
        break;
    }
    if (!error.isEmpty()) {
        showMessage(MessageKind::ImportantNotice, QStringLiteral("The measurement could not be saved:\n") + error);
        return;
    }
    state.chartChoices.fill(1);
    accept();
}

void TKamnu::ClearClick()
{
    if (!showMessage(MessageKind::InformationQuestion, QStringLiteral("Are you sure you want to clear this meridian energy data?")))
        return;
    fill({});
    clear_->setEnabled(false);
    potential_->setCurrentIndex(0);
    setPickers(true, toDayCount(QDateTime::currentDateTime()));
}

void TKamnu::ExitClick() { reject(); }

void TKamnu::commitOpenEditor()
{
    if (QWidget* editor = grid_->indexWidget(grid_->currentIndex())) {
        emit grid_->itemDelegate()->commitData(editor);
        emit grid_->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

}  // namespace tork
