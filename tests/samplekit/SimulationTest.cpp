#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "RawReplay.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "samplekit/Units.h"
#include "support/TempDir.h"

using namespace samplekit;
using rawreplay::u16;
using rawreplay::u32;

namespace {

constexpr double LAP = 1500.0;
const std::vector<uint32_t> SLOTS = {5, 0, 12, 3};  // slots differ from list positions

SimulationSpec smallSpec(int practiceLaps = 2, int raceLaps = 3) {
    SimulationSpec plan = sampleRaceSpec(4, practiceLaps, raceLaps, 11);
    plan.lapLength = LAP;
    plan.player = 2;
    plan.drivers = sampleDrivers(4, 2);
    for (std::size_t i = 0; i < SLOTS.size(); ++i) plan.drivers[i].slot = SLOTS[i];
    return plan;
}

// Lap position and lateral offset of each car (by slot) in each frame, from the records.
struct Track {
    std::map<uint32_t, std::map<std::size_t, uint32_t>> position;
    std::map<uint32_t, std::map<std::size_t, double>> lateral;
};

Track carPositions(const rawreplay::Replay& r, uint32_t playerSlot) {
    Track t;
    for (std::size_t f = 0; f < r.frames.size(); ++f)
        for (const auto& it : r.frames[f].items) {
            const uint8_t* p = r.bytes.data() + it.offset + 4;
            if (it.type == 1) {
                unsigned pos = 0;
                t.position[playerSlot][f] = rawreplay::bits(p, pos, 26);
                pos = 32;
                t.lateral[playerSlot][f] = decodePlayerLateral(rawreplay::signedBits(p, pos, 20));
            } else if (it.type == 3) {
                for (int k = 0; k < (it.length - 4) / 16; ++k) {
                    const uint8_t* rec = p + 16 * k;
                    const uint32_t slot = (rec[7] >> 2) & 0x3F;
                    unsigned pos = 32;
                    t.position[slot][f] = rawreplay::bits(rec, pos, 26);
                    pos = 64;
                    t.lateral[slot][f] = decodeOtherLateral(rawreplay::signedBits(rec, pos, 16));
                }
            }
        }
    return t;
}

// Session time of every frame, counted on from the last time stamp.
std::vector<double> frameTimes(const rawreplay::Replay& r) {
    std::vector<double> t(r.frames.size(), -1);
    double last = -1;
    std::size_t lastFrame = 0;
    for (const auto& s : rawreplay::stamps(r)) {
        for (std::size_t f = lastFrame; f < s.frame && last >= 0; ++f) t[f] = last + (f - lastFrame) * 1000.0 / 36;
        last = s.ms;
        lastFrame = s.frame;
    }
    for (std::size_t f = lastFrame; f < r.frames.size(); ++f) t[f] = last + (f - lastFrame) * 1000.0 / 36;
    return t;
}

struct Written {
    testsupport::TempDir dir;
    std::filesystem::path path;
    SimulationResult result;
    rawreplay::Replay replay;
};

std::unique_ptr<Written> write(const SimulationSpec& plan) {
    auto w = std::make_unique<Written>();
    w->path = w->dir.path() / "sim.rpy";
    w->result = writeSimulatedReplay(w->path, plan, sampleHeader(false));
    w->replay = rawreplay::Replay::load(w->path);
    return w;
}

}  // namespace

