// Which SVG element each drawing operation becomes, and where it lies
// against the raster canvas's pixel grid.
#pragma once

#include <QObject>

namespace helidisk {

class SvgCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void operationBecomesElement_data();
  void operationBecomesElement();
  void documentSizeAndCount_data();
  void documentSizeAndCount();
};

}  // namespace helidisk
