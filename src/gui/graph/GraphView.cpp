#include "gui/graph/GraphView.h"

#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "gui/graph/GraphPropertiesDialog.h"

namespace movrane::gui {

namespace {

QString axisLabel(const std::string& caption, const std::string& unit) {
    if (unit.empty() || unit == caption) return QString::fromLatin1(caption.c_str());
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(caption.c_str()), QString::fromLatin1(unit.c_str()));
}

AxisRange fromQcp(const QCPRange& r) { return {r.lower, r.upper}; }

constexpr int DRAG_THRESHOLD = 3;

}  // namespace

GraphView::GraphView(QWidget* parent)
    : QWidget(parent), plot_(new QCustomPlot(this)), menu_(new QMenu(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);
    plot_->setMouseTracking(true);
    plot_->installEventFilter(this);
    plot_->setNoAntialiasingOnDrag(true);
    zoomRect_ = new QCPItemRect(plot_);
    zoomRect_->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    zoomRect_->setBrush(QColor(0, 0, 255, 24));
    zoomRect_->setVisible(false);
    ruler_ = new QCPItemStraightLine(plot_);
    ruler_->setPen(QPen(QColor(120, 120, 120), 1, Qt::DotLine));
    ruler_->setVisible(false);
    const QColor cursorColours[2] = {QColor(0, 150, 0), QColor(200, 100, 0)};
    for (std::size_t i = 0; i < cursors_.size(); ++i) {
        cursors_[i] = new QCPItemStraightLine(plot_);
        cursors_[i]->setPen(QPen(cursorColours[i], 1.5, Qt::DashLine));
        cursors_[i]->setVisible(false);
    }
    plot_->setFocusPolicy(Qt::StrongFocus);
    buildMenu();
}

void GraphView::buildMenu() {
    QAction* coordinates = menu_->addAction(QStringLiteral("Mouse coordinates"));
    coordinates->setCheckable(true);
    coordinates->setChecked(showCoordinates_);
    connect(coordinates, &QAction::toggled, this, [this](bool on) {
        showCoordinates_ = on;
        if (!on) QToolTip::hideText();
    });
    connect(menu_->addAction(QStringLiteral("Axis")), &QAction::triggered, this, &GraphView::showProperties);
    QAction* zoom = menu_->addAction(QStringLiteral("Zoom tool"));
    zoom->setCheckable(true);
    connect(zoom, &QAction::toggled, this, &GraphView::setZoomTool);
    connect(menu_->addAction(QStringLiteral("Apply zoom")), &QAction::triggered, this, &GraphView::applyZoom);
    QMenu* fit = menu_->addMenu(QStringLiteral("Fit"));
    connect(fit->addAction(QStringLiteral("Fit width")), &QAction::triggered, this, &GraphView::fitWidth);
    connect(fit->addAction(QStringLiteral("Fit height")), &QAction::triggered, this, &GraphView::fitHeight);
    connect(fit->addAction(QStringLiteral("Fit page")), &QAction::triggered, this, &GraphView::fitPage);
    connect(menu_->addAction(QStringLiteral("Undo")), &QAction::triggered, this, &GraphView::undo);
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        menuAction(QStringLiteral("Apply zoom"))->setEnabled(pendingZoom_.has_value());
        menuAction(QStringLiteral("Undo"))->setEnabled(canUndo());
        menuAction(QStringLiteral("Zoom tool"))->setChecked(zoomTool_);
    });
}

QAction* GraphView::menuAction(const QString& text) const {
    for (QAction* a : menu_->actions()) {
        if (a->text() == text) return a;
        if (a->menu())
            for (QAction* sub : a->menu()->actions())
                if (sub->text() == text) return sub;
    }
    return nullptr;
}

GraphEngine::SeriesId GraphView::addSeries(const std::string&, const std::string& name, Colour colour,
                                           const std::vector<GraphPoint>& points) {
    QCPGraph* graph = plot_->addGraph();
    graph->setName(QString::fromLatin1(name.c_str()));
    graph->setPen(QPen(QColor(colour.red, colour.green, colour.blue), 1.0));
    QVector<double> keys, values;
    keys.reserve(static_cast<qsizetype>(points.size()));
    values.reserve(static_cast<qsizetype>(points.size()));
    for (const GraphPoint& p : points) {
        keys.push_back(p.x);
        values.push_back(p.y);
    }
    graph->setData(keys, values, std::is_sorted(keys.begin(), keys.end()));
    const SeriesId id = nextId_++;
    series_[id] = graph;
    return id;
}

void GraphView::removeSeries(SeriesId id) {
    const auto found = series_.find(id);
    if (found == series_.end()) return;
    plot_->removeGraph(found->second);
    series_.erase(found);
}

QCPGraph* GraphView::series(SeriesId id) const {
    const auto found = series_.find(id);
    return found == series_.end() ? nullptr : found->second;
}

void GraphView::setXRange(AxisRange range) { plot_->xAxis->setRange(range.low, range.high); }
void GraphView::setYRange(AxisRange range) { plot_->yAxis->setRange(range.low, range.high); }
AxisRange GraphView::xRange() const { return fromQcp(plot_->xAxis->range()); }
AxisRange GraphView::yRange() const { return fromQcp(plot_->yAxis->range()); }

void GraphView::setXCaption(const std::string& caption, const std::string& unit) {
    plot_->xAxis->setLabel(axisLabel(caption, unit));
}

void GraphView::setYCaption(const std::string& caption, const std::string& unit) {
    plot_->yAxis->setLabel(axisLabel(caption, unit));
}

