// The disk page (diskpage.h) painted with Qt: into a PDF of its own or onto
// a printer's page, the picture as vectors through the Canvas operations.
#pragma once

#include <QGuiApplication>
#include <QPageSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "diskgeometry.h"
#include "diskpage.h"
#include "picturerequest.h"
#include "redraw.h"

class QPainter;

namespace helidisk {

// What a page shows: a picture drawn on the square control of the page
// (kPageControlSidePx), its disk's radius, and the rows below it.
struct DiskPagePicture {
  DiskGeometry geometry;
  std::int32_t diskRadiusPx = 0;
  std::function<void(Canvas&)> draw;
  std::vector<PageTextRow> rows;
};

// The request's picture for a page: a Stonyhurst template when it names a
// B0 alone, otherwise the redraw of its instant, grid and orientation,
// whose record goes to `result`.  Raises RunError when the redraw fails.
DiskPagePicture PagePictureFor(const PictureRequest& request, RedrawResult& result);

// Paints the page on the painter's device, a sheet of the given size whose
// device pixels count from the paper's top-left corner: the picture's disk
// `diameterMm` across with its limb line, centred across the sheet in its
// upper part, and the rows below it in the system's fixed-pitch font.  The
// picture's black ground is left out: on paper the paper is the ground, so
// a sheet takes the disk's yellow and thin lines instead of a black square,
// and the grey compass stands on white.  Raises PictureError, before
// painting anything, when the disk does not fit the sheet.
void PaintDiskPage(QPainter& painter, PageSizeMm sheet, double diameterMm,
                   const DiskPagePicture& picture);

// The paper as Qt names it, for a PDF writer or a printer.
QPageSize QPageSizeOf(PaperSize paper);

// A one-page PDF of the page's paper with the disk at its diameter.  Needs
// a QGuiApplication (StartFontSession) for the texts' fonts.
std::string RenderPdfPage(const PictureRequest& request, const PageOptions& page,
                          RedrawResult& result);

// Qt's fonts, which a page sets its texts in, need an application object.
// When there is none yet, starts one on the offscreen platform, which needs
// no display, and hands it over; otherwise returns nothing.
std::unique_ptr<QGuiApplication> StartFontSession();

}  // namespace helidisk
