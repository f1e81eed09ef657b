#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace movrane {

class Ui;

// One event of the season file; fields in the order of the organiser's columns.
struct SeasonEvent {
    enum Field { LONG_NAME, SHORT_NAME, TRACK_DIR, LAPS, MONTH, DAY, GRID, FIELD_COUNT };
    std::array<std::string, FIELD_COUNT> fields;
    bool operator==(const SeasonEvent&) const = default;
};

// "Edit Track Properties": one field per property, in the dialog's own order.
class EditTrackProp {
public:
    static constexpr const char* TITLE = "Edit Track Properties";
    static constexpr const char* GROUP = "Track Properties";
    struct FieldLabel {
        const char* label;
        SeasonEvent::Field field;
    };
    static const std::array<FieldLabel, SeasonEvent::FIELD_COUNT> FIELDS;

    virtual ~EditTrackProp() = default;
    // The edited event, or nothing on Cancel.
    virtual std::optional<SeasonEvent> edit(const SeasonEvent& event) = 0;
};

// "Track Organizer": the events of the season file as a list that can be reordered,
// edited, added to and thinned, and written back with a backup of the old file.
class TrackOrganiser {
public:
    static constexpr const char* TITLE = "Track Organizer";
    static constexpr const char* HINT =
        "Drag and drop track(s) to rearrange the order they appear in Orv and Export Records";
    static constexpr const char* COUNTER_LABEL = "Number of tracks in 67season.ini (max 64):";
    static const std::array<const char*, SeasonEvent::FIELD_COUNT> COLUMN_HEADERS;
    static const std::array<const char*, SeasonEvent::FIELD_COUNT> KEYS;

    // The season file of the installation; imported at once.
    TrackOrganiser(std::string installation, Ui& ui);

    const std::string& seasonPath() const { return seasonPath_; }
    std::string backupPath() const;
    const std::vector<SeasonEvent>& rows() const { return rows_; }
    bool modified() const { return modified_; }
    // The counter beside the label: the number of rows listed.
    int count() const { return static_cast<int>(rows_.size()); }

    void import();
    void edit(const std::vector<int>& selection, EditTrackProp& editor);
    void add(EditTrackProp& editor);
    void remove(const std::vector<int>& selection);
    // Drag and drop: the rows `moved` (any order) are put before the row that stood at
    // `before` (rows().size() puts them at the end), keeping their own order.
    void move(std::vector<int> moved, int before);
    // False when the season file could not be written.
    bool exportSeason();
    // True when the dialog may close.
    bool close();

private:
    std::optional<int> singleSelection(const std::vector<int>& selection, const char* several, const char* none);

    std::string seasonPath_;
    Ui& ui_;
    std::vector<SeasonEvent> rows_;
    bool modified_ = false;
};

}  // namespace movrane
