#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/inner_point.h"

namespace waymint::testing {
namespace {

using input::AreaRings;
using input::GridPoint;
using input::Placement;
using input::Ring;

Ring rectangle(int west, int south, int east, int north) {
  return {{west, south}, {east, south}, {east, north}, {west, north}, {west, south}};
}

// A U open to the north: its centroid lies in the gap between the arms.
Ring uShape() {
  return {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}, {0, 0}};
}

TEST(InnerPoint, PlacementIsExactOnEdgesVerticesAndHoles) {
  const AreaRings donut{{rectangle(0, 0, 100, 100)}, {rectangle(25, 25, 75, 75)}};
  struct Case { GridPoint point; Placement placement; };
  const std::vector<Case> cases = {
      {{10, 10}, Placement::Inside},      {{50, 50}, Placement::Outside},  // in the hole
      {{0, 50}, Placement::OnBoundary},   {{100, 100}, Placement::OnBoundary},
      {{25, 60}, Placement::OnBoundary},  {{-1, 50}, Placement::Outside},
      {{10, 0}, Placement::OnBoundary},   {{10, 100}, Placement::OnBoundary},
      {{101, 0}, Placement::Outside},     {{80, 25}, Placement::Inside},  // on the hole's line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(input::placementOf(c.point, donut), c.placement) << c.point.x << "," << c.point.y;
  }
  // Coordinates far apart need more than 64 bits for their products.
  const AreaRings world{{rectangle(-1800000000, -900000000, 1800000000, 900000000)}, {}};
  EXPECT_EQ(input::placementOf({1799999999, 899999999}, world), Placement::Inside);
  EXPECT_EQ(input::placementOf({1800000000, 0}, world), Placement::OnBoundary);
}

// In the table below: a point is found, and only where it lies (strictly inside) is checked.
constexpr GridPoint anywhereInside{-999, -999};

TEST(InnerPoint, TheCentroidWhereItLiesInsideElseThePointOfTheLongestChord) {
  struct Case {
    const char* what;
    AreaRings area;
    std::optional<GridPoint> expected;
  };
  const std::vector<Case> cases = {
      {"a square: its centroid", {{rectangle(0, 0, 10, 10)}, {}}, GridPoint{5, 5}},
      {"the same running the other way", {{{{0, 0}, {0, 10}, {10, 10}, {10, 0}}}, {}}, GridPoint{5, 5}},
      // The centroid (50, 50) lies in the hole; the line y = 50 runs inside from 0 to 25 and
      // from 75 to 100, equally long: the first, west, its middle 12.5 rounded away from 0.
      {"a ring", {{rectangle(0, 0, 100, 100)}, {rectangle(25, 25, 75, 75)}}, GridPoint{13, 50}},
      // The square's 900 less the gap's 200: centroid y = (15 * 900 - 20 * 200) / 700 = 13.57,
      // so (15, 14), in the gap; on y = 14 the arms run 0..10 and 20..30.
      {"a U", {{uShape()}, {}}, GridPoint{5, 14}},
      // Two squares far apart north and south: the centroid between them, its line misses
      // both; the line halfway up the larger square is the nearest that meets it.
      {"two pieces apart",
       {{rectangle(0, 0, 10, 10), rectangle(0, 100, 20, 120)}, {}}, GridPoint{10, 110}},
      {"no area at all", {{{{0, 0}, {10, 10}, {20, 20}, {0, 0}}}, {}}, std::nullopt},
      // One grid unit wide: no grid point lies strictly inside.
      {"thinner than the grid", {{rectangle(0, 0, 1, 10)}, {}}, std::nullopt},
      // Two units wide: the one column between.
      {"a sliver", {{rectangle(0, 0, 2, 10)}, {}}, GridPoint{1, 5}},
      // The centroid's line runs through the east and west vertices; a point inside all the same.
      {"a diamond", {{{{0, 10}, {10, 0}, {20, 10}, {10, 20}, {0, 10}}}, {}}, anywhereInside},
      // The teeth end on the centroid's line.
      {"a comb",
       {{{{0, 0}, {40, 0}, {40, 20}, {30, 20}, {30, 5}, {25, 5}, {25, 20}, {15, 20}, {15, 5},
          {10, 5}, {10, 20}, {0, 20}, {0, 0}}}, {}},
       anywhereInside},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto point = input::innerPoint(c.area);
    ASSERT_EQ(point.has_value(), c.expected.has_value());
    if (!point) continue;
    if (c.expected->x != anywhereInside.x) {
      EXPECT_EQ(point->x, c.expected->x);
      EXPECT_EQ(point->y, c.expected->y);
    }
    EXPECT_EQ(input::placementOf(*point, c.area), Placement::Inside);
  }
}

}  // namespace
}  // namespace waymint::testing
