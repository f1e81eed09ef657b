#include "gui/library/PBViewerDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/library/RecordsExport.h"
#include "gui/platform/QtUi.h"
#include "gui/ranking/RankingDialogs.h"

namespace movrane::gui {

namespace {

QComboBox* playerChooser(const std::vector<std::string>& players, int defaultPlayer, QWidget* parent) {
    auto* chooser = new QComboBox(parent);
    for (const std::string& player : players) chooser->addItem(fromCore(player));
    chooser->setCurrentIndex(defaultPlayer < static_cast<int>(players.size()) ? defaultPlayer : -1);
    return chooser;
}

}  // namespace

PBViewerDialog::PBViewerDialog(PBViewer& viewer, Ui& ui, DialogHost& host, const std::vector<std::string>& players,
                               int defaultPlayer, std::string exportFolder, QWidget* parent)
    : QDialog(parent),
      viewer_(viewer),
      ui_(ui),
      host_(host),
      exportFolder_(std::move(exportFolder)),
      players_(playerChooser(players, defaultPlayer, this)),
      list_(new QTreeWidget(this)) {
    setWindowTitle(PBViewer::TITLE);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QString::fromLatin1(PBViewer::PLAYER_CHOOSER), this));
    top->addWidget(players_, 1);
    auto* refresh = new QPushButton(QStringLiteral("Refresh"), this);
    top->addWidget(refresh);
    layout->addLayout(top);

    QStringList headers;
    for (const char* header : PBViewer::COLUMN_HEADERS) headers << QString::fromLatin1(header);
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setMinimumSize(720, 280);
    layout->addWidget(list_, 1);

    auto* bottom = new QHBoxLayout;
    auto* exportTimes = new QPushButton(QStringLiteral("Export laptimes to .ini file"), this);
    bottom->addWidget(exportTimes);
    auto* upload = new QPushButton(QStringLiteral("Upload laptimes to OrvRank"), this);
    bottom->addWidget(upload);
    auto* calculator = new QPushButton(QStringLiteral("OrvRank calculator"), this);
    bottom->addWidget(calculator);
    bottom->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(refresh, &QPushButton::clicked, this, [this] {
        if (viewer_.refresh(players_->currentIndex())) showRows();
    });
    connect(exportTimes, &QPushButton::clicked, this, [this] { viewer_.exportLapTimes(exportFolder_); });
    connect(upload, &QPushButton::clicked, this, [this] {
        if (viewer_.mayUpload()) runOrvRankUpload(*viewer_.table(), ui_, host_, this);
    });
    connect(calculator, &QPushButton::clicked, this, [this] {
        if (viewer_.mayCalculate()) runOrvRankCalculator(*viewer_.table(), host_, this);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showRows();
}

int PBViewerDialog::chosenPlayer() const { return players_->currentIndex(); }

void PBViewerDialog::showRows() {
    list_->clear();
    for (const PBViewer::Row& row : viewer_.rows()) {
        QStringList cells;
        for (const std::string& cell : row) cells << fromCore(cell);
        list_->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    for (int c = 0; c < PBViewer::COLUMNS; ++c) list_->resizeColumnToContents(c);
}

RecordsExportDialog::RecordsExportDialog(const std::vector<std::string>& players, int defaultPlayer, QWidget* parent)
    : QDialog(parent),
      players_(playerChooser(players, defaultPlayer, this)),
      launch_(new QCheckBox(QString::fromLatin1(RecordsExportChoice::LAUNCH_BROWSER), this)),
      completeLaps_(new QCheckBox(QString::fromLatin1(RecordsExportChoice::ONLY_COMPLETE_LAPS), this)),
      scanReplays_(new QCheckBox(QString::fromLatin1(RecordsExportChoice::SCAN_REPLAYS), this)) {
    setWindowTitle(RecordsExportChoice::TITLE);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(RecordsExportChoice::PLAYER_CHOOSER), this));
    layout->addWidget(players_);
    for (QCheckBox* box : {launch_, completeLaps_, scanReplays_}) layout->addWidget(box);
    launch_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

RecordsExportChoice RecordsExportDialog::choice() const {
    RecordsExportChoice choice;
    choice.playerIndex = players_->currentIndex();
    choice.options = {completeLaps_->isChecked(), scanReplays_->isChecked()};
    choice.launchBrowser = launch_->isChecked();
    return choice;
}

}  // namespace movrane::gui
