#pragma once

#include <string>

namespace movrane {

// True for "C:\..." or "c:/...": a path with a drive letter.
bool isDrivePath(const std::string& path);

// Maps a Windows path from a Wine prefix's registry into the prefix: "C:\Games\Orv"
// becomes <prefix>/drive_c/Games/Orv, other letters go through <prefix>/dosdevices/x:.
// The components are resolved without regard to case. Other paths are returned as
// they are.
std::string mapDrivePath(const std::string& path, const std::string& winePrefix);

// The path of the running program file ("/proc/self/exe"), or empty.
std::string runningProgramPath();

}  // namespace movrane
