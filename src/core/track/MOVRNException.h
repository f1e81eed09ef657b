#pragma once

#include <string>

#include "core/platform/Exception.h"

namespace movrane {

// Raised by the track reader and the geometry operations. The message is the text the
// user is shown; path() names the file a load failure is about (empty otherwise).
class MOVRNException : public Exception {
public:
    explicit MOVRNException(const std::string& message) : Exception(message) {}
    MOVRNException(const std::string& path, const std::string& message) : Exception(message), _path(path) {}

    const std::string& path() const { return _path; }

private:
    std::string _path;
};

}  // namespace movrane
