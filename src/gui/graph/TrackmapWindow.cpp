#include "gui/graph/TrackmapWindow.h"

#include <QComboBox>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "core/analysis/Trackmap.h"
#include "core/track/MapFitting.h"
#include "core/track/Track.h"
#include "gui/track/QtDisplay.h"

namespace movrane::gui {

namespace {
QColor qColour(Colour c) { return QColor(c.red, c.green, c.blue); }
constexpr int LEGEND_HEIGHT = 34;
constexpr double LINE_WIDTH = 3.0;
constexpr double MARKER_RADIUS = 4.0;
}  // namespace

TrackmapWindow::TrackmapWindow(CZodEvadiDoc& doc, QWidget* parent)
    : QWidget(parent, Qt::Tool), doc_(doc), colouring_(new QComboBox(this)) {
    colouring_->addItems({QStringLiteral("Centre line"), QStringLiteral("Colour by channel"),
                          QStringLiteral("Colour by time difference")});
    connect(colouring_, &QComboBox::currentIndexChanged, this, &TrackmapWindow::colouringChanged);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(colouring_, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addStretch();
    resize(360, 380);
    refresh();
}

TelemetryGraph::MapColouring TrackmapWindow::colouring() const {
    return static_cast<TelemetryGraph::MapColouring>(colouring_->currentIndex());
}

void TrackmapWindow::setColouring(TelemetryGraph::MapColouring colouring) {
    colouring_->setCurrentIndex(static_cast<int>(colouring));
}

void TrackmapWindow::setLine(std::optional<ColouredLine> line) {
    line_ = std::move(line);
    update();
}

void TrackmapWindow::refresh() {
    if (Track* track = doc_.track()) {
        setWindowTitle(QString::fromLatin1(Trackmap(*track, doc_.trackName()).title().c_str()));
    } else {
        setWindowTitle(QStringLiteral("Trackmap"));
    }
    update();
}

void TrackmapWindow::showDistance(double lapDistance) {
    Track* track = doc_.track();
    if (!track) return;
    Trackmap(*track, doc_.trackName()).showDistance(lapDistance);
    marker_ = lapDistance;
    update();
}

void TrackmapWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Colour grey = Trackmap::BACKGROUND;
    painter.fillRect(rect(), qColour(grey));
    Track* track = doc_.track();
    if (!track) return;
    painter.setRenderHint(QPainter::Antialiasing);
    const int top = colouring_->geometry().bottom();
    const int bottom = line_ ? LEGEND_HEIGHT : 0;
    const MapFit fit = fitMap(track->centreLineExtent(), width(), height() - top - bottom, Trackmap::MARGIN,
                              Trackmap::MARGIN);
    QtDisplay display(painter, fit, QTransform::fromTranslate(0, top));
    Trackmap(*track, doc_.trackName()).draw(display);
    if (line_) {
        for (const ColouredSegment& s : line_->segments) {
            painter.setPen(QPen(qColour(s.colour), LINE_WIDTH, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(display.pixel(s.from), display.pixel(s.to));
        }
        paintLegend(painter, *line_);
    }
    if (marker_)
        if (const auto point = centreLinePoint(*track, *marker_)) {
            painter.setPen(QPen(Qt::black, 1.5));
            painter.setBrush(Qt::white);
            painter.drawEllipse(display.pixel(*point), MARKER_RADIUS, MARKER_RADIUS);
        }
}

// The colour scale along the bottom, with its lowest and highest value and the caption.
void TrackmapWindow::paintLegend(QPainter& painter, const ColouredLine& line) {
    const QRectF bar(10, height() - LEGEND_HEIGHT + 4, width() - 20, 10);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) gradient.setColorAt(t, qColour(scaleColour(t)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRect(bar);
    painter.setPen(Qt::black);
    const QRectF text(bar.left(), bar.bottom() + 2, bar.width(), 16);
    painter.drawText(text, Qt::AlignLeft, QString::number(line.low, 'f', 1));
    painter.drawText(text, Qt::AlignHCenter, QString::fromLatin1(line.caption.c_str()));
    painter.drawText(text, Qt::AlignRight, QString::number(line.high, 'f', 1));
}

}  // namespace movrane::gui