TEST(Simulation, StreamIsWellFormed) {
    const auto w = write(smallSpec());
    const auto& r = w->replay;
    ASSERT_EQ(r.frames.size(), w->result.frames);
    EXPECT_EQ(u32(r.bytes, 40), r.frames.size());
    EXPECT_EQ(u32(r.bytes, 44), r.chunks.back().size);
    EXPECT_EQ(u16(r.bytes, 48), r.frames.back().length);

    const std::set<uint16_t> allowed = {1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (std::size_t f = 0; f < r.frames.size(); ++f) {
        EXPECT_EQ(r.frames[f].word, f + 1);
        for (const auto& it : r.frames[f].items) {
            ASSERT_TRUE(allowed.count(it.type)) << "type " << it.type << " in frame " << f;
            const std::map<uint16_t, uint16_t> natural = {{1, 32}, {2, 8}, {10, 20}, {13, 8}, {14, 8}};
            if (natural.count(it.type)) {
                EXPECT_EQ(it.length, natural.at(it.type)) << "type " << it.type;
            }
            if (it.type == 3) {
                EXPECT_EQ((it.length - 4) % 16, 0);
            }
        }
    }

    // Time stamps: one every 36 frames and 1000 ms apart within a session; practice first.
    const auto st = rawreplay::stamps(r);
    ASSERT_GT(st.size(), 10u);
    EXPECT_EQ(st.front().frame, 0u);
    EXPECT_EQ(st.front().session, 0);
    EXPECT_EQ(st.front().ms, 30000u);
    int sessionChanges = 0;
    for (std::size_t i = 1; i < st.size(); ++i) {
        if (st[i].session != st[i - 1].session) {
            ++sessionChanges;
            EXPECT_EQ(st[i].session, 1);
            EXPECT_EQ(st[i].ms, 1000u);
            EXPECT_EQ(st[i].frame, w->result.sessions[1].firstFrame);
            continue;
        }
        EXPECT_EQ(st[i].frame - st[i - 1].frame, 36u);
        EXPECT_EQ(st[i].ms - st[i - 1].ms, 1000u);
    }
    EXPECT_EQ(sessionChanges, 1);

    // The last frame carries the final frame counter.
    const auto& last = r.frames.back();
    const auto counter = std::find_if(last.items.begin(), last.items.end(), [](auto& i) { return i.type == 14; });
    ASSERT_NE(counter, last.items.end());
    EXPECT_EQ(u32(r.bytes, counter->offset + 4), r.frames.size());
    // The counter of the race's first frame gives the number of race frames.
    const auto& raceStart = r.frames.at(w->result.sessions[1].firstFrame);
    const auto first = std::find_if(raceStart.items.begin(), raceStart.items.end(), [](auto& i) { return i.type == 14; });
    ASSERT_NE(first, raceStart.items.end());
    EXPECT_TRUE(first == raceStart.items.begin()) << "the counter stands before the time stamp";
    EXPECT_EQ(r.frames.size() - u32(r.bytes, first->offset + 4) + 1, w->result.sessions[1].frameCount);
}

TEST(Simulation, ExtraItemsJoinTheFramesTheyAreGivenTo) {
    SimulationSpec plan = smallSpec(1, 0);
    plan.skippableItems = false;
    plan.extraItems = [](Frame& f, std::size_t session, uint32_t frame) {
        if (session == 0 && frame == 50) f.addRawItem(12, 9, {1, 2, 3, 4, 5});
    };
    const auto w = write(plan);
    int found = 0;
    for (std::size_t f = 0; f < w->replay.frames.size(); ++f)
        for (const auto& it : w->replay.frames[f].items)
            if (it.type == 12) {
                ++found;
                EXPECT_EQ(f, 50u);
                EXPECT_EQ(it.length, 9);
            }
    EXPECT_EQ(found, 1);
}

TEST(Simulation, LapStampsAgreeWithTheCrossingsInTheRecords) {
    const SimulationSpec plan = smallSpec();
    const auto w = write(plan);
    const auto& r = w->replay;
    const auto track = carPositions(r, SLOTS[plan.player]);
    const auto times = frameTimes(r);
    const auto practice = r.lapEntries(*r.chunk("QTPL"));
    const auto race = r.lapEntries(*r.chunk("BTPL"));
    ASSERT_EQ(practice.size(), 4u);
    ASSERT_EQ(race.size(), 4u);

    for (int s = 0; s < 2; ++s) {
        const auto& session = w->result.sessions[static_cast<std::size_t>(s)];
        const std::size_t first = session.firstFrame, end = first + session.frameCount;
        for (const auto& e : s == 0 ? practice : race) {
            ASSERT_TRUE(track.position.count(e.slot)) << "slot " << e.slot;
            const auto& pos = track.position.at(e.slot);
            std::vector<std::size_t> crossings;  // first frame after the line
            for (std::size_t f = first + 1; f < end; ++f)
                if (pos.count(f) && pos.count(f - 1) && pos.at(f) < pos.at(f - 1)) crossings.push_back(f);
            std::vector<uint32_t> wanted = {e.base};
            for (uint32_t stamp : e.stamps) wanted.push_back(stamp & 0xFFFFFF);
            EXPECT_EQ(wanted.size(), static_cast<std::size_t>(s == 0 ? 3 : 4)) << "slot " << e.slot;
            ASSERT_GE(crossings.size(), wanted.size()) << "slot " << e.slot;
            for (std::size_t k = 0; k < wanted.size(); ++k) {
                EXPECT_GE(wanted[k] + 1.0, times[crossings[k] - 1]) << "slot " << e.slot << " crossing " << k;
                EXPECT_LE(wanted[k], times[crossings[k]] + 1.0) << "slot " << e.slot << " crossing " << k;
            }
        }
    }
}

TEST(Simulation, LapTimesArePlausibleAndVaried) {
    SimulationSpec plan = smallSpec(0, 5);
    plan.lapLength = sampleLapLength();
    Simulation sim(plan);
    const auto& cars = sim.result().sessions.at(0).cars;
    std::set<long> distinct;
    for (const auto& c : cars) {
        ASSERT_EQ(c.crossings.size(), 6u);
        for (std::size_t k = 1; k < c.crossings.size(); ++k) {
            const double lap = c.crossings[k] - c.crossings[k - 1];
            const double kmh = sampleLapLength() / lap * 3600.0;
            EXPECT_GT(kmh, 120.0);
            EXPECT_LT(kmh, 220.0);
            distinct.insert(std::lround(lap));
        }
    }
    EXPECT_GT(distinct.size(), 15u);
}

TEST(Simulation, MarkedLapsCarryTheirFlagsAndAnOffTrackLapLeavesTheTrack) {
    SimulationSpec plan = smallSpec(3, 0);
    plan.sessions[0].marks = {{2, 1, FLAG_OFF_TRACK}, {0, 2, FLAG_INVALID}, {1, 3, FLAG_INVALID | FLAG_OFF_TRACK}};
    const auto w = write(plan);
    const auto entries = w->replay.lapEntries(*w->replay.chunk("QTPL"));
    std::map<uint32_t, std::vector<uint32_t>> flags;
    for (const auto& e : entries)
        for (uint32_t s : e.stamps) flags[e.slot].push_back(s & 0xFF000000u);
    EXPECT_EQ(flags[SLOTS[2]], (std::vector<uint32_t>{FLAG_OFF_TRACK, 0, 0}));
    EXPECT_EQ(flags[SLOTS[0]], (std::vector<uint32_t>{0, FLAG_INVALID, 0}));
    EXPECT_EQ(flags[SLOTS[1]], (std::vector<uint32_t>{0, 0, FLAG_INVALID | FLAG_OFF_TRACK}));
    EXPECT_EQ(flags[SLOTS[3]], (std::vector<uint32_t>{0, 0, 0}));

    // The player (driver 2) leaves the 6 m half width in lap 1 only.
    const auto track = carPositions(w->replay, SLOTS[2]);
    const auto times = frameTimes(w->replay);
    const auto& player = *std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.slot == SLOTS[2]; });
    double widestLap1 = 0, widestElsewhere = 0;
    for (const auto& [f, lat] : track.lateral.at(SLOTS[2])) {
        const bool lap1 = times[f] > player.base && times[f] < (player.stamps[0] & 0xFFFFFF);
        (lap1 ? widestLap1 : widestElsewhere) = std::max(lap1 ? widestLap1 : widestElsewhere, std::fabs(lat));
    }
    EXPECT_GT(widestLap1, 7.0);
    EXPECT_LT(widestElsewhere, 6.0);
}

