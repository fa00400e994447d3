#include "pdfpage.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "pictureerror.h"
#include "qpaintercanvas.h"
#include "stonyhurst.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kTextPoints = 10;
constexpr double kColumnGapMm = 8;
// Device pixels of the PDF: fine enough that Qt's own rounding of the
// texts' places stays far below what a printer shows.
constexpr int kPdfDotsPerInch = 1200;

// On paper the paper is the ground: a fill of the whole picture, the
// redraw's black ground, is left out; everything else is passed on.
class PaperGroundCanvas final : public Canvas {
 public:
  PaperGroundCanvas(Canvas& page, const DiskGeometry& geometry)
      : page_(page), widthPx_(ImageWidthOf(geometry)), heightPx_(ImageHeightOf(geometry)) {}

  void SetBrushColor(Color color) override { page_.SetBrushColor(color); }
  void SetPenColor(Color color) override { page_.SetPenColor(color); }
  void SetPenWidth(std::int32_t widthPixels) override { page_.SetPenWidth(widthPixels); }
  void FillRect(const Rect& rect) override {
    const bool wholePicture =
        rect.Left <= 0 && rect.Top <= 0 && rect.Right >= widthPx_ && rect.Bottom >= heightPx_;
    if (!wholePicture) page_.FillRect(rect);
  }
  void Ellipse(const Rect& rect) override { page_.Ellipse(rect); }
  void MoveTo(std::int32_t x, std::int32_t y) override { page_.MoveTo(x, y); }
  void LineTo(std::int32_t x, std::int32_t y) override { page_.LineTo(x, y); }

 private:
  Canvas& page_;
  std::int32_t widthPx_;
  std::int32_t heightPx_;
};

DiskGeometry PageGeometry() {
  return DiskGeometryOfPicture(kPageControlSidePx, kPageControlSidePx);
}

std::string GridName(const PictureRequest& request) {
  if (request.stonyhurstGrid) return "Stonyhurst grid";
  return request.differentialGrid ? "differentially rotating grid" : "rigid grid";
}

DiskPagePicture TemplatePicture(double b0Deg) {
  DiskPagePicture picture;
  picture.geometry = PageGeometry();
  picture.diskRadiusPx = TemplateDiskRadiusPx(picture.geometry);
  picture.draw = [geometry = picture.geometry, b0Deg](Canvas& canvas) {
    DrawStonyhurstTemplate(canvas, geometry, b0Deg * DegToRad);
  };
  picture.rows = TemplatePageRows(b0Deg);
  return picture;
}

DiskPagePicture InstantPicture(const PictureRequest& request, RedrawResult& result) {
  PictureRequest onPage = request;
  onPage.controlWidth = kPageControlSidePx;
  onPage.controlHeight = kPageControlSidePx;
  result = InstantResultsOf(onPage);
  DiskPagePicture picture;
  picture.geometry = PageGeometry();
  picture.diskRadiusPx = result.diskRadiusPx;
  picture.draw = [onPage](Canvas& canvas) { DrawPicture(onPage, canvas); };
  picture.rows = InstantPageRows(result, request.orientation, GridName(request));
  return picture;
}

struct DeviceScale {
  double xPerMm;
  double yPerMm;
};

// The rows as a block centred across the sheet, the right column after the
// widest left text that has one beside it.
void PaintRows(QPainter& painter, const DiskPageLayout& layout, PageSizeMm sheet,
               const std::vector<PageTextRow>& rows, DeviceScale scale) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSizeF(kTextPoints);
  // The page holds the glyphs' outlines, for a printer of any resolution:
  // hinting them to the device's pixels would only cost time.
  font.setHintingPreference(QFont::PreferNoHinting);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetricsF metrics(font, painter.device());
  const auto advance = [&metrics](const std::string& text) {
    return metrics.horizontalAdvance(QString::fromStdString(text));
  };

  double leftColumn = 0;
  for (const PageTextRow& row : rows) {
    if (!row.right.empty()) leftColumn = std::max(leftColumn, advance(row.left));
  }
  const double rightColumnStart = leftColumn + kColumnGapMm * scale.xPerMm;
  double blockWidth = 0;
  for (const PageTextRow& row : rows) {
    blockWidth = std::max(
        blockWidth, row.right.empty() ? advance(row.left) : rightColumnStart + advance(row.right));
  }
  const double blockLeft = (sheet.widthMm * scale.xPerMm - blockWidth) / 2;
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const double baseline =
        (layout.textTopMm + static_cast<double>(index) * layout.rowHeightMm) * scale.yPerMm +
        metrics.ascent();
    painter.drawText(QPointF(blockLeft, baseline), QString::fromStdString(rows[index].left));
    if (!rows[index].right.empty()) {
      painter.drawText(QPointF(blockLeft + rightColumnStart, baseline),
                       QString::fromStdString(rows[index].right));
    }
  }
}

}  // namespace

