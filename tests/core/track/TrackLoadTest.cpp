#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "core/track/MOVRNException.h"
#include "core/track/TrackData.h"
#include "core/track/Track.h"
#include "core/track/TrackLocation.h"
#include "core/track/TrackUnits.h"
#include "support/TempDir.h"
#include "TrackTestSupport.h"

using movrane::MOVRNException;
using movrane::Track;
using testsupport::TempDir;
using tracktest::roundedSquareBytes;
using tracktest::writeBytes;

namespace {

std::string loadFailure(const std::string& path) {
    try {
        Track::load(path);
    } catch (const MOVRNException& e) {
        EXPECT_EQ(e.path(), path);
        return e.message();
    }
    return "loaded";
}

std::vector<uint8_t> archiveOf(const std::vector<samplekit::ArchiveMember>& members) {
    return samplekit::encodeArchive(members);
}

}  // namespace

TEST(TrackLoad, FilesThatHoldNoWantedTrackFailWithTheirMessage) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "v1.0");
    std::filesystem::create_directories(dir.path() / "folder.trk");
    ASSERT_EQ(::mkfifo(dir.file("pipe.trk").c_str(), 0600), 0);  // opening it for reading would wait for a writer
    const std::vector<uint8_t> data = roundedSquareBytes();
    writeBytes(dir.file("huge.trk"), data);
    std::filesystem::resize_file(dir.file("huge.trk"), movrane::MAX_TRACK_DATA_SIZE + 1);  // sparse
    std::vector<uint8_t> seventeenTraces = data;
    tracktest::patchU32(seventeenTraces, 12, 17);
    samplekit::TrackFileContents unknownSection = tracktest::roundedSquare().trackFile();
    unknownSection.sections[3].type = 3;
    struct Case {
        const char* name;
        std::optional<std::vector<uint8_t>> bytes;  // nothing: no file written
        std::string message;
    };
    const std::string noEntry = " ; !getTrkfileInfo(_orvFile, datfilename, offset, _fileSize)";
    const Case cases[] = {
        {"monza", data, " ; filename lacks extension of trk or dat"},
        {"v1.0/monza", data, " ; filename lacks extension of trk or dat"},  // the dot of a folder does not count
        {"gone.trk", std::nullopt, " ; _orvFile == NULL"},
        {"folder.trk", std::nullopt, " ; _orvFile == NULL"},
        {"pipe.trk", std::nullopt, " ; _orvFile == NULL"},
        {"huge.trk", std::nullopt, " ; the track data of 67108865 bytes is larger than any track"},
        // Names of 13 characters fill their field: neither a prefix nor a longer name matches.
        {"abcdefgh.dat", archiveOf({{"abcdefghi.trk", data}}), noEntry},
        {"abcdefghi.dat", archiveOf({{"abcdefgh.trk", data}}), noEntry},
        {"ring.dat", archiveOf({{"ring.trk", std::vector<uint8_t>(64, 1)}}), " ; _type != 0x5452414B"},
        {"seventeen.trk", seventeenTraces, " ; _noOfTraces > MAX_NO_OF_TRACES"},
        {"unknown.trk", samplekit::encodeTrack(unknownSection), "Unknown section type with value 3"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        if (c.bytes) writeBytes(path, *c.bytes);
        const std::string expected = c.message[0] == ' ' ? path + c.message : c.message;
        EXPECT_EQ(loadFailure(path), expected) << c.name;
    }
    EXPECT_THROW(Track::load(dir.file("gone.trk")), movrane::Exception) << "the program's exception";
}

