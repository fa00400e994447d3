#include "webpmovie.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include "imageerror.h"

namespace helidisk {

namespace {

// Lossy at quality 80 with libwebp's fastest method: the frames are
// photographs of the Sun, and a movie of a hundred of them should take
// seconds, not minutes.
constexpr float kQuality = 80;
constexpr int kFastestMethod = 0;

[[noreturn]] void ThrowMovieError(const char* what) {
  throw ImageError(std::string("the WebP movie: ") + what);
}

}  // namespace

struct WebpMovie::Encoder {
  WebPAnimEncoder* animation = nullptr;
  WebPConfig config{};
  ~Encoder() {
    if (animation != nullptr) WebPAnimEncoderDelete(animation);
  }
};

WebpMovie::WebpMovie(int sidePx, int frameMs)
    : encoder_(std::make_unique<Encoder>()), sidePx_(sidePx), frameMs_(frameMs) {
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) ThrowMovieError("libwebp does not match its header");
  // Every frame a key frame: the aligned frames differ all over (noise,
  // seeing), so searching for unchanged rectangles only costs time.
  options.kmin = 0;
  options.kmax = 1;
  encoder_->animation = WebPAnimEncoderNew(sidePx, sidePx, &options);
  if (encoder_->animation == nullptr) ThrowMovieError("cannot start the encoder");
  if (!WebPConfigInit(&encoder_->config)) ThrowMovieError("libwebp does not match its header");
  encoder_->config.quality = kQuality;
  encoder_->config.method = kFastestMethod;
}

WebpMovie::~WebpMovie() = default;

void WebpMovie::Add(const QImage& frame) {
  if (frame.width() != sidePx_ || frame.height() != sidePx_) {
    ThrowMovieError("a frame of another size");
  }
  // 32-bit RGB lies in memory as B, G, R, A on the machines Qt runs on
  // little-endian, as libwebp's BGRA import reads it.
  const QImage pixels = frame.convertToFormat(QImage::Format_RGB32);
  WebPPicture picture;
  if (!WebPPictureInit(&picture)) ThrowMovieError("libwebp does not match its header");
  picture.use_argb = 1;
  picture.width = sidePx_;
  picture.height = sidePx_;
  const bool imported =
      WebPPictureImportBGRA(&picture, pixels.constBits(), static_cast<int>(pixels.bytesPerLine()));
  const bool added = imported && WebPAnimEncoderAdd(encoder_->animation, &picture,
                                                    frames_ * frameMs_, &encoder_->config);
  WebPPictureFree(&picture);
  if (!added) ThrowMovieError(WebPAnimEncoderGetError(encoder_->animation));
  ++frames_;
}

QByteArray WebpMovie::Finish() {
  if (frames_ == 0) ThrowMovieError("no frame to make a movie of");
  // The last frame's end.
  WebPAnimEncoderAdd(encoder_->animation, nullptr, frames_ * frameMs_, nullptr);
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAssemble(encoder_->animation, &data)) {
    ThrowMovieError(WebPAnimEncoderGetError(encoder_->animation));
  }
  QByteArray bytes(reinterpret_cast<const char*>(data.bytes), static_cast<qsizetype>(data.size));
  WebPDataClear(&data);
  return bytes;
}

}  // namespace helidisk
