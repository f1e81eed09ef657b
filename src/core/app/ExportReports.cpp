#include "core/app/ExportReports.h"

#include "core/library/Prefs.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"

namespace movrane {

ReportPrefs currentReportPrefs() {
    const Prefs& prefs = Prefs::get();
    return ReportPrefs{prefs.retireInRaceReport() != 0, prefs.offTheTrackInRaceReport() == 1};
}

int runReportExport(const StartRequest& request, const ReportPrefs& prefs, std::FILE* messages) {
    Header header;
    if (header.load(request.replayPath) != Header::OK) {
        std::fprintf(messages, "%s\n%s\n", header.errorMessage(), request.replayPath.c_str());
        return EXPORT_UNREADABLE;
    }
    Drivers drivers;
    if (drivers.load(request.replayPath) != Drivers::OK) {
        std::fprintf(messages, "%s\n", Drivers::errorMessage());
        return EXPORT_UNREADABLE;
    }
    Report report(header, drivers, request.replayPath, prefs);
    // A file that cannot be created stops the export without a message; the status tells it.
    const int written = report.exportBatch(request.prefix, request.withMechanical);
    return written == Report::batchFileCount(request.withMechanical) ? EXPORT_OK : EXPORT_INCOMPLETE;
}

}  // namespace movrane
