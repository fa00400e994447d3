// A control of the window under test, found by its object name; a name
// that no control has ends the test program, naming it.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace helidisk::fakes {

template <typename T>
T* ControlNamed(const QObject& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) qFatal("no control %s", name);
  return control;
}

}  // namespace helidisk::fakes
