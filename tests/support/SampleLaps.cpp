#include "support/SampleLaps.h"

#include "samplekit/SampleInstallation.h"

namespace testsupport {

const TempDir& sampleInstallation() {
    static const TempDir dir;
    static const bool written = (samplekit::writeSampleInstallation(dir.path()), true);
    (void)written;
    return dir;
}

SampleLaps::SampleLaps(uint32_t speedUnit) : dir(sampleInstallation()) {
    movrane::DocumentSettings settings;
    settings.orvDirectory = dir.path().string();
    settings.qualityReportOff = true;
    settings.speedUnit = speedUnit;
    doc.setSettings(settings);
    const std::string replays = dir.file("replay/");
    using Result = movrane::CZodEvadiDoc::LoadResult;
    if (doc.commandLineLoad(replays + "sample_hotlap.rpy", movrane::PRACTICE, 0, 2) != Result::Loaded ||
        doc.commandLineLoad(replays + "sample_race.rpy", movrane::RACE, 1, 4) != Result::Loaded)
        throw std::runtime_error("sample laps did not load");
}

}  // namespace testsupport
