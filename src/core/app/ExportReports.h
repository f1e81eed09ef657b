#pragma once

#include <cstdio>

#include "core/app/CommandLine.h"
#include "core/reports/ReportData.h"

namespace movrane {

// Exit statuses of the report export.
constexpr int EXPORT_OK = 0;
constexpr int EXPORT_UNREADABLE = 2;   // the header or the driver table could not be read
constexpr int EXPORT_INCOMPLETE = 3;   // a report file could not be created

// The two report preferences as the process-wide preferences hold them.
ReportPrefs currentReportPrefs();

// The -expreports start: reads the replay's header and driver table (their messages go to
// `messages`, the replay path after the header's), writes the report files through the
// batch export (a file that cannot be written is named on `messages`) and gives the exit
// status. Needs no window and no display.
int runReportExport(const StartRequest& request, const ReportPrefs& prefs, std::FILE* messages);

}  // namespace movrane
