#pragma once

#include <QWidget>
#include <array>

#include "core/app/LapBar.h"

class QCheckBox;
class QLabel;

namespace movrane::gui {

// The lap bar: the five lap check boxes in the slot colours with the laps' labels.
class LapBarWindow : public QWidget {
    Q_OBJECT
public:
    LapBarWindow(LapBar& lapBar, QWidget* parent);

    QCheckBox* box(int slot) const { return boxes_.at(static_cast<std::size_t>(slot)); }
    // Shows the lap bar's state again.
    void refresh();

signals:
    void lapToggled(int slot);

private:
    LapBar& lapBar_;
    std::array<QCheckBox*, CZodEvadiDoc::MAX_LAPS> boxes_{};
    std::array<QLabel*, CZodEvadiDoc::MAX_LAPS> swatches_{};
};

}  // namespace movrane::gui
