#include "settings/first_place.h"

namespace {

int Centred(int from, int to, int size) { return from + (to - from - size) / 2; }

}  // namespace

PlacePoint StoredOrCentred(std::optional<int> x, std::optional<int> y, int width, int height,
                           const PlaceArea& workArea) {
  return PlacePoint{x ? *x : Centred(workArea.left, workArea.right, width),
                    y ? *y : Centred(workArea.top, workArea.bottom, height)};
}
