#pragma once

#include <QDialog>
#include <string>

#include "core/analysis/RacePictures.h"

class QCheckBox;
class QLineEdit;

namespace movrane::gui {

class PictureWidget;

// "Race History Graph": the picture, its title, the scale and "Export to BMP".
class RaceHistoryGraphWindow : public QDialog {
    Q_OBJECT
public:
    RaceHistoryGraphWindow(RaceInput race, Ui& ui, std::string replayFolder, QWidget* parent = nullptr);

    RaceHistoryGraph& graph() { return graph_; }
    void exportBitmap();

private:
    void settingsChanged();

    RaceHistoryGraph graph_;
    Ui& ui_;
    std::string replayFolder_;
    PictureWidget* picture_;
    QLineEdit* title_;
    QCheckBox* automatic_;
    QLineEdit* maximum_;
};

// "Graphical Race Report": the position chart and "Export to BMP".
class GraphicalRaceReportWindow : public QDialog {
    Q_OBJECT
public:
    GraphicalRaceReportWindow(RaceInput race, Ui& ui, std::string replayFolder, QWidget* parent = nullptr);

    const GraphicalRaceReport& report() const { return report_; }
    void exportBitmap();

private:
    GraphicalRaceReport report_;
    Ui& ui_;
    std::string replayFolder_;
};

}  // namespace movrane::gui
