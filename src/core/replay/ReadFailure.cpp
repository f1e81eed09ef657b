#include "core/replay/ReadFailure.h"

namespace movrane {

std::string readFailureDetail(const std::string& path, const std::string& reason) {
    return "File: " + path + "\nReason: " + reason + ".";
}

}  // namespace movrane
