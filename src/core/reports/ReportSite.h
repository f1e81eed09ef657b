#pragma once

// The HTML report site of one replay: the practice, race, lap chart, lap-by-lap and
// mechanical reports as pages, the two race pictures and the track map as PNG files, an
// index page that sums the race up, all in one folder named after the replay.
#include <string>

#include "core/image/RgbImage.h"
#include "core/reports/ReportData.h"

namespace movrane {

class Header;
class Drivers;

// What the index page says of the race, cut from the report texts. A value the reports
// do not hold (no practice, no time, nobody led) is "Unknown".
struct SiteSummary {
    std::string trackName;      // first letter upper-cased
    std::string date;           // as the reports' first line writes it
    std::string scheduledLaps;  // decimal
    std::string drivers;        // decimal
    std::string pole;           // "Bob Bravo (1m29.500s)"
    std::string winner;         // "Ann Alpha (4m32.400s)"
    std::string fastestLap;     // "Ann Alpha (1m30.000s)"
    std::string mostLapsLed;    // "Ann Alpha (3 laps)"
};

std::string poleText(const std::string& practiceReport);
std::string winnerText(const std::string& raceReport);
std::string dateText(const std::string& raceReport);
std::string fastestLapText(const std::string& raceReport);
std::string mostLapsLedText(const std::string& raceReport);

// One page of the site: the banner with the heading and the links to every page, and the
// content (HTML) in the body table. "\n" line ends.
std::string sitePage(const std::string& heading, const std::string& content);
// A report's text as page content, preformatted and escaped, "\r\n" made "\n".
std::string reportPageContent(const std::string& reportText);
std::string indexPageContent(const SiteSummary& summary);
// The pages of the two race pictures, the style sheet and the 1 x 1 transparent spacer.
std::string raceGraphicsPage();
std::string raceHistoryGraphPage();
const std::string& siteStyleSheet();
const std::string& spacerGif();

// Where the site of a replay goes: export folder / the replay's base name.
std::string siteFolderOf(const std::string& exportFolder, const std::string& replayPath);

struct SiteResult {
    std::string folder;      // the site folder; empty when the site could not be made
    std::string failedPath;  // the file or folder that could not be written
};

// Builds the whole site in memory, writes it into a fresh folder beside the site folder
// and only then moves the files into the site folder (created when missing, reused and
// overwritten otherwise). A file that cannot be written leaves the earlier site as it was.
SiteResult generateSite(const Header& header, const Drivers& drivers, const std::string& replayPath,
                        const ReportPrefs& prefs, const std::string& exportFolder, const RgbImage& trackMap);

}  // namespace movrane
