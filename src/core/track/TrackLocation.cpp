#include "core/track/TrackLocation.h"

#include "core/track/MOVRNException.h"
#include "core/track/Track.h"

namespace movrane {

const char* const TRACK_NOT_FOUND_MESSAGE =
    "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\n"
    "Make sure Orv Path is set correctly in File->Settings";

std::filesystem::path trackFilePath(const std::filesystem::path& orvDirectory, const std::string& trackDirectory) {
    return orvDirectory / "tracks" / trackDirectory / (trackDirectory + ".trk");
}

std::unique_ptr<Track> loadTrackOrArchive(const std::filesystem::path& trkPath) {
    try {
        return Track::load(trkPath.string());
    } catch (const MOVRNException&) {
        std::filesystem::path datPath = trkPath;
        return Track::load(datPath.replace_extension(".dat").string());
    }
}

}  // namespace movrane
