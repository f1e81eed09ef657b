#include "core/reports/ReportSite.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "core/analysis/RacePictures.h"
#include "core/platform/Files.h"
#include "core/platform/Html.h"
#include "core/platform/Paths.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/reports/ReportFiles.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr char UNKNOWN[] = "Unknown";
// A report line is read with this many characters at most.
constexpr std::size_t LINE_LIMIT = 150;

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.substr(0, LINE_LIMIT));
        start = end + 1;
    }
    return lines;
}

std::string trimmedRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string trimmedLeft(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// `count` characters of a line from `from` (0-based); fewer, or none, past its end.
std::string field(const std::string& line, std::size_t from, std::size_t count) {
    return from < line.size() ? line.substr(from, count) : std::string();
}

// "name (value)", or "Unknown" when either is missing or the report had no time.
std::string nameWithValue(const std::string& name, const std::string& value, const std::string& unit = {}) {
    if (name.empty() || value.empty() || value.find("No time") != std::string::npos) return UNKNOWN;
    return name + " (" + value + unit + ")";
}

// How far a car number wider than its two characters (it is written whole) moves the
// columns after it in a practice or race result line.
std::size_t carNumberOverflow(const std::string& line) {
    constexpr std::size_t NUMBER_FROM = 4, NUMBER_END = 6;
    const std::size_t digits = line.find_first_not_of(' ', NUMBER_FROM);
    const std::size_t end = digits == std::string::npos ? std::string::npos : line.find(' ', digits);
    return end != std::string::npos && end > NUMBER_END ? end - NUMBER_END : 0;
}

// The first result line of the table under `title`: the line after its column header.
std::string firstTableLine(const std::vector<std::string>& lines, const std::string& title) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != title) continue;
        std::size_t header = i + 1;
        while (header < lines.size() && lines[header].empty()) ++header;
        return header + 1 < lines.size() ? lines[header + 1] : std::string();
    }
    return {};
}

std::string upperFirst(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string spacer(int width, int height) {
    return "<img src=\"spacer_clear.gif\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\">";
}

const char TABLE[] = "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"33\">\n";

// A row of the banner: the spacer cell, the middle cell and the coloured right cell.
std::string bannerRow(const char* background, int leftHeight, const std::string& middle, const char* rightBackground) {
    return std::string("<tr bgcolor=\"") + background + "\">\n<td width=\"30\">" + spacer(30, leftHeight) +
           "</td>\n<td width=\"762\">" + middle + "</td>\n<td width=\"33\" bgcolor=\"" + rightBackground + "\">" +
           spacer(30, 20) + "</td>\n</tr>\n";
}

std::string thinRow() { return "<tr>\n<td colspan=\"3\">" + spacer(30, 1) + "</td>\n</tr>\n"; }

std::string navigation() {
    static const std::pair<const char*, const char*> links[] = {
        {"Index", "index.html"},
        {"Practice", "Practice.html"},
        {"Race", "Race.html"},
        {"Lap by lap", "LapByLap.html"},
        {"Lap chart", "LapChart.html"},
        {"Race History Graph", "RaceGraphics2.html"},
        {"Mechanical", "Mechanical.html"},
        {"Graphical race report", "RaceGraphics.html"},
    };
    std::string text = "<p>";
    for (const auto& [name, page] : links) {
        if (text.size() > 3) text += " - ";
        text += std::string("<a href=\"") + page + "\">" + name + "</a>";
    }
    return text + "</p>";
}

std::string graphicsPage(const char* heading, const char* caption, const char* picture) {
    return sitePage(heading, std::string("<b>") + caption + "</b>\n<p align=\"left\"></p>\n<p><img src=\"" + picture +
                                 "\"></p>\n");
}

struct SiteFile {
    std::string name;
    std::string bytes;
};

// The site's files in the order they are written.
std::vector<SiteFile> siteFiles(const Header& header, const Drivers& drivers, const std::string& replayPath,
                                const ReportPrefs& prefs, const RgbImage& trackMap) {
    Report report(header, drivers, replayPath, prefs);
    std::vector<SiteFile> files;
    const auto reportPage = [&](ReportKind kind, const char* heading) {
        return sitePage(heading, reportPageContent(report.generate(kind)));
    };
    SiteSummary summary;
    files.push_back({"Practice.html", reportPage(ReportKind::Practice, "PRACTICE REPORT")});
    summary.pole = poleText(report.text());
    files.push_back({"Race.html", reportPage(ReportKind::Race, "RACE REPORT")});
    summary.winner = winnerText(report.text());
    summary.date = dateText(report.text());
    summary.fastestLap = fastestLapText(report.text());
    summary.mostLapsLed = mostLapsLedText(report.text());
    summary.scheduledLaps = std::to_string(header.scheduledLaps());
    summary.drivers = std::to_string(drivers.count());
    summary.trackName = upperFirst(header.trackName());
    files.push_back({"LapChart.html", reportPage(ReportKind::LapChart, "LAP CHART REPORT")});
    files.push_back({"LapByLap.html", reportPage(ReportKind::LapByLap, "LAP BY LAP REPORT")});
    files.push_back({"Mechanical.html", reportPage(ReportKind::Mechanical, "MECHANICAL REPORT")});
    files.push_back({"index.html", sitePage("MOVRANE REPORT SITE", indexPageContent(summary))});

    const RaceInput race = RaceInput::of(header, drivers);
    const GraphicalRaceReport positions(race);
    const auto size = positions.preferredSize();
    RgbImage positionChart(size[0], size[1]);
    ImagePainter positionPainter(positionChart);
    positions.paint(positionPainter);
    RgbImage history(RACE_GRAPH_WIDTH, RACE_GRAPH_HEIGHT);
    ImagePainter historyPainter(history);
    RaceHistoryGraph graph(race);
    graph.title = graph.defaultTitle();
    graph.paint(historyPainter);
    for (const auto& [name, image] : {std::pair<const char*, const RgbImage*>{"RaceGraphics", &positionChart},
                                      {"RaceGraphics2", &history},
                                      {"track", &trackMap}}) {
        files.push_back({std::string(name) + ".bmp", encodeBmp(*image)});
        files.push_back({std::string(name) + ".png", encodePng(*image)});
    }
    files.push_back({"movrn.css", siteStyleSheet()});
    files.push_back({"RaceGraphics.html", raceGraphicsPage()});
    files.push_back({"RaceGraphics2.html", raceHistoryGraphPage()});
    files.push_back({"spacer_clear.gif", spacerGif()});
    return files;
}

}  // namespace

