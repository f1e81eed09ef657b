#include <gtest/gtest.h>

#include <string>

#include "samplekit/SampleCircuit.h"
#include "samplekit/TrackWriter.h"
#include "support/ConfigSandbox.h"
#include "support/SampleCli.h"
#include "support/TempDir.h"

using testsupport::runCommand;
using testsupport::TempDir;

namespace {

std::string cli(const std::string& arguments) { return std::string(MOVRANE_CLI_PATH) + " track " + arguments; }

// An installation folder the command accepts without a warning.
void markInstallation(const TempDir& dir) { samplekit::writeFile(dir.path() / "orv.exe", {}); }

std::size_t count(const std::string& text, const std::string& word) {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(CliTrack, ListsTheSampleTrackAndDrawsItsMap) {
    TempDir dir;
    const std::string svg = dir.file("map.svg");
    const auto r = runCommand(cli(testsupport::sampleOrv() + "harbour --svg " + svg));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_NE(r.out.find("lap length: 3498.0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stated lap length: 3498.0"), std::string::npos);
    EXPECT_NE(r.out.find("sections: 13\n"), std::string::npos);
    EXPECT_NE(r.out.find("      0  straight       0.000     620.000     0.000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("      1  curve        620.000     729.956     0.000\n"), std::string::npos);
    EXPECT_NE(r.out.find("      2  straight     729.956     979.956   270.000\n"), std::string::npos);
    EXPECT_NE(r.out.find("strip extent: x "), std::string::npos);

    const std::string picture = testsupport::readFileText(svg);
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    EXPECT_GT(count(picture, "<polygon "), 60u);
    EXPECT_EQ(count(picture, "<polyline "), 13u);
    EXPECT_EQ(count(picture, "<line "), 4u);
    EXPECT_NE(picture.find("fill=\"rgb(128,128,128)\""), std::string::npos);  // tarmac
    EXPECT_NE(picture.find("fill=\"rgb(50,128,50)\""), std::string::npos);    // grass
    EXPECT_NE(picture.find("stroke=\"rgb(255,0,0)\" stroke-width=\"5\""), std::string::npos);

    const auto toStdout = runCommand(cli(testsupport::sampleOrv() + "harbour --svg -"));
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, picture) << "the map alone on standard output";
    // The installation from the preferences.
    testsupport::ConfigSandbox sandbox;
    const TempDir& sample = testsupport::sampleInstallation();
    const std::string env = sandbox.environmentPrefix();
    auto fromPrefs = runCommand(env + cli("harbour"));
    EXPECT_EQ(fromPrefs.exitCode, 2);
    EXPECT_NE(fromPrefs.err.find("no installation directory"), std::string::npos) << fromPrefs.err;
    ASSERT_EQ(runCommand(env + MOVRANE_CLI_PATH + " settings set OrvDirectory '" + sample.path().string() + "'").exitCode,
              0);
    fromPrefs = runCommand(env + cli("harbour"));
    EXPECT_EQ(fromPrefs.exitCode, 0) << fromPrefs.err;
    EXPECT_NE(fromPrefs.out.find("file: " + sample.file("tracks/harbour/harbour.trk") + "\n"), std::string::npos);
}

TEST(CliTrack, ReadsAFileOrTheArchiveFallback) {
    TempDir dir;
    markInstallation(dir);
    const std::vector<uint8_t> data = samplekit::encodeTrack(samplekit::sampleCircuit().trackFile());
    samplekit::writeFile(dir.file("ring.bin"), data);
    auto r = runCommand(cli("--file " + dir.file("ring.bin")));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("file: " + dir.file("ring.bin") + "\n"), std::string::npos);

    std::filesystem::create_directories(dir.path() / "tracks" / "ring");
    samplekit::writeFile(dir.path() / "tracks" / "ring" / "ring.dat", samplekit::encodeArchive({{"RING.TRK", data}}));
    r = runCommand(cli("--orv " + dir.path().string() + " ring"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("sections: 13\n"), std::string::npos);
    EXPECT_NE(r.out.find("file: " + dir.file("tracks/ring/ring.dat") + "\n"), std::string::npos) << r.out;
    // Failures and usage.
    auto failure = runCommand(cli("--orv " + dir.path().string() + " nowhere"));
    EXPECT_EQ(failure.exitCode, 2);
    EXPECT_EQ(failure.err, dir.path().string() + "/tracks/nowhere/nowhere.dat ; _orvFile == NULL\n");
    EXPECT_TRUE(failure.out.empty());

    samplekit::writeFile(dir.file("ring"), {1, 2, 3});
    failure = runCommand(cli("--file " + dir.file("ring")));
    EXPECT_EQ(failure.exitCode, 2);
    EXPECT_EQ(failure.err, dir.file("ring") + " ; filename lacks extension of trk or dat\n");

    failure = runCommand(cli(testsupport::sampleOrv() + "harbour --svg " + dir.file("no/such/folder.svg")));
    EXPECT_EQ(failure.exitCode, 3);
    EXPECT_EQ(failure.err, "Error creating file!\n" + dir.file("no/such/folder.svg") + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));

    for (const char* wrong : {"", "a b", "--file", "--file x.trk name", "--bogus harbour",
                              "--orv /tmp --file x.trk", "--orv"}) {
        failure = runCommand(cli(wrong));
        EXPECT_EQ(failure.exitCode, 1) << wrong;
        EXPECT_NE(failure.err.find("usage: movrane-cli track"), std::string::npos);
    }
    failure = runCommand(cli("--help"));
    EXPECT_EQ(failure.exitCode, 0);
    EXPECT_NE(failure.out.find("usage: movrane-cli track"), std::string::npos);
}

