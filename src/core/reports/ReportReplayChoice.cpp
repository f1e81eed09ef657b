#include "core/reports/ReportReplayChoice.h"

#include <algorithm>
#include <set>

#include "core/replay/ReadFailure.h"

namespace movrane {

namespace {

constexpr const char* CHOOSER_TITLE = "Feature only based on one file - choose which to use";

std::string fileName(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::unique_ptr<ReportReplay> readReplay(Ui& ui, const std::string& path) {
    auto replay = std::make_unique<ReportReplay>();
    replay->path = path;
    if (replay->header.load(path) != Header::OK) {
        ui.message(replay->header.errorMessage(), {}, Ui::Icon::Information,
                   readFailureDetail(path, replay->header.failureText()));
        ui.message(path);
        return nullptr;
    }
    if (replay->drivers.load(path) != Drivers::OK) {
        ui.message(Drivers::errorMessage(), {}, Ui::Icon::Information,
                   readFailureDetail(path, replay->drivers.failureText()));
        return nullptr;
    }
    return replay;
}

std::optional<std::string> askForReplayFile(Ui& ui, const std::string& replayFolder) {
    ui.message("No replay lap loaded!");
    if (!ui.askYesNo("Do you wish to choose a replay file to be used in the report only?")) return std::nullopt;
    Ui::FileRequest request;
    request.title = "Select Replay File";
    request.filters = {{"Replay files (*.rpy)", "*.rpy"}};
    request.initialPath = replayFolder;
    return ui.chooseFileToOpen(request);
}

}  // namespace

std::optional<std::string> chooseLoadedReplay(LoadedFileChooser& chooser, const std::vector<std::string>& lapFiles) {
    std::set<std::string> distinct;
    for (const std::string& path : lapFiles) {
        if (!path.empty()) distinct.insert(path);
    }
    if (distinct.empty()) return std::nullopt;
    if (distinct.size() == 1) return *distinct.begin();
    std::vector<std::string> options;
    for (const std::string& path : lapFiles) options.push_back(path.empty() ? "" : fileName(path));
    const std::optional<std::size_t> slot = chooser.chooseFile(CHOOSER_TITLE, options);
    if (!slot || *slot >= lapFiles.size() || lapFiles[*slot].empty()) return std::nullopt;
    return lapFiles[*slot];
}

std::unique_ptr<ReportReplay> chooseReportReplay(Ui& ui, LoadedFileChooser& chooser,
                                                 const std::vector<std::string>& lapFiles,
                                                 const std::string& replayFolder) {
    const bool lapLoaded = std::any_of(lapFiles.begin(), lapFiles.end(), [](const std::string& p) { return !p.empty(); });
    const std::optional<std::string> path =
        lapLoaded ? chooseLoadedReplay(chooser, lapFiles) : askForReplayFile(ui, replayFolder);
    if (!path) return nullptr;
    return readReplay(ui, *path);
}

}  // namespace movrane
