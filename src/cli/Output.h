#pragma once

#include <string>

namespace cli {

// Writes a command's output file ("-" is standard output). EXIT_OK, or EXIT_WRITE_FAILED
// with "Error creating file!" and the path on stderr.
int writeOutput(const std::string& path, const std::string& bytes);

}  // namespace cli
