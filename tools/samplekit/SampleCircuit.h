#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "samplekit/Course.h"
#include "samplekit/TrackWriter.h"

namespace samplekit {

// One piece of a circuit's plan: a straight of some length, or a curve of some radius
// turning by some angle (degrees, positive to the left).
struct Leg {
    double length = 0.0;
    double radius = 0.0;
    double turnDegrees = 0.0;

    static Leg straight(double metres) { return {metres, 0.0, 0.0}; }
    static Leg curve(double radius, double turnDegrees) { return {0.0, radius, turnDegrees}; }
    bool isCurve() const { return turnDegrees != 0.0; }
};

// A surface between two lateral offsets (metres, positive to the left) with the kind
// the track file stores for it.
struct Surface {
    double from = 0.0;
    double to = 0.0;
    int kind = 1;
};

struct CircuitPoint {
    double x = 0.0;
    double y = 0.0;
};

// A closed circuit built from a plan of legs, starting at the origin. The plan's turns
// must add up to a full turn; the two closing straights (plan indices, at an angle to
// each other) are lengthened or shortened so that the last leg ends where the first
// begins. As a Course, headings are those of the centre line (0 along +x) and the
// lateral limits are the tarmac's edges.
class Circuit : public Course {
public:
    Circuit(std::vector<Leg> plan, double startHeadingDegrees, std::size_t closingStraight1,
            std::size_t closingStraight2);

    // The lateral offsets (metres) of the traces the track file stores; five traces
    // from 7 m right to 7 m left unless set.
    void setTraceOffsets(std::vector<double> offsets) { _traceOffsets = std::move(offsets); }

    double lapLength() const override { return _lapLength; }
    double headingAt(double distance) const override;
    double curvatureAt(double distance) const override;
    LateralLimits limitsAt(double distance) const override;

    // The point lateral metres left of the centre line at a lap distance.
    CircuitPoint pointAt(double lapDistance, double lateral) const;

    // The circuit as the records of a track file.
    TrackFileContents trackFile() const;

private:
    struct Piece {
        Leg leg;
        CircuitPoint start;
        double heading = 0.0;  // radians at the start
        double turn = 0.0;     // radians, 0 for a straight
        double length = 0.0;
        double lapStart = 0.0;
        std::vector<Surface> surfaces;
    };

    // Lays the legs end to end and returns where the last one ends.
    CircuitPoint lay(const std::vector<Leg>& plan, double startHeading);
    const Piece& pieceAt(double lapDistance, double& along) const;
    TrackSectionRecord sectionRecord(std::size_t index) const;

    std::vector<Piece> _sections;
    std::vector<double> _traceOffsets;
    double _lapLength = 0.0;
};

// The sample circuit "harbour": about 3.5 km, clockwise, with a long start and
// finish straight, right and left curves, a chicane and a hairpin.
Circuit sampleCircuit();

// Writes the sample circuit as DIR/tracks/TRACK/TRACK.trk.
void writeSampleTrack(const std::filesystem::path& installation, const std::string& trackDirectory = "harbour");

}  // namespace samplekit
