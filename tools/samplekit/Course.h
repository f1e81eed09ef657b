#pragma once

#include <vector>

namespace samplekit {

// Lateral room at a lap distance, metres from the centre line (left positive).
struct LateralLimits {
    double right = -6.0;
    double left = 6.0;
};

// The geometry a simulated car drives on: a closed lap of fixed length. Headings are in
// degrees, counter-clockwise positive; curvature is 1/radius, positive in left-hand bends.
// Distances outside 0 .. lapLength() are taken modulo the lap.
class Course {
public:
    virtual ~Course() = default;
    virtual double lapLength() const = 0;
    virtual double headingAt(double distance) const = 0;
    virtual double curvatureAt(double distance) const = 0;
    virtual LateralLimits limitsAt(double distance) const = 0;
};

// A piece of a course: a straight (radius 0) or an arc of the given radius, positive for a
// left-hand bend, negative for a right-hand one.
struct CourseSegment {
    double length = 0;
    double radius = 0;
};

// A course made of straights and arcs, of constant width.
class SegmentCourse : public Course {
public:
    SegmentCourse(std::vector<CourseSegment> segments, double halfWidth = 6.0, double startHeading = 0.0);

    double lapLength() const override { return length_; }
    double headingAt(double distance) const override;
    double curvatureAt(double distance) const override;
    LateralLimits limitsAt(double distance) const override;
    const std::vector<CourseSegment>& segments() const { return segments_; }

private:
    std::size_t segmentAt(double distance, double& into) const;

    std::vector<CourseSegment> segments_;
    std::vector<double> starts_;
    std::vector<double> startHeadings_;
    double length_ = 0;
    double halfWidth_;
};

// The default course: a closed loop of the given length with two long straights, each
// broken by a fast S-bend, a slow pair and a fast pair of 90-degree corners. It closes as
// a plane figure (opposite straights are equal), so a map of it is a loop.
class LoopCourse : public SegmentCourse {
public:
    explicit LoopCourse(double lapLength);
};

}  // namespace samplekit
