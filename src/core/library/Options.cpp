#include "core/library/Options.h"

#include "core/library/Installation.h"
#include "core/platform/Paths.h"
#include "core/platform/Profile.h"

namespace movrane {

Options::Options(Prefs& prefs, Ui& ui)
    : mph(prefs.speedUnit() == 1),
      qualityReport(prefs.qualityReportOff() == 0),
      orvPath(prefs.orvDirectory()),
      altRpyPath(prefs.altRpyPath()),
      exportPath(prefs.recordsPath()),
      retirementReason(prefs.retireInRaceReport() == 1),
      offTrackLines(prefs.offTheTrackInRaceReport() == 1),
      bitmapSize(std::to_string(static_cast<int32_t>(prefs.bmpSizeInPixel()))),
      exclusionMessages(prefs.exclusionMessages() == 1),
      orvRankHost(prefs.orvRankHost()),
      prefs_(prefs),
      ui_(ui) {}

std::optional<std::string> Options::locateOrvExe() {
    Ui::FileRequest request;
    request.title = LOCATE_TITLE;
    request.filters = {{LOCATE_FILTER, ORV_EXE}};
    request.initialPath = orvPath;
    const auto chosen = ui_.chooseFileToOpen(request);
    if (!chosen) return std::nullopt;
    return cutAtLastSeparator(*chosen);
}

void Options::browseOrvPath() {
    if (const auto folder = locateOrvExe()) orvPath = *folder;
}

void Options::browseAltRpyPath() {
    if (const auto folder = ui_.chooseFolder(ALT_RPY_TITLE, altRpyPath)) altRpyPath = *folder;
}

void Options::browseExportPath() {
    if (const auto folder = ui_.chooseFolder(EXPORT_TITLE, exportPath)) exportPath = *folder;
}

bool Options::ok() {
    orvPath = orvPath.substr(0, PATH_LIMIT);
    if (orvPath.empty()) {
        const auto folder = locateOrvExe();
        if (!folder) return false;
        orvPath = *folder;
    }
    while (!hasOrvExe(orvPath)) {
        ui_.message(NOT_FOUND_MESSAGE, {}, Ui::Icon::Warning);
        const auto folder = locateOrvExe();
        if (!folder) return false;
        orvPath = *folder;
    }
    altRpyPath = altRpyPath.substr(0, PATH_LIMIT);
    exportPath = exportPath.substr(0, PATH_LIMIT);
    store();
    prefs_.save();
    storeOrvRankHost();
    return true;
}

void Options::store() {
    prefs_.setSpeedUnit(mph ? 1 : 0);
    prefs_.setQualityReportOff(qualityReport ? 0 : 1);
    prefs_.setOrvDirectory(orvPath);
    prefs_.setAltRpyPath(altRpyPath);
    prefs_.setRecordsPath(exportPath);
    prefs_.setRetireInRaceReport(retirementReason ? 1 : 0);
    prefs_.setOffTheTrackInRaceReport(offTrackLines ? 1 : 0);
    prefs_.setBmpSizeInPixel(parseBitmapSize(bitmapSize));
    prefs_.setExclusionMessages(exclusionMessages ? 1 : 0);
}

void Options::storeOrvRankHost() {
    const std::size_t first = orvRankHost.find_first_not_of(" \t");
    orvRankHost = first == std::string::npos ? "" : orvRankHost.substr(first, orvRankHost.find_last_not_of(" \t") + 1 - first);
    if (orvRankHost == prefs_.orvRankHost()) return;
    std::string error;
    if (prefs_.setAndSave(setting::ORVRANK_HOST.name, orvRankHost, error) != Prefs::SetResult::Done)
        ui_.message(error, {}, Ui::Icon::Warning);
}

uint32_t parseBitmapSize(const std::string& field) {
    const int size = decimalToInt(field.substr(0, Options::BITMAP_SIZE_LIMIT));
    return size > 0 ? static_cast<uint32_t>(size) : Options::DEFAULT_BITMAP_SIZE;
}

}  // namespace movrane
