#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "TrackTestSupport.h"
#include "core/track/MapFitting.h"
#include "core/track/Track.h"
#include "core/track/TrackProjection.h"
#include "support/TempDir.h"

using movrane::Extent;
using movrane::fitMap;
using movrane::nearest;

TEST(MapFitting, NearestRoundsHalvesAwayFromZero) {
    const std::pair<double, long long> cases[] = {{2.5, 3}, {-2.5, -3}, {2.4999, 2}, {-0.4, 0}, {std::nan(""), 0},
                                                  {std::numeric_limits<double>::infinity(), 9007199254740992LL}};
    for (const auto& [value, rounded] : cases) EXPECT_EQ(nearest(value), rounded) << value;
    // A wide extent is centred vertically.
    Extent extent;
    extent.include({-100.0, -20.0});
    extent.include({300.0, 80.0});
    // 400 x 100 m into 210 x 210 units with margins 5: 2 m per unit, 200 x 50 units.
    const movrane::MapFit fit = fitMap(extent, 210, 210, 5, 5);
    EXPECT_DOUBLE_EQ(fit.scale, 2.0);
    EXPECT_EQ(fit.offsetX, 5 + 0 + 50);
    EXPECT_EQ(fit.offsetY, 5 + 75 + 40);
    const movrane::UnitPoint topLeft = fit.toUnits({-100.0, 80.0});
    const movrane::UnitPoint bottomRight = fit.toUnits({300.0, -20.0});
    EXPECT_EQ(std::tuple(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y), std::tuple(5LL, 80LL, 205LL, 130LL));
    // Degenerate extents stay finite.
    const movrane::MapFit empty = fitMap(Extent{}, 100, 100, 5, 5);
    EXPECT_DOUBLE_EQ(empty.scale, 1.0);
    EXPECT_EQ(empty.toUnits({0.0, 0.0}).x, 50);
    Extent point;
    point.include({10.0, 10.0});
    const movrane::MapFit single = fitMap(point, 100, 100, 60, 60);
    EXPECT_DOUBLE_EQ(single.scale, 1.0);
    // The virtual units of the lap derivations.
    const auto track = tracktest::loadCircuit(tracktest::roundedSquare());
    const Extent& strips = track->stripExtent();
    const double larger = std::max(strips.width(), strips.height());
    EXPECT_DOUBLE_EQ(movrane::virtualMapScale(*track), 10000000.0 / larger);
    const movrane::MapFit virtualFit = movrane::virtualMapFit(*track);
    EXPECT_DOUBLE_EQ(virtualFit.scale, larger / (10000000.0 - 100.0));
    const movrane::TrackProjection projection(*track);
    EXPECT_DOUBLE_EQ(projection.mapScale(), movrane::virtualMapScale(*track));
    EXPECT_DOUBLE_EQ(projection.lapLength(), track->lapLength());
    const movrane::MapPoint origin = projection.mapPoint(0.0, 0.0);
    EXPECT_EQ(std::tuple(origin.x, origin.y), std::tuple(virtualFit.toUnits({0.0, 0.0}).x, virtualFit.toUnits({0.0, 0.0}).y));
    EXPECT_GE(origin.x, 50);
    EXPECT_LE(origin.y, 10000000 - 50);
    // 50 m along the first straight (+x): about 50 m times the map scale further right.
    const movrane::MapPoint further = projection.mapPoint(50.0, 0.0);
    EXPECT_NEAR(static_cast<double>(further.x - origin.x), 50.0 / virtualFit.scale, 1.0);
    EXPECT_EQ(further.y, origin.y);
    const movrane::MapPoint nowhere = projection.mapPoint(3 * track->lapLength(), 0.0);
    EXPECT_EQ(std::tuple(nowhere.x, nowhere.y), std::tuple(0, 0));
}

