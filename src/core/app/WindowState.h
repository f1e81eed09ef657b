#pragma once

#include <optional>
#include <string>

#include "core/platform/RegistryStore.h"

namespace movrane {

struct WindowSize {
    int width = 0;
    int height = 0;
};

// The state of the program's windows kept between runs in the program's settings key:
// the main window's geometry and the layout of its bars and docks (opaque bytes of the
// window toolkit), and the report window's size.
class WindowState {
public:
    // Sizes outside this range are not taken from the store (a damaged or foreign value).
    static constexpr int MIN_SIDE = 200;
    static constexpr int MAX_SIDE = 16384;

    WindowState() : WindowState(RegistryStore::fromEnvironment()) {}
    explicit WindowState(RegistryStore store) : store_(std::move(store)) {}

    // Empty when nothing is stored.
    std::string mainWindowGeometry() const;
    std::string mainWindowLayout() const;
    void saveMainWindow(const std::string& geometry, const std::string& layout);

    std::optional<WindowSize> reportWindowSize() const;
    void saveReportWindowSize(WindowSize size);

private:
    RegistryStore store_;
};

}  // namespace movrane
