#pragma once

#include "core/track/Section.h"

namespace movrane {

// An arc around a centre point. The centre line's radius is extrapolated from the
// traces' radii; a positive turn runs counter-clockwise (a left-hand curve).
class Curve : public Section {
public:
    Curve(const Track& track, const SectionSource& source);

    void computeStartPoint() override;
    void buildSurfaceStrips() override;
    void buildCentreLine() override;
    MetrePoint pointAt(double along, double lateral) const override;
    MetrePoint borderPointAt(double along, const Border& border) const override;
    void accept(CoreDisplay& display) const override;
    double computeGeometricLength() const override;
    void drawPartlyHighlighted(CoreDisplay& display) const override;

    MetrePoint centre() const { return _centre; }
    double turnAngle() const { return _turn; }
    // Signed: the same sign as the turn angle on a well-formed track.
    double radius() const { return _radius; }

private:
    double centreLineRadius() const;
    // +1 for a left-hand curve, -1 for a right-hand one.
    double side() const { return _turn >= 0.0 ? 1.0 : -1.0; }
    // The distance from the centre of a point `lateral` metres left of the centre line.
    double radiusAtOffset(double lateral) const { return _absRadius - side() * lateral; }
    // The angle, seen from the centre, of the point at the given heading.
    double radialAngle(double heading) const;
    MetrePoint aroundCentre(double radius, double angle) const;
    // About one segment every 5 metres, at least one.
    long long segmentCount() const;
    Polyline borderArc(const Border& border) const;

    MetrePoint _centre;
    double _turn = 0.0;
    double _radius = 0.0;
    double _absRadius = 0.0;
};

}  // namespace movrane
