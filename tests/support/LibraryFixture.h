#pragma once

#include <string>
#include <vector>

#include "core/library/ReplayLibrary.h"
#include "core/platform/Drives.h"
#include "samplekit/InstallationWriter.h"
#include "support/RaceFixture.h"
#include "support/TempDir.h"

namespace testsupport {

// An installation with a season of two events ("harbour", "ridgeway"), one player "Ann
// Example" and a replay folder that tests fill with fixture replays.
class LibraryFixture {
public:
    explicit LibraryFixture(std::vector<samplekit::PersonalBest> bests = {});
    std::string orv() const { return dir.file("orv"); }
    std::string replayPath(const std::string& name) const { return dir.file("orv/replay/" + name); }
    // Writes a fixture replay into the replay folder.
    void addReplay(const std::string& name, const FixtureRace& race) const;
    // With a replay index in the fixture's folder, so every scan after the first goes through it.
    movrane::LibraryFolders folders() const { return {orv(), {}, false, dir.file("config/replay-index.sqlite")}; }

    TempDir dir;
};

// A replay on `track`: the player "Ann Example" (car make `make`) and, unless alone,
// an AI driver; practice laps of the player as given (all within the recorded window).
FixtureRace playerRace(const std::string& track, std::vector<uint32_t> practiceLaps, std::vector<uint32_t> raceLaps = {},
                       bool alone = false, uint32_t make = 4);

// Drives for tests: a fixed list.
class FakeDrives : public movrane::DriveList {
public:
    std::vector<movrane::DriveInfo> drives;
    mutable int listings = 0;
    std::vector<movrane::DriveInfo> removableDrives() const override {
        ++listings;
        return drives;
    }
};

}  // namespace testsupport
