#include "core/track/TrackLocation.h"

#include "core/platform/Paths.h"
#include "core/track/MOVRNException.h"
#include "core/track/Track.h"

namespace movrane {

const char* const TRACK_NOT_FOUND_MESSAGE =
    "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\n"
    "Make sure Orv Path is set correctly in File->Settings";

std::string trackFilePath(const std::string& orvDirectory, const std::string& trackDirectory,
                          const std::string& extension) {
    return resolveUnder(orvDirectory, "tracks/" + trackDirectory + "/" + trackDirectory + extension);
}

std::unique_ptr<Track> loadInstalledTrack(const std::string& orvDirectory, const std::string& trackDirectory) {
    try {
        return Track::load(trackFilePath(orvDirectory, trackDirectory, ".trk"));
    } catch (const MOVRNException&) {
        return Track::load(trackFilePath(orvDirectory, trackDirectory, ".dat"));
    }
}

}  // namespace movrane