std::string poleText(const std::string& practiceReport) {
    if (practiceReport.rfind("This replay", 0) == 0) return UNKNOWN;
    const auto lines = textLines(practiceReport);
    if (lines.size() < 6) return UNKNOWN;
    const std::size_t shift = carNumberOverflow(lines[5]);
    return nameWithValue(trimmedRight(field(lines[5], 7 + shift, 33)), trimmedLeft(field(lines[5], 52 + shift, 10)));
}

std::string winnerText(const std::string& raceReport) {
    const auto lines = textLines(raceReport);
    if (lines.size() < 6) return UNKNOWN;
    const std::string& line = lines[5];
    const std::size_t shift = carNumberOverflow(line);
    // Without a completed lap nobody has won: the first line shows no race time.
    if (trimmedLeft(field(line, 52 + shift, 4)) == "0") return UNKNOWN;
    return nameWithValue(trimmedRight(field(line, 7 + shift, 32)), trimmedRight(trimmedLeft(field(line, 56 + shift, 12))));
}

std::string dateText(const std::string& raceReport) {
    const std::string first = textLines(raceReport).front();
    const auto gap = first.find("  ");
    if (gap == std::string::npos) return UNKNOWN;
    const std::string date = trimmedLeft(first.substr(gap));
    return date.empty() ? UNKNOWN : date;
}

std::string fastestLapText(const std::string& raceReport) {
    const std::string line = firstTableLine(textLines(raceReport), "RACE FASTEST LAPS");
    return nameWithValue(trimmedRight(field(line, 4, 33)), trimmedRight(trimmedLeft(field(line, 37, 10))));
}

std::string mostLapsLedText(const std::string& raceReport) {
    const std::string line = firstTableLine(textLines(raceReport), "LAPS LED");
    return nameWithValue(trimmedRight(field(line, 0, 33)), trimmedLeft(field(line, 33, 3)), " laps");
}

std::string sitePage(const std::string& heading, const std::string& content) {
    std::string page =
        "<html>\n<head>\n<TITLE>Movrane Export</TITLE>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<LINK REL=STYLESHEET HREF=\"movrn.css\" TYPE=\"text/css\">\n</HEAD>\n"
        "<body bgcolor=\"#FFFFFF\" text=\"#000000\">\n";
    page += TABLE;
    // The banner's link leads to the site's own index page: the program has no web page
    // of its own that a site could rely on.
    page += bannerRow("#999999", 20, "<b><a href=\"index.html\">Generated by Movrane</a></b>", "#FFCC00");
    page += thinRow();
    page += bannerRow("#666666", 40, "<h1><b>" + heading + "</b></h1>", "#FF9900");
    page += thinRow();
    page += bannerRow("#333333", 20, navigation(), "#FF6600");
    page += "</table>\n<p>&nbsp;</p>\n<p>&nbsp;</p>\n";
    page += TABLE;
    page += "<tr>\n<td width=\"30\">" + spacer(30, 20) + "</td>\n<td width=\"762\">\n" + content + "</td>\n<td width=\"33\">" +
            spacer(30, 20) + "</td>\n</tr>\n</table>\n<p>&nbsp;</p>\n</body>\n</html>\n";
    return page;
}

