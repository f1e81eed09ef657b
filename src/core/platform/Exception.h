#pragma once

#include <stdexcept>
#include <string>

namespace movrane {

// The program's exception class. Geometry and other code that cannot go on raises it
// (or a class derived from it) with the text the user is shown.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    const std::string message() const { return what(); }
};

}  // namespace movrane
