#pragma once

#include <optional>
#include <stdexcept>

#include "core/app/CZodEvadiDoc.h"
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
