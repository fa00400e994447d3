// The program's start: the application object, the one window, the loop.
#include <QApplication>
#include <algorithm>

#include "form_main.h"

int main(int argc, char* argv[]) {
  // The picture is drawn pixel for pixel at the window's design size;
  // scaling by screen resolution would blur it.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // The program takes no command line: Qt sees only the program's name.
  int qtArgumentCount = std::min(argc, 1);
  QApplication application(qtArgumentCount, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("helidisk"));

  helidisk::TForm_Main Form_Main;
  Form_Main.show();
  // A newly shown main window is the active one, also where no window
  // manager makes it so.
  Form_Main.activateWindow();
  return QApplication::exec();
}
