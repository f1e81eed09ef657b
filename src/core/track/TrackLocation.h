#pragma once

#include <memory>
#include <string>

namespace movrane {

class Track;

// The message the document shows when a replay's track cannot be loaded.
extern const char* const TRACK_NOT_FOUND_MESSAGE;

// The geometry file of a track in an installation, DIR/tracks/TRACK/TRACK + extension
// (".trk" or ".dat"), each component found without regard to case.
std::string trackFilePath(const std::string& orvDirectory, const std::string& trackDirectory,
                          const std::string& extension);

// Loads a track of an installation from its ".trk" file, and when that fails for any
// reason from its ".dat" archive. Raises the archive's failure.
std::unique_ptr<Track> loadInstalledTrack(const std::string& orvDirectory, const std::string& trackDirectory);

}  // namespace movrane
