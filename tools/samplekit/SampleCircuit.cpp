#include "samplekit/SampleCircuit.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace samplekit {

namespace {

constexpr double PI = std::numbers::pi;
constexpr int WALL = 2048;
constexpr int TARMAC = 1;
constexpr double TRACE_OFFSETS[] = {-7.0, -3.5, 0.0, 3.5, 7.0};

double radians(double degrees) { return degrees * PI / 180.0; }

CircuitPoint leftOf(CircuitPoint p, double heading, double lateral) {
    return {p.x - lateral * std::sin(heading), p.y + lateral * std::cos(heading)};
}

CircuitPoint ahead(CircuitPoint p, double heading, double distance) {
    return {p.x + distance * std::cos(heading), p.y + distance * std::sin(heading)};
}

// Surfaces from right to left. Straights have grass and trees beside the tarmac;
// curves have kerbs, and gravel with a wall on their outside.
std::vector<Surface> straightSurfaces(bool startStraight) {
    if (startStraight)
        return {{-22, -14, 4}, {-14, -8, 2}, {-8, -7.5, WALL}, {-7.5, -6, 4}, {-6, 6, TARMAC}, {6, 12, 4}, {12, 16, 7}};
    return {{-16, -12, 7}, {-12, -6, 4}, {-6, 6, TARMAC}, {6, 12, 4}, {12, 15, 2}};
}

std::vector<Surface> curveSurfaces(double turn, bool tight) {
    const int runOff = tight ? 6 : 5;
    if (turn < 0) return {{-12, -7, 4}, {-7, -6, 3}, {-6, 6, TARMAC}, {6, 7, 3}, {7, 20, runOff}, {20, 21, WALL}};
    return {{-21, -20, WALL}, {-20, -7, runOff}, {-7, -6, 3}, {-6, 6, TARMAC}, {6, 7, 3}, {7, 12, 4}};
}

uint32_t surfaceFlags(int kind) {
    if (kind == WALL) return 0x800;
    // Grass carries a flag bit besides its kind, as in the simulator's own files.
    return kind == 4 ? 0x104u : static_cast<uint32_t>(kind);
}

}  // namespace

Circuit::Circuit(std::vector<Leg> plan, double startHeadingDegrees, std::size_t closingStraight1,
                 std::size_t closingStraight2) {
    double totalTurn = 0.0;
    for (const Leg& leg : plan) totalTurn += leg.turnDegrees;
    if (std::fabs(std::fabs(totalTurn) - 360.0) > 1e-9) throw std::invalid_argument("the turns must add up to 360 degrees");
    if (closingStraight1 >= plan.size() || closingStraight2 >= plan.size() || plan[closingStraight1].isCurve() ||
        plan[closingStraight2].isCurve())
        throw std::invalid_argument("the closing legs must be straights of the plan");
    _traceOffsets.assign(std::begin(TRACE_OFFSETS), std::end(TRACE_OFFSETS));

    const double startHeading = radians(startHeadingDegrees);
    const CircuitPoint end = lay(plan, startHeading);
    const double h1 = _sections[closingStraight1].heading;
    const double h2 = _sections[closingStraight2].heading;
    const double det = std::cos(h1) * std::sin(h2) - std::sin(h1) * std::cos(h2);
    if (std::fabs(det) < 0.1) throw std::invalid_argument("the closing straights must not be parallel");
    const double gapX = -end.x;
    const double gapY = -end.y;
    plan[closingStraight1].length += (gapX * std::sin(h2) - gapY * std::cos(h2)) / det;
    plan[closingStraight2].length += (std::cos(h1) * gapY - std::sin(h1) * gapX) / det;
    if (plan[closingStraight1].length < 20.0 || plan[closingStraight2].length < 20.0)
        throw std::invalid_argument("the plan cannot be closed with its closing straights");
    lay(plan, startHeading);
}

CircuitPoint Circuit::lay(const std::vector<Leg>& plan, double startHeading) {
    _sections.clear();
    CircuitPoint at{0.0, 0.0};
    double heading = startHeading;
    double lapDistance = 0.0;
    for (std::size_t k = 0; k < plan.size(); ++k) {
        Piece piece;
        piece.leg = plan[k];
        piece.start = at;
        piece.heading = heading;
        piece.lapStart = lapDistance;
        if (plan[k].isCurve()) {
            piece.turn = radians(plan[k].turnDegrees);
            piece.length = plan[k].radius * std::fabs(piece.turn);
            piece.surfaces = curveSurfaces(piece.turn, plan[k].radius < 40.0);
            const double signedRadius = piece.turn > 0 ? plan[k].radius : -plan[k].radius;
            const CircuitPoint centre = leftOf(at, heading, signedRadius);
            heading += piece.turn;
            at = leftOf(centre, heading, -signedRadius);
        } else {
            piece.length = plan[k].length;
            piece.surfaces = straightSurfaces(k == 0);
            at = ahead(at, heading, piece.length);
        }
        lapDistance += piece.length;
        _sections.push_back(piece);
    }
    _lapLength = lapDistance;
    return at;
}

