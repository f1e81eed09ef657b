#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/Chooselap.h"
#include "core/image/Colour.h"
#include "core/replay/LapDerivation.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

class Drivers;
class GetRpyInfo;
class Header;
class Prefs;
class Track;
class Ui;

// Where the map drawing of a lap's line stands: the next point starts a line, or joins
// the previous one.
struct MapLineState {
    bool firstPoint = true;
    MapPoint previous{};
    Colour colour{};
};

// One of the document's five places for a loaded lap.
struct LapSlot {
    bool inUse = false;
    bool shown = true;  // ticked in the lap bar
    std::string replayPath;
    std::unique_ptr<Header> header;
    std::unique_ptr<Drivers> drivers;
    std::unique_ptr<GetRpyInfo> lap;
    uint32_t driver = 0;
    Session session = PRACTICE;
    int lapNumber = 0;
    Colour colour{};
    MapLineState line;
};

// The lap chooser dialog: shows the chooser's state and returns the accepted selection,
// or nothing when the person cancelled.
class LapChooserDialog {
public:
    virtual ~LapChooserDialog() = default;
    virtual std::optional<Chooselap::Selection> choose(Chooselap& chooser) = 0;
};

// The preferences the document works with, copied in when they change.
struct DocumentSettings {
    std::string orvDirectory;
    bool qualityReportOff = false;
    uint32_t speedUnit = 0;  // 0 km/h, 1 mph
    bool retireInRaceReport = false;
    bool offTrackInRaceReport = false;
    uint32_t bitmapSize = 768;

    static DocumentSettings fromPrefs(const Prefs& prefs);
};

// The document: up to five laps of replays of one track, and that track's geometry.
class CZodEvadiDoc {
public:
    static constexpr int MAX_LAPS = 5;
    static const std::array<Colour, MAX_LAPS> DEFAULT_COLOURS;

    enum class LoadResult { Loaded, Cancelled, Failed };

    CZodEvadiDoc(Ui& ui, LapChooserDialog& chooser);
    ~CZodEvadiDoc();
    CZodEvadiDoc(const CZodEvadiDoc&) = delete;
    CZodEvadiDoc& operator=(const CZodEvadiDoc&) = delete;

    void setSettings(const DocumentSettings& settings) { settings_ = settings; }
    const DocumentSettings& settings() const { return settings_; }

    // "&Add replay lap...": the file dialog, the lap chooser, and the load.
    LoadResult loadLap();
    // A replay opened from the desktop or the command line as its one argument: no file dialog.
    LoadResult shellOpen(const std::string& path);
    // A lap named by the command line or chosen in the lap finder: no dialog at all.
    LoadResult commandLineLoad(const std::string& path, Session session, uint32_t driver, int lap);
    // "Open most recently added replay file...": the newest replay of the replay folder,
    // opened as "&Add replay lap..." does after its file dialog.
    LoadResult openMostRecentReplay();

    void clear();
    void removeLap(int slot);
    // Puts the laps of the slots in `order` into slots 0, 1, ... in that order (each slot
    // keeps its colour) and releases every lap not named.
    void arrangeLaps(const std::vector<int>& order);

    int loadedLaps() const { return loadedLaps_; }
    const LapSlot& slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
    LapSlot& slot(int index) { return slots_.at(static_cast<std::size_t>(index)); }
    // Indexes of the slots in use, in slot order.
    std::vector<int> usedSlots() const;

    const Track* track() const { return track_.get(); }
    // The track for views that mark a stretch of it (its highlight).
    Track* track() { return track_.get(); }
    bool trackFound() const { return track_ != nullptr; }
    const std::string& trackName() const { return trackName_; }
    const std::string& replayPath() const { return replayPath_; }

    // The replay folder of the installation, where file dialogs start.
    std::string replayFolder() const;

    // Called whenever laps are loaded or removed, for the views to redraw.
    std::function<void()> onChanged;

private:
    enum class Mode { Menu, ShellOpen, CommandLine };
    struct Preset {
        Session session = PRACTICE;
        uint32_t driver = 0;
        int lap = 0;
    };

    LoadResult load(Mode mode, const Preset& preset);
    bool loadTrackFor(const std::string& trackName);
    void releaseSlot(int index);
    void changed();

    Ui& ui_;
    LapChooserDialog& chooser_;
    DocumentSettings settings_;
    std::array<LapSlot, MAX_LAPS> slots_;
    int loadedLaps_ = 0;
    std::unique_ptr<Track> track_;
    std::string trackName_;
    std::string replayPath_;
};

}  // namespace movrane
