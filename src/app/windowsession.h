// What the user has chosen and gathered in one run of the window: the
// instant shown, the measured points and the observer's image.  The widgets
// show it; none of it lives in them, so that every part of the window reads
// and changes the same state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "measuredpoints.h"
#include "openedimage.h"

namespace helidisk {

// The instant the Go menu chose: its year stands for the current year, and
// until the scroll bar moves, its exact hours since new year for the scroll
// position.
struct ChosenInstant {
  std::optional<std::int32_t> year;
  std::optional<double> exactHours;
};

struct WindowSession {
  ChosenInstant instant;
  MeasuredPointsLog points;
  // The image the grid is drawn over, and whether the user has dragged its
  // disk from where the limb fit put it.
  std::unique_ptr<OpenedImage> image;
  bool diskMovedByHand = false;
};

}  // namespace helidisk
