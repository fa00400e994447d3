// Pixel checks of the picture's raster canvas.
#pragma once

#include <QObject>

namespace helidisk {

class QImageCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void init();

  void fillRectCoversHalfOpenBox_data();
  void fillRectCoversHalfOpenBox();
  void thinLinePixels_data();
  void thinLinePixels();
  void reversedThinLineCoversSamePixels_data();
  void reversedThinLineCoversSamePixels();
  void penStaysAtLineEnd();
  void zeroLengthThinLineDrawsNothing_data();
  void zeroLengthThinLineDrawsNothing();
  void wideLineHasPenWidthAndRoundEnds_data();
  void wideLineHasPenWidthAndRoundEnds();
  void zeroLengthWideLineIsRoundDot_data();
  void zeroLengthWideLineIsRoundDot();
  void widePolylineHasRoundJoin();
  void clippingKeepsLinePixels_data();
  void clippingKeepsLinePixels();
  void ellipseFillsAndOutlinesInscribedEllipse_data();
  void ellipseFillsAndOutlinesInscribedEllipse();
  void ellipseWithEmptyBoxDrawsNothing_data();
  void ellipseWithEmptyBoxDrawsNothing();
  void clippingKeepsEllipsePixels_data();
  void clippingKeepsEllipsePixels();
  void absurdCoordinatesAreClipped();
  void colorsAreExact_data();
  void colorsAreExact();
  void emptyImageIgnoresDrawing_data();
  void emptyImageIgnoresDrawing();
  void initialPenIsBlackOnePixelAndBrushWhite();
  void penAndBrushSurviveResize();
  void resizeKeepsSharedPixels();
  void savedImageReloadsUnchanged();
};

}  // namespace helidisk
