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
#include <utility>
#include <vector>

#include "application.h"
#include "checked.h"
#include "outputfile.h"
#include "pdfpage.h"
#include "picture.h"
#include "pictureerror.h"
#include "rasterencoder.h"

namespace helidisk {

namespace {

// "the name must end in .png, .svg or .pdf"
QString DrawnDiskSuffixes() {
  const std::vector<const PictureFormatInfo*> formats = FormatsHolding(PictureKind::DrawnDisk);
  QString text;
  for (std::size_t index = 0; index < formats.size(); ++index) {
    if (index > 0)
      text += index + 1 == formats.size() ? QStringLiteral(" or ") : QStringLiteral(", ");
    text += QLatin1Char('.') + QString::fromUtf8(formats[index]->suffixes.front());
  }
  return text;
}

QAction* CreateAction(QObject* parent, const QString& text, const char* name,
                      const QKeySequence& shortcut) {
  auto* action = new QAction(text, parent);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

}  // namespace

PictureRequest PictureRequestOf(const FormView& view) {
  PictureRequest request;
  request.year = view.CurrentYear();
  request.hourPosition = view.HourPosition();
  request.differentialGrid = view.DiffRotChecked();
  request.stonyhurstGrid = view.StonyhurstGridChosen();
  request.orientation = view.PictureOrientation();
  request.ephemeris = view.ChosenEphemeris();
  const DiskGeometry geometry = view.PictureGeometry();
  request.controlWidth = CheckedAdd(geometry.ImageRight, 1);
  request.controlHeight = CheckedAdd(geometry.ImageBottom, 1);
  request.decimalSeparator = view.DecimalSeparator();
  return request;
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
  const std::vector<const PictureFormatInfo*> formats = FormatsHolding(PictureKind::DrawnDisk);
  QStringList filters;
  for (const PictureFormatInfo* info : formats) filters << QString::fromUtf8(info->dialogFilter);
  QString chosenFilter = filters.front();
  QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Save picture as"), QString(),
                                              filters.join(QStringLiteral(";;")), &chosenFilter);
  if (path.isEmpty() || FormatOfFileName(path.toStdString())) return path;
  const auto index = filters.indexOf(chosenFilter);
  return path + QLatin1Char('.') +
         QString::fromUtf8(formats.at(index < 0 ? 0 : index)->suffixes.front());
}

// The picture goes into a temporary file beside the target and is renamed
// over it when complete, so that a failure leaves what stood there.
void PictureActions::SavePictureClick() {
  const QString path = savePathPrompt_();
  if (path.isEmpty()) return;
  const auto failure = [&path](const QString& reason) {
    ReportError(QStringLiteral("Cannot save the picture to '%1': %2").arg(path, reason));
  };
  // A JPEG's blocks would blur the drawn disk's flat colours and thin
  // lines: the name must name a format that holds it.
  const std::optional<PictureFormat> format = FormatOfFileName(path.toStdString());
  if (!format) return failure(QStringLiteral("the name must end in ") + DrawnDiskSuffixes());
  if (!InfoOf(*format).holdsDrawnDisk) {
    return failure(
        QStringLiteral("a %1 is written only for an opened image (File → Save "
                       "overlaid image…); the drawn disk as %2")
            .arg(QString::fromUtf8(InfoOf(*format).name).toUpper(), DrawnDiskSuffixes()));
  }
  if (InfoOf(*format).holdsPage) {
    const std::optional<PageOptions> page = pageOptionsPrompt_(page_);
    if (!page) return;
    page_ = *page;
  }
  std::string picture;
  try {
    RedrawResult result;
    picture = RenderPicture(PictureRequestOf(view_), *format, page_, result);
  } catch (const PictureError& error) {
    return failure(QString::fromUtf8(error.what()));
  }
  std::string reason;
  if (!WriteOutputFile(QFile::encodeName(path).toStdString(), picture, reason)) {
    failure(QString::fromLocal8Bit(reason));
  }
}

void PictureActions::CopyPictureClick() {
  RedrawResult result;
  QGuiApplication::clipboard()->setImage(RenderImage(PictureRequestOf(view_), result));
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
  const DiskPagePicture picture = PagePictureFor(PictureRequestOf(view_), result);
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
