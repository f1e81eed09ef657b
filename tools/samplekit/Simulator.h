#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "samplekit/Course.h"
#include "samplekit/ReplayWriter.h"

namespace samplekit {

constexpr uint32_t FLAG_INVALID = 1u << 28;
constexpr uint32_t FLAG_OFF_TRACK = 1u << 30;

// Race status words of the type-9 items.
constexpr uint16_t STATUS_LINING_UP = 12;
constexpr uint16_t STATUS_GREEN_RAISED = 32;
constexpr uint16_t STATUS_GREEN_ARMED = 1056;  // the last second before the flag drops
constexpr uint16_t STATUS_GREEN_DROPS = 40;
constexpr uint16_t STATUS_RACING = 4;
constexpr uint16_t STATUS_CHEQUERED = 0x34;

// Flags for a lap (1 = the first lap after the base time) of a driver (position in the
// driver list). An off-track lap is also driven off the track for a moment.
struct LapMark {
    int driver = 0;
    int lap = 1;
    uint32_t flags = FLAG_INVALID;
};

// A driver whose car stops for good during a lap (at `fraction` of the lap distance). The
// car rolls to a halt, stands for a while and then leaves the record stream (the player's
// car stays where it stopped). The condition items tell the retirement code.
struct Retirement {
    int driver = 0;
    int lap = 1;
    double fraction = 0.5;
    uint8_t reason = 16;  // retirement code of the condition item
};

// Frames of a session (0 = its first frame) in which a car's record is left out.
struct Absence {
    int driver = 0;
    uint32_t firstFrame = 0;
    uint32_t frameCount = 1;
};

struct SessionSpec {
    enum Kind { Practice, Race };
    Kind kind = Practice;
    uint8_t sessionId = 0;        // of the time stamps: 0 practice, nonzero race
    uint32_t clockStartMs = 10000; // session time of the first frame; a multiple of 10
    // Practice: timed laps of each car after its out-lap; race: race distance in laps.
    int laps = 3;
    std::vector<int> drivers;     // who takes part (positions in the driver list); empty: all
    std::vector<LapMark> marks;
    std::vector<Retirement> retirements;
    std::vector<Absence> absences;
    double liningUpSeconds = 5;   // race: before the green flag is raised
    double greenRaisedSeconds = 3;
    double tailSeconds = 5;       // recording after the last car is done
};

struct SimulationSpec {
    uint64_t seed = 1;
    double lapLength = 3500;
    std::shared_ptr<const Course> course;  // null: a LoopCourse of lapLength
    std::vector<DriverEntry> drivers;       // slots as the records say
    uint32_t player = 0;                    // position in the driver list
    std::vector<SessionSpec> sessions;      // in stream order
    std::string practiceTableTag = "QTPL";
    bool conditionItems = true;
    bool skippableItems = true;
    // Called for every frame before it is written (session index, frame of the session),
    // to add items of any type or length to a realistic stream.
    std::function<void(Frame&, std::size_t session, uint32_t frame)> extraItems;
};

// What the driving produced, per session and car.
struct CarResult {
    int driver = 0;
    uint32_t slot = 0;
    // Session times (ms, unrounded) of each crossing of the line: [0] starts lap 1.
    std::vector<double> crossings;
    std::vector<uint32_t> flags;  // per lap 1 .. crossings.size() - 1
    bool retired = false;
    uint32_t lastPresentFrame = 0;  // session frame
};

struct SessionResult {
    SessionSpec::Kind kind = SessionSpec::Practice;
    uint8_t sessionId = 0;
    uint32_t clockStartMs = 0;
    uint32_t firstFrame = 0;  // index of its first frame in the stream (0-based)
    uint32_t frameCount = 0;
    uint32_t greenFrame = 0;  // race: session frame of the start
    double chequeredMs = 0;   // race: when the leader finished
    std::vector<CarResult> cars;
    LapTable table;
};

struct SimulationResult {
    std::vector<SessionResult> sessions;
    uint32_t frames = 0;
    uint32_t lastFrameCounter = 0;  // the last type-14 word
};

// Session time in ms of frame f of a session whose clock starts at clockStart.
double frameTimeMs(uint32_t clockStartMs, uint32_t frame);

// Drives the cars of a simulation. The driving is deterministic from the seed: the first
// pass (result()) collects the crossings and lap tables, writeStream() drives again and
// writes the frames, so the lap tables can stand before the stream without the stream
// being held in memory.
class Simulation {
public:
    explicit Simulation(SimulationSpec plan);
    ~Simulation();

    const SimulationSpec& plan() const { return spec_; }
    const Course& course() const { return *course_; }
    const SimulationResult& result();

    // The description of the replay: drivers, player, lap tables of the sessions (practice
    // table, then "BTPL" for a race), header fields from the sessions. Fields of `base`
    // that the simulation does not decide are kept.
    ReplayDescription describe(ReplayDescription base = {});
    void writeStream(ReplayWriter& writer);

private:
    struct Run;
    SimulationResult run(ReplayWriter* writer);

    SimulationSpec spec_;
    std::shared_ptr<const Course> course_;
    std::vector<double> line_;  // racing line lateral offset per metre
    bool haveResult_ = false;
    SimulationResult result_;
};

// Simulates and writes a replay; `edit` may change the description (lap tables, header
// fields) before it is written, for replays whose tables disagree with the driving.
SimulationResult writeSimulatedReplay(const std::filesystem::path& path, SimulationSpec plan,
                                      ReplayDescription base = {},
                                      const std::function<void(ReplayDescription&)>& edit = {});

}  // namespace samplekit
