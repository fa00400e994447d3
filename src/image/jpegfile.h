// JPEG photographs decoded by libjpeg-turbo straight into the picture's
// rows: 32-bit RGB for colour, 8-bit grey for grey.  Qt's reader decodes
// into 24-bit RGB and widens every row afterwards, after loading its
// plug-in: on a large photograph a tenth of the time from file to picture.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <span>

namespace helidisk {

// The decoded picture, or nothing where libjpeg met anything it would only
// warn about (a file cut short, a damaged segment), a colour space other
// than grey, YCbCr or RGB, or a side over `maxSidePx`: Qt's reader then
// gives the picture or the message that the file deserves.
std::optional<QImage> DecodeJpeg(std::span<const std::uint8_t> file, int maxSidePx);

}  // namespace helidisk
