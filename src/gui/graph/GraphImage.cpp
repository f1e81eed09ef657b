#include "gui/graph/GraphImage.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <memory>
#include <qcustomplot.h>

#include "gui/graph/GraphView.h"
#include "gui/platform/Application.h"

namespace movrane::gui {

namespace {

constexpr int WIDTH = 1200;
constexpr int HEIGHT = 700;

std::string lowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The toolkit, started on the off-screen platform for a process that has not started it.
std::unique_ptr<QApplication> startToolkit() {
    if (QApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "movrane";
    static char* argv[] = {name, nullptr};
    return std::make_unique<Application>(argc, argv);
}

bool paintVector(QPaintDevice& device, QCustomPlot& plot) {
    QCPPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot.toPainter(&painter, WIDTH, HEIGHT);
    return painter.end();
}

bool render(QCustomPlot& plot, ImageFormat format, QBuffer& buffer) {
    switch (format) {
        case ImageFormat::Png: return plot.toPixmap(WIDTH, HEIGHT).toImage().save(&buffer, "PNG");
        case ImageFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(96);
            pdf.setPageSize(QPageSize(QSizeF(WIDTH * 0.75, HEIGHT * 0.75), QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            return paintVector(pdf, plot);
        }
        case ImageFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(QSize(WIDTH, HEIGHT));
            svg.setViewBox(QRect(0, 0, WIDTH, HEIGHT));
            svg.setTitle(QString::fromLatin1(TelemetryGraph::TITLE));
            return paintVector(svg, plot);
        }
    }
    return false;
}

}  // namespace

std::optional<ImageFormat> imageFormatOf(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".png") return ImageFormat::Png;
    if (extension == ".pdf") return ImageFormat::Pdf;
    if (extension == ".svg") return ImageFormat::Svg;
    return std::nullopt;
}

std::string renderGraphImage(const CZodEvadiDoc& doc, const TelemetryGraph& shown, ImageFormat format) {
    const auto toolkit = startToolkit();
    GraphView view;
    view.resize(WIDTH, HEIGHT);
    TelemetryGraph graph(doc, view);
    graph.showLike(shown, shown.channel());
    graph.setTimeDifference(shown.timeDifferenceOn());
    view.plot()->replot();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!render(*view.plot(), format, buffer)) return {};
    return buffer.data().toStdString();
}

}  // namespace movrane::gui
