#include "gui/app/RaceReplayWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

RaceReplayWindow::RaceReplayWindow(RaceReplay& race, QWidget* parent)
    : QWidget(parent), race_(race), slider_(new QSlider(Qt::Horizontal, this)) {
    auto* layout = new QVBoxLayout(this);
    slider_->setPageStep(RaceReplay::PAGE_FRAMES);
    layout->addWidget(slider_);
    connect(slider_, &QSlider::valueChanged, this, [this](int frame) { emit frameChosen(frame); });

    auto* form = new QFormLayout;
    status_ = addRow(form, "Status:");
    elapsed_ = addRow(form, "Time:");
    currentLap_ = addRow(form, "Lap:");
    scheduledLaps_ = addRow(form, "Scheduled laps:");
    leader_ = addRow(form, "Leader:");
    layout->addLayout(form);

    auto* focusBox = new QGroupBox(QStringLiteral("Focus"), this);
    auto* focusLayout = new QVBoxLayout(focusBox);
    focusGroup_ = new QButtonGroup(this);
    for (int id = 0; id < 3; ++id) {
        auto* button = new QRadioButton(QString::fromLatin1(RACE_FOCUS_TEXTS[id]), focusBox);
        focusGroup_->addButton(button, id);
        focusLayout->addWidget(button);
    }
    driverList_ = new QComboBox(focusBox);
    focusLayout->addWidget(driverList_);
    auto* previous = new QPushButton(QStringLiteral("Prev. Driver"), focusBox);
    auto* next = new QPushButton(QStringLiteral("Next Driver"), focusBox);
    auto* fight = new QPushButton(QStringLiteral("Go to closest fight on track"), focusBox);
    for (QPushButton* b : {previous, next, fight}) focusLayout->addWidget(b);
    auto* driverForm = new QFormLayout;
    position_ = addRow(driverForm, "Position:");
    lap_ = addRow(driverForm, "Lap:");
    gapAhead_ = addRow(driverForm, "Gap ahead:");
    gapBehind_ = addRow(driverForm, "Gap behind:");
    lastLap_ = addRow(driverForm, "Last lap:");
    focusLayout->addLayout(driverForm);
    layout->addWidget(focusBox);

    auto* drawingBox = new QGroupBox(QStringLiteral("Cars"), this);
    auto* drawingLayout = new QVBoxLayout(drawingBox);
    drawingGroup_ = new QButtonGroup(this);
    for (int id = 0; id < 3; ++id) {
        auto* button = new QRadioButton(QString::fromLatin1(CAR_DRAWING_TEXTS[id]), drawingBox);
        drawingGroup_->addButton(button, id);
        drawingLayout->addWidget(button);
    }
    layout->addWidget(drawingBox);
    layout->addStretch(1);

    connect(focusGroup_, &QButtonGroup::idClicked, this, &RaceReplayWindow::chooseFocus);
    connect(drawingGroup_, &QButtonGroup::idClicked, this, &RaceReplayWindow::chooseDrawing);
    connect(driverList_, &QComboBox::activated, this, [this](int index) {
        race_.chooseDriver(static_cast<uint32_t>(index));
        refresh();
        emit viewChanged();
    });
    const auto step = [this](void (RaceReplay::*move)()) {
        (race_.*move)();
        refresh();
        emit viewChanged();
    };
    connect(previous, &QPushButton::clicked, this, [step] { step(&RaceReplay::previousDriver); });
    connect(next, &QPushButton::clicked, this, [step] { step(&RaceReplay::nextDriver); });
    connect(fight, &QPushButton::clicked, this, [step] { step(&RaceReplay::closestFight); });
    reload();
}

QLabel* RaceReplayWindow::addRow(QFormLayout* form, const char* caption) {
    auto* label = new QLabel(this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString::fromLatin1(caption), label);
    return label;
}

void RaceReplayWindow::chooseFocus(int id) {
    race_.setFocus(static_cast<PlaybackFocus>(id));
    refresh();
    emit viewChanged();
}

void RaceReplayWindow::chooseDrawing(int id) {
    race_.carDrawing = static_cast<CarDrawing>(id);
    emit viewChanged();
}

void RaceReplayWindow::reload() {
    const QSignalBlocker quietSlider(slider_);
    const QSignalBlocker quietList(driverList_);
    slider_->setRange(0, race_.loaded() ? static_cast<int>(race_.frameCount()) - 1 : 0);
    slider_->setEnabled(race_.loaded());
    driverList_->clear();
    for (const std::string& label : race_.driverList()) driverList_->addItem(fromCore(label));
    scheduledLaps_->setText(race_.loaded() ? QString::number(race_.timeline().scheduledLaps()) : QString());
    refresh();
}

void RaceReplayWindow::refresh() {
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(static_cast<int>(race_.frame()));
    }
    const RaceFrameTexts& t = race_.texts();
    status_->setText(fromCore(race_.loaded() ? t.status : race_.failureText()));
    status_->setWordWrap(true);
    elapsed_->setText(fromCore(t.elapsed));
    currentLap_->setText(fromCore(t.currentLap));
    leader_->setText(fromCore(t.leader));
    position_->setText(fromCore(t.position));
    lap_->setText(fromCore(t.lap));
    gapAhead_->setText(fromCore(t.gapAhead));
    gapBehind_->setText(fromCore(t.gapBehind));
    lastLap_->setText(fromCore(t.lastLap));
    focusGroup_->button(static_cast<int>(race_.focus()))->setChecked(true);
    drawingGroup_->button(static_cast<int>(race_.carDrawing))->setChecked(true);
    const QSignalBlocker quietList(driverList_);
    if (race_.focusedDriver() < static_cast<uint32_t>(driverList_->count()))
        driverList_->setCurrentIndex(static_cast<int>(race_.focusedDriver()));
}

}  // namespace movrane::gui
