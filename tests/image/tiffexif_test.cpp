// The camera's time from EXIF tags in TIFF form: the block reader on
// well-formed and damaged blocks of both byte orders, the PNG chunk walk,
// and TIFF and PNG files opened whole.
#include "tiffexif.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "exif_tiff.h"
#include "solarimage.h"

namespace helidisk {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The EXIF pointer's value in a block without pixels: header, entry count,
// then the pointer entry's tag, type and count.
constexpr std::size_t kExifPointerValueAt = 8 + 2 + 8;

void PutLittleEndianU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t byte = 0; byte < 4; ++byte) {
    bytes[at + byte] = static_cast<std::uint8_t>(value >> (8 * byte));
  }
}

TEST(ExifTimesFromTiff, ReadsBothByteOrdersAndRefusesDamagedBlocks) {
  const Bytes little = fakes::ExifTiff({false, 0, 0, "2017:07:18 14:00:00", "+02:00"});
  const Bytes big = fakes::ExifTiff({true, 0, 0, "2021:01:02 03:04:05", ""});
  Bytes notTiff = little;
  notTiff[0] = 'X';
  Bytes pointerPastEnd = little;
  PutLittleEndianU32(pointerPastEnd, kExifPointerValueAt, 0xFFFFFF00U);
  const Bytes offsetCut(little.begin(), little.end() - 3);
  const Bytes headerOnly(little.begin(), little.begin() + 12);
  const Bytes empty;

  struct Case {
    const char* name;
    const Bytes& block;
    std::optional<ExifTimeTexts> expected;
  };
  const Case cases[] = {
      {"little-endian with offset", little, ExifTimeTexts{"2017:07:18 14:00:00", "+02:00"}},
      {"big-endian without offset", big, ExifTimeTexts{"2021:01:02 03:04:05", ""}},
      {"no TIFF header", notTiff, std::nullopt},
      {"EXIF directory past the end", pointerPastEnd, std::nullopt},
      {"offset text cut off", offsetCut, ExifTimeTexts{"2017:07:18 14:00:00", ""}},
      {"directory cut off", headerOnly, std::nullopt},
      {"empty", empty, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<ExifTimeTexts> times = ExifTimesFromTiff(c.block);
    ASSERT_EQ(times.has_value(), c.expected.has_value());
    if (!times) continue;
    EXPECT_EQ(times->dateTimeOriginal, c.expected->dateTimeOriginal);
    EXPECT_EQ(times->offsetTimeOriginal, c.expected->offsetTimeOriginal);
  }
}

// PNG's chunk CRC (ISO 3309) over type and data.
std::uint32_t PngCrc(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFU;
  for (const std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1U) ^ (0xEDB88320U & (0U - (crc & 1U)));
  }
  return crc ^ 0xFFFFFFFFU;
}

void PutBigEndianU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t byte = 0; byte < 4; ++byte) {
    bytes[at + byte] = static_cast<std::uint8_t>(value >> (8 * (3 - byte)));
  }
}

// Length, type, data and the CRC over type and data.
Bytes PngChunk(const char* type, const Bytes& data) {
  Bytes chunk(12 + data.size());
  PutBigEndianU32(chunk, 0, static_cast<std::uint32_t>(data.size()));
  std::copy(type, type + 4, chunk.begin() + 4);
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  PutBigEndianU32(chunk, 8 + data.size(), PngCrc(std::span(chunk).subspan(4, 4 + data.size())));
  return chunk;
}

Bytes QtPng(int widthPx, int heightPx) {
  QImage image(widthPx, heightPx, QImage::Format_Grayscale8);
  image.fill(100);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return {png.begin(), png.end()};
}

// The signature and the IHDR chunk come first; IEND's 12 bytes last.
constexpr std::size_t kAfterHeaderChunk = 8 + 25;
constexpr std::size_t kEndChunkBytes = 12;

Bytes WithChunkAt(Bytes png, std::size_t at, const Bytes& chunk) {
  png.insert(png.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
  return png;
}

TEST(PngExifChunk, FindsTheChunkBeforeOrAfterThePixels) {
  const Bytes exif = fakes::ExifTiff({false, 0, 0, "2017:07:18 14:00:00", "+02:00"});
  const Bytes plain = QtPng(20, 10);
  const Bytes early = WithChunkAt(plain, kAfterHeaderChunk, PngChunk("eXIf", exif));
  const Bytes late = WithChunkAt(plain, plain.size() - kEndChunkBytes, PngChunk("eXIf", exif));
  Bytes overlong = WithChunkAt(plain, kAfterHeaderChunk, PngChunk("eXIf", exif));
  overlong[kAfterHeaderChunk] = 0x7F;  // the chunk's length now runs past the file
  Bytes notPng = early;
  notPng[1] = 'J';

  struct Case {
    const char* name;
    const Bytes& png;
    bool found;
  };
  const Case cases[] = {
      {"before the pixels", early, true},  {"after the pixels", late, true},
      {"no eXIf chunk", plain, false},     {"chunk past the end", overlong, false},
      {"no PNG signature", notPng, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::span<const std::uint8_t>> chunk = PngExifChunk(c.png);
    ASSERT_EQ(chunk.has_value(), c.found);
    if (chunk) {
      EXPECT_EQ(Bytes(chunk->begin(), chunk->end()), exif);
    }
  }
}

TEST(PhotographExifTime, TiffAndPngFilesGiveTheCameraTime) {
  QTemporaryDir directory;
  // 400 x 300 pixels put the TIFF's directories 120,000 bytes into the
  // file, past the 64 KiB that an EXIF segment can hold.
  const Bytes tiffWithOffset = fakes::ExifTiff({false, 400, 300, "2017:07:18 14:00:00", "+02:00"});
  const Bytes tiffLocal = fakes::ExifTiff({true, 400, 300, "2017:07:18 14:00:00", ""});
  const Bytes exif = fakes::ExifTiff({true, 0, 0, "2017:07:18 14:00:00", "+02:00"});
  const Bytes png = WithChunkAt(QtPng(40, 30), kAfterHeaderChunk, PngChunk("eXIf", exif));

  struct Case {
    const char* name;
    const Bytes& bytes;
    const char* format;
    double julianDay;
    ClockKind clock;
  };
  const Case cases[] = {
      {"offset.tif", tiffWithOffset, "TIFF", 2457953.0, ClockKind::Universal},
      {"local.tif", tiffLocal, "TIFF", 2457953.0 + 2.0 / 24, ClockKind::LocalOffsetUnknown},
      {"exif.png", png, "PNG", 2457953.0, ClockKind::Universal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = directory.filePath(QString::fromLatin1(c.name));
    {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(reinterpret_cast<const char*>(c.bytes.data()),
                 static_cast<qint64>(c.bytes.size()));
    }
    const SolarImage image = LoadSolarImage(path);
    EXPECT_EQ(image.formatName, QString::fromLatin1(c.format));
    ASSERT_TRUE(image.observed);
    EXPECT_NEAR(image.observed->julianDay, c.julianDay, 1e-9);
    EXPECT_EQ(image.observed->clock, c.clock);
  }
}

}  // namespace
}  // namespace helidisk
