// An animated WebP of aligned frames, through libwebp's animation encoder
// (libwebpmux).  Frames are encoded as they arrive: the movie holds their
// compressed data, never the frames themselves.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

namespace helidisk {

class WebpMovie {
 public:
  // Frames of `sidePx` x `sidePx`, each shown for `frameMs`.  Raises
  // ImageError when the encoder cannot be made.
  WebpMovie(int sidePx, int frameMs);
  ~WebpMovie();
  WebpMovie(const WebpMovie&) = delete;
  WebpMovie& operator=(const WebpMovie&) = delete;

  // Encodes the next frame (any format; of the movie's size).  Raises
  // ImageError when libwebp refuses it.
  void Add(const QImage& frame);
  int FrameCount() const { return frames_; }
  // The whole file; the movie takes no frames after it.  Raises ImageError
  // for a movie without frames or one libwebp cannot assemble.
  QByteArray Finish();

 private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
  int sidePx_;
  int frameMs_;
  int frames_ = 0;
};

}  // namespace helidisk
