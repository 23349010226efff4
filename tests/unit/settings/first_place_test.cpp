#include "settings/first_place.h"

#include <gtest/gtest.h>

TEST(FirstPlaceTest, AMissingCoordinateCentresOnTheWorkAreaAStoredOneStays) {
  // A second monitor left of the first, with a taskbar at its top.
  const PlaceArea area{-1920, 40, 0, 1080};
  const PlacePoint centred = StoredOrCentred(std::nullopt, std::nullopt, 320, 400, area);
  EXPECT_EQ(centred.x, -1920 + (1920 - 320) / 2);
  EXPECT_EQ(centred.y, 40 + (1040 - 400) / 2);
  const PlacePoint stored = StoredOrCentred(-5, 0, 320, 400, area);
  EXPECT_EQ(stored.x, -5);
  EXPECT_EQ(stored.y, 0);  // (0, 0) is a place like any other once it was stored
  EXPECT_EQ(StoredOrCentred(7, std::nullopt, 320, 400, area).y, centred.y);
}