TEST(TrackLoad, TrackFilesAndArchiveEntriesAreFoundByContentAndName) {
    TempDir dir;
    const std::vector<uint8_t> square = roundedSquareBytes();
    const std::vector<uint8_t> bigger = samplekit::encodeTrack(samplekit::sampleCircuit().trackFile());
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {"monza.xyz", square},  // any extension: the content decides
        {"monza.xyz.bak", archiveOf({{"monza.trk", square}})},
        {"abcdefghi.dat", archiveOf({{"abcdefghi.trk", square}})},  // names of 13 characters match
        {"Monza.dat", archiveOf({{"imola.trk", std::vector<uint8_t>(40, 7)}, {"MONZA.TRK", square}})},
        {"ring.dat", archiveOf({{"ring.trk", square}, {"ring.trk", bigger}})},  // the first match wins
    };
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(Track::load(writeBytes(dir.file(name), bytes).string())->numberOfSections(), 8u) << name;
    // The trace count limit, and the header words kept.
    samplekit::Circuit sixteenCircuit = tracktest::roundedSquare();
    std::vector<double> sixteen;
    for (int k = 0; k < 16; ++k) sixteen.push_back(-7.5 + k);
    sixteenCircuit.setTraceOffsets(sixteen);
    std::vector<uint8_t> sixteenBytes = samplekit::encodeTrack(sixteenCircuit.trackFile());
    const auto sixteenTraces = Track::load(writeBytes(dir.file("sixteen.trk"), sixteenBytes).string());
    EXPECT_EQ(sixteenTraces->numberOfTraces(), 16u);
    EXPECT_DOUBLE_EQ(sixteenTraces->traceOffset(15), samplekit::trackUnits(7.5) * movrane::METRES_PER_TRACK_UNIT);
    EXPECT_THROW(sixteenTraces->traceOffset(16), MOVRNException);
    // The header words are kept.
    const auto squareTrack = Track::load(writeBytes(dir.file("square.trk"), square).string());
    EXPECT_EQ(squareTrack->headerWord4(), 7);
    EXPECT_EQ(squareTrack->headerWord24(), 0x20u);
    EXPECT_NEAR(squareTrack->statedLapLength(), tracktest::roundedSquare().lapLength(), 1e-3);
}

TEST(TrackLocation, InstallationLayoutFoundWithoutRegardToCase) {
    TempDir dir;
    EXPECT_EQ(movrane::trackFilePath(dir.path().string(), "monza", ".trk"), dir.file("tracks/monza/monza.trk"));
    std::filesystem::create_directories(dir.path() / "Tracks" / "MONZA");
    writeBytes(dir.path() / "Tracks" / "MONZA" / "Monza.TRK", roundedSquareBytes());
    EXPECT_EQ(movrane::trackFilePath(dir.path().string(), "monza", ".trk"), dir.file("Tracks/MONZA/Monza.TRK"));
    const auto track = movrane::loadInstalledTrack(dir.path().string(), "monza");
    EXPECT_EQ(track->path(), dir.file("Tracks/MONZA/Monza.TRK"));
    // The second failure is raised.
    TempDir empty;
    try {
        movrane::loadInstalledTrack(empty.path().string(), "nowhere");
        FAIL() << "loaded a missing track";
    } catch (const MOVRNException& e) {
        EXPECT_EQ(e.message(), empty.file("tracks/nowhere/nowhere.dat") + " ; _orvFile == NULL");
    }
    // The archive is tried when the track file fails.
    TempDir fallback;
    const std::filesystem::path fallbackFolder = fallback.path() / "tracks" / "monza";
    std::filesystem::create_directories(fallbackFolder);
    // A .trk that is neither fallbackTrack data nor holds the wanted entry.
    writeBytes(fallbackFolder / "monza.trk", archiveOf({{"imola.trk", roundedSquareBytes()}}));
    writeBytes(fallbackFolder / "MONZA.DAT", archiveOf({{"monza.trk", roundedSquareBytes()}}));
    const auto fallbackTrack = movrane::loadInstalledTrack(fallback.path().string(), "monza");
    EXPECT_EQ(fallbackTrack->path(), (fallbackFolder / "MONZA.DAT").string());
    EXPECT_EQ(fallbackTrack->numberOfSections(), 8u);
}

