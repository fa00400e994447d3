// helidisk-render run as a separate process, as users and scripts run it:
// its readout, its pictures, its exit status and what it leaves on disk.
#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>

namespace helidisk {

class RenderCliTest : public QObject {
  Q_OBJECT

 private:
  QString PathInDir(const QString& name) const;

  QTemporaryDir dir_;

 private slots:
  void initTestCase();
  void readoutEqualsTheWindowsTexts_data();
  void readoutEqualsTheWindowsTexts();
  // Without --decimal-separator the Julian day follows the user's locale.
  void readoutSeparatorDefaultsToTheLocales_data();
  void readoutSeparatorDefaultsToTheLocales();
  void instantGivesTheReadoutOfItsWholeHour_data();
  void instantGivesTheReadoutOfItsWholeHour();
  // The differential grid counts the hours of --at exactly: at a whole hour
  // the picture is the scroll position's to the last pixel.
  void instantGivesThePictureOfItsWholeHour();
  void instantBetweenHoursAndBeyondTheScrollBar_data();
  void instantBetweenHoursAndBeyondTheScrollBar();
  void pngOfTheDesignSize_data();
  void pngOfTheDesignSize();
  // Not one pixel of the raster canvas is lost on the way into the file:
  // the PNG, drawn without Qt, holds the window's QImage canvas exactly.
  void pngHoldsTheRasterCanvasExactly();
  // The drawn disk as PNG or SVG loads no Qt library; a page loads Qt but
  // no image-format plug-in.
  void picturesLoadOnlyWhatTheyNeed_data();
  void picturesLoadOnlyWhatTheyNeed();
  void svgHoldsOneElementPerDrawingOperation_data();
  void svgHoldsOneElementPerDrawingOperation();
  void standardOutputTakesThePicture_data();
  void standardOutputTakesThePicture();
  // The format option overrides the file name's extension.
  void formatOverridesTheExtension();
  // The instruments' views are the sky view reflected about the disk
  // centre, but for rounding, the disk's half-open outline and the compass.
  void orientationsReflectTheSkyView();
  // --json and --locate describe the same instant and point as the readout
  // and the projection.
  void jsonAndLocateDescribeTheInstant();
  // Years the calendar cannot reckon with fail alike through --at and
  // --year; years the theory does not cover warn, or fail where the Sun's
  // distance comes out impossible.
  void farYearsWarnOrFail_data();
  void farYearsWarnOrFail();
  // The grid drawn over an image lies where --locate says: a pixel of the
  // red meridian in the written image locates at longitude 280 deg.
  void gridOverAnImageLiesWhereLocateSays();
  void gridOverAnImageAsFitsIsPlacedByItsHeader();
  void badImagesFailNamingTheFile_data();
  void badImagesFailNamingTheFile();
  void badInputIsRefused_data();
  void badInputIsRefused();
  void unwritableTargetLeavesNoFile();
  void missingDirectoryIsAFailure();
  // A named pipe or a device at the output path takes the picture as it
  // is; a regular file is replaced and keeps its permission bits.
  void outputPathKeepsWhatStandsThere_data();
  void outputPathKeepsWhatStandsThere();
  // A year the calendar routines cannot reach stops the redraw with its
  // run-time error, and nothing is written.
  void failedRedrawWritesNothing();
  void imageBeyondMemoryIsAFailure();
  // Whatever else goes wrong (no memory for a vector, a failed library call)
  // is reported with exit status 1, not ended by std::terminate.
  void anyErrorEndsInExitStatusOne();
  void helpAndVersion();
  void lostHelpAndVersionAreFailures_data();
  void lostHelpAndVersionAreFailures();
};

}  // namespace helidisk
