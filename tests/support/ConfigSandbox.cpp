#include "support/ConfigSandbox.h"

#include <cstdlib>

#include "core/library/Prefs.h"
#include "core/platform/RegistryStore.h"

namespace testsupport {

namespace {

std::optional<std::string> current(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value) {
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
}

void startAfresh() {
    movrane::Singleton<movrane::Prefs>::reset();
    movrane::takeStoreNotices();
}

}  // namespace

ConfigSandbox::ConfigSandbox() : oldConfig_(current("MOVRANE_CONFIG_DIR")), oldWine_(current("WINEPREFIX")) {
    setenv("MOVRANE_CONFIG_DIR", configDir().c_str(), 1);
    setenv("WINEPREFIX", winePrefix().c_str(), 1);
    startAfresh();
}

ConfigSandbox::~ConfigSandbox() {
    startAfresh();
    restore("MOVRANE_CONFIG_DIR", oldConfig_);
    restore("WINEPREFIX", oldWine_);
}

std::string ConfigSandbox::environmentPrefix() const {
    return "MOVRANE_CONFIG_DIR='" + configDir() + "' WINEPREFIX='" + winePrefix() + "' ";
}

}  // namespace testsupport
