#pragma once

#include <filesystem>

namespace samplekit {

// Writes the bundled sample installation: the folders of a simulator installation with
// a few replays in its "replay" folder.
void writeSampleInstallation(const std::filesystem::path& directory);

}  // namespace samplekit
