// The observer's corrections to a detection: spots removed or added,
// groups merged and split.  Each edit changes the spots and their group
// numbers and hands back the groups made again from them (GroupsAsAssigned),
// so that places, classes and counts always follow the edit.
#pragma once

#include <vector>

#include "diskframe.h"
#include "spotdetect.h"
#include "spotgroups.h"

namespace helidisk {

// Indices into the spots; out-of-range ones are ignored.
std::vector<SpotGroup> RemoveSpots(std::vector<DetectedSpot>& spots,
                                   const std::vector<int>& indices);

// All groups that hold any of the spots become one.
std::vector<SpotGroup> MergeGroupsOf(std::vector<DetectedSpot>& spots,
                                     const std::vector<int>& indices);

// The spots leave their groups and make a new one together.
std::vector<SpotGroup> SplitIntoNewGroup(std::vector<DetectedSpot>& spots,
                                         const std::vector<int>& indices);

// A spot the detection missed, placed by the observer at a pixel of the
// frame, with the area the observer judges (MSH) and one umbra unless it is
// a pore; it joins the nearest group within the link distance, or makes
// its own.  Nothing is added off the disk.
std::vector<SpotGroup> AddSpotAt(std::vector<DetectedSpot>& spots, const DiskFrame& frame,
                                 double xPx, double yPx, double areaMsh, bool pore,
                                 double linkDistanceDeg = kDefaultLinkDistanceDeg);

}  // namespace helidisk
