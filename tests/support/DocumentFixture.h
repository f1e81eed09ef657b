#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/app/CZodEvadiDoc.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace testsupport {

// A lap chooser that answers with queued selections (nullopt cancels) and throws when it is
// asked without one; it remembers how many drivers the last tree it was shown had.
class ScriptedChooser : public movrane::LapChooserDialog {
public:
    std::deque<std::optional<movrane::Chooselap::Selection>> answers;
    int asked = 0;
    std::size_t lastTreeSize = 0;
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap& chooser) override;
};

// A document over an installation in a fresh folder: the settings point at it and the
// quality report is off unless a test switches it on.
struct DocumentFixture {
    TempDir dir;
    ScriptedUi ui;
    ScriptedChooser chooser;
    movrane::CZodEvadiDoc doc{ui, chooser};

    DocumentFixture();
    void setSettings(bool qualityReport, uint32_t bitmapSize = 768);
    // The bundled sample installation (hot lap and race replays, the "harbour" track).
    void writeSampleInstallation();
    // The sample track alone, and a simulated practice replay in the replay folder.
    void writeSampleTrack();
    std::string writePractice(const std::string& name, std::size_t drivers, const std::string& track = "harbour",
                              const std::string& carSet = "", uint64_t seed = 7);
    // Loads a lap as the command line does; throws when it does not load.
    void load(const std::string& replay, movrane::Session session, uint32_t driver, int lap);
    std::string replay(const std::string& name) const { return dir.file("replay/" + name); }
    std::vector<std::string> messageTexts() const { return ui.messageTexts(); }
};

}  // namespace testsupport
