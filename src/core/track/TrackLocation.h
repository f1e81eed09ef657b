#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace movrane {

class Track;

// The message the document shows when a replay's track cannot be loaded.
extern const char* const TRACK_NOT_FOUND_MESSAGE;

// The geometry file of a track in an installation: DIR/tracks/TRACK/TRACK.trk.
std::filesystem::path trackFilePath(const std::filesystem::path& orvDirectory, const std::string& trackDirectory);

// Loads a track from its ".trk" path, and when that fails for any reason from the same
// path with ".dat" in place of the extension. Raises the second failure.
std::unique_ptr<Track> loadTrackOrArchive(const std::filesystem::path& trkPath);

}  // namespace movrane
