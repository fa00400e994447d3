// What the window's event handlers ask of the application object: a
// boundary that keeps a failed check inside the event that raised it, the
// report of that error, the hand-over of pending events to the loop, and
// the request to end the program.
#pragma once

#include <QString>
#include <functional>

namespace helidisk {

// Shows the message of an error that aborted an event handler.
using ErrorReporter = std::function<void(const QString& message)>;
// Ends the message loop.
using TerminationRequest = std::function<void()>;

// Runs one handler's body.  A failed check ("Integer overflow", "Range
// check error") or any other standard exception ends the event where it was
// raised and is reported with its message exactly as it stands; nothing
// propagates into Qt's event loop, which goes on with the next event.
//
// A handler that another handler's body runs directly (the scroll bar's
// change handler when a handler sets the position) belongs to the same
// event: its error ends the outer handler too and is reported once.
// Handlers that run from the loop inside ProcessPendingEvents are events of
// their own.
void RunHandler(const std::function<void()>& body);

// Lets the message loop handle every pending event now, from inside a
// handler.
void ProcessPendingEvents();

// The default reporter shows a modal message box.  Each setter returns the
// one it replaces, so that a test can put it back.
ErrorReporter SetErrorReporter(ErrorReporter reporter);
TerminationRequest SetTerminationRequest(TerminationRequest request);

// Shows a message the way the errors of handlers are shown: for failures a
// handler reports itself and goes on from (a file that cannot be written).
void ReportError(const QString& message);

// Asks the message loop to end once it gets control back; by default
// QCoreApplication::quit().
void RequestTermination();

}  // namespace helidisk
