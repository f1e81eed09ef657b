#include "gui/app/CZodEvadiView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "core/track/Track.h"
#include "gui/track/QtDisplay.h"

namespace movrane::gui {

namespace {
const QColor BACKGROUND(255, 255, 255);
constexpr int EMPTY_TEXT_MARGIN = 10;
}  // namespace

CZodEvadiView::CZodEvadiView(CZodEvadiDoc& doc, LapBar& lapBar, QWidget* parent)
    : QWidget(parent), doc_(doc), lapBar_(lapBar) {
    setAutoFillBackground(false);
    setMinimumSize(200, 200);
    setFocusPolicy(Qt::StrongFocus);
}

QTransform CZodEvadiView::logicalToPixels() const {
    const double s = mapView_.pixelsPerUnit();
    const PixelPoint origin = mapView_.toPixels(0.0, 0.0);
    return QTransform(s, 0, 0, s, origin.x, origin.y);
}

void CZodEvadiView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BACKGROUND);
    if (doc_.loadedLaps() == 0) {
        painter.setPen(Qt::black);
        painter.drawText(rect().adjusted(EMPTY_TEXT_MARGIN, EMPTY_TEXT_MARGIN, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromLatin1(EMPTY_TEXT));
        return;
    }
    if (!doc_.track()) return;
    drawMap(painter, logicalFit(), logicalToPixels());
}

MapFit CZodEvadiView::logicalFit() const { return logicalMapFit(drawnMapExtent(doc_, options_)); }

void CZodEvadiView::setPlayback(const Playback* playback, const RaceReplay* race) {
    playback_ = playback;
    race_ = race;
}

MapDrawOptions CZodEvadiView::currentOptions() const {
    MapDrawOptions options = options_;
    if (playback_ && !playback_->raceMode() && lapBar_.playing()) options.lastSample = playback_->position();
    return options;
}

void CZodEvadiView::drawMap(QPainter& painter, const MapFit& fit, const QTransform& toPixels) {
    painter.setRenderHint(QPainter::Antialiasing);
    QtDisplay display(painter, fit, toPixels);
    drawTrackMap(doc_, fit, display, currentOptions());
    if (playback_ && playback_->raceMode() && race_)
        drawRaceCars(*doc_.track(), race_->cars(), race_->carDrawing, display);
}

std::optional<PixelPoint> CZodEvadiView::logicalPoint(double distance, double lateral) const {
    if (!doc_.track()) return std::nullopt;
    const auto point = doc_.track()->samplePosition(distance, lateral);
    if (!point) return std::nullopt;
    const UnitPoint units = logicalFit().toUnits(*point);
    return PixelPoint{static_cast<double>(units.x), static_cast<double>(units.y)};
}

void CZodEvadiView::centreOnTrack(double distance, double lateral) {
    if (const auto p = logicalPoint(distance, lateral)) mapView_.centreOn(p->x, p->y);
}

void CZodEvadiView::keepTrackPointInView(double distance, double lateral) {
    if (const auto p = logicalPoint(distance, lateral)) mapView_.keepInView(p->x, p->y);
}

QImage CZodEvadiView::mapImage(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(BACKGROUND);
    if (!doc_.track()) return image;
    QPainter painter(&image);
    drawMap(painter, bitmapMapFit(drawnMapExtent(doc_, options_), size), QTransform());
    return image;
}

void CZodEvadiView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    mapView_.setWindowSize(width(), height());
}

void CZodEvadiView::zoomIn() {
    mapView_.zoomIn();
    update();
}

void CZodEvadiView::zoomOut() {
    mapView_.zoomOut();
    update();
}

void CZodEvadiView::fitToTrack() {
    mapView_.fitToTrack();
    update();
}

void CZodEvadiView::documentChanged() {
    if (doc_.track() && doc_.track() != shownTrack_) mapView_.fitToTrack();
    shownTrack_ = doc_.track();
    update();
}

void CZodEvadiView::togglePanning() {
    mapView_.togglePanning();
    setCursor(mapView_.panning() ? Qt::OpenHandCursor : Qt::ArrowCursor);
    emit panningChanged(mapView_.panning());
}

void CZodEvadiView::toggleDistanceMarkers() {
    options_.distanceMarkers = !options_.distanceMarkers;
    update();
}

void CZodEvadiView::toggleLap(int slot) {
    if (!lapBar_.toggle(slot)) return;
    update();
    emit lapToggled();
}

void CZodEvadiView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    mapView_.zoomAt({event->position().x(), event->position().y()}, steps);
    update();
    event->accept();
}

void CZodEvadiView::mousePressEvent(QMouseEvent* event) {
    if (mapView_.panning() && event->button() == Qt::LeftButton) {
        dragging_ = true;
        lastDrag_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void CZodEvadiView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPointF delta = event->position() - lastDrag_;
    lastDrag_ = event->position();
    mapView_.panBy(delta.x(), delta.y());
    update();
}

void CZodEvadiView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    setCursor(mapView_.panning() ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

QMenu* CZodEvadiView::buildContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(QStringLiteral("Zoom in"), this, &CZodEvadiView::zoomIn);
    menu->addAction(QStringLiteral("Zoom out"), this, &CZodEvadiView::zoomOut);
    menu->addAction(QStringLiteral("Show whole track"), this, &CZodEvadiView::fitToTrack);
    QAction* panning = menu->addAction(QStringLiteral("Panning tool"), this, &CZodEvadiView::togglePanning);
    panning->setCheckable(true);
    panning->setChecked(mapView_.panning());
    menu->addSeparator();
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        QAction* toggle = menu->addAction(QString::fromStdString(LapBar::toggleCommandText(slot)),
                                          this, [this, slot] { toggleLap(slot); });
        const LapBoxState box = lapBar_.box(slot);
        toggle->setCheckable(true);
        toggle->setChecked(box.checked);
        toggle->setEnabled(box.enabled);
    }
    return menu;
}

void CZodEvadiView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = buildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace movrane::gui
