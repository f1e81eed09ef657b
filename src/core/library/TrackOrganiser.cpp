#include "core/library/TrackOrganiser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Profile.h"
#include "core/platform/Ui.h"

namespace movrane {

const std::array<EditTrackProp::FieldLabel, SeasonEvent::FIELD_COUNT> EditTrackProp::FIELDS = {{
    {"Long Name:", SeasonEvent::LONG_NAME},
    {"Short Name:", SeasonEvent::SHORT_NAME},
    {"TrackDir:", SeasonEvent::TRACK_DIR},
    {"Month:", SeasonEvent::MONTH},
    {"Day:", SeasonEvent::DAY},
    {"Grid:", SeasonEvent::GRID},
    {"Laps:", SeasonEvent::LAPS},
}};

const std::array<const char*, SeasonEvent::FIELD_COUNT> TrackOrganiser::COLUMN_HEADERS = {
    "Long Name", "Short Name", "TrackDir", "Laps", "Month", "Day", "Grid"};
const std::array<const char*, SeasonEvent::FIELD_COUNT> TrackOrganiser::KEYS = {
    "name", "shortname", "trackDirectory", "numberOfLaps", "month", "day", "startingGrid"};

namespace {

constexpr std::size_t VALUE_BUFFER = 100;
constexpr const char* NO_VALUE = "default";
constexpr const char* NO_TRACK_CAPTION = "No track choosen!";
// The order in which an event's keys are written.
constexpr std::array<SeasonEvent::Field, SeasonEvent::FIELD_COUNT> WRITE_ORDER = {
    SeasonEvent::LONG_NAME, SeasonEvent::SHORT_NAME, SeasonEvent::TRACK_DIR, SeasonEvent::LAPS,
    SeasonEvent::DAY,       SeasonEvent::MONTH,      SeasonEvent::GRID};

std::string eventSection(std::size_t number) { return "Event" + std::to_string(number); }

// The event number of a section "Event<n>" (no blank, no leading zero), or 0.
long long eventNumberOf(const std::string& section) {
    if (section.size() <= 5 || !equalsIgnoreCase(section.substr(0, 5), "Event") || section[5] == '0') return 0;
    long long n = 0;
    for (std::size_t i = 5; i < section.size(); ++i) {
        if (section[i] < '0' || section[i] > '9' || n > 1000000000) return 0;
        n = n * 10 + (section[i] - '0');
    }
    return n;
}

}  // namespace

TrackOrganiser::TrackOrganiser(std::string installation, Ui& ui)
    : seasonPath_(resolveUnder(installation, "seasons/67season.ini")), ui_(ui) {
    import();
}

std::string TrackOrganiser::backupPath() const { return joinPath(cutAtLastSeparator(seasonPath_), "67season.old"); }

void TrackOrganiser::import() {
    rows_.clear();
    modified_ = false;
    const ProfileSnapshot season(seasonPath_);
    const int events = decimalToInt(season.getString("Season", "numEvents", NO_VALUE, VALUE_BUFFER));
    const auto sections = static_cast<int>(season.sectionNames().size());
    // A wild count cannot run away: there are never more events than sections.
    for (int n = 1; n <= std::min(events, sections); ++n) {
        SeasonEvent event;
        for (int f = 0; f < SeasonEvent::FIELD_COUNT; ++f)
            event.fields[f] = season.getString(eventSection(n), KEYS[f], NO_VALUE, VALUE_BUFFER);
        rows_.push_back(std::move(event));
    }
}

std::optional<int> TrackOrganiser::singleSelection(const std::vector<int>& selection, const char* several,
                                                   const char* none) {
    if (selection.size() > 1) {
        ui_.message(several);
        return std::nullopt;
    }
    if (selection.empty() || selection[0] < 0 || selection[0] >= count()) {
        ui_.message(none, NO_TRACK_CAPTION);
        return std::nullopt;
    }
    return selection[0];
}

void TrackOrganiser::edit(const std::vector<int>& selection, EditTrackProp& editor) {
    const auto row = singleSelection(selection, "Select only ONE track when editing!", "Choose a track to edit!");
    if (!row) return;
    const auto edited = editor.edit(rows_[*row]);
    if (!edited) return;
    rows_[*row] = *edited;
    modified_ = true;
}

void TrackOrganiser::add(EditTrackProp& editor) {
    if (!ui_.askYesNo("Only the entry in 67season.ini will be added.\r\nThe track directory must already exist,\r\n"
                      "or you have to add it later.\r\n\r\nAre you sure you want to add a track entry?"))
        return;
    const auto added = editor.edit(SeasonEvent{});
    if (!added) return;
    rows_.push_back(*added);
    modified_ = true;
}

void TrackOrganiser::remove(const std::vector<int>& selection) {
    const auto row = singleSelection(selection, "Select only ONE track when removing!", "Choose a track to remove!");
    if (!row) return;
    if (!ui_.askYesNo("Only the entry in 67season.ini will be removed.\r\nThe track directory will NOT be removed.\r\n"
                      "You can later add the track again.\r\n\r\nAre you sure you want to remove the track entry?"))
        return;
    rows_.erase(rows_.begin() + *row);
    modified_ = true;
}

void TrackOrganiser::move(std::vector<int> moved, int before) {
    std::sort(moved.begin(), moved.end());
    moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    std::erase_if(moved, [this](int i) { return i < 0 || i >= count(); });
    if (moved.empty()) return;
    std::vector<SeasonEvent> taken, kept;
    int insertAt = 0;
    for (int i = 0; i < count(); ++i) {
        const bool isMoved = std::binary_search(moved.begin(), moved.end(), i);
        (isMoved ? taken : kept).push_back(rows_[i]);
        if (!isMoved && i < before) ++insertAt;
    }
    kept.insert(kept.begin() + insertAt, taken.begin(), taken.end());
    if (kept != rows_) modified_ = true;
    rows_ = std::move(kept);
}

bool TrackOrganiser::exportSeason() {
    std::string previous;
    if (readWholeFile(seasonPath_, previous)) writeFileAtomically(backupPath(), previous);
    std::error_code ec;
    std::filesystem::create_directories(cutAtLastSeparator(seasonPath_), ec);

    Profile season(seasonPath_);
    const long long declared = decimalToInt(season.getString("Season", "numEvents", NO_VALUE, VALUE_BUFFER));
    const auto rowCount = static_cast<long long>(rows_.size());
    std::vector<Profile::Change> changes;
    for (const std::string& section : season.sectionNames()) {
        const long long n = eventNumberOf(section);
        if (n > rowCount && n <= declared) changes.push_back(Profile::Change::removeSection(section));
    }
    changes.push_back(Profile::Change::write("Season", "NumEvents", std::to_string(rows_.size())));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        for (const SeasonEvent::Field f : WRITE_ORDER)
            changes.push_back(Profile::Change::write(eventSection(i + 1), KEYS[f], rows_[i].fields[f]));
    }
    if (!season.apply(changes)) {
        ui_.message("The season file could not be written:\r\n" + seasonPath_, {}, Ui::Icon::Warning);
        return false;
    }
    modified_ = false;
    ui_.message("New track order saved.\r\nA backup of your previous '67season.ini'\r\nhas been saved as '67season.old'.");
    return true;
}

bool TrackOrganiser::close() {
    return !modified_ || ui_.askYesNo("You haven't exported your changes,\r\nclose Track Organizer anyway?");
}

}  // namespace movrane
