// Takes the README's picture of the sunspot panel: the window, on Qt's
// offscreen platform, with a generated spotted Sun opened as File -> Open
// image opens it, and View -> Sunspots showing its detection.
//   helidisk_sunspot_screenshot OUTPUT.png
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "form_main.h"
#include "spotted_sun_file.h"
#include "sunspotdock.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  int qtArgumentCount = 1;
  QApplication application(qtArgumentCount, argv);

  QTemporaryDir folder;
  const QString image = folder.filePath(QStringLiteral("sun.png"));
  if (!helidisk::fakes::WriteSpottedSun(image, 1024, helidisk::fakes::ActiveDaySpots())) return 1;

  helidisk::TForm_Main window;
  window.SetInstantPrompt([](const helidisk::UtcMinute&) {
    return helidisk::UtcMinute{2026, 6, 15, 10, 30};
  });
  window.show();
  QCoreApplication::processEvents();
  window.OpenImage(image);
  QCoreApplication::processEvents();
  auto* dock = window.findChild<helidisk::SunspotDock*>(QStringLiteral("SunspotDock"));
  if (dock == nullptr) return 1;
  dock->setFloating(true);
  dock->resize(820, 640);
  dock->show();
  emit dock->DetectRequested();
  QCoreApplication::processEvents();

  // The main window and, beside it at its top, the sunspot panel.
  const QPixmap main = window.grab();
  const QPixmap side = dock->grab();
  constexpr int kGap = 8;
  QImage picture(main.width() + kGap + side.width(), std::max(main.height(), side.height()),
                 QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, main);
  painter.drawPixmap(main.width() + kGap, 0, side);
  painter.end();
  return picture.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
