#include "gui/analysis/TractionCircleWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/MapView.h"
#include "core/track/CoreDisplay.h"
#include "core/track/Track.h"
#include "gui/analysis/PictureWidget.h"
#include "gui/analysis/QtPainter.h"
#include "gui/analysis/RatingsWindow.h"
#include "gui/app/DialogHost.h"
#include "gui/platform/QtUi.h"
#include "gui/track/QtDisplay.h"

namespace movrane::gui {

namespace {

QSlider* rangeSlider(const TractionCircle& circle, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, circle.sliderMaximum());
    slider->setPageStep(std::max(1, circle.pageSize()));
    return slider;
}

}  // namespace

TractionCircleWindow::TractionCircleWindow(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, QWidget* parent)
    : QDialog(parent), doc_(doc), ui_(ui), dialogs_(dialogs), circle_(TractionCircle::ofDocument(doc)) {
    setWindowTitle(QStringLiteral("Traction Circle"));
    resize(960, 700);
    plot_ = new PictureWidget(
        [this](QPainter& painter, int w, int h) {
            QtPainter p(painter, w, h);
            circle_.paint(p);
        },
        this);
    plot_->setMinimumSize(420, 420);
    map_ = new PictureWidget([this](QPainter& painter, int w, int h) { paintMap(painter, w, h); }, this);
    map_->setFixedSize(240, 240);

    auto* lapsBox = new QGroupBox(QStringLiteral("Laps"), this);
    auto* lapsLayout = new QGridLayout(lapsBox);
    for (int slot = 0; slot < TractionCircle::SLOTS; ++slot) {
        const TractionLap& lap = circle_.lap(slot);
        laps_[slot] = new QCheckBox(fromCore(lap.lap ? lap.label : "Lap " + std::to_string(slot + 1)), lapsBox);
        laps_[slot]->setChecked(circle_.ticked(slot));
        laps_[slot]->setEnabled(circle_.loaded(slot));
        QPalette palette = laps_[slot]->palette();
        palette.setColor(QPalette::WindowText, toQColor(lap.colour));
        laps_[slot]->setPalette(palette);
        timeLabels_[slot] = new QLabel(QStringLiteral("Time:"), lapsBox);
        times_[slot] = new QLineEdit(lapsBox);
        times_[slot]->setReadOnly(true);
        times_[slot]->setMaximumWidth(80);
        lapsLayout->addWidget(laps_[slot], slot, 0);
        lapsLayout->addWidget(timeLabels_[slot], slot, 1);
        lapsLayout->addWidget(times_[slot], slot, 2);
        connect(laps_[slot], &QCheckBox::toggled, this, [this, slot](bool on) {
            circle_.setTicked(slot, on);
            refresh();
        });
    }

    circles_ = new QCheckBox(QStringLiteral("Plot circles for 1.0, 1.5, 2.0 and 2.5 G"), this);
    toCar_ = new QRadioButton(QStringLiteral("Oriented to car"), this);
    toTravel_ = new QRadioButton(QStringLiteral("Oriented to travel"), this);
    toCar_->setChecked(true);
    connect(circles_, &QCheckBox::toggled, this, [this](bool on) {
        circle_.setCircles(on);
        refresh();
    });
    connect(toCar_, &QRadioButton::toggled, this, [this](bool car) {
        circle_.setOrientation(car ? TractionCircle::Orientation::Car : TractionCircle::Orientation::Travel);
        refresh();
    });

    startSlider_ = rangeSlider(circle_, this);
    endSlider_ = rangeSlider(circle_, this);
    connect(startSlider_, &QSlider::valueChanged, this, &TractionCircleWindow::startMoved);
    connect(endSlider_, &QSlider::valueChanged, this, &TractionCircleWindow::endMoved);
    start_ = new QLineEdit(this);
    end_ = new QLineEdit(this);
    length_ = new QLineEdit(this);
    length_->setReadOnly(true);
    connect(start_, &QLineEdit::editingFinished, this, [this] {
        circle_.setStartText(toCore(start_->text()));
        refresh();
    });
    connect(end_, &QLineEdit::editingFinished, this, [this] {
        circle_.setEndText(toCore(end_->text()));
        refresh();
    });

    auto* rangeBox = new QGroupBox(QStringLiteral("Range (hold Shift to move the whole range)"), this);
    auto* range = new QGridLayout(rangeBox);
    range->addWidget(startSlider_, 0, 0, 1, 6);
    range->addWidget(endSlider_, 1, 0, 1, 6);
    range->addWidget(new QLabel(QStringLiteral("Start (meters):"), rangeBox), 2, 0);
    range->addWidget(start_, 2, 1);
    range->addWidget(new QLabel(QStringLiteral("End (meters):"), rangeBox), 2, 2);
    range->addWidget(end_, 2, 3);
    range->addWidget(new QLabel(QStringLiteral("Length:"), rangeBox), 2, 4);
    range->addWidget(length_, 2, 5);

    auto* ratings = new QPushButton(QStringLiteral("Ratings"), this);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* b : {ratings, help, close}) b->setAutoDefault(false);
    connect(ratings, &QPushButton::clicked, this, &TractionCircleWindow::openRatings);
    connect(help, &QPushButton::clicked, this, &TractionCircleWindow::openHelp);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(map_, 0, Qt::AlignHCenter);
    side->addWidget(lapsBox);
    side->addWidget(circles_);
    side->addWidget(toCar_);
    side->addWidget(toTravel_);
    side->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ratings);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(close);
    side->addLayout(buttons);
    auto* top = new QHBoxLayout;
    top->addWidget(plot_, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(rangeBox);
    refresh();
}

