// Takes the README's picture of the grid over an observer's image: the
// window, on Qt's offscreen platform, with a generated photograph of the Sun
// (limb-darkened, two spot groups) opened as File -> Open image opens it.
//   helidisk_overlay_screenshot OUTPUT.png
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "form_main.h"
#include "synthetic_sun.h"

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
  const QString photograph = folder.filePath(QStringLiteral("sun.jpg"));
  helidisk::fakes::SyntheticSun sun =
      helidisk::fakes::MakeSun(1600, 1200, 812.4, 590.7, 520.3, 0.015);
  sun.spots = {{35, 0.45, 9}, {43, 0.5, 6}, {215, 0.62, 12}, {290, 0.3, 5}};
  sun.prominences = 3;
  if (!helidisk::fakes::RedImage(sun).save(photograph, "JPEG", 92)) return 1;

  helidisk::TForm_Main window;
  window.SetInstantPrompt([](const helidisk::UtcMinute&) {
    return helidisk::UtcMinute{2026, 1, 8, 10, 0};
  });
  window.show();
  QCoreApplication::processEvents();
  window.OpenImage(photograph);
  QCoreApplication::processEvents();

  // The main window and, beside it at its top, the image's own window.
  const QPixmap main = window.grab();
  auto* panel = window.findChild<QWidget*>(QStringLiteral("ImagePanel"));
  const QPixmap side = panel != nullptr ? panel->grab() : QPixmap();
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
