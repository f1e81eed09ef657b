#pragma once

#include <QWidget>
#include <array>

#include "core/app/LapBar.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

namespace movrane::gui {

// The lap bar: the five lap check boxes in the slot colours with the laps' labels; while
// the laps play, each ticked lap's speed, revs, gear and heading, the split markers and the
// elapsed time; and what the map follows.
class LapBarWindow : public QWidget {
    Q_OBJECT
public:
    LapBarWindow(LapBar& lapBar, QWidget* parent);

    QCheckBox* box(int slot) const { return boxes_.at(static_cast<std::size_t>(slot)); }
    // Shows the lap bar's state again.
    void refresh();

    QLabel* readout(int slot) const { return readouts_.at(static_cast<std::size_t>(slot)); }
    QLabel* splitMarker(int slot, int split) const;
    QLabel* elapsed() const { return elapsed_; }

signals:
    void lapToggled(int slot);

private:
    LapBar& lapBar_;
    std::array<QCheckBox*, CZodEvadiDoc::MAX_LAPS> boxes_{};
    std::array<QLabel*, CZodEvadiDoc::MAX_LAPS> swatches_{};
    std::array<QLabel*, CZodEvadiDoc::MAX_LAPS> readouts_{};
    std::array<QLabel*, CZodEvadiDoc::MAX_LAPS> headings_{};
    std::array<std::array<QLabel*, 3>, CZodEvadiDoc::MAX_LAPS> splits_{};
    QLabel* elapsed_ = nullptr;
    QButtonGroup* focusGroup_ = nullptr;
    QComboBox* focusLap_ = nullptr;
};

}  // namespace movrane::gui