TEST(Simulation, RetiredAndAbsentCarsMissFromTheRecords) {
    SimulationSpec plan = smallSpec(0, 4);
    plan.sessions[0].retirements = {{1, 2, 0.5, 92}};
    plan.sessions[0].absences = {{3, 400, 5}};
    const auto w = write(plan);
    const auto& r = w->replay;
    const auto track = carPositions(r, SLOTS[plan.player]);

    std::map<uint32_t, std::size_t> laps;
    for (const auto& e : r.lapEntries(*r.chunk("BTPL"))) laps[e.slot] = e.stamps.size();
    EXPECT_EQ(laps[SLOTS[1]], 1u);  // stopped during lap 2
    EXPECT_EQ(laps[SLOTS[0]], 4u);
    EXPECT_EQ(laps[SLOTS[3]], 4u);

    const auto& retired = track.position.at(SLOTS[1]);
    EXPECT_LT(retired.rbegin()->first + 36 * 30, r.frames.size());  // gone long before the end
    const auto& absent = track.position.at(SLOTS[3]);
    for (std::size_t f = 395; f < 410; ++f) EXPECT_EQ(absent.count(f) == 0, f >= 400 && f < 405) << "frame " << f;

    // A condition item tells the retirement code.
    bool told = false;
    for (const auto& fr : r.frames)
        for (const auto& it : fr.items)
            if (it.type == 10) {
                const uint8_t* p = r.bytes.data() + it.offset + 4;
                const uint32_t slot = (((p[1] & 0x0F) * 256u + p[0]) - 31) / 64;
                if (slot == SLOTS[1] && p[13] == 92 && p[14] == 16) told = true;
            }
    EXPECT_TRUE(told);
}

