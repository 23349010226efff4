#pragma once
#include <optional>

// Where a window goes when it has no stored place yet (the keys are absent at the first run): a
// missing coordinate centres it on the work area of the monitor that holds the mouse pointer,
// where the user is looking; a stored one is used as it is.
struct PlaceArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct PlacePoint {
  int x = 0, y = 0;
};

PlacePoint StoredOrCentred(std::optional<int> x, std::optional<int> y, int width, int height,
                           const PlaceArea& workArea);
