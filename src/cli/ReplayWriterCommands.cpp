// movrane-cli extract and merge: loaded laps written as new replays, as the desktop's
// "&Save replay lap..." and "Merge all laps to one replay file..." write them.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/LapArgs.h"
#include "cli/OrvOption.h"
#include "cli/Output.h"
#include "cli/ReplayLookup.h"
#include "core/app/DocumentExports.h"
#include "core/app/MergeParameters.h"
#include "core/app/ReplayWriting.h"
#include "core/library/Prefs.h"

namespace cli {

namespace {

struct WriterRequest {
    std::string orv;
    std::vector<LapSpec> laps;
    std::string out;
    std::string replay;
};

// [--orv DIR] --lap SESSION:DRIVER:LAP... --out FILE REPLAY, REPLAY last.
bool takeWriterRequest(Args& args, WriterRequest& request, std::size_t mostLaps) {
    std::optional<std::string> out;
    if (!takeOrvOption(args, request.orv) || !takeValue(args, "--out", out) || !out || out->empty()) {
        return false;
    }
    if (args.empty() || args.back().empty() || args.back().front() == '-') return false;
    request.replay = resolveReplay(args.back(), request.orv);
    args.pop_back();
    if (!takeLapSpecs(args, request.laps, mostLaps) || request.laps.empty() || !args.empty()) return false;
    request.out = *out;
    return true;
}

// The installation named by --orv, else the stored preferences; writing replays needs no
// installation of its own, so without one the laps load without their track.
std::optional<movrane::DocumentSettings> writerSettings(const std::string& orv) {
    if (!orv.empty()) return documentSettings(orv);
    return movrane::DocumentSettings::fromPrefs(movrane::Prefs::get());
}

// The command line names its file: the save chooser is never shown.
movrane::ReplayOutput outputTo(const std::string& path) {
    return {path, [](const std::string& file, const std::string& bytes) { return writeOutput(file, bytes) == EXIT_OK; }};
}

int exitStatus(movrane::ReplayWriteResult result) {
    switch (result) {
        case movrane::ReplayWriteResult::Written: return EXIT_OK;
        case movrane::ReplayWriteResult::WriteFailed: return EXIT_WRITE_FAILED;
        case movrane::ReplayWriteResult::Cancelled: return EXIT_USAGE;
        case movrane::ReplayWriteResult::Refused:
        case movrane::ReplayWriteResult::SourceUnreadable: return EXIT_UNREADABLE;
    }
    return EXIT_UNREADABLE;
}

// The laps are taken whole: the picker is never asked (extract loads one lap), and the
// merge parameters keep their proposed offsets.
class NoPicker : public movrane::LoadedLapPicker {
public:
    std::optional<int> pickLap(const std::string&, const std::vector<int>&, const std::vector<std::string>&) override {
        return std::nullopt;
    }
};

class DefaultMergeParameters : public movrane::MergeParametersEditor {
public:
    bool edit(movrane::MergeParameters&) override { return true; }
};

}  // namespace

void printExtractUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli extract [--orv DIR] --lap SESSION:DRIVER:LAP --out FILE REPLAY\n\n"
                 "Loads the lap as the desktop does and writes it as a replay of its own: the\n"
                 "replay's header, drivers and lap tables with only the frames of that lap.\n"
                 "SESSION is practice or race, DRIVER the index in the driver table. REPLAY not\n"
                 "found as given is looked up in DIR's replay folder. FILE is written as named\n"
                 "(\"-\" is standard output). Messages go to stderr; a lap or a destination that\n"
                 "is refused exits 2 and writes nothing, a failed write exits 3.\n");
}

void printMergeUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli merge [--orv DIR] --lap SESSION:DRIVER:LAP... --out FILE REPLAY\n\n"
                 "Loads up to five laps of REPLAY as the desktop does and merges them into one\n"
                 "new replay, each lap a car of its own, at the proposed offsets (each lap's\n"
                 "time less the fastest one's, so that they finish together). REPLAY not found\n"
                 "as given is looked up in DIR's replay folder. FILE is written as named (\"-\" is\n"
                 "standard output). Messages go to stderr; a refusal exits 2 and writes nothing,\n"
                 "a failed write exits 3.\n");
}

namespace {

// Loads the laps and hands the document to the command; usage on stderr when the arguments
// do not fit.
template <class Write>
int runWriter(const Args& arguments, std::size_t mostLaps, void (*usage)(std::FILE*), const Write& write) {
    Args args = arguments;
    WriterRequest request;
    if (!takeWriterRequest(args, request, mostLaps)) {
        usage(stderr);
        return EXIT_USAGE;
    }
    LoadedLaps loaded;
    const auto settings = writerSettings(request.orv);
    if (!settings || !loaded.load(request.replay, request.laps, *settings)) return EXIT_UNREADABLE;
    movrane::SilentUi ui(stderr);
    return exitStatus(write(loaded.document(), ui, outputTo(request.out)));
}

}  // namespace

int runExtract(const Args& arguments) {
    return runWriter(arguments, 1, printExtractUsage,
                     [](const movrane::CZodEvadiDoc& doc, movrane::Ui& ui, const movrane::ReplayOutput& output) {
                         NoPicker picker;
                         return movrane::saveReplayLap(doc, ui, picker, output);
                     });
}

int runMerge(const Args& arguments) {
    return runWriter(arguments, movrane::CZodEvadiDoc::MAX_LAPS, printMergeUsage,
                     [](const movrane::CZodEvadiDoc& doc, movrane::Ui& ui, const movrane::ReplayOutput& output) {
                         DefaultMergeParameters parameters;
                         return movrane::mergeAllLaps(doc, ui, parameters, output);
                     });
}

}  // namespace cli
