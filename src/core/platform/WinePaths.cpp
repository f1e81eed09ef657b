#include "core/platform/WinePaths.h"

#include <filesystem>
#include <system_error>

#include "core/platform/Paths.h"

namespace movrane {

bool isDrivePath(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           (path.size() == 2 || isPathSeparator(path[2]));
}

std::string mapDrivePath(const std::string& path, const std::string& winePrefix) {
    if (!isDrivePath(path)) return path;
    const char letter = toLowerAscii(path.substr(0, 1))[0];
    const std::string drive = letter == 'c' ? joinPath(winePrefix, "drive_c")
                                            : joinPath(joinPath(winePrefix, "dosdevices"), std::string(1, letter) + ":");
    return resolveUnder(drive, path.substr(2));
}

std::string runningProgramPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

}  // namespace movrane
