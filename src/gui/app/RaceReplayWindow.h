#pragma once

#include <QWidget>
#include <array>

#include "core/app/RaceReplay.h"

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QLabel;
class QSlider;

namespace movrane::gui {

// The race bar: the slider over the race's frames, the race's and the focused driver's
// texts, the focus choice with the driver list and the choice of how cars are drawn.
class RaceReplayWindow : public QWidget {
    Q_OBJECT
public:
    RaceReplayWindow(RaceReplay& race, QWidget* parent);

    // Shows a newly loaded race (or why it cannot be read).
    void reload();
    // Shows the race bar's state for the current frame.
    void refresh();

    QSlider* slider() const { return slider_; }
    QComboBox* driverList() const { return driverList_; }

signals:
    // The person moved the slider to a frame.
    void frameChosen(int frame);
    // The focus or the drawing of the cars changed.
    void viewChanged();

private:
    QLabel* addRow(QFormLayout* form, const char* caption);
    void chooseFocus(int id);
    void chooseDrawing(int id);

    RaceReplay& race_;
    QSlider* slider_;
    QLabel* status_;
    QLabel* elapsed_;
    QLabel* currentLap_;
    QLabel* scheduledLaps_;
    QLabel* leader_;
    QLabel* position_;
    QLabel* lap_;
    QLabel* gapAhead_;
    QLabel* gapBehind_;
    QLabel* lastLap_;
    QButtonGroup* focusGroup_;
    QComboBox* driverList_;
    QButtonGroup* drawingGroup_;
};

}  // namespace movrane::gui
