// Go -> Date and time: any instant in UT to the minute, in any year the
// calendar reckons with.
#pragma once

#include <QDialog>
#include <optional>

#include "instanttext.h"

class QLabel;
class QLineEdit;

namespace helidisk {

class InstantDialog final : public QDialog {
  Q_OBJECT

 public:
  // Opens with the instant the window shows.
  InstantDialog(QWidget* parent, const UtcMinute& shown);

  // The instant the text names, if it is one; the reason shown otherwise.
  std::optional<UtcMinute> Instant() const;

  // Asks modally; nothing when the user cancels.
  static std::optional<UtcMinute> Ask(QWidget* parent, const UtcMinute& shown);

 private:
  void CheckText();

  QLineEdit* edit_;
  QLabel* problem_;
  QPushButton* ok_ = nullptr;
};

}  // namespace helidisk
