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
    // A file that cannot be written stops the export; the files before it stay complete.
    const FileBatch batch = report.exportBatch(request.prefix, request.withMechanical);
    if (!batch.failed()) return EXPORT_OK;
    std::fprintf(messages, "Error creating file!\n%s\n", batch.failedPath().c_str());
    return EXPORT_INCOMPLETE;
}

}  // namespace movrane
