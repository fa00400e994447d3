// The picture formats, in one table: the name --format takes, the file
// suffixes, the save dialog's filter, and what each can hold.  The option
// parser, the help, the error messages and the window's dialogs all read
// it, so that the window and the command line write and refuse alike.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace helidisk {

enum class PictureFormat { Png, Svg, Jpeg, Pdf, Fits };

// What a picture of the format can be.
enum class PictureKind {
  DrawnDisk,     // the redraw's picture
  ImageOverlay,  // the grid over an observer's image
  Page,          // the disk at its true size on paper
};

struct PictureFormatInfo {
  PictureFormat format;
  std::string_view name;
  // Lower case; the first is the one a save dialog adds.
  std::span<const std::string_view> suffixes;
  std::string_view dialogFilter;
  bool holdsDrawnDisk;
  bool holdsImageOverlay;
  bool holdsPage;
};

std::span<const PictureFormatInfo> PictureFormats();
const PictureFormatInfo& InfoOf(PictureFormat format);
bool Holds(const PictureFormatInfo& info, PictureKind kind);
// The formats that hold that kind of picture, in the table's order: what a
// save dialog offers for it.
std::vector<const PictureFormatInfo*> FormatsHolding(PictureKind kind);

// The format a --format value names: its name or one of its suffixes.
std::optional<PictureFormat> PictureFormatNamed(std::string_view name);

// The format a file name's extension names, in any letter case.
std::optional<PictureFormat> FormatOfFileName(const std::string& fileName);

// The extension of a file name, lower-cased; empty without one.
std::string SuffixOf(const std::string& fileName);

}  // namespace helidisk
