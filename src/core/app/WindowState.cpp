#include "core/app/WindowState.h"

#include "core/library/Settings.h"

namespace movrane {

namespace {

template <class T>
T readStored(const RegistryStore& store, const SettingKey<T>& key) {
    T value = key.fallback;
    CRegistry registry(store);
    if (registry.openKey(RootKey::CurrentUser, SETTINGS_KEY)) readSetting(registry, key, value);
    return value;
}

bool sideInRange(uint32_t side) {
    return side >= static_cast<uint32_t>(WindowState::MIN_SIDE) && side <= static_cast<uint32_t>(WindowState::MAX_SIDE);
}

}  // namespace

std::string WindowState::mainWindowGeometry() const { return readStored(store_, setting::MAIN_WINDOW_GEOMETRY).bytes; }

std::string WindowState::mainWindowLayout() const { return readStored(store_, setting::MAIN_WINDOW_STATE).bytes; }

void WindowState::saveMainWindow(const std::string& geometry, const std::string& layout) {
    CRegistry registry(store_);
    if (!registry.createKey(RootKey::CurrentUser, SETTINGS_KEY)) return;
    writeSetting(registry, setting::MAIN_WINDOW_GEOMETRY, BinaryValue{geometry});
    writeSetting(registry, setting::MAIN_WINDOW_STATE, BinaryValue{layout});
}

std::optional<WindowSize> WindowState::reportWindowSize() const {
    const uint32_t width = readStored(store_, setting::REPORT_WINDOW_WIDTH);
    const uint32_t height = readStored(store_, setting::REPORT_WINDOW_HEIGHT);
    if (!sideInRange(width) || !sideInRange(height)) return std::nullopt;
    return WindowSize{static_cast<int>(width), static_cast<int>(height)};
}

void WindowState::saveReportWindowSize(WindowSize size) {
    CRegistry registry(store_);
    if (!registry.createKey(RootKey::CurrentUser, SETTINGS_KEY)) return;
    writeSetting(registry, setting::REPORT_WINDOW_WIDTH, static_cast<uint32_t>(size.width));
    writeSetting(registry, setting::REPORT_WINDOW_HEIGHT, static_cast<uint32_t>(size.height));
}

}  // namespace movrane
