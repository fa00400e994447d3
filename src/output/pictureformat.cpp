#include "pictureformat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace helidisk {

namespace {

constexpr std::array<std::string_view, 1> kPngSuffixes = {"png"};
constexpr std::array<std::string_view, 1> kSvgSuffixes = {"svg"};
constexpr std::array<std::string_view, 1> kPdfSuffixes = {"pdf"};
constexpr std::array<std::string_view, 2> kJpegSuffixes = {"jpg", "jpeg"};
constexpr std::array<std::string_view, 3> kFitsSuffixes = {"fits", "fit", "fts"};

// A JPEG's blocks blur the drawn disk's flat colours and thin lines, so the
// drawn disk is a PNG, SVG or PDF; a photograph with its grid is a PNG, a
// JPEG or a FITS image with the observer's geometry in its header.
constexpr std::array<PictureFormatInfo, 5> kPictureFormats = {{
    {PictureFormat::Png, "png", kPngSuffixes, "PNG image (*.png)", true, true, false},
    {PictureFormat::Svg, "svg", kSvgSuffixes, "SVG drawing (*.svg)", true, false, false},
    {PictureFormat::Pdf, "pdf", kPdfSuffixes, "PDF page with the disk at its true size (*.pdf)",
     true, false, true},
    {PictureFormat::Jpeg, "jpeg", kJpegSuffixes, "JPEG image (*.jpg *.jpeg)", false, true, false},
    {PictureFormat::Fits, "fits", kFitsSuffixes,
     "FITS image with its solar geometry (*.fits *.fit *.fts)", false, true, false},
}};

}  // namespace

std::span<const PictureFormatInfo> PictureFormats() { return kPictureFormats; }

const PictureFormatInfo& InfoOf(PictureFormat format) {
  return *std::find_if(kPictureFormats.begin(), kPictureFormats.end(),
                       [format](const PictureFormatInfo& info) { return info.format == format; });
}

bool Holds(const PictureFormatInfo& info, PictureKind kind) {
  switch (kind) {
    case PictureKind::DrawnDisk:
      return info.holdsDrawnDisk;
    case PictureKind::ImageOverlay:
      return info.holdsImageOverlay;
    case PictureKind::Page:
      return info.holdsPage;
  }
  return false;
}

std::vector<const PictureFormatInfo*> FormatsHolding(PictureKind kind) {
  std::vector<const PictureFormatInfo*> formats;
  for (const PictureFormatInfo& info : kPictureFormats) {
    if (Holds(info, kind)) formats.push_back(&info);
  }
  return formats;
}

std::optional<PictureFormat> PictureFormatNamed(std::string_view name) {
  for (const PictureFormatInfo& info : kPictureFormats) {
    if (info.name == name || std::ranges::find(info.suffixes, name) != info.suffixes.end()) {
      return info.format;
    }
  }
  return std::nullopt;
}

std::string SuffixOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return {};
  std::string suffix = fileName.substr(dot + 1);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return suffix;
}

std::optional<PictureFormat> FormatOfFileName(const std::string& fileName) {
  const std::string suffix = SuffixOf(fileName);
  for (const PictureFormatInfo& info : kPictureFormats) {
    if (std::ranges::find(info.suffixes, suffix) != info.suffixes.end()) return info.format;
  }
  return std::nullopt;
}

}  // namespace helidisk
