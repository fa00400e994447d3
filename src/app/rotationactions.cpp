#include "rotationactions.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <string_view>

#include "instantsteps.h"

namespace helidisk {

namespace {

struct StepItem {
  const char* text;
  const char* name;
  double hours;
  QKeyCombination shortcut;
};

// Ctrl with the arrows for an hour, Ctrl+Shift with them for a day, Ctrl
// with the page keys for a rotation: the scroll bar's own keys without Ctrl
// still move it by its small and large change.
const StepItem kStepItems[] = {
    {"&Forward an hour", "GoHourForward1", kHourStepHours, Qt::CTRL | Qt::Key_Right},
    {"&Back an hour", "GoHourBack1", -kHourStepHours, Qt::CTRL | Qt::Key_Left},
    {"Forward a d&ay", "GoDayForward1", kDayStepHours, Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
    {"Back a da&y", "GoDayBack1", -kDayStepHours, Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
    {"Forward a Carrington &rotation", "GoRotationForward1", kCarringtonRotationStepHours,
     Qt::CTRL | Qt::Key_PageDown},
    {"Back a Carrington ro&tation", "GoRotationBack1", -kCarringtonRotationStepHours,
     Qt::CTRL | Qt::Key_PageUp},
};

struct ModelItem {
  std::string_view model;
  const char* text;
};

const ModelItem kModelItems[] = {
    {"rigid", "&Rigid (Carrington, 14.1844°/day)"},
    {"howard", "&Howard et al. (1990)"},
    {"snodgrass", "&Snodgrass (1983)"},
    {"allen", "&Allen (sunspots)"},
};

// The menu text without its accelerator mark.
QString PlainText(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

RotationActions::RotationActions(QMenu* goMenu, QObject* parent) : QObject(parent) {
  AddSteps(goMenu);
  AddModels(goMenu);
}

void RotationActions::AddSteps(QMenu* goMenu) {
  goMenu->addSeparator();
  for (const StepItem& item : kStepItems) {
    QAction* action = goMenu->addAction(QString::fromUtf8(item.text));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(QKeySequence(item.shortcut));
    // Also while the points' table floats beside the window with the focus.
    action->setShortcutContext(Qt::ApplicationShortcut);
    const double hours = item.hours;
    connect(action, &QAction::triggered, this, [this, hours] { emit StepRequested(hours); });
  }
}

void RotationActions::AddModels(QMenu* goMenu) {
  goMenu->addSeparator();
  QMenu* submenu = goMenu->addMenu(QStringLiteral("Rotation &law of the points"));
  submenu->setObjectName(QStringLiteral("RotationLaw1"));
  models_ = new QActionGroup(this);
  models_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (const ModelItem& item : kModelItems) {
    QAction* action = submenu->addAction(QString::fromUtf8(item.text));
    action->setObjectName(QStringLiteral("RotationModel_") +
                          QString::fromUtf8(item.model.data(), item.model.size()));
    action->setCheckable(true);
    action->setChecked(item.model == kDefaultRotationModel);
    action->setData(QString::fromUtf8(item.model.data(), item.model.size()));
    models_->addAction(action);
  }
  connect(models_, &QActionGroup::triggered, this, [this] { emit ModelChosen(); });
}

const RotationModel& RotationActions::ChosenModel() const {
  const QByteArray name = models_->checkedAction()->data().toString().toUtf8();
  return *RotationModelNamed(std::string_view(name.constData(), name.size()));
}

QString RotationActions::LawName() const { return PlainText(models_->checkedAction()->text()); }

QString RotationActions::PointsTitle() const {
  return QStringLiteral("Measured points — ") + LawName();
}

}  // namespace helidisk
