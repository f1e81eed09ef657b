#pragma once

// Laps named on the command line as "--lap SESSION:DRIVER:LAP" (SESSION practice or race,
// DRIVER the index in the replay's driver table, LAP the lap number) and loaded from one
// replay exactly as the document loads them, without any dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/platform/SilentUi.h"
#include "core/replay/ReplayLayout.h"

namespace cli {

struct LapSpec {
    movrane::Session session = movrane::PRACTICE;
    uint32_t driver = 0;
    int lap = 0;
};

// "race:3:12" -> {RACE, 3, 12}; nothing when the text is not of that form.
std::optional<LapSpec> parseLapSpec(const std::string& text);

// Takes every "--lap SESSION:DRIVER:LAP" out of args, in the order given. False, with a
// message on stderr, when one is malformed or there are more than `most`.
bool takeLapSpecs(Args& args, std::vector<LapSpec>& laps, std::size_t most = movrane::CZodEvadiDoc::MAX_LAPS);

// The document's settings for one call: the stored preferences, with the installation named
// by --orv in place of the stored one. Nothing (message on stderr) without a usable
// installation.
std::optional<movrane::DocumentSettings> documentSettings(const std::string& orvOverride);

// A document of its own that loads laps named on the command line; its messages go to stderr.
class LoadedLaps {
public:
    LoadedLaps();
    LoadedLaps(const LoadedLaps&) = delete;
    LoadedLaps& operator=(const LoadedLaps&) = delete;

    // Loads each lap of `replay` in the order given into slots 0, 1, ...; false as soon as
    // one is refused (the document has said why on stderr, followed by a line naming a driver
    // or lap the replay does not have).
    bool load(const std::string& replay, const std::vector<LapSpec>& laps, const movrane::DocumentSettings& settings);

    movrane::CZodEvadiDoc& document() { return doc_; }
    const movrane::CZodEvadiDoc& document() const { return doc_; }

private:
    // The command line has chosen the laps already; the document never asks.
    class NoLapChooser : public movrane::LapChooserDialog {
    public:
        std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override { return std::nullopt; }
    };

    movrane::SilentUi ui_{stderr};
    NoLapChooser chooser_;
    movrane::CZodEvadiDoc doc_{ui_, chooser_};
};

}  // namespace cli
