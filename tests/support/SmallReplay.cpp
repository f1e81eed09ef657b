#include "support/SmallReplay.h"

namespace testsupport {

std::vector<samplekit::DriverEntry> namedDrivers(int count) {
    std::vector<samplekit::DriverEntry> drivers;
    for (int i = 0; i < count; ++i) {
        drivers.push_back({.name1 = "First" + std::to_string(i), .name2 = "Last" + std::to_string(i), .kindText = "",
                           .carMake = static_cast<uint32_t>(i % 7), .slot = static_cast<uint32_t>(i),
                           .carNumber = static_cast<uint32_t>(i + 1)});
    }
    return drivers;
}

samplekit::LapEntry evenLaps(uint32_t slot, uint32_t baseTime, uint32_t lapMs, int laps) {
    samplekit::LapEntry e{slot, baseTime, {}};
    for (int k = 1; k <= laps; ++k) e.stamps.push_back(baseTime + static_cast<uint32_t>(k) * lapMs);
    return e;
}

uint64_t writeStampedReplay(const std::filesystem::path& path, const samplekit::ReplayDescription& description,
                        const std::vector<StampedSession>& sessions,
                        const std::function<void(samplekit::Frame&, int)>& extra) {
    samplekit::ReplayWriter writer(path, description);
    int frameNumber = 0;
    for (const StampedSession& s : sessions) {
        for (int second = 0; second < s.seconds; ++second) {
            for (int f = 0; f < 36; ++f) {
                samplekit::Frame frame(static_cast<uint32_t>(++frameNumber));
                if (extra) extra(frame, frameNumber);
                if (f == 0) {
                    const uint32_t hundredths = (s.startMs + static_cast<uint32_t>(second) * 1000) / 10;
                    frame.addU32Item(13, (hundredths << 8) | s.sessionId);
                }
                writer.writeFrame(frame);
            }
        }
    }
    writer.finish();
    return writer.streamChunkOffset();
}

}  // namespace testsupport
