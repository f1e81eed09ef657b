#pragma once

#include <string>

#include "core/reports/ReportData.h"

namespace movrane {

class CZodEvadiDoc;
class LoadedFileChooser;
class Ui;

inline constexpr const char* NO_EXPORT_PATH_MESSAGE = "No export path set. Please set this\r\npath in File->Settings dialog.";
inline constexpr const char* SITE_NEEDS_LAP_MESSAGE =
    "You need to load a lap from the replay\r\nyou want the Report Site for.";
inline constexpr const char* SITE_NEEDS_RACE_MESSAGE =
    "This replay file does not contain race info!\r\nHTML Site export is only made for replays containing race info.";
inline constexpr const char* SITE_WAIT_TEXT = "Please wait while generating report site...";
inline constexpr const char* SITE_FAILED_MESSAGE = "Could not create site!\r\nPlease verify export path in File->Settings";

// "Report site created in:\r\n" + folder + "\r\n\r\nDo you wish to launch the site in your browser?"
std::string siteCreatedQuestion(const std::string& folder);

// "Generate Report site (html)": the guards, the replay among the loaded laps' files, the
// site built under a wait window with the document's map as its track picture, then the
// question to open it. The site folder, or empty when no site was made (the person has
// been told why; a file that could not be written is named in the message's detail).
std::string generateReportSite(Ui& ui, LoadedFileChooser& chooser, CZodEvadiDoc& doc, const std::string& exportFolder,
                               const ReportPrefs& prefs);

}  // namespace movrane
