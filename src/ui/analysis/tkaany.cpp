#include "ui/analysis/tkaany.h"

#include "core/app/formats.h"
#include "core/app/messages.h"
#include "drawing/charts/chartcanvas.h"
#include "drawing/charts/ecipie.h"
#include "ui/analysis/chartview.h"
#include "ui/widgets/lamp.h"
#include "ui/widgets/segmentedbar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace tork {
namespace {

// The tabs this window has, in their order; the applications and print tabs join later.
constexpr std::array<AnalysisTab, 6> kTabs{AnalysisTab::EnergyReport, AnalysisTab::Charts,   AnalysisTab::Analysis,
                                           AnalysisTab::Protocols,    AnalysisTab::Dietary, AnalysisTab::Notes};

QString tabStatusText(AnalysisTab tab)
{
    switch (tab) {
    case AnalysisTab::EnergyReport: return QStringLiteral("Analysis is gender-sensitive.");
    case AnalysisTab::Charts: return QStringLiteral("Average body energy data varies with each individual patient.");
    case AnalysisTab::Analysis:
    case AnalysisTab::Protocols:
    case AnalysisTab::Dietary:
    case AnalysisTab::Applications: return QStringLiteral("Select desired diagnosis category.");
    case AnalysisTab::Notes: return QStringLiteral("Record patient symptoms and remedial dispositions.");
    case AnalysisTab::Print: return QStringLiteral("Select your preferences before printing.");
    }
    return {};
}

const QColor kGreen(0, 128, 0);
const QColor kAmber(251, 214, 4);
const QColor kRed(255, 0, 0);
const QColor kOlive(128, 128, 0);
const QColor kScoreGreen(53, 210, 45);
const QColor kBlue(0, 0, 255);
const QColor kOrange(238, 149, 21);

// Green for state 0, red for 3 either way, amber between (the autonomic state is 0..3).
QColor stateBarColour(int state)
{
    if (state == 0) return kGreen;
    if (std::abs(state) == 3) return kRed;
    return kAmber;
}

QString fixed(double value, int width, int decimals) { return formatFixed(value, width, decimals); }

QTableWidgetItem* cell(const QString& text, const QColor& colour = Qt::black, bool bold = false)
{
    auto* item = new QTableWidgetItem(text);
    item->setForeground(colour);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

// A score cell: "10.0" shows as "[10.0]" in blue, the others in their class colour.
QTableWidgetItem* scoreCell(double score, bool bold)
{
    const QString text = fixed(score, 3, 1);
    if (text.trimmed() == "10.0") return cell(QStringLiteral("[10.0]"), kBlue, bold);
    return cell(text, charts::scoreTextColour(score), bold);
}

bool isUnfinished(const MeasurementRecord& m)
{
    for (double v : m.values)
        if (!(v > 0)) return true;
    return false;
}

}  // namespace

TKaany::TKaany(const RecordsContext& context, const ReferenceTexts& texts, QWidget* parent)
    : QDialog(parent), context_(context), texts_(texts)
{
    setWindowTitle(QStringLiteral("Data Analysis"));
    auto* root = new QVBoxLayout(this);
    pages_ = new QTabWidget;
    pages_->addTab(buildEnergyReport(), QStringLiteral("Energy Report"));
    pages_->setTabToolTip(0, QStringLiteral("Body energy and five element reports"));
    pages_->addTab(buildCharts(), QStringLiteral("Charts"));
    pages_->addTab(buildListTab(ListKind::Analysis), QStringLiteral("Analysis"));
    pages_->addTab(buildListTab(ListKind::Protocols), QStringLiteral("Protocols"));
    pages_->addTab(buildListTab(ListKind::Dietary), QStringLiteral("Dietary"));
    pages_->addTab(buildNotes(), QStringLiteral("Notes"));
    root->addWidget(pages_);
    auto* bottom = new QHBoxLayout;
    status_ = new QStatusBar;
    status_->setSizeGripEnabled(false);
    bottom->addWidget(status_, 1);
    auto* exit = new QPushButton(QStringLiteral("Exit"));
    connect(exit, &QPushButton::clicked, this, &TKaany::ExitClick);
    bottom->addWidget(exit);
    root->addLayout(bottom);

    openMeasurement();
    connect(pages_, &QTabWidget::currentChanged, this, &TKaany::PageControlChange);
}

TKaany::~TKaany() = default;

// ---- layout ----

QLabel* TKaany::addField(QFormLayout* form, const QString& caption)
{
    auto* value = new QLabel;
    form->addRow(caption, value);
    fields_.emplace_back(caption, value);
    return value;
}

QTableWidget* TKaany::buildHistoryGrid()
{
    auto* grid = new QTableWidget(0, 3);
    grid->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("Meas. Date"), QStringLiteral("Time")});
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setDefaultSectionSize(72);
    grid->setColumnWidth(0, 40);
    grid->setMinimumWidth(40 + 2 * 72 + 24);
    connect(grid, &QTableWidget::cellClicked, this, [this](int row, int) { HistoryGridSelect(row); });
    return grid;
}

