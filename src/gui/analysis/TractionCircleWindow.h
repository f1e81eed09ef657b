#pragma once

#include <QDialog>
#include <array>

#include "core/analysis/TractionCircle.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace movrane {
class CZodEvadiDoc;
class Ui;
}  // namespace movrane

namespace movrane::gui {

class DialogHost;
class PictureWidget;

// "Traction Circle Explained": the help text as read-only rich text.
class TractionCircleExplainedWindow : public QDialog {
public:
    explicit TractionCircleExplainedWindow(QWidget* parent = nullptr);
};

// "Traction Circle": the plot, the lap boxes, circles and orientation, the range sliders
// and fields, each lap's time over the range and a small map with the range highlighted.
class TractionCircleWindow : public QDialog {
    Q_OBJECT
public:
    TractionCircleWindow(CZodEvadiDoc& doc, Ui& ui, DialogHost& dialogs, QWidget* parent = nullptr);
    ~TractionCircleWindow() override;

    TractionCircle& circle() { return circle_; }
    QLineEdit* startField() const { return start_; }
    // Shows the circle's state in every control and redraws.
    void refresh();

private:
    void startMoved(int value);
    void endMoved(int value);
    void openRatings();
    void openHelp();
    void paintMap(QPainter& painter, int width, int height);

    CZodEvadiDoc& doc_;
    Ui& ui_;
    DialogHost& dialogs_;
    TractionCircle circle_;
    PictureWidget* plot_;
    PictureWidget* map_;
    QSlider* startSlider_;
    QSlider* endSlider_;
    QLineEdit* start_;
    QLineEdit* end_;
    QLineEdit* length_;
    QCheckBox* circles_;
    QRadioButton* toCar_;
    QRadioButton* toTravel_;
    std::array<QCheckBox*, TractionCircle::SLOTS> laps_{};
    std::array<QLabel*, TractionCircle::SLOTS> timeLabels_{};
    std::array<QLineEdit*, TractionCircle::SLOTS> times_{};
};

}  // namespace movrane::gui