const Circuit::Piece& Circuit::pieceAt(double lapDistance, double& along) const {
    double d = std::fmod(lapDistance, _lapLength);
    if (d < 0) d += _lapLength;
    std::size_t k = 0;
    while (k + 1 < _sections.size() && d >= _sections[k + 1].lapStart) ++k;
    along = d - _sections[k].lapStart;
    return _sections[k];
}

double Circuit::headingAt(double distance) const {
    double along = 0.0;
    const Piece& piece = pieceAt(distance, along);
    return (piece.heading + piece.turn * along / piece.length) * 180.0 / PI;
}

double Circuit::curvatureAt(double distance) const {
    double along = 0.0;
    const Piece& piece = pieceAt(distance, along);
    if (!piece.leg.isCurve()) return 0.0;
    return piece.turn > 0 ? 1.0 / piece.leg.radius : -1.0 / piece.leg.radius;
}

LateralLimits Circuit::limitsAt(double distance) const {
    double along = 0.0;
    const Piece& piece = pieceAt(distance, along);
    LateralLimits limits;
    for (const Surface& s : piece.surfaces) {
        if (s.kind == TARMAC) limits = {s.from, s.to};
    }
    return limits;
}

CircuitPoint Circuit::pointAt(double lapDistance, double lateral) const {
    double along = 0.0;
    const Piece& piece = pieceAt(lapDistance, along);
    if (!piece.leg.isCurve()) return leftOf(ahead(piece.start, piece.heading, along), piece.heading, lateral);
    const double signedRadius = piece.turn > 0 ? piece.leg.radius : -piece.leg.radius;
    const CircuitPoint centre = leftOf(piece.start, piece.heading, signedRadius);
    const double heading = piece.heading + piece.turn * along / piece.length;
    return leftOf(leftOf(centre, heading, -signedRadius), heading, lateral);
}

TrackSectionRecord Circuit::sectionRecord(std::size_t index) const {
    const Piece& piece = _sections[index];
    TrackSectionRecord record;
    record.statedStart = trackUnits(piece.lapStart);
    record.statedLength = trackUnits(piece.length);
    record.heading = headingWord(piece.heading);
    const double signedRadius = piece.turn > 0 ? piece.leg.radius : -piece.leg.radius;
    if (piece.leg.isCurve()) {
        record.type = 2;
        const CircuitPoint centre = leftOf(piece.start, piece.heading, signedRadius);
        record.centreX = trackUnits(centre.x);
        record.centreY = trackUnits(centre.y);
        record.turn = turnWord(piece.turn);
    }
    for (std::size_t t = 0; t < _traceOffsets.size(); ++t) {
        TrackTraceRecord trace;
        for (std::size_t w = 0; w < 6; ++w) trace.words[w] = static_cast<int32_t>(1000 * index + 10 * t + w);
        if (piece.leg.isCurve()) {
            trace.words[6] = trackUnits(signedRadius - _traceOffsets[t]);
        } else {
            const CircuitPoint p = leftOf(piece.start, piece.heading, _traceOffsets[t]);
            trace.words[6] = trackUnits(p.x);
            trace.words[7] = trackUnits(p.y);
        }
        record.tracePoints.push_back(trace);
    }
    for (const Surface& s : piece.surfaces)
        record.borders.push_back({trackUnits(s.from), trackUnits(s.from), surfaceFlags(s.kind), record.statedStart});
    const Surface& outermost = piece.surfaces.back();
    record.borders.push_back({trackUnits(outermost.to), trackUnits(outermost.to), surfaceFlags(outermost.kind),
                              record.statedStart});
    return record;
}

TrackFileContents Circuit::trackFile() const {
    TrackFileContents contents;
    contents.headerWord4 = 7;
    contents.statedLapLength = trackUnits(_lapLength);
    contents.headerWord24 = 0x20;
    for (double offset : _traceOffsets) contents.traceOffsets.push_back(trackUnits(offset));
    for (std::size_t k = 0; k < _sections.size(); ++k) contents.sections.push_back(sectionRecord(k));
    return contents;
}

Circuit sampleCircuit() {
    return Circuit({Leg::straight(620), Leg::curve(70, -90), Leg::straight(250), Leg::curve(45, 40),
                    Leg::curve(45, -40), Leg::straight(150), Leg::curve(130, -70), Leg::straight(400),
                    Leg::curve(80, 60), Leg::straight(180), Leg::curve(25, -170), Leg::straight(300),
                    Leg::curve(110, -90)},
                   0.0, 7, 11);
}

void writeSampleTrack(const std::filesystem::path& installation, const std::string& trackDirectory) {
    const std::filesystem::path folder = installation / "tracks" / trackDirectory;
    std::filesystem::create_directories(folder);
    writeFile(folder / (trackDirectory + ".trk"), encodeTrack(sampleCircuit().trackFile()));
}

}  // namespace samplekit