QWidget* TKaany::buildEnergyReport()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    auto* patient = new QGroupBox;
    auto* form = new QFormLayout(patient);
    for (const char* caption : {"No:", "Name:", "D.O.B.", "Tel No.:", "Potential:", "Gender:", "Age:"})
        addField(form, QString::fromLatin1(caption));
    highPotential_ = new QLabel(QStringLiteral("HI Potential"));
    highPotential_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    form->addRow(highPotential_);
    layout->addWidget(patient, 0, 0);

    auto* states = new QGroupBox(QStringLiteral(" Body Energy and Mental State  "));
    auto* grid = new QGridLayout(states);
    const std::array<const char*, 5> captions{"Body Energy:", "Mental state:", "Musculoskeletal system:", "Metabolism function:",
                                              "Autonomic nerves balance:"};
    const std::array<int, 5> parts{150, 20, 20, 20, 40};
    for (int row = 0; row < 5; ++row) {
        StateRow& r = stateRows_[row];
        grid->addWidget(new QLabel(QString::fromLatin1(captions[row])), row * 2, 0);
        r.figures = new QLabel;
        r.bar = new SegmentedBar;
        r.bar->setSegments(parts[row] > 40 ? 30 : parts[row]);
        r.range = new QLabel;
        r.statement = new QLabel;
        r.statement->setWordWrap(true);
        grid->addWidget(r.figures, row * 2, 1);
        grid->addWidget(r.bar, row * 2, 2);
        grid->addWidget(r.range, row * 2, 3);
        grid->addWidget(r.statement, row * 2 + 1, 0, 1, 4);
    }
    fields_.emplace_back(QStringLiteral("Energy Average:"), stateRows_[0].figures);
    lowEnergyLamp_ = new Lamp;
    grid->addWidget(lowEnergyLamp_, 0, 4);
    layout->addWidget(states, 0, 1, 2, 1);

    auto* eci = new QGroupBox;
    auto* eciLayout = new QVBoxLayout(eci);
    eciLayout->addWidget(new QLabel(QStringLiteral("Energetic Composite Index E.C.I.")));
    indexFigure_ = new QLabel;
    indexFigure_->setStyleSheet(QStringLiteral("font-family: 'Times New Roman'; font-size: 28pt; font-weight: bold; color: blue"));
    indexCaption_ = new QLabel;
    indexSelector_ = new QComboBox;
    indexSelector_->addItems({QStringLiteral(" Disable"), QStringLiteral("  E.C.I."), QStringLiteral("Average")});
    eciLayout->addWidget(indexFigure_);
    eciLayout->addWidget(indexCaption_);
    eciLayout->addWidget(indexSelector_);
    layout->addWidget(eci, 1, 0);

    scores_ = new QTableWidget(14, 4);
    scores_->horizontalHeader()->hide();
    scores_->verticalHeader()->hide();
    scores_->horizontalHeader()->setDefaultSectionSize(56);
    scores_->verticalHeader()->setDefaultSectionSize(22);
    scores_->setFixedWidth(4 * 56 + 4);
    layout->addWidget(scores_, 0, 2, 3, 1);

    auto* valueBox = new QWidget;
    auto* valueLayout = new QVBoxLayout(valueBox);
    auto* valueHead = new QHBoxLayout;
    valueCaption_ = new QLabel;
    valueToggle_ = new QPushButton(QStringLiteral("Values / Quality"));
    connect(valueToggle_, &QPushButton::clicked, this, &TKaany::ValueTableToggleClick);
    valueHead->addWidget(valueCaption_);
    valueHead->addStretch();
    valueHead->addWidget(valueToggle_);
    valueLayout->addLayout(valueHead);
    values_ = new QTableWidget(3, 13);
    values_->horizontalHeader()->hide();
    values_->verticalHeader()->hide();
    values_->horizontalHeader()->setDefaultSectionSize(48);
    values_->verticalHeader()->setDefaultSectionSize(22);
    values_->setColumnWidth(0, 52);
    values_->setFixedHeight(3 * 22 + 4);
    valueLayout->addWidget(values_);
    auto* dates = new QFormLayout;
    addField(dates, QStringLiteral("Avg:"));
    addField(dates, QStringLiteral("Measurement Date:"));
    addField(dates, QStringLiteral("Measurement Time:"));
    addField(dates, QStringLiteral("Measurement Age:"));
    valueLayout->addLayout(dates);
    layout->addWidget(valueBox, 2, 0, 1, 2);

    auto* historyBox = new QGroupBox(QStringLiteral("History Records"));
    auto* historyLayout = new QVBoxLayout(historyBox);
    history_ = buildHistoryGrid();
    unfinished_ = new QLabel(QStringLiteral("Unfinished"));
    unfinished_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    unfinished_->hide();
    historyLayout->addWidget(history_);
    historyLayout->addWidget(unfinished_);
    layout->addWidget(historyBox, 0, 3, 3, 1);

    connect(indexSelector_, &QComboBox::activated, this, &TKaany::IndexSelectorChange);
    return page;
}

