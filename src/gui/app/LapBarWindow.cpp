#include "gui/app/LapBarWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QSignalBlocker>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr int SWATCH_SIZE = 14;
constexpr int ICON_SIZE = 18;
constexpr const char* SPLIT_TEXTS[] = {"25%", "50%", "75%"};
constexpr const char* LAP_FOCUS_TEXTS[] = {"Focus Leader", "Manual", "Focus Driver:"};

// Heading icon i shows a car pointing up for icon 0 and turned a sixteenth of a turn
// further anticlockwise for each next icon.
QPixmap headingPixmap(int icon, Colour colour) {
    QPixmap pixmap(ICON_SIZE, ICON_SIZE);
    pixmap.fill(Qt::transparent);
    if (icon < 0) return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(ICON_SIZE / 2.0, ICON_SIZE / 2.0);
    painter.rotate(-22.5 * icon);
    QPainterPath arrow;
    arrow.moveTo(0, -ICON_SIZE / 2.0 + 1);
    arrow.lineTo(ICON_SIZE / 3.0, ICON_SIZE / 2.0 - 2);
    arrow.lineTo(0, ICON_SIZE / 4.0);
    arrow.lineTo(-ICON_SIZE / 3.0, ICON_SIZE / 2.0 - 2);
    arrow.closeSubpath();
    painter.fillPath(arrow, QColor(colour.red, colour.green, colour.blue));
    return pixmap;
}

QString swatchStyle(Colour c, bool inUse) {
    const QString fill = QColor(c.red, c.green, c.blue).name();
    return QStringLiteral("background-color: %1; border: 1px solid %2;")
        .arg(inUse ? fill : QStringLiteral("transparent"), fill);
}
}  // namespace

LapBarWindow::LapBarWindow(LapBar& lapBar, QWidget* parent) : QWidget(parent), lapBar_(lapBar) {
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        auto* swatch = new QLabel(this);
        swatch->setFixedSize(SWATCH_SIZE, SWATCH_SIZE);
        auto* box = new QCheckBox(this);
        connect(box, &QCheckBox::toggled, this, [this, slot] { emit lapToggled(slot); });
        grid->addWidget(swatch, slot, 0);
        grid->addWidget(box, slot, 1);
        auto* readout = new QLabel(this);
        auto* heading = new QLabel(this);
        heading->setFixedSize(ICON_SIZE, ICON_SIZE);
        grid->addWidget(readout, slot, 2);
        grid->addWidget(heading, slot, 3);
        const auto i = static_cast<std::size_t>(slot);
        for (std::size_t split = 0; split < 3; ++split) {
            splits_[i][split] = new QLabel(QString::fromLatin1(SPLIT_TEXTS[split]), this);
            grid->addWidget(splits_[i][split], slot, 4 + static_cast<int>(split));
        }
        swatches_[i] = swatch;
        boxes_[i] = box;
        readouts_[i] = readout;
        headings_[i] = heading;
    }
    const int row = CZodEvadiDoc::MAX_LAPS;
    grid->addWidget(new QLabel(QStringLiteral("Splittimes"), this), row, 4, 1, 3);
    elapsed_ = new QLabel(this);
    grid->addWidget(elapsed_, row, 1);
    auto* focus = new QHBoxLayout;
    focusGroup_ = new QButtonGroup(this);
    for (int id = 0; id < 3; ++id) {
        auto* button = new QRadioButton(QString::fromLatin1(LAP_FOCUS_TEXTS[id]), this);
        focusGroup_->addButton(button, id);
        focus->addWidget(button);
    }
    focusLap_ = new QComboBox(this);
    focus->addWidget(focusLap_);
    focus->addStretch(1);
    grid->addLayout(focus, row + 1, 0, 1, 7);
    grid->setRowStretch(row + 2, 1);
    connect(focusGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { lapBar_.focus = static_cast<PlaybackFocus>(id); });
    connect(focusLap_, &QComboBox::activated, this, [this](int index) {
        lapBar_.focusSlot = focusLap_->itemData(index).toInt();
        lapBar_.focus = PlaybackFocus::Driver;
        refresh();
    });
    refresh();
}

void LapBarWindow::refresh() {
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        const LapBoxState state = lapBar_.box(slot);
        QCheckBox* box = boxes_[static_cast<std::size_t>(slot)];
        const QSignalBlocker quiet(box);
        box->setText(fromCore(state.label));
        box->setToolTip(pathFromCore(state.replayFileName));
        box->setChecked(state.checked);
        box->setEnabled(state.enabled);
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, QColor(state.colour.red, state.colour.green, state.colour.blue));
        box->setPalette(palette);
        swatches_[static_cast<std::size_t>(slot)]->setStyleSheet(swatchStyle(state.colour, state.enabled));
        const auto i = static_cast<std::size_t>(slot);
        const bool shown = lapBar_.readoutShown(slot);
        const LapReadout& r = lapBar_.readout(slot);
        readouts_[i]->setVisible(shown);
        headings_[i]->setVisible(shown);
        readouts_[i]->setText(QStringLiteral("%1 %2  %3 rpm x100  gear %4")
                                  .arg(fromCore(r.speed), QString::fromLatin1(lapBar_.speedUnitText()), fromCore(r.rpm),
                                       fromCore(r.gear)));
        headings_[i]->setPixmap(headingPixmap(r.headingIcon, state.colour));
        for (int split = 0; split < 3; ++split)
            splits_[i][static_cast<std::size_t>(split)]->setVisible(lapBar_.splitMarkerShown(slot, split));
    }
    elapsed_->setText(fromCore(lapBar_.elapsedText));
    focusGroup_->button(static_cast<int>(lapBar_.focus))->setChecked(true);
    const QSignalBlocker quiet(focusLap_);
    focusLap_->clear();
    for (const int slot : lapBar_.loadedSlots()) {
        focusLap_->addItem(QStringLiteral("Lap %1").arg(slot + 1), slot);
        if (slot == lapBar_.focusSlot) focusLap_->setCurrentIndex(focusLap_->count() - 1);
    }
}

QLabel* LapBarWindow::splitMarker(int slot, int split) const {
    return splits_.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(split));
}

}  // namespace movrane::gui
