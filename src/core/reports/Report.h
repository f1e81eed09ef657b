#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/platform/Files.h"
#include "core/reports/CarStates.h"
#include "core/reports/ReportData.h"
#include "core/reports/ReportLaps.h"

namespace movrane {

enum class ReportKind : int {
    Practice = 1,
    Race = 2,
    LapChart = 3,
    LapByLap = 4,
    Complete = 5,
    Mechanical = 6,
    EngineDetection = 7,
    DetailedRace = 8,
    LaptimeVerifier = 9,
    SectorTimes = 10,
    Speed = 11,
    ModSet = 12,
};

// Characters the report window's text view holds.
constexpr std::size_t REPORT_VIEW_LIMIT = 65535;

// The report of one replay: the text of one report kind, built over the replay's header
// and driver table. The window shows it through the sink; the exports take the text.
class Report {
public:
    // Called after every append with the whole text so far, so that a view can follow it.
    using Sink = std::function<void(const std::string& text)>;

    Report(const Header& header, const Drivers& drivers, std::string replayPath, ReportPrefs prefs = {});

    static const char* title(ReportKind kind);
    // Kinds that scan the replay file and grow piece by piece while the window is open.
    static bool isDeferred(ReportKind kind) { return static_cast<int>(kind) >= static_cast<int>(ReportKind::Mechanical); }
    // Kinds that work on the laps loaded in the document rather than on the replay.
    static bool isLapBased(ReportKind kind) {
        return kind == ReportKind::LaptimeVerifier || kind == ReportKind::SectorTimes || kind == ReportKind::Speed;
    }
    // "practice", "race", "lapchart", "lapbylap", "complete", "mechanical", "engines",
    // "detailed", "verify", "sectors", "speed", "modset".
    static std::optional<ReportKind> kindFromName(const std::string& name);

    void setSink(Sink sink) { sink_ = std::move(sink); }
    // The loaded laps and the track's lap length that the lap-based kinds and the detailed
    // race report read.
    void setLaps(ReportLaps laps) { laps_ = std::move(laps); }

    // Generates the report of the kind as its whole text (which also stays in text()).
    const std::string& generate(ReportKind kind);
    const std::string& text() const { return text_; }
    const std::string& titleText() const { return title_; }
    void append(const std::string& piece);

    // The mechanical scan as its own report (through append) or, in race-report mode,
    // only filling the car state table.
    enum class ScanMode { OwnReport, RaceReport };
    void scanMechanical(ScanMode mode = ScanMode::OwnReport);
    const CarStateTable& carStates() const { return carStates_; }

    // Writes practice, race, lap chart, lap-by-lap and complete report (and the mechanical
    // report when asked) to prefix + base name + suffix, each file whole or not at all. Stops
    // at the first file that cannot be written; the batch tells which files were written and
    // which one failed.
    FileBatch exportBatch(const std::string& prefix, bool withMechanical);
    static int batchFileCount(bool withMechanical) { return withMechanical ? 6 : 5; }

    const ReportData& data() const { return data_; }

private:
    std::string completeReport();
    std::function<void(const std::string&)> appender();

    ReportData data_;
    ReportLaps laps_;
    std::string title_;
    std::string text_;
    Sink sink_;
    CarStateTable carStates_{};
};

}  // namespace movrane
