#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/platform/Drives.h"

namespace movrane {

class Ui;

// "Enter database filename": proposes a name and returns the edited one, or nothing on
// Cancel.
class RpyDBFilename {
public:
    static constexpr const char* TITLE = "Enter database filename";
    static constexpr const char* HINT = "(the name will also be your reference to which CD replays are stored on)";
    virtual ~RpyDBFilename() = default;
    virtual std::optional<std::string> askName(const std::string& proposed) = 0;
};

// "Replay CD Database Creator": lists the removable drives and writes the database of
// the replays on the chosen medium into the installation's CD database folder.
class ReplayCDDatabaseCreator {
public:
    static constexpr const char* TITLE = "Replay CD Database Creator";
    static constexpr const char* INFORMATION =
        "A replay CD database remembers every replay on a CD or other removable medium: its "
        "drivers and all their lap times. The Lap Finder and the records export then search "
        "those replays as if they were on disk; only loading a lap asks for the CD.\r\n\r\n"
        "Insert the medium, choose its drive and press \"Create Database!\".";
    static constexpr const char* NO_DRIVES = "No CD-roms found";
    static constexpr const char* NO_DISK = "[No Disk in Drive]";

    ReplayCDDatabaseCreator(std::string installation, const DriveList& drives, Ui& ui);

    // "Rescan Drives" (also done when the dialog opens).
    void rescan();
    const std::vector<DriveInfo>& drives() const { return drives_; }
    // The chooser's entries: root + " " + label (or the no-disk text); the no-drive
    // text alone when there is no drive.
    std::vector<std::string> entries() const;
    // "Create Database!" is enabled when a listed drive holds a medium.
    bool canCreate() const;

    // "Create Database!" for the drive at `index`; the path of the database written, or
    // nothing when the flow stopped.
    std::optional<std::string> create(std::size_t index, RpyDBFilename& names);
    // The same for a medium given by its root and label.
    std::optional<std::string> create(const DriveInfo& drive, RpyDBFilename& names);

private:
    std::optional<std::string> chooseDatabasePath(const std::string& folder, const std::string& label,
                                                  RpyDBFilename& names);

    std::string installation_;
    const DriveList& driveList_;
    Ui& ui_;
    std::vector<DriveInfo> drives_;
};

// Every "*.rpy" file (any case) under `root`, its subfolders included, in path order.
std::vector<std::string> replayFilesBelow(const std::string& root);

}  // namespace movrane
