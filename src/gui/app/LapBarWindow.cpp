#include "gui/app/LapBarWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

namespace {
constexpr int SWATCH_SIZE = 14;

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
        swatches_[static_cast<std::size_t>(slot)] = swatch;
        boxes_[static_cast<std::size_t>(slot)] = box;
    }
    grid->setRowStretch(CZodEvadiDoc::MAX_LAPS, 1);
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
    }
}

}  // namespace movrane::gui