QWidget* TKaany::buildCharts()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* head = new QHBoxLayout;
    auto* categories = new QToolBar;
    for (int button = 0; button < 7; ++button) {
        auto* b = new QToolButton;
        b->setText(charts::categoryButtonHint(button));
        b->setToolTip(charts::categoryButtonHint(button));
        b->setCheckable(button > 0);
        connect(b, &QToolButton::clicked, this, [this, button] { CategoryButtonClick(button); });
        categories->addWidget(b);
        categoryButtons_[button] = b;
    }
    head->addWidget(categories);
    auto* variants = new QToolBar;
    for (int v = 1; v <= charts::kVariantCount; ++v) {
        auto* b = new QToolButton;
        b->setText(QString::number(v));
        b->setCheckable(true);
        connect(b, &QToolButton::clicked, this, [this, v] { VariantButtonClick(v); });
        variantButtons_[v - 1] = b;
        variants->addWidget(b);
    }
    head->addWidget(variants);
    head->addStretch();
    energyLowLabel_ = new QLabel(QStringLiteral("Energy Low"));
    energyLowLamp_ = new Lamp;
    head->addWidget(energyLowLabel_);
    head->addWidget(energyLowLamp_);
    layout->addLayout(head);

    chartTitle_ = new QLabel;
    chartTitle_->setAlignment(Qt::AlignCenter);
    layout->addWidget(chartTitle_);
    auto* body = new QHBoxLayout;
    chartView_ = new ChartView([this] {
        return charts::ChartData{record_, result_, context_.state->tables, context_.state->folder.dataPath()};
    });
    connect(chartView_, &ChartView::titleChanged, chartTitle_, &QLabel::setText);
    connect(chartView_, &ChartView::clicked, this, &TKaany::ChartCanvasClick);
    body->addWidget(chartView_, 1);
    chartHistory_ = buildHistoryGrid();
    chartHistory_->hide();
    body->addWidget(chartHistory_);
    layout->addLayout(body, 1);
    return page;
}

QWidget* TKaany::buildListTab(ListKind kind)
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    ListTab& tab = listTab(kind);
    layout->addWidget(new QLabel(QStringLiteral("Analysis List")), 0, 0);
    tab.list = new QListWidget;
    layout->addWidget(tab.list, 1, 0, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Detailed Explanation")), 0, 1);
    tab.explanation = new QTextEdit;
    tab.explanation->setReadOnly(true);
    layout->addWidget(tab.explanation, 1, 1);
    if (kind == ListKind::Analysis) {
        layout->addWidget(new QLabel(QStringLiteral("Ryodoraku Analysis")), 2, 1);
        ryodoraku_ = new QTextEdit;
        ryodoraku_->setReadOnly(true);
        layout->addWidget(ryodoraku_, 3, 1);
        connect(ryodoraku_, &QTextEdit::selectionChanged, this, [this] { updatePaste(ListKind::Analysis); });
    }
    auto* buttons = new QHBoxLayout;
    tab.all = new QPushButton(QStringLiteral("All"));
    tab.all->setToolTip(QStringLiteral("Selects entire content for paste"));
    tab.paste = new QPushButton(QStringLiteral("Paste"));
    tab.paste->setToolTip(QStringLiteral("To paste selected content into \"Dispositions\" tab"));
    tab.paste->setEnabled(false);
    buttons->addWidget(tab.all);
    buttons->addWidget(tab.paste);
    buttons->addStretch();
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 2);

    connect(tab.list, &QListWidget::currentRowChanged, this, [this, kind](int row) {
        if (row >= 0) ListClick(kind, row);
    });
    connect(tab.explanation, &QTextEdit::selectionChanged, this, [this, kind] { updatePaste(kind); });
    connect(tab.all, &QPushButton::clicked, this, [this, kind] { AllClick(kind); });
    connect(tab.paste, &QPushButton::clicked, this, [this, kind] { PasteClick(kind); });
    return page;
}

