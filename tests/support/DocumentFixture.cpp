#include "support/DocumentFixture.h"

#include <filesystem>
#include <stdexcept>

#include "samplekit/SampleCircuit.h"
#include "samplekit/SampleData.h"
#include "samplekit/SampleInstallation.h"
#include "samplekit/Simulator.h"

namespace testsupport {

std::optional<movrane::Chooselap::Selection> ScriptedChooser::choose(movrane::Chooselap& chooser) {
    lastTreeSize = chooser.tree().size();
    ++asked;
    if (answers.empty()) throw std::logic_error("ScriptedChooser: no lap chooser answer queued");
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
}

DocumentFixture::DocumentFixture() {
    std::filesystem::create_directories(dir.path() / "replay");
    setSettings(false);
}

void DocumentFixture::setSettings(bool qualityReport, uint32_t bitmapSize) {
    movrane::DocumentSettings settings;
    settings.orvDirectory = dir.path().string();
    settings.qualityReportOff = !qualityReport;
    settings.bitmapSize = bitmapSize;
    doc.setSettings(settings);
}

void DocumentFixture::writeSampleInstallation() { samplekit::writeSampleInstallation(dir.path()); }

void DocumentFixture::writeSampleTrack() { samplekit::writeSampleTrack(dir.path(), samplekit::SAMPLE_TRACK); }

std::string DocumentFixture::writePractice(const std::string& name, std::size_t drivers, const std::string& track,
                                           const std::string& carSet, uint64_t seed) {
    auto header = samplekit::sampleHeader(true);
    header.trackName = track;
    if (!carSet.empty()) header.carSet = carSet;
    samplekit::writeSimulatedReplay(replay(name), samplekit::sampleRaceSpec(drivers, 3, 0, seed), header);
    return replay(name);
}

void DocumentFixture::load(const std::string& replayPath, movrane::Session session, uint32_t driver, int lap) {
    if (doc.commandLineLoad(replayPath, session, driver, lap) != movrane::CZodEvadiDoc::LoadResult::Loaded)
        throw std::runtime_error("the lap did not load: " + replayPath);
}

}  // namespace testsupport
