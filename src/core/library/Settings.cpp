#include "core/library/Settings.h"

namespace movrane {

bool readSetting(CRegistry& key, const SettingKey<uint32_t>& setting, uint32_t& value) {
    value = setting.fallback;
    uint32_t stored = 0;
    if (!key.readDword(setting.name, stored)) return false;
    value = stored;
    return true;
}

bool readSetting(CRegistry& key, const SettingKey<int32_t>& setting, int32_t& value) {
    value = setting.fallback;
    uint32_t stored = 0;
    if (!key.readDword(setting.name, stored)) return false;
    value = static_cast<int32_t>(stored);
    return true;
}

bool readSetting(CRegistry& key, const SettingKey<std::string>& setting, std::string& value) {
    value = setting.fallback;
    std::string stored;
    if (!key.readPath(setting.name, stored)) return false;
    value = std::move(stored);
    return true;
}

bool readSetting(CRegistry& key, const SettingKey<BinaryValue>& setting, BinaryValue& value) {
    value = setting.fallback;
    std::string stored;
    if (!key.readBinary(setting.name, stored)) return false;
    value.bytes = std::move(stored);
    return true;
}

bool writeSetting(CRegistry& key, const SettingKey<uint32_t>& setting, uint32_t value) {
    return key.writeDword(setting.name, value);
}

bool writeSetting(CRegistry& key, const SettingKey<int32_t>& setting, int32_t value) {
    return key.writeDword(setting.name, static_cast<uint32_t>(value));
}

bool writeSetting(CRegistry& key, const SettingKey<std::string>& setting, const std::string& value) {
    return key.writePath(setting.name, value);
}

bool writeSetting(CRegistry& key, const SettingKey<BinaryValue>& setting, const BinaryValue& value) {
    return key.writeBinary(setting.name, value.bytes);
}

}  // namespace movrane
