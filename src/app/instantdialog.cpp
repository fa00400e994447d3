#include "instantdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace helidisk {

namespace {

// A blank between date and time reads as the "T" of ISO 8601.
InstantText Parsed(const QString& text) {
  QString iso = text.trimmed();
  if (iso.size() > 6 && iso.at(iso.size() - 6) == QLatin1Char(' ')) {
    iso[iso.size() - 6] = QLatin1Char('T');
  }
  return ParseInstantText(iso.toStdString());
}

QString ProblemOf(InstantTextFault fault) {
  switch (fault) {
    case InstantTextFault::None:
      return {};
    case InstantTextFault::Malformed:
      return QStringLiteral("Write the instant as YYYY-MM-DD HH:MM.");
    case InstantTextFault::FieldOutOfRange:
      return QStringLiteral("Month 01-12, day 01-31, hour 00-23, minute 00-59.");
    case InstantTextFault::NotACalendarDay:
      return QStringLiteral(
          "Not a day of the calendar (Julian up to 1582-10-04, Gregorian from 1582-10-15).");
    case InstantTextFault::BeyondTheCalendar:
      return QStringLiteral("A year beyond the reach of the calendar.");
  }
  return {};
}

}  // namespace

InstantDialog::InstantDialog(QWidget* parent, const UtcMinute& shown)
    : QDialog(parent), edit_(new QLineEdit(this)), problem_(new QLabel(this)) {
  setObjectName(QStringLiteral("InstantDialog"));
  setWindowTitle(QStringLiteral("Date and time"));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(QStringLiteral("&Instant in UT (YYYY-MM-DD HH:MM):"), this);
  prompt->setBuddy(edit_);
  layout->addWidget(prompt);
  edit_->setObjectName(QStringLiteral("InstantText"));
  QString text = QString::fromStdString(InstantTextOf(shown));
  text[text.indexOf(QLatin1Char('T'))] = QLatin1Char(' ');
  edit_->setText(text);
  layout->addWidget(edit_);
  problem_->setObjectName(QStringLiteral("InstantProblem"));
  layout->addWidget(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(edit_, &QLineEdit::textChanged, this, &InstantDialog::CheckText);
  CheckText();
}

std::optional<UtcMinute> InstantDialog::Instant() const {
  const InstantText parsed = Parsed(edit_->text());
  if (parsed.fault != InstantTextFault::None) return std::nullopt;
  return parsed.instant;
}

void InstantDialog::CheckText() {
  const InstantTextFault fault = Parsed(edit_->text()).fault;
  problem_->setText(ProblemOf(fault));
  ok_->setEnabled(fault == InstantTextFault::None);
}

std::optional<UtcMinute> InstantDialog::Ask(QWidget* parent, const UtcMinute& shown) {
  InstantDialog dialog(parent, shown);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Instant();
}

}  // namespace helidisk
