// Every report of a damaged replay that its readers accept comes out as text: the scans
// and tables never crash, hang or read outside the file (the sanitizers watch).
#include <gtest/gtest.h>

#include <string>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "support/DamagedReplays.h"
#include "support/TempDir.h"

using movrane::ReportKind;
using testsupport::TempDir;

namespace {

int reportsOf(const std::string& path) {
    movrane::Header header;
    movrane::Drivers drivers;
    if (header.load(path) != 0 || drivers.load(path) != 0) return 0;
    int generated = 0;
    for (auto kind : {ReportKind::Practice, ReportKind::Race, ReportKind::LapChart, ReportKind::LapByLap,
                      ReportKind::Complete, ReportKind::Mechanical}) {
        movrane::Report report(header, drivers, path, {true, true});
        EXPECT_FALSE(report.generate(kind).empty());
        ++generated;
    }
    return generated;
}

}  // namespace

TEST(ReportRobustness, DamagedReplaysGiveReportsOrNothing) {
    TempDir dir;
    int generated = 0;
    auto visit = [&](const std::string& path, const std::string& what) {
        generated += reportsOf(path);
        if (testing::Test::HasFailure()) FAIL() << what;
    };
    testsupport::forEachTruncation(dir, 7, visit);
    testsupport::forEachByteFlip(dir, 300, visit);
    testsupport::forEachWildField(dir, visit);
    EXPECT_GT(generated, 300) << "many damaged replays still load and get their reports";
}
