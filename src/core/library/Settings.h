#pragma once

#include <cstdint>
#include <string>

#include "core/platform/CRegistry.h"

namespace movrane {

// The program's own key and the simulator's machine key.
inline constexpr const char* SETTINGS_KEY = "Software\\Movrane\\Movrane\\Settings";
inline constexpr const char* SIMULATOR_KEY = "Software\\Sellory\\Setup\\Orv";
inline constexpr const char* SIMULATOR_DIRECTORY_VALUE = "Directory";

// The bytes of a REG_BINARY setting.
struct BinaryValue {
    std::string bytes;
};

// One persisted setting: its value name in the settings key, its type (uint32_t for
// REG_DWORD flags and sizes, int32_t for a signed REG_DWORD, std::string for REG_SZ,
// BinaryValue for REG_BINARY) and the value it has when it is missing. Each setting is
// declared once, below, and read and written only through its key. The text settings are
// folders, so they are kept whole whatever their length (CRegistry::readPath).
template <class T>
struct SettingKey {
    const char* name;
    T fallback;
};

namespace setting {
inline const SettingKey<uint32_t> MPH{"MPH", 0};
inline const SettingKey<uint32_t> DONT_SHOW_QUAL_REPORT{"DontShowQualReport", 0};
inline const SettingKey<uint32_t> RETIRE_IN_RACE_REPORT{"RetireInRaceReport", 0};
inline const SettingKey<uint32_t> OFF_THE_TRACK_IN_RACE_REPORT{"OffTheTrackInRaceReport", 0};
inline const SettingKey<uint32_t> BMP_SIZE_IN_PIXEL{"BMPSizeInPixel", 768};
inline const SettingKey<int32_t> DEFAULT_PLAYER_INDEX{"DefaultPlayerIndex", -1};
inline const SettingKey<uint32_t> VIZ_UZIV_MSG{"VizUzivMsg", 0};
inline const SettingKey<std::string> ORV_DIRECTORY{"OrvDirectory", ""};
inline const SettingKey<std::string> ALT_RPY_PATH{"AltRpyPath", ""};
inline const SettingKey<std::string> RECORDS_PATH{"RecordsPath", ""};
// Window state kept between runs: the main window's geometry and its bars and docks as
// the window toolkit saves them, and the report window's size in pixels (0: not stored).
inline const SettingKey<BinaryValue> MAIN_WINDOW_GEOMETRY{"MainWindowGeometry", {}};
inline const SettingKey<BinaryValue> MAIN_WINDOW_STATE{"MainWindowState", {}};
inline const SettingKey<uint32_t> REPORT_WINDOW_WIDTH{"ReportWindowWidth", 0};
inline const SettingKey<uint32_t> REPORT_WINDOW_HEIGHT{"ReportWindowHeight", 0};
// The ranking service's login, kept (in plain text) only while the person asks for it,
// and the service's address as "HOST[:PORT]" (empty: no service configured).
inline const SettingKey<std::string> ORVRANK_USER{"OrvRank_User", ""};
inline const SettingKey<std::string> ORVRANK_PW{"OrvRank_PW", ""};
inline const SettingKey<std::string> ORVRANK_HOST{"OrvRankHost", ""};
}  // namespace setting

// Reads a setting from an open key; false (and the fallback in `value`) when it is
// missing or unreadable.
bool readSetting(CRegistry& key, const SettingKey<uint32_t>& setting, uint32_t& value);
bool readSetting(CRegistry& key, const SettingKey<int32_t>& setting, int32_t& value);
bool readSetting(CRegistry& key, const SettingKey<std::string>& setting, std::string& value);
bool readSetting(CRegistry& key, const SettingKey<BinaryValue>& setting, BinaryValue& value);

bool writeSetting(CRegistry& key, const SettingKey<uint32_t>& setting, uint32_t value);
bool writeSetting(CRegistry& key, const SettingKey<int32_t>& setting, int32_t value);
bool writeSetting(CRegistry& key, const SettingKey<std::string>& setting, const std::string& value);
bool writeSetting(CRegistry& key, const SettingKey<BinaryValue>& setting, const BinaryValue& value);

}  // namespace movrane
