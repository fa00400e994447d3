// File -> Save picture as… and Print…, Edit -> Copy picture: the window's
// picture made by helidisk-render's own code from what the window shows
// (instant, grid, orientation, picture size), so that a saved file is the
// one the command line writes for the same choices.
//
// Ctrl+C belongs to Copy picture; a table with the focus takes the key for
// itself, as a text field does: the measured-points table copies the
// points (Edit -> Copy points), any other table its current cell.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "pageoptionsdialog.h"
#include "picturerequest.h"
#include "viewstate.h"

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace helidisk {

// Where the window's menus take the new actions.
struct PictureMenus {
  QMenu* file = nullptr;
  // The File entry the new ones go before.
  QAction* fileAnchor = nullptr;
  QMenu* edit = nullptr;
  // Edit -> Copy points, which Ctrl+C triggers in the points table.
  QAction* copyPoints = nullptr;
  QWidget* pointsTable = nullptr;
};

// The window's picture as a request: the year and hours the window counts,
// its grid, orientation and picture control.
PictureRequest PictureRequestOf(const FormView& view);

class PictureActions final : public QObject {
  Q_OBJECT

 public:
  PictureActions(QWidget* window, const FormView& view, const PictureMenus& menus);

  // What the actions ask the user, replaceable so that a test can answer:
  // the file to save to (empty: cancelled; without a known extension the
  // dialog's chosen type adds one), the page of a PDF or a print, and the
  // printer (false: cancelled).
  using SavePathPrompt = std::function<QString()>;
  using PageOptionsPrompt = std::function<std::optional<PageOptions>(const PageOptions& shown)>;
  using PrintPrompt = std::function<bool(QPrinter& printer)>;
  void SetSavePathPrompt(SavePathPrompt prompt);
  void SetPageOptionsPrompt(PageOptionsPrompt prompt);
  void SetPrintPrompt(PrintPrompt prompt);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SavePictureClick();
  void CopyPictureClick();
  void PrintClick();
  QString AskSavePath();

  QWidget* window_;
  const FormView& view_;
  QAction* copyPoints_;
  QWidget* pointsTable_;
  // The page last chosen, offered again for the session.
  PageOptions page_;
  SavePathPrompt savePathPrompt_;
  PageOptionsPrompt pageOptionsPrompt_;
  PrintPrompt printPrompt_;
};

}  // namespace helidisk
