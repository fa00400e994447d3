#include "pictureformat.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace helidisk {
namespace {

struct NamedFile {
  std::string name;
  std::optional<PictureFormat> format;
};

class FormatOfFileNameTest : public ::testing::TestWithParam<NamedFile> {};

TEST_P(FormatOfFileNameTest, ReadsTheExtensionInAnyCase) {
  EXPECT_EQ(FormatOfFileName(GetParam().name), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Names, FormatOfFileNameTest,
                         ::testing::Values(NamedFile{"disk.png", PictureFormat::Png},
                                           NamedFile{"DISK.SVG", PictureFormat::Svg},
                                           NamedFile{"page.Pdf", PictureFormat::Pdf},
                                           NamedFile{"photo.jpg", PictureFormat::Jpeg},
                                           NamedFile{"photo.JPEG", PictureFormat::Jpeg},
                                           NamedFile{"archive.png.gz", std::nullopt},
                                           NamedFile{"no-extension", std::nullopt},
                                           NamedFile{"dot.", std::nullopt}));

// Each kind of picture has the formats the command line and the window
// accept for it, and no others.
TEST(PictureFormatTable, HoldsEachKindInItsFormats) {
  const auto formatsHolding = [](PictureKind kind) {
    std::string names;
    for (const PictureFormatInfo& info : PictureFormats()) {
      if (Holds(info, kind)) names += std::string(info.name) + " ";
    }
    return names;
  };
  EXPECT_EQ(formatsHolding(PictureKind::DrawnDisk), "png svg pdf ");
  EXPECT_EQ(formatsHolding(PictureKind::ImageOverlay), "png jpeg ");
  EXPECT_EQ(formatsHolding(PictureKind::Page), "pdf ");
}

TEST(PictureFormatTable, NamesAndSuffixesNameTheirFormat) {
  for (const PictureFormatInfo& info : PictureFormats()) {
    EXPECT_EQ(PictureFormatNamed(info.name), info.format);
    EXPECT_EQ(&InfoOf(info.format), &info);
    for (const std::string_view suffix : info.suffixes) {
      EXPECT_EQ(PictureFormatNamed(suffix), info.format) << suffix;
      EXPECT_NE(info.dialogFilter.find("*." + std::string(suffix)), std::string_view::npos);
    }
  }
  EXPECT_EQ(PictureFormatNamed("gif"), std::nullopt);
  EXPECT_EQ(PictureFormatNamed("PNG"), std::nullopt);
}

}  // namespace
}  // namespace helidisk
