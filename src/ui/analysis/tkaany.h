#pragma once
// The analysis window "Data Analysis": the measurement under analysis with its patient,
// value tables, state rows and statements, the E.C.I. figure, the chart canvas with its
// categories and variants, the interpretive lists with their explanations, and the notes.

#include "core/analysis/analysis.h"
#include "core/analysis/statements.h"
#include "core/records/patients.h"
#include "drawing/charts/chartcatalog.h"
#include "ui/records/recordscontext.h"

#include <QDialog>
#include <array>
#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QToolButton;

namespace tork {

class ChartView;
class Lamp;
class ReferenceTexts;
class SegmentedBar;

// The tabs by their place in the window's order; the window keeps the active one (and the
// chart category and variants) in the program state's chart choices between openings:
// choice 0 the tab, 1 the category, 2..6 the variants of categories 1..5.
enum class AnalysisTab : int { EnergyReport = 1, Charts, Analysis, Protocols, Dietary, Applications, Notes, Print };

class TKaany : public QDialog {
    Q_OBJECT
public:
    // Takes the measurement held by the measurement window (context.measurement with the time,
    // potential, key and notes of context.state) and the current patient.
    TKaany(const RecordsContext& context, const ReferenceTexts& texts, QWidget* parent = nullptr);
    ~TKaany() override;

    // Handlers, named after their controls and events.
    void PageControlChange(int index);
    void CategoryButtonClick(int category);  // 0 is "Recall Analysis Data"
    void VariantButtonClick(int variant);
    void ChartCanvasClick();
    void HistoryGridSelect(int row);
    void IndexSelectorChange(int index);
    void ValueTableToggleClick();
    void ListClick(ListKind list, int row);
    void AllClick(ListKind list);
    void PasteClick(ListKind list);
    void NotesChange();
    void ExitClick();

    // What the window shows, for tests.
    const AnalysisRecord& record() const { return record_; }
    const AnalysisResult& result() const { return result_; }
    QTabWidget* pages() const { return pages_; }
    AnalysisTab activeTab() const;
    void showTab(AnalysisTab tab);
    QString statusText() const;
    QString chartTitle() const;
    ChartView* chartView() const { return chartView_; }
    int chartCategory() const;
    int chartVariant() const;
    QToolButton* categoryButton(int button) const { return categoryButtons_[button]; }
    QToolButton* variantButton(int variant) const { return variantButtons_[variant - 1]; }
    QTableWidget* historyGrid() const { return history_; }
    QTableWidget* chartHistoryGrid() const { return chartHistory_; }
    QLabel* unfinishedLabel() const { return unfinished_; }
    QTableWidget* scoreTable() const { return scores_; }
    QTableWidget* valueTable() const { return values_; }
    QString valueTableCaption() const;
    QComboBox* indexSelector() const { return indexSelector_; }
    QLabel* indexFigure() const { return indexFigure_; }
    QLabel* indexCaption() const { return indexCaption_; }
    QListWidget* list(ListKind kind) const;
    QTextEdit* explanation(ListKind kind) const;
    QTextEdit* ryodorakuBox() const { return ryodoraku_; }
    QPushButton* pasteButton(ListKind kind) const;
    QPlainTextEdit* notes() const { return notes_; }
    // The text beside a caption such as "Name:" or "Energy Average:".
    QString fieldText(const QString& caption) const;
    QString statementText(int row) const;  // rows 0..4
    bool energyLowShown() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct ListTab {
        QListWidget* list = nullptr;
        QTextEdit* explanation = nullptr;
        QPushButton* all = nullptr;
        QPushButton* paste = nullptr;
    };
    struct StateRow {
        QLabel* figures = nullptr;
        SegmentedBar* bar = nullptr;
        QLabel* range = nullptr;
        QLabel* statement = nullptr;
    };

    QWidget* buildEnergyReport();
    QWidget* buildCharts();
    QWidget* buildListTab(ListKind kind);
    QWidget* buildNotes();
    QLabel* addField(QFormLayout* form, const QString& caption);
    QTableWidget* buildHistoryGrid();

    void openMeasurement();
    void loadHistory();
    void analyse();
    void fillEverything();
    void fillEnergyReport();
    void fillValueTable();
    void fillScoreTable();
    void applyIndexSelector();
    void drawCurrentChart();
    void fillLists();
    void showExplanation(ListKind kind, int row);
    void synchronise(ListKind from, int key);
    void updatePaste(ListKind kind);
    void saveNotes();
    ListTab& listTab(ListKind kind);
    const ListTab& listTab(ListKind kind) const;
    void setStatus(const QString& text);

    RecordsContext context_;
    const ReferenceTexts& texts_;
    AnalysisRecord record_;
    AnalysisResult result_;
    AnalysisTexts lists_;
    std::vector<MeasurementRecord> historyRows_;
    bool notesChanged_ = false;
    bool suppressSync_ = false;
    bool qualityMode_ = false;
    bool closed_ = false;

    QTabWidget* pages_ = nullptr;
    QStatusBar* status_ = nullptr;
    std::vector<std::pair<QString, QLabel*>> fields_;
    std::array<StateRow, 5> stateRows_;
    Lamp* lowEnergyLamp_ = nullptr;
    QLabel* highPotential_ = nullptr;
    QComboBox* indexSelector_ = nullptr;
    QLabel* indexFigure_ = nullptr;
    QLabel* indexCaption_ = nullptr;
    QTableWidget* scores_ = nullptr;
    QTableWidget* values_ = nullptr;
    QLabel* valueCaption_ = nullptr;
    QPushButton* valueToggle_ = nullptr;
    QTableWidget* history_ = nullptr;
    QTableWidget* chartHistory_ = nullptr;
    QLabel* unfinished_ = nullptr;
    QLabel* chartTitle_ = nullptr;
    ChartView* chartView_ = nullptr;
    std::array<QToolButton*, 7> categoryButtons_{};
    std::array<QToolButton*, 4> variantButtons_{};
    QLabel* energyLowLabel_ = nullptr;
    Lamp* energyLowLamp_ = nullptr;
    std::array<ListTab, 3> listTabs_{};
    QTextEdit* ryodoraku_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

}  // namespace tork
