#pragma once

#include <string>

namespace movrane {

// The detailed text of a reader's failure message: the file and the reason, so that the
// person can act on it while the message itself keeps its fixed text.
std::string readFailureDetail(const std::string& path, const std::string& reason);

}  // namespace movrane
