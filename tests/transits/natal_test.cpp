#include "transits/natal.h"

#include <gtest/gtest.h>

#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

using testing::ScratchProgramDir;

PlutoTable Pluto(const ScratchProgramDir& dir) {
  return PlutoTable::Load(dir.system() / "pluto.sys");
}

TEST(NatalChart, ImpossibleDateRunsOnIntoMarch) {
  ScratchProgramDir dir;
  EXPECT_EQ(ComputeNatalChart({31, 2, 1984}, Pluto(dir)),
            ComputeNatalChart({2, 3, 1984}, Pluto(dir)));
  EXPECT_EQ(ComputeNatalChart({31, 2, 1983}, Pluto(dir)),
            ComputeNatalChart({3, 3, 1983}, Pluto(dir)));
  const NatalChart chart = ComputeNatalChart({20, 5, 1984}, Pluto(dir));
  EXPECT_EQ(chart[kMoon], 0.0);
  for (const Body body : kComputedBodies) {
    EXPECT_GE(chart[body], 0.0);
    EXPECT_LT(chart[body], 360.0);
  }
}

}  // namespace
}  // namespace meridan