std::string reportPageContent(const std::string& reportText) {
    return "<blockquote>\n<pre>\n" + htmlEscaped(toFileText(reportText)) + "</pre>\n</blockquote>\n";
}

std::string indexPageContent(const SiteSummary& s) {
    return "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\n<tr>\n<td valign=\"top\">\n"
           "<h2>" + htmlEscaped(s.trackName) + "</h2>\n<p>&nbsp;</p>\n"
           "<p>" + htmlEscaped(s.date) + "</p>\n<p>&nbsp;</p>\n"
           "<p>Scheduled laps: " + s.scheduledLaps + "</p>\n"
           "<p>Drivers: " + s.drivers + "</p>\n<p>&nbsp;</p>\n"
           "<p>Pole: " + htmlEscaped(s.pole) + "</p>\n"
           "<p>Winner: " + htmlEscaped(s.winner) + "</p>\n"
           "<p>Fastest lap: " + htmlEscaped(s.fastestLap) + "</p>\n"
           "<p>Most laps led: " + htmlEscaped(s.mostLapsLed) + "</p>\n<p>&nbsp;</p>\n"
           "</td>\n<td><img src=\"track.png\" width=\"300\" height=\"300\"></td>\n</tr>\n</table>\n";
}

std::string raceGraphicsPage() { return graphicsPage("GRAPHICAL RACE REPORT", "Graphical Race Report", "RaceGraphics.png"); }

std::string raceHistoryGraphPage() { return graphicsPage("RACE HISTORY GRAPH", "Race History Graph", "RaceGraphics2.png"); }

const std::string& siteStyleSheet() {
    static const std::string css =
        "BODY {\n  font-family: Verdana, sans-serif;\n  color: #222222;\n  background: #ffffff;\n"
        "  margin-top: 0;\n  margin-right: 0;\n  margin-bottom: 0;\n  margin-left: 0;\n  font-size: 100%;\n}\n"
        "P {\n  font-size: 75%;\n  color: #222222;\n  margin: 0;\n}\n"
        "H1 {\n  font-weight: bold;\n  font-family: Arial, sans-serif;\n  color: #ffffff;\n  margin-bottom: 0;\n"
        "  font-size: 95%;\n}\n"
        "H2 {\n  font-weight: bold;\n  line-height: 95%;\n  color: #222222;\n  font-family: Arial, sans-serif;\n"
        "  margin: 0;\n}\n"
        "A {\n  font-family: Verdana, sans-serif;\n  font-size: 95%;\n  color: #ffffff;\n  text-decoration: none;\n}\n"
        "A:hover {\n  color: #ffffff;\n  text-decoration: underline;\n}\n"
        "A:active {\n  color: #ffffff;\n}\n";
    return css;
}

const std::string& spacerGif() {
    // GIF89a, 1 x 1, a two-colour table whose first colour is transparent, one pixel of it.
    static const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01\x00\x00\x00\x00"
        "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
        43);
    return gif;
}

std::string siteFolderOf(const std::string& exportFolder, const std::string& replayPath) {
    return joinPath(exportFolder, replayBaseName(replayPath));
}

SiteResult generateSite(const Header& header, const Drivers& drivers, const std::string& replayPath,
                        const ReportPrefs& prefs, const std::string& exportFolder, const RgbImage& trackMap) {
    namespace fs = std::filesystem;
    const std::string folder = siteFolderOf(exportFolder, replayPath);
    const std::vector<SiteFile> files = siteFiles(header, drivers, replayPath, prefs, trackMap);

    // Every file is first written whole into a fresh folder beside the site; a failure
    // there leaves the earlier site untouched. Renames within one file system then move
    // the finished files into place.
    const std::string staging = folder + ".new-" + std::to_string(::getpid());
    std::error_code error;
    fs::remove_all(staging, error);
    if (!fs::create_directories(staging, error)) return {{}, folder};
    SiteResult result{folder, {}};
    FileBatch batch;
    for (const SiteFile& file : files) {
        if (!batch.write(joinPath(staging, file.name), file.bytes)) {
            result = {{}, joinPath(folder, file.name)};
            break;
        }
    }
    if (result.failedPath.empty()) {
        fs::create_directories(folder, error);
        for (const SiteFile& file : files) {
            fs::rename(joinPath(staging, file.name), joinPath(folder, file.name), error);
            if (error) {
                result = {{}, joinPath(folder, file.name)};
                break;
            }
        }
    }
    fs::remove_all(staging, error);
    return result;
}

}  // namespace movrane