QPageSize QPageSizeOf(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return {QPageSize::A4};
    case PaperSize::A3:
      return {QPageSize::A3};
    case PaperSize::Letter:
      return {QPageSize::Letter};
  }
  return {QPageSize::A4};
}

DiskPagePicture PagePictureFor(const PictureRequest& request, RedrawResult& result) {
  if (request.templateB0Deg) return TemplatePicture(*request.templateB0Deg);
  return InstantPicture(request, result);
}

void PaintDiskPage(QPainter& painter, PageSizeMm sheet, double diameterMm,
                   const DiskPagePicture& picture) {
  const int rowCount = static_cast<int>(picture.rows.size());
  if (const auto misfit = DiskPageMisfit(sheet, diameterMm, rowCount)) throw PictureError(*misfit);
  const DiskPageLayout layout = LayOutDiskPage(sheet, diameterMm);
  const DeviceScale scale{painter.device()->logicalDpiX() / kMillimetresPerInch,
                          painter.device()->logicalDpiY() / kMillimetresPerInch};
  const double millimetresPerPixel = MillimetresPerPixel(diameterMm, picture.diskRadiusPx);

  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter.translate(layout.diskCentreXMm * scale.xPerMm, layout.diskCentreYMm * scale.yPerMm);
  painter.scale(millimetresPerPixel * scale.xPerMm, millimetresPerPixel * scale.yPerMm);
  painter.translate(-picture.geometry.CentreX, -picture.geometry.CentreY);
  {
    QPainterCanvas canvas(painter);
    PaperGroundCanvas onPaper(canvas, picture.geometry);
    picture.draw(onPaper);
  }
  painter.restore();
  PaintRows(painter, layout, sheet, picture.rows, scale);
}

std::string RenderPdfPage(const PictureRequest& request, const PageOptions& page,
                          RedrawResult& result) {
  const DiskPagePicture picture = PagePictureFor(request, result);
  const PageSizeMm sheet = PageSizeOf(page.paper);
  if (const auto misfit =
          DiskPageMisfit(sheet, page.diameterMm, static_cast<int>(picture.rows.size()))) {
    throw PictureError(*misfit);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageLayout(QPageLayout(QPageSizeOf(page.paper), QPageLayout::Portrait, QMarginsF()));
  writer.setResolution(kPdfDotsPerInch);
  writer.setCreator(QStringLiteral("helidisk"));
  writer.setTitle(QString::fromStdString(picture.rows.front().left));
  QPainter painter;
  if (!painter.begin(&writer)) throw PictureError("cannot start the PDF page");
  PaintDiskPage(painter, sheet, page.diameterMm, picture);
  if (!painter.end()) throw PictureError("cannot finish the PDF page");
  return bytes.toStdString();
}

namespace {

QtMessageHandler passedOnTo = nullptr;

// Qt looks for a sandbox's marker in the session's runtime directory while
// it starts, and complains when the environment names none (as under cron
// or ssh): nothing that a page depends on.  Every other message is passed
// on.
void WithoutRuntimeDirectoryComplaint(QtMsgType type, const QMessageLogContext& context,
                                      const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: ")) &&
      message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
    return;
  }
  passedOnTo(type, context, message);
}

}  // namespace

std::unique_ptr<QGuiApplication> StartFontSession() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  // Qt takes the platform option out of the arguments, so they are set
  // afresh for every session.
  static char program[] = "helidisk-render";
  static char platformOption[] = "-platform";
  static char platform[] = "offscreen";
  static char* arguments[4];
  static int argumentCount;
  arguments[0] = program;
  arguments[1] = platformOption;
  arguments[2] = platform;
  arguments[3] = nullptr;
  argumentCount = 3;
  passedOnTo = qInstallMessageHandler(WithoutRuntimeDirectoryComplaint);
  auto application = std::make_unique<QGuiApplication>(argumentCount, arguments);
  qInstallMessageHandler(passedOnTo);
  return application;
}

}  // namespace helidisk