QWidget* TKaany::buildNotes()
{
    notes_ = new QPlainTextEdit;
    notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(notes_, &QPlainTextEdit::textChanged, this, &TKaany::NotesChange);
    return notes_;
}

// ---- opening and analysing ----

void TKaany::openMeasurement()
{
    const ProgramState& state = *context_.state;
    const CurrentMeasurement& m = *context_.measurement;
    record_ = AnalysisRecord();
    record_.values = m.values;
    record_.quality = m.quality;
    record_.measuredAt = state.measurementDateTime;
    record_.highPotential = state.highPotential;
    record_.measurementKey = state.currentMeasurementKey;
    record_.notes = state.measurementMemo.join(QLatin1Char('\n'));
    record_.patientNo = state.patient.number;
    record_.name = state.patient.name;
    record_.telephone = state.patient.telephone;
    record_.isMale = state.patient.isMale;
    record_.birthDate = state.patient.birthDate;

    suppressSync_ = true;
    notes_->blockSignals(true);
    notes_->setPlainText(record_.notes);
    notes_->blockSignals(false);
    analyse();
    notesChanged_ = false;
    loadHistory();
    qualityMode_ = false;

    const int storedTab = context_.state->chartChoices[0];
    const auto found = std::find(kTabs.begin(), kTabs.end(), AnalysisTab(storedTab));
    pages_->setCurrentIndex(found == kTabs.end() ? 0 : int(found - kTabs.begin()));
    setStatus(tabStatusText(activeTab()));
    fillEverything();
    applyIndexSelector();
}

void TKaany::loadHistory()
{
    historyRows_.clear();
    if (!context_.state->patient.number.isEmpty() && context_.db.isOpen())
        historyRows_ = measurementsOf(context_.db, context_.state->patient.number);
    for (QTableWidget* grid : {history_, chartHistory_}) {
        grid->setRowCount(int(historyRows_.size()));
        for (int row = 0; row < int(historyRows_.size()); ++row) {
            const MeasurementRecord& m = historyRows_[row];
            const QString number = (isUnfinished(m) ? QStringLiteral("*") : QString()) + QString::number(row + 1);
            grid->setItem(row, 0, new QTableWidgetItem(number));
            grid->setItem(row, 1, new QTableWidgetItem(shortDate(m.dateTime)));
            grid->setItem(row, 2, new QTableWidgetItem(QLocale().toString(fromDayCount(m.dateTime).time(), QLocale::ShortFormat)));
            if (m.key == record_.measurementKey && record_.measurementKey > 0) grid->selectRow(row);
        }
        grid->setEnabled(!historyRows_.empty());
    }
    categoryButtons_[0]->setEnabled(!historyRows_.empty());
}

void TKaany::analyse()
{
    result_ = computeAnalysis(record_, context_.state->tables.compensationFactors());
    lists_ = buildAnalysisTexts(result_);
}

void TKaany::fillEverything()
{
    for (ListTab& tab : listTabs_) tab.list->clear();
    drawCurrentChart();
    fillEnergyReport();
    fillLists();
}

