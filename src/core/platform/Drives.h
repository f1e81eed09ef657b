#pragma once

#include <string>
#include <vector>

namespace movrane {

// A removable or optical drive. `label` is the medium label: volume name + " [" +
// file system name + "]"; empty when no medium is in the drive.
struct DriveInfo {
    std::string root;
    std::string label;
    bool hasMedium() const { return !label.empty(); }
};

// The removable and optical drives of the machine. Behind an interface so tests can
// supply their own.
class DriveList {
public:
    virtual ~DriveList() = default;
    virtual std::vector<DriveInfo> removableDrives() const = 0;
};

// The drives of this machine: removable and optical media from the mount table, the
// volume name from /dev/disk/by-label (else the mount point's own name), the file system
// type from the mount; optical drives without a mounted disc are listed without a label.
class MountTableDrives : public DriveList {
public:
    std::vector<DriveInfo> removableDrives() const override;
};

// The label of the medium mounted at or holding `folder`, as MountTableDrives forms it.
std::string mediumLabelOf(const std::string& folder);

// The root of the first drive whose label equals `label` exactly; empty when none does.
std::string findDriveByLabel(const DriveList& drives, const std::string& label);

}  // namespace movrane
