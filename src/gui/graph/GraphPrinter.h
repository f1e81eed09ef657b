#pragma once

#include <vector>

#include "core/analysis/GraphPrint.h"

class QPagedPaintDevice;

namespace movrane::gui {

class GraphView;

// Paints the telemetry page: title, credit, the legend of the laps, the primary graph and
// up to three secondary graphs below it, laid out for a device at screen resolution
// (QPrinter::ScreenResolution, or a QPdfWriter at 96 dpi) so that the graphs keep the
// proportions of their windows. False when the device cannot be painted on.
bool printGraphPage(QPagedPaintDevice& device, const std::vector<GraphView*>& graphs,
                    const std::vector<LegendRow>& legend);

}  // namespace movrane::gui
