#pragma once

#include <QImage>
#include <QWidget>

class QMenu;

#include "core/app/LapBar.h"
#include "core/app/MapDrawing.h"
#include "core/app/MapView.h"

namespace movrane::gui {

// The main view: the track map of the document with the driven lines of the shown laps,
// zoomed and scrolled by its MapView; the program's line while no lap is loaded.
class CZodEvadiView : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* EMPTY_TEXT = "Movrane - version " MOVRANE_VERSION;

    CZodEvadiView(CZodEvadiDoc& doc, LapBar& lapBar, QWidget* parent);

    MapView& mapView() { return mapView_; }
    MapDrawOptions& drawOptions() { return options_; }

    void zoomIn();
    void zoomOut();
    void fitToTrack();
    void togglePanning();
    void toggleDistanceMarkers();
    void toggleLap(int slot);

    // The map drawn into a square image of `size` pixels, for the bitmap file.
    QImage mapImage(int size);
    // The right-button menu's entries, built afresh for the current state.
    QMenu* buildContextMenu();

signals:
    void lapToggled();
    void panningChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QTransform logicalToPixels() const;

    CZodEvadiDoc& doc_;
    LapBar& lapBar_;
    MapView mapView_;
    MapDrawOptions options_;
    bool dragging_ = false;
    QPointF lastDrag_;
};

}  // namespace movrane::gui
