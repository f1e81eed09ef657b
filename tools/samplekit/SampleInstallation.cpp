#include "samplekit/SampleInstallation.h"

namespace samplekit {

void writeSampleInstallation(const std::filesystem::path& directory) {
    std::filesystem::create_directories(directory / "replay");
}

}  // namespace samplekit
