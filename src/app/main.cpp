// The program's start: the application object, the one window, the loop.
#include <QApplication>
#include <algorithm>
#include <cstdio>

#include "displaycheck.h"
#include "form_main.h"

#ifndef HELIDISK_DESKTOP_ID
#error "HELIDISK_DESKTOP_ID must give the application id that names the desktop entry"
#endif

int main(int argc, char* argv[]) {
  // The picture is drawn pixel for pixel at the window's design size;
  // scaling by screen resolution would blur it.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Without a display Qt's platform plugin would abort with a message of
  // its own that points nowhere useful.
  if (!helidisk::HasUsableDisplay()) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(helidisk::kNoDisplayMessage.size()),
                 helidisk::kNoDisplayMessage.data());
    return 1;
  }
  // The program takes no command line: Qt sees only the program's name.
  int qtArgumentCount = std::min(argc, 1);
  QApplication application(qtArgumentCount, argv);
  // The installed desktop entry, <id>.desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral(HELIDISK_DESKTOP_ID));

  helidisk::TForm_Main Form_Main;
  Form_Main.show();
  // A newly shown main window is the active one, also where no window
  // manager makes it so.
  Form_Main.activateWindow();
  return QApplication::exec();
}
