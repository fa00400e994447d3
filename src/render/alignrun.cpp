#include "alignrun.h"

#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <memory>
#include <string>

#include "imageerror.h"
#include "instantseries.h"
#include "pdfpage.h"
#include "rasterencoder.h"
#include "renderrun.h"
#include "solarrotation.h"
#include "webpmovie.h"

namespace helidisk {

namespace {

// A tenth of a second a frame: ten frames a second, a day of hourly
// images in two and a half seconds.
constexpr int kMovieFrameMs = 100;

// The progress line: rewritten in place on a terminal, one line a frame
// into a file or a pipe, where "\r" would pile up.
class ProgressLine {
 public:
  ProgressLine(std::FILE* err, int total)
      : err_(err), total_(total), terminal_(isatty(fileno(err)) != 0) {}

  void Problem(const QString& problem) {
    Clear();
    PrintTo(err_, std::string(kRendererName) + ": skipped " + problem.toStdString() + "\n");
  }

  void Show(int done, int skipped) {
    const std::string line = "aligned " + std::to_string(done - skipped) + " of " +
                             std::to_string(total_) +
                             (skipped > 0 ? ", " + std::to_string(skipped) + " skipped" : "");
    if (terminal_) {
      PrintTo(err_, "\r" + line + "\033[K");
      shown_ = true;
    } else {
      PrintTo(err_, line + "\n");
    }
    std::fflush(err_);
  }

  void Finish() {
    if (shown_) PrintTo(err_, "\n");
    shown_ = false;
  }

 private:
  void Clear() {
    if (shown_) PrintTo(err_, "\r\033[K");
  }

  std::FILE* err_;
  int total_;
  bool terminal_;
  bool shown_ = false;
};

std::optional<Derotation> DerotationOf(const RenderOptions& options) {
  if (!options.rotateTo) return std::nullopt;
  // The command line accepts only the models the table names.
  const RotationModel* model = RotationModelNamed(options.rotationModel);
  if (model == nullptr) return std::nullopt;
  const double referenceDay =
      JulianDayOfHourPosition(options.rotateTo->year, options.rotateTo->hours);
  return Derotation{referenceDay, [model](double latitudeDeg) {
                      return SiderealRateDegPerDay(*model, latitudeDeg);
                    }};
}

QStringList PathsOf(const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& path : paths) list.append(QString::fromStdString(path));
  return list;
}

}  // namespace

AlignSettings AlignSettingsOf(const RenderOptions& options) {
  AlignSettings settings;
  settings.sidePx = options.alignSidePx;
  settings.view = ImageView{options.orientation, options.rotationDeg.value_or(0)};
  settings.site = options.site;
  settings.viewChosen = options.orientationGiven || options.rotationDeg || options.site;
  settings.derotation = DerotationOf(options);
  settings.modelName = options.rotationModel;
  settings.outputFolder = QString::fromStdString(options.outputPath);
  return settings;
}

int RenderAlignedSequence(const RenderOptions& options, std::FILE* err) {
  const AlignSettings settings = AlignSettingsOf(options);
  if (!QDir().mkpath(settings.outputFolder)) {
    PrintTo(err,
            std::string(kRendererName) + ": cannot make the folder '" + options.outputPath + "'\n");
    return kExitFailure;
  }
  // The time stamps' letters need a font session.
  const std::unique_ptr<QGuiApplication> fonts = StartFontSession();
  std::unique_ptr<WebpMovie> movie;
  if (!options.moviePath.empty()) {
    movie = std::make_unique<WebpMovie>(settings.sidePx, kMovieFrameMs);
  }
  const QStringList paths = PathsOf(options.imagePaths);
  ProgressLine progress(err, static_cast<int>(paths.size()));
  int skipped = 0;
  QString movieProblem;
  AlignSequence(paths, settings, [&](int index, const FrameResult& result, const QImage& frame) {
    if (!result.aligned) {
      ++skipped;
      progress.Problem(result.problem);
    } else if (movie && movieProblem.isEmpty()) {
      try {
        movie->Add(frame);
      } catch (const ImageError& error) {
        movieProblem = QString::fromStdString(error.what());
      }
    }
    progress.Show(index + 1, skipped);
  });
  progress.Finish();
  int status = skipped > 0 ? kExitFailure : 0;
  if (movie) {
    if (movieProblem.isEmpty() && movie->FrameCount() == 0) {
      movieProblem = QStringLiteral("no image was aligned, so there is no movie");
    }
    if (!movieProblem.isEmpty()) {
      PrintTo(err, std::string(kRendererName) + ": " + movieProblem.toStdString() + "\n");
      return kExitFailure;
    }
    const QByteArray bytes = movie->Finish();
    if (WriteResult(options.moviePath, BytesOf(bytes), stdout, err) != 0) status = kExitFailure;
  }
  return status;
}

}  // namespace helidisk