void TKaany::fillEnergyReport()
{
    const AnalysisRecord& r = record_;
    const AnalysisResult& a = result_;
    const bool known = r.birthDate > 0;
    auto field = [this](const QString& caption) {
        for (const auto& [name, label] : fields_)
            if (name == caption) return label;
        return static_cast<QLabel*>(nullptr);
    };
    field("No:")->setText(r.patientNo);
    field("Name:")->setText(r.name);
    field("D.O.B.")->setText(known ? shortDate(r.birthDate) : QString());
    field("Tel No.:")->setText(r.telephone);
    field("Age:")->setText(known ? fixed(ageInYears(r.birthDate, toDayCount(QDate::currentDate())), 3, 1) : QString());
    QLabel* potential = field("Potential:");
    potential->setText(r.highPotential ? QStringLiteral("HI (extended method)") : QStringLiteral("NRM (normal method)"));
    potential->setStyleSheet(r.highPotential ? QStringLiteral("color: red") : QStringLiteral("color: green"));
    highPotential_->setVisible(r.highPotential);
    QLabel* gender = field("Gender:");
    gender->setText(r.isMale ? QStringLiteral("Male") : QStringLiteral("Female"));
    gender->setStyleSheet(r.isMale ? QStringLiteral("color: green") : QStringLiteral("color: red"));

    struct Row {
        QString figures;
        double filled;
        int parts;
        QString range;
        int state;
    };
    auto ratioRow = [](const char* a1, double v1, const char* a2, double v2) {
        return QString::fromLatin1(a1) + fixed(v1, 6, 1) + QString::fromLatin1(a2) + fixed(v2, 6, 1) + " =" + fixed(v1 / v2, 5, 2);
    };
    const std::array<Row, 5> rows{{
        {fixed(a.energyAverage, 5, 1), double(roundHalfEven(a.energyAverage)), 150,
         r.isMale ? QStringLiteral("(30 - 64)") : QStringLiteral("(28 - 61)"), a.bodyEnergyState},
        {ratioRow("Up", a.upperMean, " / Down", a.lowerMean), double(roundHalfEven(a.upperMean / a.lowerMean * 10)), 20,
         r.isMale ? QStringLiteral("(0.88-1.19)") : QStringLiteral("(0.78-1.09)"), a.mentalState},
        {ratioRow("Left", a.leftMean, " / Right", a.rightMean), double(roundHalfEven(a.leftMean / a.rightMean * 10)), 20,
         QStringLiteral("(0.88-1.14)"), a.musculoskeletalState},
        {ratioRow("Yin", a.yinMean, " / Yang", a.yangMean), double(roundHalfEven(a.yinMean / a.yangMean * 10)), 20,
         QStringLiteral("(0.82-1.24)"), a.metabolismState},
        {ratioRow("Hi", a.tripleMax, " / Low", a.tripleMin), double(roundHalfEven(a.tripleMax / a.tripleMin * 10)), 40,
         QStringLiteral("(1.0-1.5)"), a.autonomicState},
    }};
    for (int i = 0; i < 5; ++i) {
        StateRow& s = stateRows_[i];
        s.figures->setText(rows[i].figures);
        s.bar->setPercent(int(std::lround(rows[i].filled * 100 / rows[i].parts)));
        s.bar->setColour(stateBarColour(rows[i].state));
        s.range->setText(rows[i].range);
        s.statement->setText(lists_.statements[i]);
    }
    lowEnergyLamp_->setVisible(a.energyLow);
    lowEnergyLamp_->setColour(a.energyLow ? QColor(Qt::red) : QColor());

    fillScoreTable();
    fillValueTable();
    field("Measurement Date:")->setText(r.measuredAt != 0 ? shortDate(r.measuredAt) : QString());
    field("Measurement Time:")
        ->setText(r.measuredAt != 0 ? QLocale().toString(fromDayCount(r.measuredAt).time(), QLocale::LongFormat) : QString());
    field("Measurement Age:")->setText(known && r.measuredAt != 0 ? fixed(ageInYears(r.birthDate, r.measuredAt), 3, 1) : QString());
}

void TKaany::fillScoreTable()
{
    const MeridianTables& tables = context_.state->tables;
    scores_->setItem(0, 0, cell(QString()));
    scores_->setItem(0, 1, cell(QStringLiteral("Left")));
    scores_->setItem(0, 2, cell(QStringLiteral("Right")));
    scores_->setItem(0, 3, cell(QStringLiteral("AVG.")));
    double leftSum = 0, rightSum = 0;
    for (int k = 1; k <= kMeridianCount; ++k) {
        const auto [lp, rp] = tables.orderedPointPair(k);
        const double left = result_.pointScore[lp - 1];
        const double right = result_.pointScore[rp - 1];
        leftSum += left;
        rightSum += right;
        scores_->setItem(k, 0, cell(meridianInfo(tables.meridianOrder(k)).abbreviation));
        scores_->setItem(k, 1, scoreCell(left, false));
        scores_->setItem(k, 2, scoreCell(right, false));
        scores_->setItem(k, 3, scoreCell((left + right) / 2, false));
    }
    scores_->setItem(13, 0, cell(QStringLiteral("Average"), kOrange, true));
    scores_->setItem(13, 1, scoreCell(leftSum / 12, true));
    scores_->setItem(13, 2, scoreCell(rightSum / 12, true));
    scores_->setItem(13, 3, scoreCell(result_.meridiansIndex, true));
}