TEST(Simulation, RaceStatusWordsFollowTheStart) {
    const auto w = write(smallSpec(0, 2));
    const auto& r = w->replay;
    std::vector<uint16_t> sequence;
    std::size_t chequeredFrame = 0;
    for (std::size_t f = 0; f < r.frames.size(); ++f)
        for (const auto& it : r.frames[f].items)
            if (it.type == 9) {
                const uint16_t word = static_cast<uint16_t>(u32(r.bytes, it.offset + 4) >> 16);
                if (sequence.empty() || sequence.back() != word) {
                    sequence.push_back(word);
                    if (word == STATUS_CHEQUERED) chequeredFrame = f;
                }
            }
    EXPECT_EQ(sequence, (std::vector<uint16_t>{12, 32, 40, 4, 0x34}));
    // The flag falls when the winner completes the last lap.
    uint32_t winner = 0xFFFFFFFF;
    for (const auto& e : r.lapEntries(*r.chunk("BTPL"))) winner = std::min(winner, e.stamps.back() & 0xFFFFFF);
    const auto times = frameTimes(r);
    EXPECT_GE(winner + 1.0, times[chequeredFrame - 1]);
    EXPECT_LE(winner, times[chequeredFrame] + 1.0);
    // Nobody moves before the green flag drops.
    const auto track = carPositions(r, SLOTS[2]);
    for (const auto& [slot, pos] : track.position) EXPECT_EQ(pos.at(0), pos.at(36 * 7)) << "slot " << slot;
}

TEST(Simulation, DrivingIsDeterministicFromTheSeed) {
    const auto a = write(smallSpec(1, 1));
    const auto b = write(smallSpec(1, 1));
    EXPECT_EQ(a->replay.bytes, b->replay.bytes);
    SimulationSpec other = smallSpec(1, 1);
    other.seed = 12;
    const auto c = write(other);
    EXPECT_NE(a->replay.bytes, c->replay.bytes);
}

TEST(Simulation, EditedTablesAreWrittenAsGiven) {
    testsupport::TempDir dir;
    const auto path = dir.path() / "edited.rpy";
    writeSimulatedReplay(path, smallSpec(1, 0), sampleHeader(true), [](ReplayDescription& d) {
        d.practiceTable->entries.at(0).stamps = {123456, 7};  // laps that were never driven
        d.practiceTable->tag = "ABCD";
    });
    const auto r = rawreplay::Replay::load(path);
    ASSERT_NE(r.chunk("ABCD"), nullptr);
    EXPECT_EQ(r.lapEntries(*r.chunk("ABCD")).at(0).stamps, (std::vector<uint32_t>{123456, 7}));
    EXPECT_EQ(r.chunk("BTPL"), nullptr);
}

TEST(Course, LoopHeadingTurnsOnceAndClosesAsAPlaneFigure) {
    const LoopCourse c(3600);
    EXPECT_DOUBLE_EQ(c.lapLength(), 3600);
    EXPECT_NEAR(c.headingAt(3600 - 1e-9) - c.headingAt(0), 360.0, 1e-6);
    // Integrate the heading: the loop ends where it started.
    double x = 0, y = 0;
    for (double d = 0; d < 3600; d += 0.05) {
        const double h = c.headingAt(d + 0.025) * M_PI / 180;
        x += 0.05 * std::cos(h);
        y += 0.05 * std::sin(h);
    }
    EXPECT_NEAR(x, 0, 0.5);
    EXPECT_NEAR(y, 0, 0.5);
    EXPECT_GT(c.curvatureAt(3600 * 0.5), -1.0);
    EXPECT_EQ(c.limitsAt(10).left, 6.0);
}
