// Photographs for tests and benchmarks: a JPEG with an EXIF block carrying
// DateTimeOriginal and, when given, OffsetTimeOriginal and an orientation
// other than 1, made with libexif and put behind the JPEG's SOI.
#pragma once

#include <libexif/exif-data.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdlib>
#include <cstring>

namespace helidisk::fakes {

inline QByteArray JpegWithExif(const QImage& image, const char* dateTime, const char* offset,
                               int orientation = 1) {
  QByteArray jpeg;
  {
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
  }
  ExifData* data = exif_data_new();
  exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
  const auto put = [&](ExifTag tag, const char* text) {
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_EXIF], entry);
    entry->tag = tag;
    entry->format = EXIF_FORMAT_ASCII;
    entry->components = std::strlen(text) + 1;
    entry->size = static_cast<unsigned int>(entry->components);
    entry->data = static_cast<unsigned char*>(malloc(entry->size));
    std::memcpy(entry->data, text, entry->size);
    exif_entry_unref(entry);
  };
  put(EXIF_TAG_DATE_TIME_ORIGINAL, dateTime);
  if (offset != nullptr) put(EXIF_TAG_OFFSET_TIME_ORIGINAL, offset);
  if (orientation != 1) {
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(orientation));
    exif_entry_unref(entry);
  }
  unsigned char* block = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &block, &size);
  exif_data_unref(data);
  QByteArray segment("\xFF\xE1", 2);
  segment.append(static_cast<char>((size + 2) >> 8)).append(static_cast<char>((size + 2) & 0xFF));
  segment.append(reinterpret_cast<const char*>(block), static_cast<qsizetype>(size));
  free(block);
  return jpeg.insert(2, segment);
}

}  // namespace helidisk::fakes
