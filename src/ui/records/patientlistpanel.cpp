#include "ui/records/patientlistpanel.h"

#include "core/app/formats.h"
#include "core/records/recordedits.h"
#include "ui/records/gridheading.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tork {

namespace {

bool isSearchableColumn(int column)
{
    switch (column) {
    case 1: case 2: case 4: case 7: case 8: case 9: case 10: case 11: return true;
    default: return false;
    }
}

constexpr int kBirthDateColumn = 4;

QPixmap indicatorPicture(SearchIndicator state)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour;
    switch (state) {
    case SearchIndicator::Unavailable: colour = QColor(0xC0, 0xC0, 0xC0); break;
    case SearchIndicator::Ready: colour = QColor(0x30, 0x60, 0xD0); break;
    case SearchIndicator::Found: colour = QColor(0x20, 0xA0, 0x20); break;
    case SearchIndicator::NotFound: colour = QColor(0xE0, 0x20, 0x20); break;
    }
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawEllipse(2, 2, 12, 12);
    return picture;
}

QString indicatorHint(SearchIndicator state)
{
    switch (state) {
    case SearchIndicator::Unavailable: return QStringLiteral("No search in this column");
    case SearchIndicator::Ready: return QStringLiteral("Ready to search");
    case SearchIndicator::Found: return QStringLiteral("Found");
    case SearchIndicator::NotFound: return QStringLiteral("Not found");
    }
    return {};
}

}  // namespace

PatientListPanel::PatientListPanel(ProgramState& state, QSqlDatabase db, QWidget* parent)
    : QWidget(parent), state_(state), model_(new PatientListModel(std::move(db), this))
{
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Search: "), this));
    searchBox_ = new QLineEdit(this);
    searchBox_->setMaximumWidth(220);
    searchRow->addWidget(searchBox_);
    searchButton_ = new QPushButton(QStringLiteral("Start Searching"), this);
    searchButton_->setAutoDefault(false);   // Enter elsewhere in the window is no search
    searchRow->addWidget(searchButton_);
    indicatorLabel_ = new QLabel(this);
    searchRow->addWidget(indicatorLabel_);
    dateHint_ = new QLabel(this);
    searchRow->addWidget(dateHint_);
    searchRow->addStretch(1);
    searchRow->addWidget(new QLabel(QStringLiteral("Total Records:"), this));
    counts_ = new QLabel(this);
    searchRow->addWidget(counts_);

    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSortingEnabled(false);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setSortIndicatorShown(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {56, 110, 160, 64, 90, 48, 160, 110, 200, 160, 110, 110};
    for (int c = 0; c < PatientListModel::ColumnCount; ++c) grid_->setColumnWidth(c, widths[c]);
    setHeadingFocused(grid_, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addWidget(grid_, 1);

    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &PatientListPanel::HeaderClick);
    connect(searchButton_, &QPushButton::clicked, this, &PatientListPanel::SearchButtonClick);
    connect(searchBox_, &QLineEdit::returnPressed, this, [this] {
        if (!searchBox_->text().trimmed().isEmpty()) SearchButtonClick();
    });
    connect(searchBox_, &QLineEdit::textEdited, this, &PatientListPanel::SearchTextChange);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { emit currentPatientChanged(); });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit patientDoubleClicked();
    });
}

int PatientListPanel::sortColumn() const
{
    const int key = state_.patientSortColumn == 0 ? -1 : state_.patientSortColumn;
    return std::clamp(std::abs(key), 1, 11);
}

bool PatientListPanel::sortDescending() const { return state_.patientSortColumn <= 0; }

void PatientListPanel::open()
{
    searchBox_->clear();
    applySearchState();
    model_->reopen(PatientOrder::fromSortKey(state_.patientSortColumn));
}

void PatientListPanel::reopen()
{
    const int row = currentRow();
    const auto previous = currentPatient();
    model_->reopen(PatientOrder::fromSortKey(state_.patientSortColumn));
    if (previous && locateNumberIgnoringCase(previous->number)) return;
    if (row >= 0) selectRow(row);
}

void PatientListPanel::applySearchState()
{
    const int column = sortColumn();
    const bool searchable = isSearchableColumn(column);
    searchBox_->setEnabled(searchable);
    searchBox_->setStyleSheet(searchable ? QString() : QStringLiteral("QLineEdit { background: #C0C0C0; }"));
    searchButton_->setEnabled(searchable && !searchBox_->text().trimmed().isEmpty());
    showIndicator(searchable ? SearchIndicator::Ready : SearchIndicator::Unavailable);
    dateHint_->setVisible(column == kBirthDateColumn);
    if (column == kBirthDateColumn)
        dateHint_->setText(QStringLiteral("Example: ") + shortDate(toDayCount(QDateTime::currentDateTime()) - 5000));
    grid_->horizontalHeader()->setSortIndicator(column, sortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void PatientListPanel::showIndicator(SearchIndicator state)
{
    indicator_ = state;
    indicatorLabel_->setPixmap(indicatorPicture(state));
    indicatorLabel_->setToolTip(indicatorHint(state));
}

int PatientListPanel::currentRow() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::optional<PatientRecord> PatientListPanel::currentPatient() const { return model_->patientAt(currentRow()); }

void PatientListPanel::selectRow(int row)
{
    if (model_->count() == 0) return;
    row = std::clamp(row, 0, model_->count() - 1);
    grid_->setCurrentIndex(model_->index(row, PatientListModel::Number));
    // Centred on the index column, so the view does not scroll sideways.
    grid_->scrollTo(model_->index(row, PatientListModel::Index), QAbstractItemView::PositionAtCenter);
}

bool PatientListPanel::locateNumberPrefix(const QString& number)
{
    const auto row = model_->list().locateNumberPrefix(number);
    if (row) selectRow(*row);
    return row.has_value();
}

bool PatientListPanel::locateNumberIgnoringCase(const QString& number)
{
    const auto row = model_->list().locateNumberIgnoringCase(number);
    if (row) selectRow(*row);
    return row.has_value();
}

void PatientListPanel::setCountsText(const QString& text) { counts_->setText(text); }

void PatientListPanel::HeaderClick(int column)
{
    if (column == 0) column = 1;
    int key = state_.patientSortColumn == 0 ? -1 : state_.patientSortColumn;
    key = std::abs(key) == column ? -key : (key < 0 ? -column : column);
    state_.patientSortColumn = key;
    applySearchState();
    const auto previous = currentPatient();
    model_->reopen(PatientOrder::fromSortKey(key));
    if (!previous || !locateNumberPrefix(previous->number.trimmed())) selectRow(0);
}

void PatientListPanel::SearchTextChange()
{
    if (indicator_ != SearchIndicator::Unavailable) showIndicator(SearchIndicator::Ready);
    searchButton_->setEnabled(searchBox_->isEnabled() && !searchBox_->text().trimmed().isEmpty());
}

void PatientListPanel::SearchButtonClick()
{
    const QString text = searchBox_->text().trimmed();
    const int column = sortColumn();
    if (text.isEmpty() || !isSearchableColumn(column)) return;
    std::optional<int> row;
    if (column == kBirthDateColumn) {
        if (const auto date = parseSearchDate(text)) row = model_->list().locateDay(toDayCount(*date));
    } else {
        row = model_->list().locatePrefix(text);
    }
    if (row) selectRow(*row);
    showIndicator(row ? SearchIndicator::Found : SearchIndicator::NotFound);
    searchBox_->setFocus();
    emit searchDone(row.has_value());
}

}  // namespace tork
