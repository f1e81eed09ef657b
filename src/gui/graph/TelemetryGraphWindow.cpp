#include "gui/graph/TelemetryGraphWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "core/analysis/GraphExport.h"
#include "core/analysis/GraphPrint.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "gui/app/DialogHost.h"
#include "gui/graph/GraphPrinter.h"
#include "gui/graph/GraphView.h"
#include "gui/graph/SelectGraphsToPrintDialog.h"
#include "gui/graph/TimeDifferenceInfoWindow.h"
#include "gui/graph/TrackmapWindow.h"
#include "core/track/Track.h"

namespace movrane::gui {

namespace {
constexpr int BUTTON_COLUMNS = 7;
constexpr QSize SECONDARY_SIZE{900, 320};

QString latin1(const std::string& text) { return QString::fromLatin1(text.c_str()); }
}  // namespace

TelemetryGraphWindow::TelemetryGraphWindow(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      doc_(doc),
      ui_(ui),
      dialogs_(dialogs),
      view_(new GraphView),
      graph_(doc, *view_),
      info_(new TimeDifferenceInfoWindow(this)),
      trackmap_(new TrackmapWindow(doc, this)) {
    setWindowTitle(QString::fromLatin1(TelemetryGraph::TITLE));
    view_->setDialogRunner([this](QDialog& dialog) { return dialogs_.run(dialog); });
    view_->setToolTextProvider([this](double x, double y) { return latin1(graph_.mouseAt(x, y)); });
    connect(view_, &GraphView::mouseMoved, this, [this] {
        if (graph_.infoShown()) info_->show(graph_.info());
    });
    connect(view_, &GraphView::cursorKeyPressed, this, &TelemetryGraphWindow::setCursor);
    connect(trackmap_, &TrackmapWindow::colouringChanged, this, &TelemetryGraphWindow::refreshTrackmapLine);
    graph_.onDistance = [this](double d) {
        if (trackmap_->isVisible()) trackmap_->showDistance(d);
    };

    auto* middle = new QHBoxLayout;
    middle->addWidget(view_, 1);
    middle->addWidget(buildControls());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildChannelButtons());
    layout->addLayout(middle, 1);
    readout_ = new QLabel;
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(readout_);
    auto* hints = new QHBoxLayout;
    hints->addWidget(new QLabel(QString::fromLatin1(TelemetryGraph::HINT)), 1);
    hints->addWidget(new QLabel(QStringLiteral("Press A or B over the graph to set a cursor")));
    layout->addLayout(hints);
    resize(1100, 700);
}

TelemetryGraphWindow::~TelemetryGraphWindow() { graph_.onDistance = nullptr; }

QWidget* TelemetryGraphWindow::buildChannelButtons() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    auto* group = new QButtonGroup(box);
    for (const GraphChannel& c : graphChannels()) {
        auto* button = new QPushButton(QString::fromLatin1(c.button));
        button->setCheckable(true);
        group->addButton(button);
        const int index = c.number - 1;
        channels_[static_cast<std::size_t>(index)] = button;
        grid->addWidget(button, index / BUTTON_COLUMNS, index % BUTTON_COLUMNS);
        const int number = c.number;
        connect(button, &QPushButton::clicked, this, [this, number] { chooseChannel(number); });
    }
    return box;
}

QWidget* TelemetryGraphWindow::buildControls() {
    auto* panel = new QWidget;
    panel->setMaximumWidth(340);
    auto* column = new QVBoxLayout(panel);
    auto* lapGroup = new QGroupBox(QStringLiteral("Laps"));
    auto* lapColumn = new QVBoxLayout(lapGroup);
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        auto* box = new QCheckBox;
        laps_[static_cast<std::size_t>(slot)] = box;
        lapColumn->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, slot](bool on) {
            graph_.setLapTicked(slot, on);
            refreshBoxes();
            refreshTimeDifference();
        });
    }
    column->addWidget(lapGroup);
    auto* wheelGroup = new QGroupBox(QStringLiteral("Wheels"));
    auto* wheelColumn = new QVBoxLayout(wheelGroup);
    for (int w = 0; w < WHEEL_COUNT; ++w) {
        auto* box = new QCheckBox(QString::fromLatin1(wheelNames()[static_cast<std::size_t>(w)]));
        wheels_[static_cast<std::size_t>(w)] = box;
        wheelColumn->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, w](bool on) { graph_.setWheelTicked(w, on); });
    }
    column->addWidget(wheelGroup);
    timeDifference_ = new QCheckBox(QString::fromLatin1(TelemetryGraph::TIME_DIFFERENCE_BOX));
    connect(timeDifference_, &QCheckBox::clicked, this, [this](bool on) {
        graph_.setTimeDifference(on);
        refreshTimeDifference();
    });
    column->addWidget(timeDifference_);
    column->addStretch();
    auto* csv = new QPushButton(QStringLiteral("Export visible range as CSV"));
    connect(csv, &QPushButton::clicked, this, &TelemetryGraphWindow::exportVisibleRange);
    column->addWidget(csv);
    auto* map = new QPushButton(QStringLiteral("Map"));
    print_ = new QPushButton(QStringLiteral("Print"));
    auto* close = new QPushButton(QStringLiteral("Close"));
    connect(map, &QPushButton::clicked, this, &TelemetryGraphWindow::showMap);
    connect(print_, &QPushButton::clicked, this, &TelemetryGraphWindow::print);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* b : {map, print_, close}) column->addWidget(b);
    return panel;
}

