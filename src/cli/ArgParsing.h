#pragma once

#include <optional>
#include <string>

#include "cli/Commands.h"

namespace cli {

// Takes a flag out of args; true when it was there.
bool takeFlag(Args& args, const std::string& flag);
// Takes "--name VALUE" out of args; false when the option stands without its value.
bool takeValue(Args& args, const std::string& option, std::optional<std::string>& value);
// A whole argument as a number from 0 up; false for anything else.
bool parseIndex(const std::string& text, int& index);
// True when an argument that looks like an option is left.
bool hasOption(const Args& args);

}  // namespace cli
