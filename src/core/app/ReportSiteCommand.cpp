#include "core/app/ReportSiteCommand.h"

#include "core/app/CZodEvadiDoc.h"
#include "core/app/Commands.h"
#include "core/app/MapImage.h"
#include "core/platform/DefaultHandler.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/reports/ReportReplayChoice.h"
#include "core/reports/ReportSite.h"

namespace movrane {

std::string siteCreatedQuestion(const std::string& folder) {
    return "Report site created in:\r\n" + folder + "\r\n\r\nDo you wish to launch the site in your browser?";
}

std::string generateReportSite(Ui& ui, LoadedFileChooser& chooser, CZodEvadiDoc& doc, const std::string& exportFolder,
                               const ReportPrefs& prefs) {
    if (exportFolder.empty()) {
        ui.message(NO_EXPORT_PATH_MESSAGE);
        return {};
    }
    if (doc.loadedLaps() == 0) {
        ui.message(SITE_NEEDS_LAP_MESSAGE);
        return {};
    }
    std::vector<std::string> lapFiles;
    for (int i = 0; i < CZodEvadiDoc::MAX_LAPS; ++i)
        lapFiles.push_back(doc.slot(i).inUse ? doc.slot(i).replayPath : std::string());
    const auto replay = chooseReportReplay(ui, chooser, lapFiles, doc.replayFolder());
    if (!replay) return {};
    if (!replay->drivers.racePresent()) {
        ui.message(SITE_NEEDS_RACE_MESSAGE);
        return {};
    }
    SiteResult site;
    {
        WaitWindow wait(ui, SITE_WAIT_TEXT);
        const RgbImage trackMap = documentMapImage(doc, bitmapSide(doc.settings().bitmapSize));
        site = generateSite(replay->header, replay->drivers, replay->path, prefs, exportFolder, trackMap);
    }
    if (site.folder.empty()) {
        ui.message(SITE_FAILED_MESSAGE, {}, Ui::Icon::Warning, "File: " + site.failedPath);
        return {};
    }
    if (ui.askYesNo(siteCreatedQuestion(site.folder))) openWithDefaultHandlerOrTell(ui, joinPath(site.folder, "index.html"));
    return site.folder;
}

}  // namespace movrane
