#include "alignedsequence.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

#include "geometryexport.h"
#include "imageerror.h"
#include "outputfile.h"
#include "solarimage.h"

namespace helidisk {

namespace {

constexpr int kWorkers = 2;

// The stamp's letters are a fortieth of the frame high, legible at any
// size a frame is watched at.
constexpr int kStampLinesPerSide = 40;

double ObservedUniversalDay(const SolarImage& image) {
  if (!image.observed) {
    ThrowImageError(image.path, QStringLiteral("the file gives no time of observation"));
  }
  if (image.observed->clock == ClockKind::LocalOffsetUnknown) {
    ThrowImageError(image.path, QStringLiteral("the camera's time has no offset from UT"));
  }
  return image.observed->julianDay;
}

ImageView ViewFor(const SolarImage& image, const AlignSettings& settings, const SunEphemeris& sun) {
  const std::optional<ImageView> fromHeader = ViewFromHeader(image.header);
  if (fromHeader && !settings.viewChosen) return *fromHeader;
  ImageView view = settings.view;
  if (settings.site) {
    view.rotationDeg = ZenithUpRotationDeg(view.orientation, sun, settings.site->latitudeDeg,
                                           settings.site->longitudeDeg);
  }
  return view;
}

SunEphemeris ShownSun(const AlignSettings& settings, const SunEphemeris& observed) {
  return settings.derotation ? ComputeSun(settings.derotation->referenceJulianDay) : observed;
}

QString StampTime(double julianDay) {
  // "YYYY-MM-DDThh:mm:ss.sss" to the second, the T a blank.
  QString text = QString::fromStdString(FitsDateText(julianDay)).left(19);
  text[10] = QLatin1Char(' ');
  return text + QStringLiteral(" UT");
}

std::vector<std::string> HistoryOf(const QString& sourcePath, double julianDay,
                                   const AlignSettings& settings) {
  std::vector<std::string> history = {
      "aligned by helidisk from " + QFileInfo(sourcePath).fileName().toStdString(),
      "observed " + FitsDateText(julianDay) + " UT"};
  if (settings.derotation) {
    history.push_back("de-rotated to DATE-OBS by the " + settings.modelName + " rotation model");
  }
  return history;
}

void WriteFrame(const QImage& frame, const QString& sourcePath, double julianDay,
                const AlignSettings& settings, FrameResult& result) {
  const AlignedLayout layout = AlignedLayoutOf(settings.sidePx);
  const PictureGeometry geometry{layout.sidePx,
                                 layout.sidePx,
                                 layout.centrePx,
                                 layout.centrePx,
                                 layout.radiusPx,
                                 0,
                                 ShownSun(settings, ComputeSun(julianDay))};
  const std::vector<GeometryCard> cards = GeometryCards(geometry);

  const QString pngPath =
      AlignedFramePath(sourcePath, settings.outputFolder, QStringLiteral("png"));
  const std::string png = PngWithGeometry(frame, cards, pngPath);
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(pngPath).toStdString(), png, reason)) {
    ThrowImageError(pngPath, QString::fromStdString(reason));
  }
  result.written.append(pngPath);

  const QString fitsPath =
      AlignedFramePath(sourcePath, settings.outputFolder, QStringLiteral("fits"));
  WriteFitsPicture(frame, cards, HistoryOf(sourcePath, julianDay, settings), fitsPath);
  result.written.append(fitsPath);
}

// One image through to its written files; the problem recorded instead
// when any step fails, so that one bad image does not end the sequence.
FrameResult ProcessImage(const QString& path, const AlignSettings& settings, QImage& frame) {
  FrameResult result;
  result.sourcePath = path;
  try {
    result.julianDay = AlignImage(path, settings, frame);
    StampFrame(frame, result.julianDay, settings);
    WriteFrame(frame, path, result.julianDay, settings, result);
    result.aligned = true;
  } catch (const ImageError& error) {
    result.problem = QString::fromStdString(error.what());
  } catch (const std::bad_alloc&) {
    result.problem = path + QStringLiteral(": not enough memory");
  } catch (const std::exception& error) {
    result.problem = path + QStringLiteral(": ") + QString::fromStdString(error.what());
  }
  return result;
}

