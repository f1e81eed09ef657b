#include "gui/analysis/GearChangeAnalyserWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr int COLUMN_EXTRA_WIDTH = 15;
}

GearChangeAnalyserWindow::GearChangeAnalyserWindow(const CZodEvadiDoc& doc, QWidget* parent)
    : QDialog(parent), analyser_(doc), lapChoice_(new QComboBox(this)), list_(new QTreeWidget(this)),
      changes_(new QLabel(this)), upshiftTime_(new QLabel(this)), downshiftTime_(new QLabel(this)),
      statistics_(new QTableWidget(GearChangeAnalysis::UPSHIFT_ROWS, 3, this)), verdict_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Gear Change Analyser"));
    resize(760, 560);
    for (const auto& label : analyser_.lapLabels()) lapChoice_->addItem(fromCore(label));

    QStringList columns;
    for (const auto& caption : GearChangeAnalysis::columns()) columns << fromCore(caption);
    list_->setHeaderLabels(columns);
    list_->setRootIsDecorated(false);
    const QFontMetrics metrics = list_->header()->fontMetrics();
    for (int c = 0; c < columns.size(); ++c)
        list_->setColumnWidth(c, metrics.horizontalAdvance(columns[c]) + COLUMN_EXTRA_WIDTH);

    QStringList rows, statisticsColumns;
    for (const char* row : GearChangeAnalysis::statisticsRows()) rows << QString::fromLatin1(row);
    for (const char* column : GearChangeAnalysis::statisticsColumns()) statisticsColumns << QString::fromLatin1(column);
    statistics_->setVerticalHeaderLabels(rows);
    statistics_->setHorizontalHeaderLabels(statisticsColumns);
    statistics_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    statistics_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The table is small and fixed: it shows every row whole instead of scrolling.
    statistics_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    statistics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statistics_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* statisticsBox = new QGroupBox(QStringLiteral("Statistics"), this);
    auto* counts = new QFormLayout;
    counts->addRow(QStringLiteral("No of gearchanges:"), changes_);
    counts->addRow(new QLabel(QStringLiteral("Time spent in neutral"), statisticsBox));
    counts->addRow(QStringLiteral("-during upshift:"), upshiftTime_);
    counts->addRow(QStringLiteral("-during downshift:"), downshiftTime_);
    auto* statisticsLayout = new QVBoxLayout(statisticsBox);
    statisticsLayout->addLayout(counts);
    statisticsLayout->addWidget(statistics_);
    auto* verdictBox = new QGroupBox(QStringLiteral("Speedshifter analysis"), this);
    (new QVBoxLayout(verdictBox))->addWidget(verdict_);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("Select Lap"), this));
    choice->addWidget(lapChoice_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(statisticsBox);
    right->addWidget(verdictBox);
    right->addStretch();
    right->addWidget(close, 0, Qt::AlignRight);
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(body, 1);

    connect(lapChoice_, &QComboBox::currentIndexChanged, this, &GearChangeAnalyserWindow::chooseLap);
    chooseLap(lapChoice_->currentIndex());
}

void GearChangeAnalyserWindow::chooseLap(int index) {
    analyser_.chooseLap(index);
    const GearChangeAnalysis& a = analyser_.analysis();
    list_->clear();
    for (const auto& row : a.rows) {
        auto* item = new QTreeWidgetItem(list_);
        for (int c = 0; c < GearChangeAnalysis::COLUMNS; ++c) item->setText(c, fromCore(row[c]));
    }
    const bool chosen = analyser_.chosenLap() >= 0;
    changes_->setText(chosen ? QString::number(a.changes) : QString());
    upshiftTime_->setText(chosen ? fromCore(a.upshiftNeutralTime) : QString());
    downshiftTime_->setText(chosen ? fromCore(a.downshiftNeutralTime) : QString());
    for (int row = 0; row < GearChangeAnalysis::UPSHIFT_ROWS; ++row)
        for (int c = 0; c < 3; ++c) statistics_->setItem(row, c, new QTableWidgetItem(fromCore(a.statistics[row][c])));
    verdict_->setText(chosen ? fromCore(a.verdict) : QString());
}

}  // namespace movrane::gui
