#include "pictureformat.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace helidisk {
namespace {

struct NamedFile {
  std::string name;
  std::optional<PictureFormat> format;
  const char* testName;
};

class FormatOfFileNameTest : public ::testing::TestWithParam<NamedFile> {};

TEST_P(FormatOfFileNameTest, ReadsTheExtensionInAnyCase) {
  EXPECT_EQ(FormatOfFileName(GetParam().name), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FormatOfFileNameTest,
    ::testing::Values(NamedFile{"disk.png", PictureFormat::Png, "png"},
                      NamedFile{"DISK.SVG", PictureFormat::Svg, "svgInCapitals"},
                      NamedFile{"page.Pdf", PictureFormat::Pdf, "pdfMixedCase"},
                      NamedFile{"photo.jpg", PictureFormat::Jpeg, "jpg"},
                      NamedFile{"photo.JPEG", PictureFormat::Jpeg, "jpegInCapitals"},
                      NamedFile{"frame.FTS", PictureFormat::Fits, "ftsInCapitals"},
                      NamedFile{"archive.png.gz", std::nullopt, "gzipped"},
                      NamedFile{"no-extension", std::nullopt, "noExtension"},
                      NamedFile{"dot.", std::nullopt, "emptyExtension"}),
    [](const auto& info) { return std::string(info.param.testName); });

// Each kind of picture has the formats the command line and the window
// accept for it, and no others.
TEST(PictureFormatTable, HoldsEachKindInItsFormats) {
  const auto formatsHolding = [](PictureKind kind) {
    std::string names;
    for (const PictureFormatInfo* info : FormatsHolding(kind)) {
      EXPECT_TRUE(Holds(*info, kind));
      names += std::string(info->name) + " ";
    }
    return names;
  };
  EXPECT_EQ(formatsHolding(PictureKind::DrawnDisk), "png svg pdf ");
  EXPECT_EQ(formatsHolding(PictureKind::ImageOverlay), "png jpeg fits ");
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
