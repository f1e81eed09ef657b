#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/track/MOVRNException.h"
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
    const std::vector<uint8_t> data = roundedSquareBytes();
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

TEST(TrackLoad, AnyExtensionIsReadByContentAndNamesOfThirteenCharactersMatch) {
    TempDir dir;
    const std::string asTrack = writeBytes(dir.file("monza.xyz"), roundedSquareBytes()).string();
    EXPECT_EQ(Track::load(asTrack)->numberOfSections(), 8u);
    const std::string asArchive =
        writeBytes(dir.file("monza.xyz.bak"), archiveOf({{"monza.trk", roundedSquareBytes()}})).string();
    EXPECT_EQ(Track::load(asArchive)->numberOfSections(), 8u);
    const std::string full =
        writeBytes(dir.file("abcdefghi.dat"), archiveOf({{"abcdefghi.trk", roundedSquareBytes()}})).string();
    EXPECT_EQ(Track::load(full)->numberOfSections(), 8u);
}

TEST(TrackLoad, ArchiveEntriesMatchWithoutRegardToCase) {
    TempDir dir;
    const std::vector<uint8_t> other(40, 7);
    const std::string path =
        writeBytes(dir.file("Monza.dat"), archiveOf({{"imola.trk", other}, {"MONZA.TRK", roundedSquareBytes()}}))
            .string();
    const auto track = Track::load(path);
    EXPECT_NEAR(track->lapLength(), tracktest::roundedSquare().lapLength(), 1e-3);
}

TEST(TrackLoad, FirstMatchingArchiveEntryWins) {
    TempDir dir;
    samplekit::Circuit bigger = samplekit::sampleCircuit();
    const std::string path =
        writeBytes(dir.file("ring.dat"), archiveOf({{"ring.trk", roundedSquareBytes()},
                                                     {"ring.trk", samplekit::encodeTrack(bigger.trackFile())}}))
            .string();
    EXPECT_EQ(Track::load(path)->numberOfSections(), 8u);
}

TEST(TrackLoad, TraceCountLimit) {
    TempDir dir;
    samplekit::Circuit circuit = tracktest::roundedSquare();
    std::vector<double> sixteen;
    for (int k = 0; k < 16; ++k) sixteen.push_back(-7.5 + k);
    circuit.setTraceOffsets(sixteen);
    std::vector<uint8_t> bytes = samplekit::encodeTrack(circuit.trackFile());
    const auto track = Track::load(writeBytes(dir.file("sixteen.trk"), bytes).string());
    EXPECT_EQ(track->numberOfTraces(), 16u);
    EXPECT_DOUBLE_EQ(track->traceOffset(15), samplekit::trackUnits(7.5) * movrane::METRES_PER_TRACK_UNIT);
    EXPECT_THROW(track->traceOffset(16), MOVRNException);
}

TEST(TrackLoad, HeaderWordsAreKept) {
    TempDir dir;
    const auto track = Track::load(writeBytes(dir.file("square.trk"), roundedSquareBytes()).string());
    EXPECT_EQ(track->headerWord4(), 7);
    EXPECT_EQ(track->headerWord24(), 0x20u);
    EXPECT_NEAR(track->statedLapLength(), tracktest::roundedSquare().lapLength(), 1e-3);
}

TEST(TrackLocation, InstallationLayoutFoundWithoutRegardToCase) {
    TempDir dir;
    EXPECT_EQ(movrane::trackFilePath(dir.path().string(), "monza", ".trk"), dir.file("tracks/monza/monza.trk"));
    std::filesystem::create_directories(dir.path() / "Tracks" / "MONZA");
    writeBytes(dir.path() / "Tracks" / "MONZA" / "Monza.TRK", roundedSquareBytes());
    EXPECT_EQ(movrane::trackFilePath(dir.path().string(), "monza", ".trk"), dir.file("Tracks/MONZA/Monza.TRK"));
    const auto track = movrane::loadInstalledTrack(dir.path().string(), "monza");
    EXPECT_EQ(track->path(), dir.file("Tracks/MONZA/Monza.TRK"));
}

TEST(TrackLocation, ArchiveIsTriedWhenTheTrackFileFails) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "tracks" / "monza";
    std::filesystem::create_directories(folder);
    // A .trk that is neither track data nor holds the wanted entry.
    writeBytes(folder / "monza.trk", archiveOf({{"imola.trk", roundedSquareBytes()}}));
    writeBytes(folder / "MONZA.DAT", archiveOf({{"monza.trk", roundedSquareBytes()}}));
    const auto track = movrane::loadInstalledTrack(dir.path().string(), "monza");
    EXPECT_EQ(track->path(), (folder / "MONZA.DAT").string());
    EXPECT_EQ(track->numberOfSections(), 8u);
}

TEST(TrackLocation, SecondFailureIsRaised) {
    TempDir dir;
    try {
        movrane::loadInstalledTrack(dir.path().string(), "nowhere");
        FAIL() << "loaded a missing track";
    } catch (const MOVRNException& e) {
        EXPECT_EQ(e.message(), dir.file("tracks/nowhere/nowhere.dat") + " ; _orvFile == NULL");
    }
}
