// The -expreports start: messages of unreadable replays, the files written, the status.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/app/ExportReports.h"
#include "samplekit/ReplayWriter.h"
#include "support/RaceFixture.h"
#include "support/TempDir.h"

namespace {

using namespace movrane;

std::string run(const StartRequest& request, int& status) {
    std::FILE* messages = std::tmpfile();
    status = runReportExport(request, ReportPrefs{}, messages);
    std::rewind(messages);
    std::string text;
    for (int c; (c = std::fgetc(messages)) != EOF;) text += static_cast<char>(c);
    std::fclose(messages);
    return text;
}

StartRequest exportOf(const std::string& replay, const std::string& prefix, bool mech) {
    StartRequest r;
    r.mode = StartRequest::Mode::ExportReports;
    r.replayPath = replay;
    r.prefix = prefix;
    r.withMechanical = mech;
    return r;
}

testsupport::FixtureRace smallRace() {
    return {.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}},
            .race = std::vector<std::optional<testsupport::FixtureLaps>>{testsupport::FixtureLaps{20000, {90000}},
                                                                         testsupport::FixtureLaps{20000, {91000}}},
            .raceSeconds = 5};
}

TEST(ReportExport, WritesEveryFileAndSaysNothing) {
    testsupport::TempDir dir;
    testsupport::writeFixtureRace(dir.file("a.rpy"), smallRace());
    int status = -1;
    EXPECT_EQ(run(exportOf(dir.file("a.rpy"), dir.file("out_"), true), status), "");
    EXPECT_EQ(status, EXPORT_OK);
    for (const char* suffix : {"_Practice", "_Race", "_LapChart", "_LapByLap", "_Complete", "_Mechanical"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(std::string("out_a") + suffix + ".txt"))) << suffix;
    }
    // A file that cannot be written stops the export and is named.
    EXPECT_EQ(run(exportOf(dir.file("a.rpy"), dir.file("missing/"), false), status),
              "Error creating file!\n" + dir.file("missing/a_Practice.txt") + "\n");
    EXPECT_EQ(status, EXPORT_INCOMPLETE);
}

TEST(ReportExport, AnUnreadableHeaderOrDriverTableNamesTheFailure) {
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("bad.rpy"), {'R', 'P', 'L', 'Y', 0, 0, 0, 0, 0, 0, 0, 0});
    int status = -1;
    EXPECT_EQ(run(exportOf(dir.file("bad.rpy"), dir.file("o"), false), status),
              "HeaderClass: Error reading file!\n" + dir.file("bad.rpy") + "\n");
    EXPECT_EQ(status, EXPORT_UNREADABLE);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no report file written";

    samplekit::ReplayDescription description;
    description.drivers.resize(2);
    samplekit::writeHeaderOnly(dir.file("short.rpy"), description);
    EXPECT_EQ(run(exportOf(dir.file("short.rpy"), dir.file("o"), false), status), "DriversClass: Error reading file!\n");
    EXPECT_EQ(status, EXPORT_UNREADABLE);
}

}  // namespace