void GraphView::redraw() { plot_->replot(QCustomPlot::rpQueuedReplot); }

QPointF GraphView::toGraph(QPointF pixel) const {
    return {plot_->xAxis->pixelToCoord(pixel.x()), plot_->yAxis->pixelToCoord(pixel.y())};
}

QPointF GraphView::toPixel(QPointF graph) const {
    return {plot_->xAxis->coordToPixel(graph.x()), plot_->yAxis->coordToPixel(graph.y())};
}

void GraphView::remember() { undo_.push_back({xRange(), yRange()}); }

void GraphView::setView(const View& view) {
    setXRange(view.x);
    setYRange(view.y);
    redraw();
}

void GraphView::setZoomTool(bool on) {
    zoomTool_ = on;
    plot_->setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
}

void GraphView::setPendingZoom(AxisRange x, AxisRange y) {
    if (x.low > x.high) std::swap(x.low, x.high);
    if (y.low > y.high) std::swap(y.low, y.high);
    pendingZoom_ = View{x, y};
    zoomRect_->topLeft->setCoords(x.low, y.high);
    zoomRect_->bottomRight->setCoords(x.high, y.low);
    zoomRect_->setVisible(true);
    redraw();
}

void GraphView::applyZoom() {
    if (!pendingZoom_ || pendingZoom_->x.low == pendingZoom_->x.high || pendingZoom_->y.low == pendingZoom_->y.high)
        return;
    remember();
    const View view = *pendingZoom_;
    pendingZoom_.reset();
    zoomRect_->setVisible(false);
    setView(view);
}

// The range of every shown series' keys or values; gaps do not count.
AxisRange GraphView::dataRange(bool keys) const {
    bool found = false;
    AxisRange range{0, 1};
    for (const auto& [id, graph] : series_) {
        if (!graph->visible()) continue;
        bool ok = false;
        const QCPRange r = keys ? graph->getKeyRange(ok) : graph->getValueRange(ok);
        if (!ok) continue;
        range = found ? AxisRange{std::min(range.low, r.lower), std::max(range.high, r.upper)} : fromQcp(r);
        found = true;
    }
    if (range.low == range.high) range.high = range.low + 1;
    return range;
}

void GraphView::fitWidth() {
    remember();
    setView({dataRange(true), yRange()});
}

void GraphView::fitHeight() {
    remember();
    setView({xRange(), dataRange(false)});
}

void GraphView::fitPage() {
    remember();
    setView({dataRange(true), dataRange(false)});
}

void GraphView::undo() {
    if (undo_.empty()) return;
    const View view = undo_.back();
    undo_.pop_back();
    setView(view);
}

void GraphView::panBy(double dx, double dy) {
    plot_->xAxis->moveRange(dx);
    plot_->yAxis->moveRange(dy);
    redraw();
}

void GraphView::setRuler(std::optional<double> x) {
    ruler_->setVisible(x.has_value());
    if (x) {
        ruler_->point1->setCoords(*x, 0);
        ruler_->point2->setCoords(*x, 1);
    }
    redraw();
}

void GraphView::setCursorLine(int which, std::optional<double> x) {
    QCPItemStraightLine* line = cursors_.at(static_cast<std::size_t>(which));
    line->setVisible(x.has_value());
    if (x) {
        line->point1->setCoords(*x, 0);
        line->point2->setCoords(*x, 1);
    }
    redraw();
}

void GraphView::showProperties() {
    GraphPropertiesDialog dialog(*this, this);
    const int result = runDialog_ ? runDialog_(dialog) : dialog.exec();
    if (result != QDialog::Accepted) return;
    dialog.apply();
    redraw();
}

void GraphView::mouseMove(QPointF pixel, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    const QPointF at = toGraph(pixel);
    mouseX_ = at.x();
    if (dragging_ && (buttons & Qt::LeftButton)) {
        if (zoomTool_) {
            const QPointF start = toGraph(dragStart_);
            setPendingZoom({start.x(), at.x()}, {start.y(), at.y()});
        } else if (modifiers & Qt::ShiftModifier) {
            const QPointF start = toGraph(dragStart_);
            panBy(start.x() - at.x(), start.y() - at.y());
            dragStart_ = pixel;
        }
    }
    lastToolText_ = toolText_ ? toolText_(at.x(), at.y()) : QString();
    emit mouseMoved(at.x(), at.y());
    if (showCoordinates_) {
        setRuler(at.x());
        QToolTip::showText(plot_->mapToGlobal(pixel.toPoint()) + QPoint(14, 14), lastToolText_, plot_);
    }
}

bool GraphView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != plot_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::RightButton) {
                menu_->popup(e->globalPosition().toPoint());
                return true;
            }
            if (e->button() == Qt::LeftButton) {
                dragStart_ = e->position();
                dragging_ = true;
                if (e->modifiers() & Qt::ShiftModifier) remember();
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            mouseMove(e->position(), e->modifiers(), e->buttons());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton) {
                dragging_ = false;
                if (zoomTool_ && (e->position() - dragStart_).manhattanLength() < DRAG_THRESHOLD) {
                    pendingZoom_.reset();
                    zoomRect_->setVisible(false);
                    redraw();
                }
                return true;
            }
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (zoomTool_) applyZoom();
            return true;
        case QEvent::Enter: plot_->setFocus(); return false;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_A && key != Qt::Key_B) break;
            emit cursorKeyPressed(key == Qt::Key_A ? 0 : 1, mouseX_);
            return true;
        }
        case QEvent::Leave:
            setRuler(std::nullopt);
            return false;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace movrane::gui
