#include <gtest/gtest.h>

#include <filesystem>

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

TEST(TrackLoad, FileNameWithoutDotFailsBeforeOpening) {
    TempDir dir;
    const std::string path = dir.file("monza");
    writeBytes(path, roundedSquareBytes());
    EXPECT_EQ(loadFailure(path), path + " ; filename lacks extension of trk or dat");
    // The dot must be in the file name, not in a folder name.
    std::filesystem::create_directories(dir.path() / "v1.0");
    const std::string inDottedFolder = (dir.path() / "v1.0" / "monza").string();
    writeBytes(inDottedFolder, roundedSquareBytes());
    EXPECT_EQ(loadFailure(inDottedFolder), inDottedFolder + " ; filename lacks extension of trk or dat");
}

TEST(TrackLoad, AnyExtensionIsReadByContent) {
    TempDir dir;
    const std::string asTrack = writeBytes(dir.file("monza.xyz"), roundedSquareBytes()).string();
    EXPECT_EQ(Track::load(asTrack)->numberOfSections(), 8u);
    const std::string asArchive =
        writeBytes(dir.file("monza.xyz.bak"), archiveOf({{"monza.trk", roundedSquareBytes()}})).string();
    EXPECT_EQ(Track::load(asArchive)->numberOfSections(), 8u);
}

TEST(TrackLoad, MissingFileOrFolderCannotBeOpened) {
    TempDir dir;
    const std::string missing = dir.file("gone.trk");
    EXPECT_EQ(loadFailure(missing), missing + " ; _orvFile == NULL");
    std::filesystem::create_directories(dir.path() / "folder.trk");
    const std::string folder = dir.file("folder.trk");
    EXPECT_EQ(loadFailure(folder), folder + " ; _orvFile == NULL");
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

TEST(TrackLoad, ArchiveNamesOfThirteenCharactersAreComparedInFull) {
    TempDir dir;
    const std::vector<uint8_t> data = roundedSquareBytes();
    // "abcdefghi.trk" fills the 13-byte name field without a terminating NUL.
    const std::string full = writeBytes(dir.file("abcdefghi.dat"), archiveOf({{"abcdefghi.trk", data}})).string();
    EXPECT_EQ(Track::load(full)->numberOfSections(), 8u);
    // A shorter stem is not a prefix match of a longer stored name, nor the other way round.
    const std::string shorter = writeBytes(dir.file("abcdefgh.dat"), archiveOf({{"abcdefghi.trk", data}})).string();
    EXPECT_EQ(loadFailure(shorter), shorter + " ; !getTrkfileInfo(_orvFile, datfilename, offset, _fileSize)");
    const std::string longer = writeBytes(dir.file("abcdefghi.dat"), archiveOf({{"abcdefgh.trk", data}})).string();
    EXPECT_EQ(loadFailure(longer), longer + " ; !getTrkfileInfo(_orvFile, datfilename, offset, _fileSize)");
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

TEST(TrackLoad, ArchiveEntryMustHoldTrackData) {
    TempDir dir;
    const std::string path = writeBytes(dir.file("ring.dat"), archiveOf({{"ring.trk", std::vector<uint8_t>(64, 1)}}))
                                 .string();
    EXPECT_EQ(loadFailure(path), path + " ; _type != 0x5452414B");
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

    tracktest::patchU32(bytes, 12, 17);
    const std::string seventeen = writeBytes(dir.file("seventeen.trk"), bytes).string();
    EXPECT_EQ(loadFailure(seventeen), seventeen + " ; _noOfTraces > MAX_NO_OF_TRACES");
}

TEST(TrackLoad, UnknownSectionTypeStopsTheLoad) {
    TempDir dir;
    samplekit::TrackFileContents contents = tracktest::roundedSquare().trackFile();
    contents.sections[3].type = 3;
    const std::string path = writeBytes(dir.file("bad.trk"), samplekit::encodeTrack(contents)).string();
    EXPECT_EQ(loadFailure(path), "Unknown section type with value 3");
}

TEST(TrackLoad, FailuresAreTheProgramsException) {
    TempDir dir;
    EXPECT_THROW(Track::load(dir.file("gone.trk")), movrane::Exception);
}

TEST(TrackLoad, HeaderWordsAreKept) {
    TempDir dir;
    const auto track = Track::load(writeBytes(dir.file("square.trk"), roundedSquareBytes()).string());
    EXPECT_EQ(track->headerWord4(), 7);
    EXPECT_EQ(track->headerWord24(), 0x20u);
    EXPECT_NEAR(track->statedLapLength(), tracktest::roundedSquare().lapLength(), 1e-3);
}

TEST(TrackLocation, InstallationLayout) {
    EXPECT_EQ(movrane::trackFilePath("/orv", "monza"), std::filesystem::path("/orv/tracks/monza/monza.trk"));
}

TEST(TrackLocation, ArchiveIsTriedWhenTheTrackFileFails) {
    TempDir dir;
    // A .trk that is neither track data nor holds the wanted entry.
    writeBytes(dir.file("monza.trk"), archiveOf({{"imola.trk", roundedSquareBytes()}}));
    writeBytes(dir.file("monza.dat"), archiveOf({{"monza.trk", roundedSquareBytes()}}));
    EXPECT_EQ(movrane::loadTrackOrArchive(dir.path() / "monza.trk")->numberOfSections(), 8u);

    const std::filesystem::path onlyArchive = dir.path() / "imola.trk";
    writeBytes(dir.file("imola.dat"), archiveOf({{"imola.trk", roundedSquareBytes()}}));
    EXPECT_EQ(movrane::loadTrackOrArchive(onlyArchive)->numberOfSections(), 8u);
}

TEST(TrackLocation, SecondFailureIsRaised) {
    TempDir dir;
    const std::string dat = dir.file("nowhere.dat");
    try {
        movrane::loadTrackOrArchive(dir.path() / "nowhere.trk");
        FAIL() << "loaded a missing track";
    } catch (const MOVRNException& e) {
        EXPECT_EQ(e.message(), dat + " ; _orvFile == NULL");
    }
}
