#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<unsigned char> readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
std::string readFileText(const std::filesystem::path& path);
// Writes text as it is, creating the folders the path needs.
void writeFileText(const std::filesystem::path& path, const std::string& text);
// The lines of a text, and the fields of a line (a separator at its end gives an empty last field).
std::vector<std::string> splitLines(const std::string& text);
std::vector<std::string> splitFields(const std::string& line, char separator);

// Runs a shell command line and returns its exit status; stdout and stderr are captured.
struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
CommandResult runCommand(const std::string& commandLine);

}  // namespace testsupport
