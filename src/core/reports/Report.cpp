#include "core/reports/Report.h"

#include "core/reports/DetailedRaceScan.h"
#include "core/reports/EngineReports.h"
#include "core/reports/Generators.h"
#include "core/reports/LapTimeReports.h"
#include "core/reports/MechanicalScan.h"

namespace movrane {

namespace {
struct KindInfo {
    ReportKind kind;
    const char* title;
    const char* name;
};

constexpr KindInfo KINDS[] = {
    {ReportKind::Practice, "Practice Report", "practice"},  {ReportKind::Race, "Race Report", "race"},
    {ReportKind::LapChart, "Lap Chart", "lapchart"},         {ReportKind::LapByLap, "Lap By Lap report", "lapbylap"},
    {ReportKind::Complete, "Complete Report", "complete"},   {ReportKind::Mechanical, "Mechanical report", "mechanical"},
    {ReportKind::EngineDetection, "Engine Detection Report", "engines"},
    {ReportKind::DetailedRace, "Detailed Race Report", "detailed"},
    {ReportKind::LaptimeVerifier, "Online Laptime Verifier", "verify"},
    {ReportKind::SectorTimes, "Sector Times", "sectors"},
    {ReportKind::Speed, "Speed Report", "speed"},
    {ReportKind::ModSet, "ZEK+ Report", "modset"},
};

constexpr const char* TOO_LARGE =
    "Sorry, report is too large for this stupid textbox.\r\nUse the seperate report options instead.\r\n";
}  // namespace

Report::Report(const Header& header, const Drivers& drivers, std::string replayPath, ReportPrefs prefs)
    : data_(header, drivers, std::move(replayPath), prefs) {}

const char* Report::title(ReportKind kind) {
    for (const auto& k : KINDS) {
        if (k.kind == kind) return k.title;
    }
    return "";
}

std::optional<ReportKind> Report::kindFromName(const std::string& name) {
    for (const auto& k : KINDS) {
        if (name == k.name) return k.kind;
    }
    return std::nullopt;
}

void Report::append(const std::string& piece) {
    text_ += piece;
    if (sink_) sink_(text_);
}

const std::string& Report::generate(ReportKind kind) {
    title_ = title(kind);
    text_.clear();
    switch (kind) {
        case ReportKind::Practice: text_ = practiceReport(data_); break;
        case ReportKind::Race:
            if (data_.prefs().retireInRaceReport && data_.drivers().racePresent()) scanMechanical(ScanMode::RaceReport);
            text_ = raceReport(data_, carStates_);
            break;
        case ReportKind::LapChart: text_ = lapChart(data_); break;
        case ReportKind::LapByLap: text_ = lapByLapReport(data_); break;
        case ReportKind::Complete: text_ = completeReport(); break;
        case ReportKind::Mechanical: scanMechanical(ScanMode::OwnReport); return text_;
        case ReportKind::EngineDetection: engineDetectionReport(data_, appender()); return text_;
        case ReportKind::DetailedRace:
            DetailedRaceScan(data_, carStates_, laps_.lapLength, appender()).run();
            return text_;
        case ReportKind::LaptimeVerifier: laptimeVerifierReport(laps_, appender()); return text_;
        case ReportKind::SectorTimes: sectorTimesReport(laps_, appender()); return text_;
        case ReportKind::Speed: speedReport(laps_, appender()); return text_;
        case ReportKind::ModSet: modSetReport(data_, appender()); return text_;
    }
    if (sink_) sink_(text_);
    return text_;
}

// The four basic reports joined; a text the view could not hold is replaced by the notice.
std::string Report::completeReport() {
    std::string joined = practiceReport(data_);
    joined += "\r\n\r\n";
    if (data_.prefs().retireInRaceReport && data_.drivers().racePresent()) scanMechanical(ScanMode::RaceReport);
    joined += raceReport(data_, carStates_);
    joined += "\r\n\r\n" + lapChart(data_) + "\r\n\r\n" + lapByLapReport(data_);
    return joined.size() > REPORT_VIEW_LIMIT ? TOO_LARGE : joined;
}

std::function<void(const std::string&)> Report::appender() {
    return [this](const std::string& piece) { append(piece); };
}

void Report::scanMechanical(ScanMode mode) {
    if (mode == ScanMode::OwnReport) {
        title_ = title(ReportKind::Mechanical);
        text_.clear();
        MechanicalScan(data_, carStates_, appender()).run();
    } else {
        MechanicalScan(data_, carStates_, [](const std::string&) {}).run();
    }
}

}  // namespace movrane