void TKaany::fillValueTable()
{
    const MeridianTables& tables = context_.state->tables;
    valueCaption_->setText(qualityMode_ ? QStringLiteral("Data Quality Score") : QStringLiteral("Meridian Energy Values"));
    values_->setItem(0, 0, cell(QString()));
    values_->setItem(1, 0, cell(QStringLiteral("Left")));
    values_->setItem(2, 0, cell(QStringLiteral("Right")));
    for (int column = 1; column <= kMeridianCount; ++column) {
        values_->setItem(0, column, cell(meridianInfo(tables.meridianOrder(column)).abbreviation));
        for (int row = 1; row <= 2; ++row) {
            const int me = tables.positionPoint(MeridianTables::tablePosition(column, row));
            if (qualityMode_) {
                const double q = record_.quality[me - 1];
                const QColor colour = q < 60 ? kRed : q < 80 ? kOlive : kScoreGreen;
                values_->setItem(row, column, cell(q > 0 ? fixed(q, 3, 1) : QStringLiteral("0.0"), colour));
            } else {
                const int level = result_.pointLevel[me - 1];
                const QColor colour = level == 0 ? kScoreGreen : std::abs(level) == 1 ? kOlive : kRed;
                values_->setItem(row, column, cell(fixed(record_.values[me - 1], 3, 1), colour));
            }
        }
    }
    for (const auto& [name, label] : fields_)
        if (name == "Avg:") label->setText(fixed(qualityMode_ ? result_.qualityAverage : result_.energyAverage, 3, 1));
}

void TKaany::applyIndexSelector()
{
    const int selector = std::clamp(context_.state->settings.intValue(SettingLine::IndexSelector), 0, 2);
    indexSelector_->setCurrentIndex(selector);
    indexFigure_->setVisible(selector != 0);
    indexCaption_->setVisible(selector != 0);
    if (selector == 1) {
        indexFigure_->setText(fixed(result_.integratedIndex, 3, 1));
        indexCaption_->setText(QStringLiteral("Integrated Index"));
    } else if (selector == 2) {
        indexFigure_->setText(fixed(result_.meridiansIndex, 3, 1));
        indexCaption_->setText(QStringLiteral("Meridians Index"));
    }
}

// ---- charts ----

int TKaany::chartCategory() const { return std::clamp(context_.state->chartChoices[1], 1, charts::kChartCategoryCount); }

int TKaany::chartVariant() const
{
    const int category = chartCategory();
    if (category == charts::TimeCycleCategory) return 1;
    return std::clamp(context_.state->chartChoices[1 + category], 1, charts::kVariantCount);
}

void TKaany::drawCurrentChart()
{
    const int category = chartCategory();
    const int variant = chartVariant();
    for (int c = 1; c <= charts::kChartCategoryCount; ++c) categoryButtons_[c]->setChecked(c == category);
    for (int v = 1; v <= charts::kVariantCount; ++v) {
        const charts::VariantButton button = charts::variantButton(category, v);
        variantButtons_[v - 1]->setToolTip(button.hint);
        variantButtons_[v - 1]->setVisible(button.visible);
        variantButtons_[v - 1]->setChecked(v == variant);
    }
    energyLowLabel_->setVisible(result_.energyLow);
    energyLowLamp_->setVisible(result_.energyLow);
    energyLowLamp_->setColour(result_.energyLow ? QColor(Qt::red) : QColor());
    const auto choice = charts::chartForVariant(category, variant);
    chartView_->setChart(choice);
    if (activeTab() == AnalysisTab::Charts && choice) setStatus(charts::chartStatusText(*choice));
}

void TKaany::CategoryButtonClick(int category)
{
    if (category == 0) {
        chartHistory_->setVisible(!chartHistory_->isVisible());
        return;
    }
    context_.state->chartChoices[1] = category;
    chartHistory_->hide();
    drawCurrentChart();
}

void TKaany::VariantButtonClick(int variant)
{
    const int category = chartCategory();
    if (category != charts::TimeCycleCategory) context_.state->chartChoices[1 + category] = variant;
    chartHistory_->hide();
    drawCurrentChart();
}

void TKaany::ChartCanvasClick() { chartHistory_->hide(); }

// ---- tabs and status ----

AnalysisTab TKaany::activeTab() const
{
    const int index = pages_->currentIndex();
    return index >= 0 && index < int(kTabs.size()) ? kTabs[index] : AnalysisTab::EnergyReport;
}

void TKaany::showTab(AnalysisTab tab)
{
    const auto found = std::find(kTabs.begin(), kTabs.end(), tab);
    if (found != kTabs.end()) pages_->setCurrentIndex(int(found - kTabs.begin()));
}