void TelemetryGraphWindow::present() {
    if (!opened_) {
        opened_ = true;
        graph_.open();
    }
    refreshBoxes();
    show();
    refreshTimeDifference();
    raise();
    activateWindow();
}

void TelemetryGraphWindow::documentChanged() {
    graph_.lapsChanged();
    refreshBoxes();
    refreshTimeDifference();
    trackmap_->refresh();
}

void TelemetryGraphWindow::settingsChanged() {
    graph_.settingsChanged();
    readout_->setText(cursorReadout());
    refreshTimeDifference();
}

void TelemetryGraphWindow::setCursor(int which, double x) {
    graph_.setCursor(which, x);
    view_->setCursorLine(which, x);
    readout_->setText(cursorReadout());
}

QString TelemetryGraphWindow::cursorReadout() const { return latin1(graph_.cursorReadout()).trimmed(); }

void TelemetryGraphWindow::exportVisibleRange() {
    const auto path = ui_.chooseFileToSave({"Export visible range as CSV", {{"CSV files (*.csv)", "*.csv"}}, "", ".csv"});
    if (!path) return;
    const std::string csv = visibleRangeCsv(doc_, graph_.tickedLaps(), graph_.visibleRange());
    if (!writeFileAtomically(withExtension(*path, ".csv"), csv)) ui_.message("Error creating file!", {}, Ui::Icon::Warning);
}

void TelemetryGraphWindow::chooseChannel(int number) {
    graph_.chooseChannel(number);
    readout_->setText(cursorReadout());
    refreshBoxes();
    refreshTimeDifference();
}

void TelemetryGraphWindow::refreshBoxes() {
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        QCheckBox* box = lapBox(slot);
        box->setText(latin1(graph_.lapBoxLabel(slot)));
        box->setEnabled(graph_.lapBoxEnabled(slot));
        box->setChecked(graph_.lapTicked(slot));
        const Colour c = doc_.slot(slot).colour;
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, QColor(c.red, c.green, c.blue));
        box->setPalette(palette);
    }
    for (int w = 0; w < WHEEL_COUNT; ++w) wheelBox(w)->setChecked(graph_.wheelTicked(w));
    timeDifference_->setChecked(graph_.timeDifferenceOn());
    if (graph_.channel() > 0) channelButton(graph_.channel())->setChecked(true);
}

// The info window stands beside the graph only while the graph is shown.
void TelemetryGraphWindow::refreshTimeDifference() {
    if (trackmap_->isVisible()) refreshTrackmapLine();
    if (!graph_.infoShown() || !isVisible()) {
        info_->hide();
        return;
    }
    info_->show(graph_.info());
    if (!info_->isVisible()) {
        info_->move(geometry().topRight() + QPoint(8, 0));
        info_->show();
    }
}

void TelemetryGraphWindow::refreshTrackmapLine() {
    const Track* track = doc_.track();
    trackmap_->setLine(track ? graph_.trackmapLine(trackmap_->colouring(), *track) : std::nullopt);
}

void TelemetryGraphWindow::showMap() {
    trackmap_->refresh();
    refreshTrackmapLine();
    trackmap_->show();
    trackmap_->raise();
}

void TelemetryGraphWindow::print() {
    SelectGraphsToPrint selection(graph_.channel());
    SelectGraphsToPrintDialog choice(selection, this);
    if (dialogs_.run(choice) != QDialog::Accepted) return;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(QString::fromLatin1(GraphPage::JOB_NAME));
    QPrintDialog printDialog(&printer, this);
    if (dialogs_.run(printDialog) != QDialog::Accepted) return;
    printTo(printer, selection.secondaries());
}

bool TelemetryGraphWindow::printTo(QPagedPaintDevice& device, const std::vector<int>& secondaries) {
    std::vector<std::unique_ptr<GraphView>> views;
    std::vector<std::unique_ptr<TelemetryGraph>> graphs;
    std::vector<GraphView*> pages{view_};
    for (int channel : secondaries) {
        views.push_back(std::make_unique<GraphView>());
        views.back()->resize(SECONDARY_SIZE);
        graphs.push_back(std::make_unique<TelemetryGraph>(doc_, *views.back()));
        graphs.back()->showLike(graph_, channel);
        pages.push_back(views.back().get());
    }
    return printGraphPage(device, pages, legendRows(doc_, graph_.tickedLaps()));
}

void TelemetryGraphWindow::closeEvent(QCloseEvent* event) {
    info_->hide();
    trackmap_->hide();
    hide();
    event->ignore();
}

}  // namespace movrane::gui
