#include "pageoptionsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "textfields.h"

namespace helidisk {

PageOptionsDialog::PageOptionsDialog(QWidget* parent, const PageOptions& shown)
    : QDialog(parent),
      diameter_(new QLineEdit(this)),
      paper_(new QComboBox(this)),
      problem_(new QLabel(this)) {
  setObjectName(QStringLiteral("PageOptionsDialog"));
  setWindowTitle(QStringLiteral("Page"));
  auto* layout = new QFormLayout(this);
  diameter_->setObjectName(QStringLiteral("DiameterText"));
  diameter_->setText(QString::fromStdString(ExactNumber(shown.diameterMm) + "mm"));
  diameter_->setToolTip(
      QStringLiteral("The disk's diameter on paper, the outer edge of its limb line: "
                     "150mm, 15cm or 5.9in."));
  layout->addRow(QStringLiteral("Disk &diameter:"), diameter_);
  paper_->setObjectName(QStringLiteral("PaperChoice"));
  for (const PaperSize paper : kPaperSizes) {
    paper_->addItem(QString::fromStdString(PaperSizeName(paper)), static_cast<int>(paper));
  }
  paper_->setCurrentIndex(paper_->findData(static_cast<int>(shown.paper)));
  layout->addRow(QStringLiteral("&Paper (portrait):"), paper_);
  problem_->setObjectName(QStringLiteral("PageProblem"));
  problem_->setWordWrap(true);
  layout->addRow(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  layout->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(diameter_, &QLineEdit::textChanged, this, &PageOptionsDialog::Check);
  connect(paper_, &QComboBox::currentIndexChanged, this, &PageOptionsDialog::Check);
  Check();
}

std::optional<PageOptions> PageOptionsDialog::Options() const {
  const std::optional<double> diameterMm = ParseLengthMm(diameter_->text().trimmed().toStdString());
  if (!diameterMm) return std::nullopt;
  const PageOptions options{*diameterMm, static_cast<PaperSize>(paper_->currentData().toInt())};
  if (DiskPageMisfit(PageSizeOf(options.paper), options.diameterMm, kInstantPageRowCount)) {
    return std::nullopt;
  }
  return options;
}

void PageOptionsDialog::Check() {
  const std::optional<double> diameterMm = ParseLengthMm(diameter_->text().trimmed().toStdString());
  const auto paper = static_cast<PaperSize>(paper_->currentData().toInt());
  std::optional<std::string> problem;
  if (!diameterMm) {
    problem = "Write the diameter with its unit: 150mm, 15cm or 5.9in.";
  } else if (const auto misfit =
                 DiskPageMisfit(PageSizeOf(paper), *diameterMm, kInstantPageRowCount)) {
    problem = "On " + PaperSizeName(paper) + ", " + *misfit + ".";
  }
  problem_->setText(QString::fromStdString(problem.value_or("")));
  ok_->setEnabled(!problem);
}

std::optional<PageOptions> PageOptionsDialog::Ask(QWidget* parent, const PageOptions& shown) {
  PageOptionsDialog dialog(parent, shown);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Options();
}

}  // namespace helidisk