void TKaany::PageControlChange(int)
{
    chartHistory_->hide();
    const AnalysisTab tab = activeTab();
    const auto choice = charts::chartForVariant(chartCategory(), chartVariant());
    setStatus(tab == AnalysisTab::Charts && choice ? charts::chartStatusText(*choice) : tabStatusText(tab));
}

void TKaany::setStatus(const QString& text) { status_->showMessage(text); }
QString TKaany::statusText() const { return status_->currentMessage(); }
QString TKaany::chartTitle() const { return chartTitle_->text(); }

// ---- energy report controls ----

void TKaany::IndexSelectorChange(int index)
{
    ProgramState& state = *context_.state;
    state.settings.setInt(SettingLine::IndexSelector, std::clamp(index, 0, 2));
    if (const QString error = state.saveSettings(); !error.isEmpty())
        showMessage(MessageKind::CautionNotice, error);
    applyIndexSelector();
}

void TKaany::ValueTableToggleClick()
{
    qualityMode_ = !qualityMode_;
    fillValueTable();
}

QString TKaany::valueTableCaption() const { return valueCaption_->text(); }

// ---- history ----

void TKaany::HistoryGridSelect(int row)
{
    if (row < 0 || row >= int(historyRows_.size())) return;
    const MeasurementRecord& m = historyRows_[row];
    for (QTableWidget* grid : {history_, chartHistory_}) grid->selectRow(row);
    const QString highlight = isUnfinished(m) ? QStringLiteral("red") : QStringLiteral("blue");
    for (QTableWidget* grid : {history_, chartHistory_})
        grid->setStyleSheet(QStringLiteral("QTableWidget { selection-background-color: %1; }").arg(highlight));
    if (isUnfinished(m)) {
        unfinished_->show();
        return;
    }
    unfinished_->hide();
    if (m.key == record_.measurementKey) return;
    saveNotes();  // before the history moves to another row

    record_.measuredAt = m.dateTime;
    record_.highPotential = m.highPotential;
    record_.notes = m.memo;
    record_.values = m.values;
    record_.quality = m.hasQuality ? m.quality : std::array<double, kPointCount>{};
    record_.measurementKey = int(m.key);
    notes_->blockSignals(true);
    notes_->setPlainText(record_.notes);
    notes_->blockSignals(false);
    notesChanged_ = false;
    qualityMode_ = false;
    suppressSync_ = true;
    analyse();
    fillEverything();
    applyIndexSelector();
}

// ---- interpretive lists ----

TKaany::ListTab& TKaany::listTab(ListKind kind) { return listTabs_[int(kind)]; }
const TKaany::ListTab& TKaany::listTab(ListKind kind) const { return listTabs_[int(kind)]; }
QListWidget* TKaany::list(ListKind kind) const { return listTab(kind).list; }
QTextEdit* TKaany::explanation(ListKind kind) const { return listTab(kind).explanation; }
QPushButton* TKaany::pasteButton(ListKind kind) const { return listTab(kind).paste; }

static const QList<ListEntry>& entriesOf(const AnalysisTexts& texts, ListKind kind)
{
    switch (kind) {
    case ListKind::Analysis: return texts.analysisList;
    case ListKind::Dietary: return texts.dietaryList;
    case ListKind::Protocols: break;
    }
    return texts.protocolsList;
}

void TKaany::fillLists()
{
    suppressSync_ = true;
    for (ListKind kind : {ListKind::Analysis, ListKind::Protocols, ListKind::Dietary}) {
        ListTab& tab = listTab(kind);
        tab.list->blockSignals(true);
        tab.list->clear();
        for (const ListEntry& entry : entriesOf(lists_, kind)) tab.list->addItem(entry.text);
        tab.list->blockSignals(false);
        tab.explanation->clear();
        tab.paste->setEnabled(false);
    }
    ryodoraku_->clear();
    for (ListKind kind : {ListKind::Analysis, ListKind::Dietary, ListKind::Protocols})
        if (list(kind)->count() > 0) list(kind)->setCurrentRow(0);
    suppressSync_ = false;
}

void TKaany::showExplanation(ListKind kind, int row)
{
    ListTab& tab = listTab(kind);
    const QList<ListEntry>& entries = entriesOf(lists_, kind);
    tab.explanation->clear();
    if (kind == ListKind::Analysis) ryodoraku_->clear();
    if (row < 0 || row >= entries.size()) return;
    const Explanation e = composeExplanation(kind, entries[row].key, result_, texts_);
    tab.explanation->setPlainText(e.lines.join(QLatin1Char('\n')));
    if (kind == ListKind::Analysis) ryodoraku_->setPlainText(e.ryodorakuLines.join(QLatin1Char('\n')));
}

