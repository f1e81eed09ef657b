#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace movrane {

// The replay a report works on, with its header and driver table read.
struct ReportReplay {
    std::string path;
    Header header;
    Drivers drivers;
};

// The chooser among the files of the loaded laps: one option per lap slot, named by the
// file name; a slot without a lap has an empty name (its option is disabled and hidden).
class LoadedFileChooser {
public:
    virtual ~LoadedFileChooser() = default;
    // The chosen slot, or nothing on Cancel.
    virtual std::optional<std::size_t> chooseFile(const std::string& title, const std::vector<std::string>& options) = 0;
};

// The replay of the loaded laps a one-file feature works on: the only one, or the one the
// person picks among the lap slots' files. Nothing on Cancel or without any lap.
std::optional<std::string> chooseLoadedReplay(LoadedFileChooser& chooser, const std::vector<std::string>& lapFiles);

// The choice of the replay that every report command makes. lapFiles holds per lap slot the
// replay path of its lap ("" for an empty slot). Without a loaded lap the person may pick a
// replay in replayFolder for the report only. Nothing when there is no report to open: the
// question answered No, a chooser cancelled, or the replay unreadable (its messages shown).
std::unique_ptr<ReportReplay> chooseReportReplay(Ui& ui, LoadedFileChooser& chooser,
                                                 const std::vector<std::string>& lapFiles,
                                                 const std::string& replayFolder);

}  // namespace movrane
