#include "samplekit/Course.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace samplekit {

namespace {
constexpr double DEG = 180.0 / std::numbers::pi;

double wrapDistance(double d, double length) {
    double r = std::fmod(d, length);
    return r < 0 ? r + length : r;
}

std::vector<CourseSegment> loopLayout(double L) {
    if (!(L >= 200.0)) throw std::invalid_argument("a loop course needs at least 200 m");
    const double pi = std::numbers::pi;
    const double slowR = 0.011 * L;   // about 40 m on a 3.5 km lap
    const double fastR = 0.043 * L;   // about 150 m
    const double sR = 0.017 * L;      // S-bend arcs, 30 degrees each
    const double sArc = sR * pi / 6;
    const double corners = pi * (slowR + fastR);
    const double bends = 4 * sArc;
    const double straights = L - corners - bends;  // = 2a + 2b
    const double a = 0.65 * straights / 2;          // long straights, in two parts around the S
    const double b = 0.35 * straights / 2;
    return {
        {0.45 * a, 0},       {sArc, sR},          {sArc, -sR},        {0.55 * a, 0},
        {pi / 2 * slowR, slowR}, {b, 0},          {pi / 2 * fastR, fastR},
        {0.45 * a, 0},       {sArc, sR},          {sArc, -sR},        {0.55 * a, 0},
        {pi / 2 * slowR, slowR}, {b, 0},          {pi / 2 * fastR, fastR},
    };
}
}  // namespace

SegmentCourse::SegmentCourse(std::vector<CourseSegment> segments, double halfWidth, double startHeading)
    : segments_(std::move(segments)), halfWidth_(halfWidth) {
    if (segments_.empty()) throw std::invalid_argument("a course needs at least one segment");
    double heading = startHeading;
    for (const CourseSegment& s : segments_) {
        if (!(s.length > 0)) throw std::invalid_argument("course segments need a positive length");
        starts_.push_back(length_);
        startHeadings_.push_back(heading);
        length_ += s.length;
        if (s.radius != 0) heading += s.length / s.radius * DEG;
    }
}

std::size_t SegmentCourse::segmentAt(double distance, double& into) const {
    const double d = wrapDistance(distance, length_);
    std::size_t lo = 0, hi = starts_.size();
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (starts_[mid] <= d)
            lo = mid;
        else
            hi = mid;
    }
    into = d - starts_[lo];
    return lo;
}

double SegmentCourse::headingAt(double distance) const {
    double into = 0;
    const std::size_t i = segmentAt(distance, into);
    const CourseSegment& s = segments_[i];
    return startHeadings_[i] + (s.radius != 0 ? into / s.radius * DEG : 0.0);
}

double SegmentCourse::curvatureAt(double distance) const {
    double into = 0;
    const CourseSegment& s = segments_[segmentAt(distance, into)];
    return s.radius != 0 ? 1.0 / s.radius : 0.0;
}

LateralLimits SegmentCourse::limitsAt(double) const { return {-halfWidth_, halfWidth_}; }

LoopCourse::LoopCourse(double lapLength) : SegmentCourse(loopLayout(lapLength)) {}

}  // namespace samplekit
