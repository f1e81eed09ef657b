#pragma once

#include "core/track/Section.h"

namespace movrane {

// A straight section: from its start point along its start heading to the next
// section's start point.
class Straight : public Section {
public:
    Straight(const Track& track, const SectionSource& source) : Section(track, source) {}

    void computeStartPoint() override;
    void buildSurfaceStrips() override;
    void buildCentreLine() override;
    MetrePoint pointAt(double along, double lateral) const override;
    MetrePoint borderPointAt(double along, const Border& border) const override;
    void accept(CoreDisplay& display) const override;
    double computeGeometricLength() const override;
    void drawPartlyHighlighted(CoreDisplay& display) const override;

private:
    MetrePoint offsetFrom(MetrePoint base, double lateral) const;
};

}  // namespace movrane