void TKaany::ListClick(ListKind kind, int row)
{
    QListWidget* widget = list(kind);
    if (widget->currentRow() != row) {
        widget->blockSignals(true);
        widget->setCurrentRow(row);
        widget->blockSignals(false);
    }
    showExplanation(kind, row);
    const QList<ListEntry>& entries = entriesOf(lists_, kind);
    if (!suppressSync_ && row >= 0 && row < entries.size()) synchronise(kind, entries[row].key);
}

void TKaany::synchronise(ListKind from, int key)
{
    if (key < 1 || key > kMeridianCount) return;  // a state entry selects nothing elsewhere
    suppressSync_ = true;
    for (ListKind kind : {ListKind::Analysis, ListKind::Protocols, ListKind::Dietary}) {
        if (kind == from) continue;
        const QList<ListEntry>& entries = entriesOf(lists_, kind);
        int match = -1;
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].key == key) match = i;
        QListWidget* widget = list(kind);
        widget->blockSignals(true);
        if (match >= 0) {
            widget->setCurrentRow(match);
        } else {
            widget->setCurrentRow(-1);
            widget->clearSelection();
        }
        widget->blockSignals(false);
        showExplanation(kind, match);
    }
    suppressSync_ = false;
}

void TKaany::updatePaste(ListKind kind)
{
    bool selected = explanation(kind)->textCursor().hasSelection();
    if (kind == ListKind::Analysis) selected = selected || ryodoraku_->textCursor().hasSelection();
    pasteButton(kind)->setEnabled(selected);
}

void TKaany::AllClick(ListKind kind)
{
    std::vector<QTextEdit*> boxes{explanation(kind)};
    if (kind == ListKind::Analysis) {
        if (ryodoraku_->hasFocus())
            boxes = {ryodoraku_};
        else if (!explanation(kind)->hasFocus())
            boxes.push_back(ryodoraku_);
    }
    for (QTextEdit* box : boxes) box->selectAll();
    updatePaste(kind);
}

void TKaany::PasteClick(ListKind kind)
{
    std::vector<QTextEdit*> boxes{explanation(kind)};
    if (kind == ListKind::Analysis) boxes.push_back(ryodoraku_);
    QStringList lines = notes_->toPlainText().isEmpty() ? QStringList() : notes_->toPlainText().split(QLatin1Char('\n'));
    bool pasted = false;
    for (QTextEdit* box : boxes) {
        QTextCursor cursor = box->textCursor();
        if (!cursor.hasSelection()) continue;
        // The selection comes back with paragraph separators; the notes keep plain lines.
        lines << QString() << cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        cursor.clearSelection();
        box->setTextCursor(cursor);
        pasted = true;
    }
    if (pasted) notes_->setPlainText(lines.join(QLatin1Char('\n')));
    updatePaste(kind);
}

// ---- notes and closing ----

void TKaany::NotesChange() { notesChanged_ = true; }

void TKaany::saveNotes()
{
    if (!notesChanged_) return;
    const QString text = notes_->toPlainText();
    ProgramState& state = *context_.state;
    // The notes go back to the measurement window only when it holds this very measurement:
    // the same stored key, or the unsaved measurement it handed over.
    const bool heldByMeasurementWindow = record_.measurementKey == state.currentMeasurementKey;
    if (heldByMeasurementWindow) state.measurementMemo = text.split(QLatin1Char('\n'));
    if (record_.measurementKey > 0 && context_.db.isOpen()) {
        std::optional<MeasurementRecord> stored = findMeasurement(context_.db, record_.measurementKey);
        if (stored) {
            stored->memo = text;
            if (const QString error = updateMeasurement(context_.db, *stored); !error.isEmpty())
                showMessage(MessageKind::CautionNotice, error);
            for (MeasurementRecord& row : historyRows_)
                if (row.key == record_.measurementKey) row.memo = text;
        }
    }
    record_.notes = text;
    notesChanged_ = false;
}

void TKaany::ExitClick() { close(); }

void TKaany::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        context_.state->chartChoices[0] = int(activeTab());
        saveNotes();
        closed_ = true;
    }
    QDialog::closeEvent(event);
}

// ---- for tests ----

QString TKaany::fieldText(const QString& caption) const
{
    for (const auto& [name, label] : fields_)
        if (name == caption) return label->text();
    return {};
}

QString TKaany::statementText(int row) const { return stateRows_[row].statement->text(); }
bool TKaany::energyLowShown() const { return !energyLowLabel_->isHidden(); }

}  // namespace tork
