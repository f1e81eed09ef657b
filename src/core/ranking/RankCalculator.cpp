#include "core/ranking/RankCalculator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace movrane {

const std::array<const char*, RANK_COLUMNS> RANK_COLUMN_NAMES = {"Overall", "Brabham", "BRM",   "Cooper",
                                                                 "Eagle",   "Ferrari", "Lotus", "Honda"};

namespace {

const std::vector<std::string> FIRST_SET = {"kyalami", "mexico",  "monaco", "monza", "mosport",  "nurburg",
                                            "rouen",   "silver",  "spa",    "watglen", "zandvort"};

}  // namespace

const TrackSet ORVRANK_TRACKS{FIRST_SET, 1520212};
const TrackSet ORVRANK_HANDICAP_TRACKS{FIRST_SET, 1520220};
const TrackSet CHALLANGERANK_TRACKS{{"snett67", "zeltweg", "brands", "road67", "solitude", "bugatti", "atorp",
                                     "goodwood", "bremgart", "usgp1960", "stjovite", "panorama"},
                                    1509640};

namespace {

TrackTimes timesOf(const std::string& directory, const std::array<CarBests, CAR_MAKE_COUNT>& cars) {
    TrackTimes track{directory, {}};
    track.times[0] = MISSING_TIME;
    for (int car = 0; car < CAR_MAKE_COUNT; ++car) {
        track.times[car + 1] = cars[car].best();
        track.times[0] = std::min(track.times[0], track.times[car + 1]);
    }
    return track;
}

}  // namespace

std::vector<TrackTimes> trackTimesOf(const RecordsTable& table) {
    std::vector<TrackTimes> times;
    for (const RecordsRow& row : table.rows) times.push_back(timesOf(row.directory, row.cars));
    return times;
}

std::vector<TrackTimes> trackTimesOf(const PersonalBestTable& bests) {
    std::vector<TrackTimes> times;
    for (const EventBests& event : bests) times.push_back(timesOf(event.trackDirectory, event.cars));
    return times;
}

std::string handicapText(int64_t value) {
    const int64_t magnitude = std::llabs(value);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%lld.%03lld", value > 0 ? "-" : "", static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return buf;
}

std::string Handicap::text() const {
    if (count == needed) return handicapText(value);
    return "Missing " + std::to_string(needed - count) + " laptime(s)";
}

Handicap operator+(const Handicap& a, const Handicap& b) {
    return {a.value + b.value, a.count + b.count, a.needed + b.needed};
}

std::array<Handicap, RANK_COLUMNS> setHandicaps(const std::vector<TrackTimes>& times, const TrackSet& set) {
    std::array<Handicap, RANK_COLUMNS> columns;
    for (int column = 0; column < RANK_COLUMNS; ++column) {
        int64_t sum = 0;
        Handicap& handicap = columns[column];
        handicap.needed = static_cast<int>(set.tracks.size());
        for (const std::string& track : set.tracks) {
            const auto row = std::find_if(times.begin(), times.end(),
                                          [&track](const TrackTimes& t) { return t.directory == track; });
            if (row == times.end() || row->times[column] == MISSING_TIME) continue;
            sum += row->times[column];
            ++handicap.count;
        }
        handicap.value = set.referenceMs - sum;
    }
    return columns;
}

Handicap makesTotal(const std::array<Handicap, RANK_COLUMNS>& columns) {
    Handicap total;
    for (int column = 1; column < RANK_COLUMNS; ++column) total = total + columns[column];
    return total;
}

namespace {

void fill(NewOrvRankCalculator::Group& group, const std::array<Handicap, RANK_COLUMNS>& columns, const Handicap& total) {
    for (int column = 0; column < RANK_COLUMNS; ++column) group.fields[column] = columns[column].text();
    group.total = total.text();
}

}  // namespace

NewOrvRankCalculator::NewOrvRankCalculator(const RecordsTable& table)
    : groups_{Group{"OrvRank Handicap", "", "MonsterRank:", {}, {}},
              Group{"ChallangeRank Handicap", "", "MonsterRank:", {}, {}},
              Group{"Master of Orv Handicap", "(This Rank based on OrvRank v1 and ChallengeRank v1)", "MasterRank:",
                    {}, {}}} {
    const std::vector<TrackTimes> times = trackTimesOf(table);
    const auto first = setHandicaps(times, ORVRANK_TRACKS);
    const auto second = setHandicaps(times, CHALLANGERANK_TRACKS);
    std::array<Handicap, RANK_COLUMNS> both;
    for (int column = 0; column < RANK_COLUMNS; ++column) both[column] = first[column] + second[column];
    fill(groups_[0], first, makesTotal(first));
    fill(groups_[1], second, makesTotal(second));
    fill(groups_[2], both, makesTotal(first) + makesTotal(second));
}

OrvRank::OrvRank(Installation installation, Ui& ui) : installation_(std::move(installation)), ui_(ui) {}

bool OrvRank::calculate(int playerIndex) {
    const std::optional<PlayerIni> player = readChosenPlayer(installation_, playerIndex, ui_);
    if (!player) return false;
    const auto columns = setHandicaps(trackTimesOf(player->bests), ORVRANK_HANDICAP_TRACKS);
    for (int column = 0; column < RANK_COLUMNS; ++column) fields_[column] = columns[column].text();
    total_ = makesTotal(columns).text();
    return true;
}

}  // namespace movrane
