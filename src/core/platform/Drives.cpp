#include "core/platform/Drives.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

namespace movrane {

namespace {

namespace fs = std::filesystem;

struct MountEntry {
    std::string device;
    std::string mountPoint;
    std::string type;
};

// The mount table escapes blanks and a few other bytes as "\ooo" (octal); so does the
// by-label folder as "\xhh".
bool isOctal(char c) { return c >= '0' && c <= '7'; }
bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 3 < text.size();
        if (escape && text[i + 1] == 'x' && isHex(text[i + 2]) && isHex(text[i + 3])) {
            out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else if (escape && isOctal(text[i + 1]) && isOctal(text[i + 2]) && isOctal(text[i + 3])) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<MountEntry> mountTable() {
    std::vector<MountEntry> mounts;
    std::string text;
    if (!readWholeFile("/proc/self/mounts", text)) return mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        MountEntry m;
        if (fields >> m.device >> m.mountPoint >> m.type) {
            m.mountPoint = unescape(m.mountPoint);
            mounts.push_back(m);
        }
    }
    return mounts;
}

// "sr0" for "/dev/sr0", "sdb" for "/dev/sdb1" (the disk the partition belongs to).
std::string diskOf(const std::string& device) {
    std::error_code ec;
    const fs::path real = fs::canonical(device, ec);
    if (ec || real.parent_path() != "/dev") return {};
    std::string name = real.filename().string();
    if (fs::exists("/sys/block/" + name, ec)) return name;
    while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.pop_back();
    if (name.size() > 1 && name.back() == 'p' && fs::exists("/sys/block/" + name.substr(0, name.size() - 1), ec))
        name.pop_back();
    return name;
}

bool isRemovableDisk(const std::string& disk) {
    if (disk.empty()) return false;
    if (disk.starts_with("sr")) return true;
    std::string flag;
    return readWholeFile("/sys/block/" + disk + "/removable", flag) && flag.starts_with('1');
}

std::string volumeName(const MountEntry& m) {
    std::error_code ec;
    const fs::path device = fs::canonical(m.device, ec);
    if (!ec) {
        for (fs::directory_iterator it("/dev/disk/by-label", ec); !ec && it != fs::directory_iterator();
             it.increment(ec)) {
            std::error_code ignored;
            if (fs::canonical(it->path(), ignored) == device) return unescape(it->path().filename().string());
        }
    }
    return afterLastSeparator(m.mountPoint);
}

std::string labelOf(const MountEntry& m) { return volumeName(m) + " [" + m.type + "]"; }

}  // namespace

std::vector<DriveInfo> MountTableDrives::removableDrives() const {
    std::vector<DriveInfo> drives;
    std::vector<std::string> mountedDisks;
    for (const MountEntry& m : mountTable()) {
        const std::string disk = diskOf(m.device);
        if (!isRemovableDisk(disk)) continue;
        mountedDisks.push_back(disk);
        drives.push_back(DriveInfo{m.mountPoint, labelOf(m)});
    }
    std::error_code ec;
    for (fs::directory_iterator it("/sys/block", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string disk = it->path().filename().string();
        if (!disk.starts_with("sr") || std::find(mountedDisks.begin(), mountedDisks.end(), disk) != mountedDisks.end())
            continue;
        drives.push_back(DriveInfo{"/dev/" + disk, ""});
    }
    return drives;
}

std::string mediumLabelOf(const std::string& folder) {
    std::error_code ec;
    const std::string wanted = fs::weakly_canonical(folder, ec).string();
    const MountEntry* best = nullptr;
    const std::vector<MountEntry> mounts = mountTable();
    for (const MountEntry& m : mounts) {
        const bool holds = wanted == m.mountPoint || m.mountPoint == "/" ||
                           wanted.starts_with(m.mountPoint + "/");
        if (holds && (!best || m.mountPoint.size() >= best->mountPoint.size())) best = &m;
    }
    if (!best) return afterLastSeparator(wanted) + " []";
    if (best->mountPoint == wanted) return labelOf(*best);
    return afterLastSeparator(wanted) + " [" + best->type + "]";
}

std::string findDriveByLabel(const DriveList& drives, const std::string& label) {
    for (const DriveInfo& drive : drives.removableDrives()) {
        if (drive.hasMedium() && drive.label == label) return drive.root;
    }
    return {};
}

}  // namespace movrane
