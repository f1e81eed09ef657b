#include <gtest/gtest.h>

#include "core/ranking/RankCalculator.h"

namespace {

using movrane::NewOrvRankCalculator;

TEST(RankCalculator, ValueTexts) {
    const std::pair<int64_t, const char*> cases[] = {
        {2500, "-2.500"}, {-61050, "61.050"}, {0, "0.000"}, {-5, "0.005"}, {1, "-0.001"},
        {12345678, "-12345.678"},  // every digit of the whole seconds
        {-98765432, "98765.432"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(movrane::handicapText(value), text) << value;
}

// Every make has `ms` on every track of both sets.
movrane::RecordsTable everyTrackAt(uint32_t ms) {
    movrane::RecordsTable table;
    for (const movrane::TrackSet* set : {&movrane::ORVRANK_TRACKS, &movrane::CHALLANGERANK_TRACKS})
        for (const std::string& track : set->tracks) {
            table.rows.push_back({track, track, track, {}});
            for (auto& car : table.rows.back().cars) car.sessions[movrane::BEST_PRACTICE].ms = ms;
        }
    return table;
}

std::vector<std::string> texts(const NewOrvRankCalculator::Group& group) {
    std::vector<std::string> all(group.fields.begin(), group.fields.end());
    all.push_back(group.total);
    return all;
}

TEST(RankCalculator, GroupsAndTotals) {
    // 11 x 138201 ms is 1 ms faster than the first reference; 12 x 138201 is 148772 ms
    // slower than the second.
    movrane::RecordsTable table = everyTrackAt(138201);
    // A later row of a track does not count: the first one does.
    table.rows.push_back({"spa", "spa", "spa", {}});
    const NewOrvRankCalculator full(table);
    const std::string fast = "-0.001", slow = "148.772", both = "148.771";
    std::vector<std::string> firstGroup(movrane::RANK_COLUMNS, fast);
    firstGroup.push_back("-0.007");
    EXPECT_EQ(texts(full.groups()[0]), firstGroup);
    EXPECT_EQ(full.groups()[1].fields[3], slow);
    EXPECT_EQ(full.groups()[1].total, "1041.404");
    EXPECT_EQ(full.groups()[2].fields[0], both);
    EXPECT_EQ(full.groups()[2].total, "1041.397");

    // Ferrari misses monza (another make still has it); spa has no row at all.
    table.rows[3].cars[4] = {};
    table.rows.erase(table.rows.begin() + 8);
    table.rows.pop_back();
    const std::string one = "Missing 1 laptime(s)";
    const NewOrvRankCalculator missing(table);
    EXPECT_EQ(texts(missing.groups()[0]),
              (std::vector<std::string>{one, one, one, one, one, "Missing 2 laptime(s)", one, one, "Missing 8 laptime(s)"}));
    EXPECT_EQ(texts(missing.groups()[1])[8], "1041.404");
    EXPECT_EQ(texts(missing.groups()[2])[5], "Missing 2 laptime(s)");
    EXPECT_EQ(texts(missing.groups()[2])[8], "Missing 8 laptime(s)");
}

TEST(RankCalculator, OverallTakesTheBestMakeAndReferencesDiffer) {
    // Exactly the reference of the calculator: Honda alone has times, the others none.
    movrane::RecordsTable table;
    for (std::size_t i = 0; i < movrane::ORVRANK_TRACKS.tracks.size(); ++i) {
        table.rows.push_back({"", "", movrane::ORVRANK_TRACKS.tracks[i], {}});
        table.rows.back().cars[6].sessions[movrane::BEST_RACE].ms = i == 0 ? 1520212 - 10 * 100000 : 100000;
        table.rows.back().cars[1].sessions[movrane::BEST_TRAINING].ms = 600000;
    }
    const auto times = movrane::trackTimesOf(table);
    EXPECT_EQ(movrane::setHandicaps(times, movrane::ORVRANK_TRACKS)[0].text(), "0.000");
    EXPECT_EQ(movrane::setHandicaps(times, movrane::ORVRANK_HANDICAP_TRACKS)[0].text(), "-0.008");
    EXPECT_EQ(movrane::setHandicaps(times, movrane::ORVRANK_TRACKS)[7].text(), "0.000");
}

}  // namespace
