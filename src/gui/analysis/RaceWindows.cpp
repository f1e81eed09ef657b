#include "gui/analysis/RaceWindows.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "gui/analysis/PictureWidget.h"
#include "gui/analysis/QtPainter.h"
#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {

QHBoxLayout* buttonRow(QDialog* dialog, const std::function<void()>& exportBitmap) {
    auto* exportButton = new QPushButton(QStringLiteral("Export to BMP"), dialog);
    auto* close = new QPushButton(QStringLiteral("Close"), dialog);
    for (QPushButton* b : {exportButton, close}) b->setAutoDefault(false);
    QObject::connect(exportButton, &QPushButton::clicked, dialog, exportBitmap);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(exportButton);
    row->addWidget(close);
    return row;
}

}  // namespace

RaceHistoryGraphWindow::RaceHistoryGraphWindow(RaceInput race, Ui& ui, std::string replayFolder, QWidget* parent)
    : QDialog(parent), graph_(std::move(race)), ui_(ui), replayFolder_(std::move(replayFolder)) {
    setWindowTitle(QStringLiteral("Race History Graph"));
    resize(RACE_GRAPH_WIDTH + 24, RACE_GRAPH_HEIGHT + 90);
    picture_ = new PictureWidget(
        [this](QPainter& painter, int w, int h) {
            QtPainter p(painter, w, h);
            graph_.paint(p);
        },
        this);
    title_ = new QLineEdit(fromCore(graph_.title), this);
    automatic_ = new QCheckBox(QStringLiteral("Scale Automatically"), this);
    automatic_->setChecked(graph_.scaleAutomatically);
    maximum_ = new QLineEdit(fromCore(graph_.maximumSecondsText), this);
    maximum_->setMaximumWidth(60);
    for (QLineEdit* edit : {title_, maximum_}) connect(edit, &QLineEdit::textChanged, this, &RaceHistoryGraphWindow::settingsChanged);
    connect(automatic_, &QCheckBox::toggled, this, &RaceHistoryGraphWindow::settingsChanged);

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Graph title:"), this));
    settings->addWidget(title_, 1);
    settings->addWidget(automatic_);
    settings->addWidget(new QLabel(QStringLiteral("Maximum seconds behind:"), this));
    settings->addWidget(maximum_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 1);
    layout->addLayout(settings);
    layout->addLayout(buttonRow(this, [this] { exportBitmap(); }));
    settingsChanged();
}

void RaceHistoryGraphWindow::settingsChanged() {
    graph_.title = toCore(title_->text());
    graph_.scaleAutomatically = automatic_->isChecked();
    graph_.maximumSecondsText = toCore(maximum_->text());
    maximum_->setEnabled(!graph_.scaleAutomatically);
    picture_->update();
}

void RaceHistoryGraphWindow::exportBitmap() {
    exportRacePicture(ui_, replayFolder_, graph_.defaultFileName(), picture_->width(), picture_->height(),
                      [this](Painter& p) { graph_.paint(p); });
}

GraphicalRaceReportWindow::GraphicalRaceReportWindow(RaceInput race, Ui& ui, std::string replayFolder,
                                                     QWidget* parent)
    : QDialog(parent), report_(std::move(race)), ui_(ui), replayFolder_(std::move(replayFolder)) {
    setWindowTitle(QStringLiteral("Graphical Race Report"));
    const auto size = report_.preferredSize();
    auto* picture = new PictureWidget(
        [this](QPainter& painter, int w, int h) {
            QtPainter p(painter, w, h);
            report_.paint(p);
        },
        this);
    picture->setFixedSize(size[0], size[1]);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(picture);
    resize(std::min(size[0] + 40, 1200), std::min(size[1] + 70, 860));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttonRow(this, [this] { exportBitmap(); }));
}

void GraphicalRaceReportWindow::exportBitmap() {
    const auto size = report_.preferredSize();
    exportRacePicture(ui_, replayFolder_, report_.defaultFileName(), size[0], size[1],
                      [this](Painter& p) { report_.paint(p); });
}

}  // namespace movrane::gui
