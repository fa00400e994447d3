#include "rasterencoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <cmath>
#include <cstdint>
#include <vector>

#include "drawnpicture.h"
#include "pictureerror.h"

namespace helidisk {
namespace {

// A few flat colours, as the redraw paints them.
QImage FlatColours(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int y = 0; y < height; ++y) {
    for (int x = y % 7; x < width; x += 5) image.setPixel(x, y, qRgb(255, 255, 0));
  }
  image.setPixel(width - 1, height - 1, qRgb(128, 128, 128));
  return image;
}

// Every pixel a colour of its own: no palette holds it.
QImage ManyColours(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  }
  return image;
}

QImage Decoded(const std::string& bytes, QByteArray& format) {
  QBuffer buffer;
  buffer.setData(QByteArray::fromStdString(bytes));
  QImageReader reader(&buffer);
  format = reader.format();
  return reader.read();
}

struct RasterCase {
  const char* name;
  QImage image;
  QImage::Format decodedAs;
};

class PngTest : public ::testing::TestWithParam<RasterCase> {};

TEST_P(PngTest, DecodesToTheSamePixels) {
  const QImage& image = GetParam().image;
  QByteArray format;
  const QImage decoded = Decoded(EncodePng(image), format);
  EXPECT_EQ(format, "png");
  EXPECT_EQ(decoded.format(), GetParam().decodedAs);
  EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32),
            image.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PngTest,
    ::testing::Values(RasterCase{"flat", FlatColours(61, 37), QImage::Format_Indexed8},
                      RasterCase{"photograph", ManyColours(300, 260), QImage::Format_RGB32},
                      // Deflated in three parts side by side.
                      RasterCase{"largePhotograph", ManyColours(2000, 1201), QImage::Format_RGB32},
                      RasterCase{"onePixel", FlatColours(1, 1), QImage::Format_Indexed8},
                      RasterCase{"greyscale",
                                 FlatColours(40, 30).convertToFormat(QImage::Format_Grayscale8),
                                 QImage::Format_Indexed8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Png, CarriesItsTextChunks) {
  const std::vector<PngText> texts = {{"DATE-OBS", "2024-04-08T18:17:00"}, {"RSUN_OBS", "958.1"}};
  QBuffer buffer;
  buffer.setData(QByteArray::fromStdString(EncodePng(ManyColours(20, 10), texts)));
  QImageReader reader(&buffer);
  EXPECT_EQ(reader.text("DATE-OBS"), "2024-04-08T18:17:00");
  EXPECT_EQ(reader.text("RSUN_OBS"), "958.1");
}

TEST(Png, RefusesTextChunksItCannotHold) {
  for (const PngText& text : std::vector<PngText>{{"", "no keyword"},
                                                  {std::string(80, 'K'), "keyword too long"},
                                                  {" LEADING", "space"},
                                                  {"NUL", std::string("a\0b", 3)}}) {
    EXPECT_THROW(EncodePng(ManyColours(4, 4), std::vector<PngText>{text}), PictureError)
        << text.keyword;
  }
}

TEST(Jpeg, DecodesCloseToThePicture) {
  const QImage image = ManyColours(64, 48);
  QByteArray format;
  const QImage decoded = Decoded(EncodeRaster(image, PictureFormat::Jpeg), format);
  EXPECT_EQ(format, "jpeg");
  ASSERT_EQ(decoded.size(), image.size());
  double squaredError = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const double difference = qGreen(decoded.pixel(x, y)) - qGreen(image.pixel(x, y));
      squaredError += difference * difference;
    }
  }
  EXPECT_LT(std::sqrt(squaredError / (image.width() * image.height())), 12.0);
}

// Rows lie a stride apart that may exceed the width: the pixels between
// are not the picture's, on the palette's way and on the RGB one.
TEST(Png, ReadsEachRowFromItsStride) {
  constexpr std::uint32_t kPadding = 0xffdeadbe;
  for (const std::uint32_t width : {3U, 300U}) {
    const std::size_t stride = width + 7;
    std::vector<std::uint32_t> pixels(2 * stride, kPadding);
    for (std::uint32_t y = 0; y < 2; ++y) {
      for (std::uint32_t x = 0; x < width; ++x)
        pixels[y * stride + x] = 0xff000000U | (y << 16U) | x;
    }
    QByteArray format;
    const QImage decoded = Decoded(EncodePngPixels({pixels.data(), stride, width, 2}), format);
    ASSERT_EQ(decoded.size(), QSize(static_cast<int>(width), 2));
    for (std::uint32_t y = 0; y < 2; ++y) {
      for (std::uint32_t x = 0; x < width; ++x) {
        EXPECT_EQ(decoded.pixel(static_cast<int>(x), static_cast<int>(y)), pixels[y * stride + x])
            << width << " wide, at " << x << "," << y;
      }
    }
  }
}

TEST(DrawnPicture, RefusesAPictureWithoutPixelsAndFormatsThatHoldNoDrawnDisk) {
  PictureRequest tooNarrow;
  tooNarrow.year = 2024;
  tooNarrow.controlWidth = 2;
  RedrawResult result;
  EXPECT_THROW(DrawnPictureBytes(tooNarrow, PictureFormat::Png, result), PictureError);
  PictureRequest designSize;
  designSize.year = 2024;
  for (const PictureFormat format : {PictureFormat::Jpeg, PictureFormat::Fits}) {
    EXPECT_THROW(DrawnPictureBytes(designSize, format, result), PictureError)
        << InfoOf(format).name;
  }
}

TEST(Raster, AnEmptyPictureIsRefused) {
  EXPECT_THROW(EncodePng(QImage()), PictureError);
  EXPECT_THROW(EncodeJpeg(QImage()), PictureError);
}

}  // namespace
}  // namespace helidisk
