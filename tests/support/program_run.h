// A program run as a separate process to its end, as a user runs it from a
// shell: its exit status and both output streams.  `inChild` runs in the
// child between fork and exec (to limit its resources or close a stream).
#pragma once

#include <QProcess>
#include <functional>

namespace helidisk::fakes {

struct ProgramOutcome {
  int exitCode = -1;  // -1: crashed, or not ended within two minutes
  QByteArray out;
  QByteArray err;
};

inline ProgramOutcome RunProgram(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const std::function<void()>& inChild = {}) {
  QProcess process;
  process.setProcessEnvironment(environment);
  if (inChild) process.setChildProcessModifier(inChild);
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return {};
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

}  // namespace helidisk::fakes
