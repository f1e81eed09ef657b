#include "gui/graph/GraphPrinter.h"

#include <QPagedPaintDevice>
#include <qcustomplot.h>

#include "gui/graph/GraphView.h"

namespace movrane::gui {

namespace {

// Page layout in device pixels of a device at screen resolution (96 per inch).
constexpr double MARGIN = 36;
constexpr double ROW = 14;
constexpr double GAP = 10;
constexpr double PRIMARY_SHARE = 0.45;

double paintHeader(QPainter& painter, double width) {
    QFont title = painter.font();
    title.setPointSizeF(16);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(0, 0, width, 24), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(GraphPage::TITLE));
    QFont small = title;
    small.setPointSizeF(8);
    small.setBold(false);
    painter.setFont(small);
    painter.drawText(QRectF(0, 0, width, 24), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(GraphPage::CREDIT));
    return 24 + GAP;
}

double paintLegend(QPainter& painter, double top, double width, const std::vector<LegendRow>& legend) {
    QFont font = painter.font();
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    const double nameX = 20;
    const double timeX = width * 0.5;
    painter.drawText(QRectF(nameX, top, timeX - nameX, ROW), Qt::AlignLeft, QString::fromLatin1(GraphPage::NAME_COLUMN));
    painter.drawText(QRectF(timeX, top, width - timeX, ROW), Qt::AlignLeft, QString::fromLatin1(GraphPage::TIME_COLUMN));
    font.setBold(false);
    font.setFamily(QStringLiteral("Monospace"));
    painter.setFont(font);
    double y = top + ROW;
    for (const LegendRow& row : legend) {
        painter.fillRect(QRectF(0, y + 4, 14, 4), QColor(row.colour.red, row.colour.green, row.colour.blue));
        painter.drawText(QRectF(nameX, y, timeX - nameX, ROW), Qt::AlignLeft, QString::fromLatin1(row.name.c_str()));
        painter.drawText(QRectF(timeX, y, width - timeX, ROW), Qt::AlignLeft, QString::fromLatin1(row.lapTime.c_str()));
        y += ROW;
    }
    return y + GAP;
}

}  // namespace

bool printGraphPage(QPagedPaintDevice& device, const std::vector<GraphView*>& graphs,
                    const std::vector<LegendRow>& legend) {
    QCPPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const double width = device.width() - 2 * MARGIN;
    const double height = device.height() - 2 * MARGIN;
    painter.translate(MARGIN, MARGIN);
    double top = paintHeader(painter, width);
    top = paintLegend(painter, top, width, legend);
    const double room = height - top;
    const std::size_t secondaries = graphs.empty() ? 0 : graphs.size() - 1;
    const double primaryHeight = secondaries == 0 ? room : room * PRIMARY_SHARE;
    const double secondaryHeight = secondaries == 0 ? 0 : (room - primaryHeight) / static_cast<double>(secondaries);
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        const double h = (i == 0 ? primaryHeight : secondaryHeight) - GAP;
        painter.save();
        painter.translate(0, top);
        graphs[i]->plot()->toPainter(&painter, static_cast<int>(width), static_cast<int>(h));
        painter.restore();
        top += h + GAP;
    }
    return painter.end();
}

}  // namespace movrane::gui
