#pragma once

#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/analysis/GraphEngine.h"

class QCPGraph;
class QCPItemRect;
class QCPItemStraightLine;
class QCustomPlot;
class QDialog;
class QMenu;
class QAction;

namespace movrane::gui {

// The graph engine on QCustomPlot: series by identifier, axis ranges and captions with
// units, the mouse position and a tool text per point, a ruler at the mouse, a zoom tool
// with apply, fit and undo, panning with shift and the left button, the right-button menu
// and the properties dialog.
class GraphView : public QWidget, public GraphEngine {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);

    SeriesId addSeries(const std::string& key, const std::string& name, Colour colour,
                       const std::vector<GraphPoint>& points) override;
    void removeSeries(SeriesId id) override;
    void setXRange(AxisRange range) override;
    void setYRange(AxisRange range) override;
    AxisRange xRange() const override;
    AxisRange yRange() const override;
    void setXCaption(const std::string& caption, const std::string& unit) override;
    void setYCaption(const std::string& caption, const std::string& unit) override;
    void redraw() override;

    QCustomPlot* plot() const { return plot_; }
    QCPGraph* series(SeriesId id) const;
    int seriesCount() const { return static_cast<int>(series_.size()); }
    QMenu* contextMenu() const { return menu_; }
    QAction* menuAction(const QString& text) const;

    // The text shown beside the mouse for graph position (x, y).
    void setToolTextProvider(std::function<QString(double, double)> provider) { toolText_ = std::move(provider); }
    bool mouseCoordinatesShown() const { return showCoordinates_; }
    QString lastToolText() const { return lastToolText_; }
    // Graph position of a pixel of the plot, and the other way round.
    QPointF toGraph(QPointF pixel) const;
    QPointF toPixel(QPointF graph) const;

    void setZoomTool(bool on);
    bool zoomToolOn() const { return zoomTool_; }
    // The rectangle drawn with the zoom tool, in graph units.
    void setPendingZoom(AxisRange x, AxisRange y);
    void applyZoom();
    void fitWidth();
    void fitHeight();
    void fitPage();
    void undo();
    bool canUndo() const { return !undo_.empty(); }
    // Moves the view by a distance in graph units (panning).
    void panBy(double dx, double dy);
    void showProperties();
    // Runs the properties dialog modally (the program's dialog host); exec() by default.
    void setDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

    // Marks a graph position with a vertical ruler (nothing: no ruler).
    void setRuler(std::optional<double> x);
    // Cursor A (0) or B (1) as a labelled vertical line.
    void setCursorLine(int which, std::optional<double> x);

signals:
    void mouseMoved(double x, double y);
    // The key A or B pressed over the graph: a cursor is wanted at the mouse's x.
    void cursorKeyPressed(int which, double x);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct View {
        AxisRange x;
        AxisRange y;
    };
    void buildMenu();
    void remember();
    void setView(const View& view);
    AxisRange dataRange(bool keys) const;
    void mouseMove(QPointF pixel, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

    QCustomPlot* plot_;
    QMenu* menu_;
    std::map<SeriesId, QCPGraph*> series_;
    SeriesId nextId_ = 1;
    std::function<int(QDialog&)> runDialog_;
    std::function<QString(double, double)> toolText_;
    QString lastToolText_;
    bool showCoordinates_ = true;
    bool zoomTool_ = false;
    std::optional<View> pendingZoom_;
    std::vector<View> undo_;
    QPointF dragStart_;
    bool dragging_ = false;
    QCPItemRect* zoomRect_;
    QCPItemStraightLine* ruler_;
    std::array<QCPItemStraightLine*, 2> cursors_{};
    double mouseX_ = 0;
};

}  // namespace movrane::gui
