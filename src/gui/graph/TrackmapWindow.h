#pragma once

#include <QWidget>
#include <optional>

#include "core/analysis/TelemetryGraph.h"

class QComboBox;

namespace movrane::gui {

// "Trackmap": the loaded track's centre lines on light grey, with the stretch under the
// graph's mouse highlighted and marked; the driven line can be coloured by the graph's
// channel or by the time difference, with the colour scale as legend.
class TrackmapWindow : public QWidget {
    Q_OBJECT
public:
    TrackmapWindow(CZodEvadiDoc& doc, QWidget* parent = nullptr);
    // Highlights the stretch around a lap distance, marks it and redraws.
    void showDistance(double lapDistance);
    // The title follows the loaded track.
    void refresh();
    TelemetryGraph::MapColouring colouring() const;
    void setColouring(TelemetryGraph::MapColouring colouring);
    // The coloured line to draw (nothing: centre lines only).
    void setLine(std::optional<ColouredLine> line);

signals:
    void colouringChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintLegend(QPainter& painter, const ColouredLine& line);

    CZodEvadiDoc& doc_;
    QComboBox* colouring_;
    std::optional<ColouredLine> line_;
    std::optional<double> marker_;
};

}  // namespace movrane::gui
