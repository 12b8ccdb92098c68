#include "transits/aspects.h"

#include <gtest/gtest.h>

namespace meridan {
namespace {

struct Case {
  const char* name;
  double first;
  double second;
  std::optional<int> expected;
};

// Separations around every aspect, across 0 degrees and at the orb's edges.
const Case kCases[] = {
    {"across 0: 359 and 1 fold to 2", 359.0, 1.0, 0},
    {"10 and 190.5 fold to 179.5", 10.0, 190.5, 180},
    {"exactly 62 is sextile", 100.0, 162.0, 60},
    {"62.0001 is nothing", 100.0, 162.0001, std::nullopt},
    {"57.9999 is nothing", 100.0, 157.9999, std::nullopt},
    {"exactly 58 is sextile", 100.0, 158.0, 60},
    {"180 is opposition", 0.0, 180.0, 180},
    {"0 is conjunction", 123.4, 123.4, 0},
    {"45 is nothing", 0.0, 45.0, std::nullopt},
    {"72 is nothing", 0.0, 72.0, std::nullopt},
    {"square within orb", 350.0, 81.5, 90},
    {"trine across 0", 300.0, 61.0, 120},
    {"178 is opposition", 1.0, 179.0, 180},
    {"177.9 is nothing", 1.0, 178.9, std::nullopt},
};

TEST(ClassifyAspect, SeparationsAroundEveryAspect) {
  for (const Case& c : kCases) {
    EXPECT_EQ(ClassifyAspect(c.first, c.second, kAspectOrb), c.expected) << c.name;
    EXPECT_EQ(ClassifyAspect(c.second, c.first, kAspectOrb), c.expected) << c.name << " (swapped)";
  }
}

TEST(ClassifyAspect, OrbIsTheArgument) {
  EXPECT_EQ(ClassifyAspect(0.0, 64.0, 4.0), 60);
  EXPECT_EQ(ClassifyAspect(0.0, 64.0, 2.0), std::nullopt);
}

}  // namespace
}  // namespace meridan
