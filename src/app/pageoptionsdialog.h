// The page of a PDF or a print: the disk's diameter on paper, written as on
// helidisk-render's command line ("150mm", "15cm", "5.9in"), and the paper.
#pragma once

#include <QDialog>
#include <optional>

#include "diskpage.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace helidisk {

class PageOptionsDialog final : public QDialog {
  Q_OBJECT

 public:
  PageOptionsDialog(QWidget* parent, const PageOptions& shown);

  // The options the dialog names, if the disk fits the paper with an
  // instant's texts; the reason is shown otherwise.
  std::optional<PageOptions> Options() const;

  // Asks modally; nothing when the user cancels.
  static std::optional<PageOptions> Ask(QWidget* parent, const PageOptions& shown);

 private:
  void Check();

  QLineEdit* diameter_;
  QComboBox* paper_;
  QLabel* problem_;
  QPushButton* ok_ = nullptr;
};

}  // namespace helidisk
