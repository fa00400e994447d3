// Pictures whose pixels lie on a large buffer (largebuffer.h): a decoded
// photograph of many megabytes faults in a few huge pages instead of
// thousands of small ones.
#pragma once

#include <QImage>

namespace helidisk {

// An uncleared picture of that size and format that owns its pixels; null
// when there is not enough memory or the format is Format_Invalid.
QImage LargePicture(int widthPx, int heightPx, QImage::Format format);

}  // namespace helidisk
