// Every place of the list that ships has a zone the system's database knows.

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "base/places.h"
#include "ephemeris/time_zone.h"

namespace meridan {
namespace {

TEST(PlaceZones, EveryZoneOfThePlaceListExists) {
  const PlaceList list = LoadPlaceList(std::filesystem::path(MERIDAN_DATA_DIR) / "System");
  for (const Place& place : list.places)
    EXPECT_TRUE(ZoneExists(place.zone)) << Cp1251ToUtf8(place.name) << ": " << place.zone;
}

}  // namespace
}  // namespace meridan
