#include "application.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <utility>

namespace helidisk {
namespace {

void ShowErrorMessageBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), message,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

ErrorReporter& CurrentReporter() {
  static ErrorReporter reporter = ShowErrorMessageBox;
  return reporter;
}

TerminationRequest& CurrentTerminationRequest() {
  static TerminationRequest request = [] { QCoreApplication::quit(); };
  return request;
}

// How many handler bodies of the event being handled are on the stack.
int handlersRunning = 0;

class HandlerDepth {
 public:
  explicit HandlerDepth(int depth) : saved_(std::exchange(handlersRunning, depth)) {}
  ~HandlerDepth() { handlersRunning = saved_; }
  HandlerDepth(const HandlerDepth&) = delete;
  HandlerDepth& operator=(const HandlerDepth&) = delete;

 private:
  int saved_;
};

}  // namespace

void RunHandler(const std::function<void()>& body) {
  if (handlersRunning > 0) {
    body();
    return;
  }
  QString message;
  try {
    const HandlerDepth inHandler(1);
    body();
    return;
  } catch (const std::exception& error) {
    message = QString::fromUtf8(error.what());
  }
  // Reported outside the boundary: the message box's own loop handles the
  // next events as events of their own.
  CurrentReporter()(message);
}

void ProcessPendingEvents() {
  const HandlerDepth inLoop(0);
  QCoreApplication::processEvents();
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
  return std::exchange(CurrentReporter(), std::move(reporter));
}

TerminationRequest SetTerminationRequest(TerminationRequest request) {
  return std::exchange(CurrentTerminationRequest(), std::move(request));
}

void ReportError(const QString& message) { CurrentReporter()(message); }

void RequestTermination() { CurrentTerminationRequest()(); }

}  // namespace helidisk