TractionCircleWindow::~TractionCircleWindow() {
    if (Track* track = doc_.track()) track->clearHighlight();
}

void TractionCircleWindow::startMoved(int value) {
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier) {
        circle_.setRange(value, value + circle_.length());
    } else {
        circle_.setStart(value);
    }
    refresh();
}

void TractionCircleWindow::endMoved(int value) {
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier) {
        circle_.setRange(value - circle_.length(), value);
    } else {
        circle_.setEnd(value);
    }
    refresh();
}

void TractionCircleWindow::refresh() {
    const std::vector<QWidget*> inputs{startSlider_, endSlider_, circles_, toCar_, toTravel_};
    for (QWidget* input : inputs) input->blockSignals(true);
    startSlider_->setValue(circle_.start());
    endSlider_->setValue(circle_.end());
    circles_->setChecked(circle_.circles());
    (circle_.orientation() == TractionCircle::Orientation::Car ? toCar_ : toTravel_)->setChecked(true);
    for (QWidget* input : inputs) input->blockSignals(false);
    start_->setText(QString::number(circle_.start()));
    end_->setText(QString::number(circle_.end()));
    length_->setText(QString::number(circle_.length()));
    for (int slot = 0; slot < TractionCircle::SLOTS; ++slot) {
        const bool shown = circle_.ticked(slot);
        timeLabels_[slot]->setVisible(shown);
        times_[slot]->setVisible(shown);
        times_[slot]->setText(fromCore(circle_.timeText(slot)));
    }
    if (Track* track = doc_.track()) track->setHighlight(circle_.start(), circle_.end());
    plot_->update();
    map_->update();
}

void TractionCircleWindow::paintMap(QPainter& painter, int width, int height) {
    const Track* track = doc_.track();
    if (!track) return;
    QtDisplay display(painter, bitmapMapFit(track->mapExtent(), std::min(width, height)));
    drawTrack(*track, display);
}

void TractionCircleWindow::openRatings() {
    RatingsWindow window(doc_, ui_, this);
    dialogs_.run(window);
}

void TractionCircleWindow::openHelp() {
    TractionCircleExplainedWindow help(this);
    dialogs_.run(help);
}

TractionCircleExplainedWindow::TractionCircleExplainedWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Traction Circle Explained"));
    resize(560, 480);
    auto* text = new QTextBrowser(this);
    text->setHtml(QString::fromUtf8(tractionCircleExplained()));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(close, 0, Qt::AlignRight);
}

}  // namespace movrane::gui