// Hands the frames on in their order: a worker that finishes ahead waits
// for its turn before taking another image.
class InOrder {
 public:
  template <typename Deliver>
  void WhenTurnOf(int index, Deliver&& deliver) {
    std::unique_lock lock(mutex_);
    turn_.wait(lock, [&] { return next_ == index; });
    deliver();
    ++next_;
    turn_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable turn_;
  int next_ = 0;
};

// For each image whose frame would take the name of an earlier one's
// (sun.jpg from two nights' folders), why it is skipped; empty for the
// others.  Nothing written is ever replaced within one run.
QStringList NameClashes(const QStringList& paths) {
  QStringList clashes;
  QHash<QString, QString> firstWithName;
  for (const QString& path : paths) {
    const QString name = QFileInfo(path).completeBaseName();
    const auto earlier = firstWithName.constFind(name);
    if (earlier == firstWithName.constEnd()) {
      firstWithName.insert(name, path);
      clashes.append(QString());
    } else {
      clashes.append(path + QStringLiteral(": its frame would replace that of ") + *earlier +
                     QStringLiteral(", which has the same name"));
    }
  }
  return clashes;
}

}  // namespace

double AlignImage(const QString& path, const AlignSettings& settings, QImage& frame) {
  const SolarImage image = LoadSolarImage(path);
  const double julianDay = ObservedUniversalDay(image);
  const SunEphemeris sun = ComputeSun(julianDay);
  const ImageDisk disk = LocateDisk(image);
  const DiskFrame sourceFrame = ImageDiskFrame(disk, sun, ViewFor(image, settings, sun));
  const AlignedLayout layout = AlignedLayoutOf(settings.sidePx);
  ResampleAligned(image.display, sourceFrame, julianDay, layout, ShownSun(settings, sun),
                  settings.derotation, frame);
  if (frame.isNull()) ThrowImageError(path, QStringLiteral("not enough memory for the frame"));
  return julianDay;
}

void StampFrame(QImage& frame, double julianDay, const AlignSettings& settings) {
  if (QGuiApplication::instance() == nullptr) {
    throw ImageError("the time stamp's letters need a running GUI session for their font");
  }
  QStringList lines = {StampTime(julianDay)};
  if (settings.derotation) {
    lines.append(QStringLiteral("de-rotated to %1 (%2)")
                     .arg(StampTime(settings.derotation->referenceJulianDay),
                          QString::fromStdString(settings.modelName)));
  }
  // Qt paints on 32-bit pictures; a grey frame is stamped as one and
  // turned back.
  const bool grey = frame.format() == QImage::Format_Grayscale8;
  QImage canvas = grey ? frame.convertToFormat(QImage::Format_RGB32) : frame;
  if (grey) frame = QImage();
  {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(8, canvas.height() / kStampLinesPerSide));
    painter.setFont(font);
    const int lineHeight = font.pixelSize() * 5 / 4;
    int baseline = lineHeight;
    for (const QString& line : lines) {
      QPainterPath outline;
      outline.addText(font.pixelSize() / 2.0, baseline, font, line);
      painter.setPen(QPen(Qt::black, std::max(2, font.pixelSize() / 6)));
      painter.drawPath(outline);
      painter.fillPath(outline, Qt::white);
      baseline += lineHeight;
    }
  }
  frame = grey ? canvas.convertToFormat(QImage::Format_Grayscale8) : canvas;
}

QString AlignedFramePath(const QString& sourcePath, const QString& outputFolder,
                         const QString& suffix) {
  const QString stem = QFileInfo(sourcePath).completeBaseName();
  return QDir(outputFolder).filePath(stem + QStringLiteral("-aligned.") + suffix);
}

std::vector<FrameResult> AlignSequence(const QStringList& paths, const AlignSettings& settings,
                                       const FrameConsumer& consumer,
                                       const std::atomic<bool>* cancelled) {
  std::vector<FrameResult> results(static_cast<std::size_t>(paths.size()));
  const QStringList clashes = NameClashes(paths);
  std::atomic<int> nextImage = 0;
  InOrder inOrder;
  // The consumer's first failure ends the run once both workers stop; it
  // is raised from here, never inside a worker.
  std::exception_ptr consumerFailure;
  std::atomic<bool> failed = false;
  const auto work = [&] {
    QImage frame;
    for (;;) {
      if (failed.load() || (cancelled != nullptr && cancelled->load())) return;
      const int index = nextImage.fetch_add(1);
      if (index >= paths.size()) return;
      FrameResult result = clashes[index].isEmpty()
                               ? ProcessImage(paths[index], settings, frame)
                               : FrameResult{paths[index], false, clashes[index], {}, 0};
      inOrder.WhenTurnOf(index, [&] {
        try {
          if (!failed.load()) consumer(index, result, result.aligned ? frame : QImage());
        } catch (...) {
          consumerFailure = std::current_exception();
          failed = true;
        }
        results[static_cast<std::size_t>(index)] = std::move(result);
      });
    }
  };
  std::vector<std::thread> workers;
  for (int worker = 1; worker < kWorkers; ++worker) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  if (consumerFailure) std::rethrow_exception(consumerFailure);
  const int taken = std::min<int>(nextImage.load(), static_cast<int>(paths.size()));
  results.resize(static_cast<std::size_t>(taken));
  return results;
}

}  // namespace helidisk
