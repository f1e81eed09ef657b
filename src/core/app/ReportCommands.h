#pragma once

#include <memory>

#include "core/app/Commands.h"
#include "core/reports/ReportLaps.h"
#include "core/reports/ReportReplayChoice.h"
#include "core/reports/ReportViewer.h"

namespace movrane {

class CZodEvadiDoc;
class Ui;

inline constexpr const char* DETAILED_NEEDS_LAP_MESSAGE = "This report cannot be run unless you have loaded a lap.";

// The document's loaded laps in slot order, with its track's lap length and speed unit.
ReportLaps reportLapsOf(const CZodEvadiDoc& doc);

// What a report command does before its window opens: the kind's guard, the choice of the
// replay (the lap-based kinds take the first loaded lap's), and the window's behaviour
// over it. Nothing when no report opens (the person has been told why).
std::unique_ptr<ReportViewer> openReportViewer(Ui& ui, LoadedFileChooser& chooser, const CZodEvadiDoc& doc,
                                               ReportKind kind);

}  // namespace movrane
