#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/library/ExportRecords.h"
#include "core/library/Installation.h"
#include "core/library/PersonalBests.h"

namespace movrane {

class Ui;

// A ranking's columns: "Overall" (per track the best of any make), then the makes in
// table order.
inline constexpr int RANK_COLUMNS = 1 + CAR_MAKE_COUNT;
extern const std::array<const char*, RANK_COLUMNS> RANK_COLUMN_NAMES;

// A ranking's tracks (season directory names, compared exactly) and the sum of lap
// times its handicaps are measured against.
struct TrackSet {
    std::vector<std::string> tracks;
    int64_t referenceMs;
};
extern const TrackSet ORVRANK_TRACKS;          // "OrvRank", as the rank calculator measures it
extern const TrackSet ORVRANK_HANDICAP_TRACKS;  // the same tracks, as the handicap calculator measures them
extern const TrackSet CHALLANGERANK_TRACKS;

// One track's best time per column (MISSING_TIME where there is none).
struct TrackTimes {
    std::string directory;
    std::array<uint32_t, RANK_COLUMNS> times{};
};
std::vector<TrackTimes> trackTimesOf(const RecordsTable& table);
std::vector<TrackTimes> trackTimesOf(const PersonalBestTable& bests);

// A handicap: reference - the sum of the times found, valid when every needed time was.
struct Handicap {
    int64_t value = 0;
    int count = 0;
    int needed = 0;
    // The value's text, or "Missing N laptime(s)".
    std::string text() const;
};
// Sums of several handicaps (their values and counts).
Handicap operator+(const Handicap& a, const Handicap& b);

// Per column, the handicap over the set's tracks: each track takes the first row of its
// directory; a track without a row or without a time counts as missing.
std::array<Handicap, RANK_COLUMNS> setHandicaps(const std::vector<TrackTimes>& times, const TrackSet& set);
// The sum of the seven make handicaps ("Overall" is not part of it).
Handicap makesTotal(const std::array<Handicap, RANK_COLUMNS>& columns);

// A handicap value as shown: faster than the reference (positive) with a leading "-",
// otherwise without sign; whole seconds, ".", milliseconds as three digits.
std::string handicapText(int64_t value);

// "OrvRank Calculator": the handicaps of the personal-best viewer's table for both track
// sets and their combination.
class NewOrvRankCalculator {
public:
    static constexpr const char* TITLE = "OrvRank Calculator";
    struct Group {
        const char* title;
        const char* note;  // shown under the title; may be empty
        const char* totalLabel;
        std::array<std::string, RANK_COLUMNS> fields;
        std::string total;
    };

    explicit NewOrvRankCalculator(const RecordsTable& table);
    const std::array<Group, 3>& groups() const { return groups_; }

private:
    std::array<Group, 3> groups_;
};

// "OrvRank Handicap calculator": the first track set's handicaps from a chosen player's
// player.ini alone.
class OrvRank {
public:
    static constexpr const char* TITLE = "OrvRank Handicap calculator";
    static constexpr const char* PLAYER_CHOOSER = "Choose driver to calculate handicap for";
    static constexpr const char* NOTE = "NOTE! Check out PB-Viewer for a calculator for all ranks";
    static constexpr const char* TOTAL_LABEL = "Monsters of Orv:";

    OrvRank(Installation installation, Ui& ui);

    // "Calculate" for the player at that index of the player list (-1: none chosen);
    // false after a message.
    bool calculate(int playerIndex);
    const std::array<std::string, RANK_COLUMNS>& fields() const { return fields_; }
    const std::string& total() const { return total_; }

private:
    Installation installation_;
    Ui& ui_;
    std::array<std::string, RANK_COLUMNS> fields_;
    std::string total_;
};

}  // namespace movrane
