#pragma once

#include <optional>
#include <stdexcept>

#include "core/app/CZodEvadiDoc.h"
#include "core/reports/ReportReplayChoice.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace testsupport {

// A lap chooser for documents whose laps are named in advance: asking it fails the test.
class NoLapChooser : public movrane::LapChooserDialog {
public:
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override {
        throw std::runtime_error("no lap chooser expected");
    }
};

// A chooser of one of the loaded replays for tests that expect no choice: asking it fails.
class NoFileChooser : public movrane::LoadedFileChooser {
public:
    std::optional<std::size_t> chooseFile(const std::string&, const std::vector<std::string>&) override {
        throw std::runtime_error("no file chooser expected");
    }
};

// A chooser of one of the loaded replays that gives `answer` and keeps what it was shown.
class ScriptedFileChooser : public movrane::LoadedFileChooser {
public:
    std::optional<std::size_t> answer;
    std::vector<std::string> titles;
    std::vector<std::string> options;  // of the last question
    std::optional<std::size_t> chooseFile(const std::string& title, const std::vector<std::string>& shown) override {
        titles.push_back(title);
        options = shown;
        return answer;
    }
};

// The bundled sample installation, written once per test program (it takes seconds).
const TempDir& sampleInstallation();

// The sample installation (written once per test program) with a lap of the hot-lap replay
// in slot 1 and a race lap in slot 2.
struct SampleLaps {
    const TempDir& dir;
    ScriptedUi ui;
    NoLapChooser chooser;
    movrane::CZodEvadiDoc doc{ui, chooser};

    explicit SampleLaps(uint32_t speedUnit = 0);
};

}  // namespace testsupport
