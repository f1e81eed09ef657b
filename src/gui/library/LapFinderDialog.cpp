#include "gui/library/LapFinderDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/CZodEvadiDoc.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

LapFinderDialog::LapFinderDialog(LapFinder& finder, const DriveList& drives, int loadedLaps,
                                 const std::string& initialTrack, QWidget* parent)
    : QDialog(parent),
      finder_(finder),
      drives_(drives),
      loadedLaps_(loadedLaps),
      tracks_(new QComboBox(this)),
      filters_(new QButtonGroup(this)),
      sorts_(new QButtonGroup(this)),
      list_(new QTreeWidget(this)),
      count_(new QLabel(this)),
      status_(new QLabel(this)),
      listMenu_(new QMenu(this)) {
    setWindowTitle(LapFinder::TITLE);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Track:"), this));
    for (const std::string& track : finder_.trackChoices()) tracks_->addItem(fromCore(track));
    tracks_->setCurrentIndex(-1);
    top->addWidget(tracks_, 1);
    auto* filterBox = new QGroupBox(this);
    auto* filterLayout = new QVBoxLayout(filterBox);
    for (int i = 0; i < static_cast<int>(LapFinder::FILTER_LABELS.size()); ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(LapFinder::FILTER_LABELS[i]), filterBox);
        filters_->addButton(button, i);
        filterLayout->addWidget(button);
    }
    filters_->button(static_cast<int>(finder_.filter()))->setChecked(true);
    top->addWidget(filterBox);
    layout->addLayout(top);

    auto* sortBox = new QGroupBox(QStringLiteral("Sort"), this);
    auto* sortLayout = new QGridLayout(sortBox);
    for (int i = 0; i < static_cast<int>(LapFinder::SORT_LABELS.size()); ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(LapFinder::SORT_LABELS[i]), sortBox);
        sorts_->addButton(button, i);
        sortLayout->addWidget(button, i / 4, i % 4);
    }
    layout->addWidget(sortBox);

    QStringList headers;
    for (const char* header : LapFinder::COLUMN_HEADERS) headers << QString::fromLatin1(header);
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->header()->setSectionsClickable(true);
    list_->setMinimumSize(760, 300);
    layout->addWidget(list_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Number of laps in table:"), this));
    bottom->addWidget(count_);
    bottom->addStretch();
    auto* copy = new QPushButton(QStringLiteral("Copy table to clipboard "), this);
    copy->setToolTip(QStringLiteral("(Can be pasted into Excel)"));
    bottom->addWidget(copy);
    // The list's right-button menu offers the same copy, with its hint.
    QAction* copyCommand = listMenu_->addAction(copy->text());
    copyCommand->setToolTip(copy->toolTip());
    listMenu_->setToolTipsVisible(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { listMenu_->popup(list_->viewport()->mapToGlobal(at)); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    status_->setWordWrap(true);
    layout->addWidget(status_);

    connect(tracks_, &QComboBox::activated, this, &LapFinderDialog::chooseTrack);
    connect(filters_, &QButtonGroup::idClicked, this, [this](int id) {
        finder_.chooseFilter(static_cast<LapFinder::Filter>(id));
        showRows();
    });
    connect(sorts_, &QButtonGroup::idClicked, this, [this](int id) {
        if (finder_.sort(static_cast<LapFinder::Sort>(id))) showRows();
    });
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        finder_.sortByColumn(column);
        showRows();
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(copy, &QPushButton::clicked, copyCommand, &QAction::trigger);
    connect(copyCommand, &QAction::triggered, this, [this] { finder_.copyToClipboard(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &LapFinderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const int initial = tracks_->findText(fromCore(initialTrack));
    if (!initialTrack.empty() && initial >= 0) {
        tracks_->setCurrentIndex(initial);
        chooseTrack(initial);
    }
}

void LapFinderDialog::chooseTrack(int index) {
    finder_.chooseTrack(toCore(tracks_->itemText(index)));
    showRows();
}

void LapFinderDialog::showRows() {
    list_->clear();
    for (const LapFinder::Row& row : finder_.rows()) {
        QStringList cells;
        for (const std::string& cell : row.columns) cells << fromCore(cell);
        list_->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    for (int c = 0; c < LapFinder::VISIBLE_COLUMNS; ++c) list_->resizeColumnToContents(c);
    sorts_->button(static_cast<int>(finder_.sortMode()))->setChecked(true);
    count_->setText(QString::number(finder_.rows().size()));
    status_->setText(fromCore(finder_.statusText()));
}

std::vector<int> LapFinderDialog::selectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->isSelected()) rows.push_back(i);
    return rows;
}

void LapFinderDialog::accept() {
    const auto laps = finder_.accept(selectedRows(), loadedLaps_, CZodEvadiDoc::MAX_LAPS, drives_);
    if (!laps) return;
    accepted_ = *laps;
    QDialog::accept();
}

}  // namespace movrane::gui
