#include "core/app/CZodEvadiDoc.h"

#include "core/app/DocumentExports.h"
#include "core/app/LapQuality.h"
#include "core/library/Prefs.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReadFailure.h"
#include "core/track/MOVRNException.h"
#include "core/track/Track.h"
#include "core/track/TrackLocation.h"
#include "core/track/TrackProjection.h"

namespace movrane {

namespace {
constexpr char MAX_LAPS_MESSAGE[] = "Max number of laps already loaded!";
constexpr char OTHER_TRACK_MESSAGE[] = "This file is not from the same track!";
constexpr char READING_LAP_TEXT[] = "Reading lap data...";
constexpr int TRIM_MARGIN = 1;
}  // namespace

const std::array<Colour, CZodEvadiDoc::MAX_LAPS> CZodEvadiDoc::DEFAULT_COLOURS = {
    Colour{255, 0, 0}, Colour{0, 0, 255}, Colour{0, 127, 0}, Colour{255, 0, 255}, Colour{127, 127, 0}};

DocumentSettings DocumentSettings::fromPrefs(const Prefs& prefs) {
    DocumentSettings s;
    s.orvDirectory = prefs.orvDirectory();
    s.qualityReportOff = prefs.qualityReportOff() != 0;
    s.speedUnit = prefs.speedUnit();
    s.retireInRaceReport = prefs.retireInRaceReport() != 0;
    s.offTrackInRaceReport = prefs.offTheTrackInRaceReport() != 0;
    s.bitmapSize = prefs.bmpSizeInPixel();
    return s;
}

CZodEvadiDoc::CZodEvadiDoc(Ui& ui, LapChooserDialog& chooser) : ui_(ui), chooser_(chooser) {
    for (int i = 0; i < MAX_LAPS; ++i) slots_[i].colour = DEFAULT_COLOURS[i];
}

CZodEvadiDoc::~CZodEvadiDoc() = default;

std::vector<int> CZodEvadiDoc::usedSlots() const {
    std::vector<int> used;
    for (int i = 0; i < MAX_LAPS; ++i)
        if (slots_[i].inUse) used.push_back(i);
    return used;
}

std::string CZodEvadiDoc::replayFolder() const { return resolveUnder(settings_.orvDirectory, "replay"); }

CZodEvadiDoc::LoadResult CZodEvadiDoc::loadLap() { return load(Mode::Menu, {}); }

CZodEvadiDoc::LoadResult CZodEvadiDoc::shellOpen(const std::string& path) {
    replayPath_ = path;
    return load(Mode::ShellOpen, {});
}

CZodEvadiDoc::LoadResult CZodEvadiDoc::openMostRecentReplay() {
    const auto newest = mostRecentReplay(replayFolder());
    if (!newest) {
        ui_.message("No replay files found in " + replayFolder());
        return LoadResult::Failed;
    }
    return shellOpen(*newest);
}

CZodEvadiDoc::LoadResult CZodEvadiDoc::commandLineLoad(const std::string& path, Session session, uint32_t driver,
                                                       int lap) {
    replayPath_ = path;
    return load(Mode::CommandLine, {session, driver, lap});
}

// Loads one lap in the fixed order of the steps: every failure tells the person, frees what
// was made for the lap and leaves the document as it was.
CZodEvadiDoc::LoadResult CZodEvadiDoc::load(Mode mode, const Preset& preset) {
    if (loadedLaps_ >= MAX_LAPS) {
        ui_.message(MAX_LAPS_MESSAGE);
        return LoadResult::Failed;
    }
    int index = 0;
    while (slots_[index].inUse) ++index;

    if (mode == Mode::Menu) {
        Ui::FileRequest request{"Select Replay File",
                                {{"Replay files (*.rpy)", "*.rpy"}, {"All Files(*.*)", "*.*"}},
                                replayFolder(),
                                {}};
        const auto chosen = ui_.chooseFileToOpen(request);
        if (!chosen) return LoadResult::Cancelled;
        replayPath_ = *chosen;
    }

    auto header = std::make_unique<Header>();
    if (header->load(replayPath_) != Header::OK) {
        ui_.message(header->errorMessage(), {}, Ui::Icon::Warning, readFailureDetail(replayPath_, header->failureText()));
        return LoadResult::Failed;
    }
    if (loadedLaps_ > 0 && header->trackName() != trackName_) {
        ui_.message(OTHER_TRACK_MESSAGE, {}, Ui::Icon::Warning);
        return LoadResult::Failed;
    }
    auto drivers = std::make_unique<Drivers>();
    if (drivers->load(replayPath_) != Drivers::OK) {
        ui_.message(Drivers::errorMessage(), {}, Ui::Icon::Warning,
                    readFailureDetail(replayPath_, drivers->failureText()));
        return LoadResult::Failed;
    }

    Preset wanted = preset;
    if (mode != Mode::CommandLine) {
        Chooselap chooser(*header, *drivers);
        const auto selection = chooser_.choose(chooser);
        if (!selection) return LoadResult::Cancelled;
        wanted = {selection->session, selection->driver, selection->lap};
    }

    WaitWindow progress(ui_, READING_LAP_TEXT);
    const bool firstLap = loadedLaps_ == 0;
    if (firstLap && !loadTrackFor(header->trackName())) ui_.message(TRACK_NOT_FOUND_MESSAGE, {}, Ui::Icon::Warning);

    auto lap = std::make_unique<GetRpyInfo>();
    if (lap->load(*drivers, wanted.driver, wanted.lap, wanted.session) != GetRpyInfo::OK) {
        if (firstLap) track_.reset();
        ui_.message(GetRpyInfo::errorMessage(), {}, Ui::Icon::Warning,
                    readFailureDetail(replayPath_, lap->failureText()));
        return LoadResult::Failed;
    }
    if (!settings_.qualityReportOff) ui_.message(qualityReportText(qualityCounts(*lap)));
    lap->trim(TRIM_MARGIN);
    if (track_) {
        if (const auto doubt = lapTimeCheckMessage(*lap, track_->lapLength())) ui_.message(*doubt);
        deriveLapQuantities(*lap, TrackProjection(*track_));
    }

    LapSlot& slot = slots_[index];
    slot.inUse = true;
    slot.shown = true;
    slot.replayPath = replayPath_;
    slot.header = std::move(header);
    slot.drivers = std::move(drivers);
    slot.lap = std::move(lap);
    slot.driver = wanted.driver;
    slot.session = wanted.session;
    slot.lapNumber = wanted.lap;
    slot.line = MapLineState{true, {}, slot.colour};
    if (firstLap) trackName_ = slot.header->trackName();
    ++loadedLaps_;
    changed();
    return LoadResult::Loaded;
}

bool CZodEvadiDoc::loadTrackFor(const std::string& trackName) {
    track_.reset();
    try {
        track_ = loadInstalledTrack(settings_.orvDirectory, trackName);
    } catch (const MOVRNException&) {
        return false;
    }
    return track_ != nullptr;
}

void CZodEvadiDoc::releaseSlot(int index) {
    LapSlot& slot = slots_[index];
    const Colour colour = slot.colour;
    slot = LapSlot{};
    slot.colour = colour;
}

void CZodEvadiDoc::removeLap(int index) {
    if (index < 0 || index >= MAX_LAPS || !slots_[index].inUse) return;
    releaseSlot(index);
    --loadedLaps_;
    if (loadedLaps_ == 0) {
        track_.reset();
        trackName_.clear();
    }
    changed();
}

void CZodEvadiDoc::arrangeLaps(const std::vector<int>& order) {
    std::array<Colour, MAX_LAPS> colours;
    for (int i = 0; i < MAX_LAPS; ++i) colours[i] = slots_[i].colour;
    std::array<LapSlot, MAX_LAPS> arranged;
    int count = 0;
    for (const int index : order) {
        if (index < 0 || index >= MAX_LAPS || !slots_[index].inUse || count == MAX_LAPS) continue;
        arranged[count++] = std::move(slots_[index]);
        slots_[index].inUse = false;
    }
    for (int i = 0; i < MAX_LAPS; ++i) {
        arranged[i].colour = colours[i];
        arranged[i].line.colour = colours[i];
        slots_[i] = std::move(arranged[i]);
    }
    loadedLaps_ = count;
    if (loadedLaps_ == 0) {
        track_.reset();
        trackName_.clear();
    }
    changed();
}

void CZodEvadiDoc::clear() {
    for (int i = 0; i < MAX_LAPS; ++i) releaseSlot(i);
    loadedLaps_ = 0;
    track_.reset();
    trackName_.clear();
    changed();
}

void CZodEvadiDoc::changed() {
    if (onChanged) onChanged();
}

}  // namespace movrane
