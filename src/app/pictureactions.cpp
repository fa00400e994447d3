#include "pictureactions.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <array>
#include <utility>

#include "application.h"
#include "checked.h"
#include "outputfile.h"
#include "pdfpage.h"
#include "renderer.h"

namespace helidisk {

namespace {

struct PictureFileType {
  const char* filter;
  const char* suffix;
};
constexpr std::array<PictureFileType, 3> kPictureFileTypes = {{
    {"PNG image (*.png)", "png"},
    {"SVG drawing (*.svg)", "svg"},
    {"PDF page with the disk at its true size (*.pdf)", "pdf"},
}};

QAction* CreateAction(QObject* parent, const QString& text, const char* name,
                      const QKeySequence& shortcut) {
  auto* action = new QAction(text, parent);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

}  // namespace

RenderOptions PictureOptionsOf(const FormView& view) {
  RenderOptions options;
  options.year = view.CurrentYear();
  options.hourPosition = view.HourPosition();
  options.differentialGrid = view.DiffRotChecked();
  options.stonyhurstGrid = view.StonyhurstGridChosen();
  options.orientation = view.PictureOrientation();
  options.ephemeris = view.ChosenEphemeris();
  const DiskGeometry geometry = view.PictureGeometry();
  options.controlWidth = CheckedAdd(geometry.ImageRight, 1);
  options.controlHeight = CheckedAdd(geometry.ImageBottom, 1);
  options.decimalSeparator = view.DecimalSeparator();
  return options;
}

PictureActions::PictureActions(QWidget* window, const FormView& view, const PictureMenus& menus)
    : QObject(window),
      window_(window),
      view_(view),
      copyPoints_(menus.copyPoints),
      pointsTable_(menus.pointsTable),
      savePathPrompt_([this] { return AskSavePath(); }),
      pageOptionsPrompt_(
          [this](const PageOptions& shown) { return PageOptionsDialog::Ask(window_, shown); }),
      printPrompt_([this](QPrinter& printer) {
        QPrintDialog dialog(&printer, window_);
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("PictureActions"));
  QAction* save =
      CreateAction(window, QStringLiteral("Save &picture as…"), "SavePicture1", QKeySequence::Save);
  QAction* print = CreateAction(window, QStringLiteral("P&rint…"), "Print1", QKeySequence::Print);
  menus.file->insertActions(menus.fileAnchor, {save, print});
  menus.file->insertSeparator(menus.fileAnchor);
  QAction* copy =
      CreateAction(window, QStringLiteral("Copy p&icture"), "CopyPicture1", QKeySequence::Copy);
  menus.edit->insertAction(menus.copyPoints, copy);

  const auto bind = [this](void (PictureActions::*handler)()) {
    return [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); };
  };
  connect(save, &QAction::triggered, this, bind(&PictureActions::SavePictureClick));
  connect(print, &QAction::triggered, this, bind(&PictureActions::PrintClick));
  connect(copy, &QAction::triggered, this, bind(&PictureActions::CopyPictureClick));
  qApp->installEventFilter(this);
}

void PictureActions::SetSavePathPrompt(SavePathPrompt prompt) {
  savePathPrompt_ = std::move(prompt);
}

void PictureActions::SetPageOptionsPrompt(PageOptionsPrompt prompt) {
  pageOptionsPrompt_ = std::move(prompt);
}

void PictureActions::SetPrintPrompt(PrintPrompt prompt) { printPrompt_ = std::move(prompt); }

// A table with the focus keeps Ctrl+C: it takes the shortcut over, and the
// points table answers the key with all its points.
bool PictureActions::eventFilter(QObject* watched, QEvent* event) {
  const bool overridesShortcut = event->type() == QEvent::ShortcutOverride;
  if (!overridesShortcut && event->type() != QEvent::KeyPress) return false;
  if (qobject_cast<QAbstractItemView*>(watched) == nullptr ||
      !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    return false;
  }
  if (overridesShortcut) {
    event->accept();
    return true;
  }
  if (watched != pointsTable_) return false;
  copyPoints_->trigger();
  return true;
}

QString PictureActions::AskSavePath() {
  QStringList filters;
  for (const PictureFileType& type : kPictureFileTypes) filters << QString::fromLatin1(type.filter);
  QString chosenFilter = filters.front();
  QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Save picture as"), QString(),
                                              filters.join(QStringLiteral(";;")), &chosenFilter);
  if (path.isEmpty() || FormatOfFileName(path.toStdString())) return path;
  const auto index = filters.indexOf(chosenFilter);
  return path + QLatin1Char('.') +
         QString::fromLatin1(kPictureFileTypes.at(index < 0 ? 0 : index).suffix);
}

// The picture goes into a temporary file beside the target and is renamed
// over it when complete, so that a failure leaves what stood there.
void PictureActions::SavePictureClick() {
  const QString path = savePathPrompt_();
  if (path.isEmpty()) return;
  const auto failure = [&path](const QString& reason) {
    ReportError(QStringLiteral("Cannot save the picture to '%1': %2").arg(path, reason));
  };
  RenderOptions options = PictureOptionsOf(view_);
  const std::optional<PictureFormat> format = FormatOfFileName(path.toStdString());
  if (!format) return failure(QStringLiteral("the name must end in .png, .svg or .pdf"));
  options.format = *format;
  if (options.format == PictureFormat::Pdf) {
    const std::optional<PageOptions> page = pageOptionsPrompt_(page_);
    if (!page) return;
    page_ = *page;
    options.diskDiameterMm = page_.diameterMm;
    options.paper = page_.paper;
  }
  QByteArray picture;
  try {
    RedrawResult result;
    picture = RenderPicture(options, result);
  } catch (const PictureError& error) {
    return failure(QString::fromUtf8(error.what()));
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), BytesOf(picture), reason)) {
    failure(QString::fromLocal8Bit(reason));
  }
}

void PictureActions::CopyPictureClick() {
  RedrawResult result;
  QGuiApplication::clipboard()->setImage(RenderImage(PictureOptionsOf(view_), result));
}

// The paper that the print dialog ends with decides; the disk has the
// diameter chosen before it.
void PictureActions::PrintClick() {
  const std::optional<PageOptions> page = pageOptionsPrompt_(page_);
  if (!page) return;
  page_ = *page;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSizeOf(page_.paper));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  printer.setDocName(QStringLiteral("helidisk"));
  if (!printPrompt_(printer)) return;

  RedrawResult result;
  const DiskPagePicture picture = PagePictureFor(PictureOptionsOf(view_), result);
  const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
  const PageSizeMm sheet{paper.width(), paper.height()};
  if (const auto misfit =
          DiskPageMisfit(sheet, page_.diameterMm, static_cast<int>(picture.rows.size()))) {
    ReportError(
        QStringLiteral("Cannot print the picture: %1.").arg(QString::fromStdString(*misfit)));
    return;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    ReportError(QStringLiteral("Cannot print the picture: the printer did not start."));
    return;
  }
  PaintDiskPage(painter, sheet, page_.diameterMm, picture);
  painter.end();
}

}  // namespace helidisk
