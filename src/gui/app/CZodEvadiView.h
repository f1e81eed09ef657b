#pragma once

#include <QImage>
#include <QWidget>

class QMenu;

#include "core/app/LapBar.h"
#include "core/app/MapDrawing.h"
#include "core/app/MapView.h"
#include "core/app/Playback.h"

namespace movrane::gui {

// The main view: the track map of the document with the driven lines of the shown laps,
// zoomed and scrolled by its MapView; the program's line while no lap is loaded.
class CZodEvadiView : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* EMPTY_TEXT = "Movrane - version " MOVRANE_VERSION;

    CZodEvadiView(CZodEvadiDoc& doc, LapBar& lapBar, QWidget* parent);

    // Playback decides how far the lap lines reach and which cars stand on the map.
    void setPlayback(const Playback* playback, const RaceReplay* race);

    MapView& mapView() { return mapView_; }
    MapDrawOptions& drawOptions() { return options_; }

    void zoomIn();
    void zoomOut();
    void fitToTrack();
    // After laps were loaded or removed: a track loaded anew is shown whole, wherever the
    // last one was zoomed or followed to.
    void documentChanged();
    void togglePanning();
    void toggleDistanceMarkers();
    void toggleLap(int slot);
    // Playback: centre the map on a track position, or keep it in view.
    void centreOnTrack(double distance, double lateral);
    void keepTrackPointInView(double distance, double lateral);

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
    // How the drawn map sits in the logical square (everything drawn, kerbs and lines too).
    MapFit logicalFit() const;
    // What the map draws now: the options with the playback's reach of the lap lines.
    MapDrawOptions currentOptions() const;
    void drawMap(QPainter& painter, const MapFit& fit, const QTransform& toPixels);
    std::optional<PixelPoint> logicalPoint(double distance, double lateral) const;

    CZodEvadiDoc& doc_;
    LapBar& lapBar_;
    MapView mapView_;
    MapDrawOptions options_;
    const Playback* playback_ = nullptr;
    const Track* shownTrack_ = nullptr;
    const RaceReplay* race_ = nullptr;
    bool dragging_ = false;
    QPointF lastDrag_;
};

}  // namespace movrane::gui
