#include "core/platform/DefaultHandler.h"

#include <filesystem>
#include <system_error>

#include "core/platform/Ui.h"

namespace movrane {

namespace {
bool isUrl(const std::string& pathOrUrl) { return pathOrUrl.find("://") != std::string::npos; }
}  // namespace

bool openWithDefaultHandlerOrTell(Ui& ui, const std::string& pathOrUrl) {
    std::error_code error;
    if (!isUrl(pathOrUrl) && !std::filesystem::exists(pathOrUrl, error)) {
        ui.message("The file " + pathOrUrl + " does not exist.", {}, Ui::Icon::Warning);
        return false;
    }
    if (ui.openWithDefaultHandler(pathOrUrl)) return true;
    ui.message("No program could open " + pathOrUrl + ".", {}, Ui::Icon::Warning);
    return false;
}

}  // namespace movrane
