#pragma once
// The windows the program waits on: forms shown modally and the platform's dialogs (message and
// input box, save, print and preview dialogs). Whatever the user does to the windows beneath, a
// waiting window stays within reach: bringing any of them back brings it back too, on top.
#include <functional>

class QDialog;
class QWidget;

namespace platform {

// Watches every window of the program from here on (once; forms and dialogs call it).
void WatchWaitingWindows();

// Runs a dialog of the platform modally over the window it was made for, which may go while the
// dialog waits: the dialog then goes with it. read runs on the dialog once it was answered, while
// it is still there; the dialog is deleted in any case. A dialog that went, or that a confirmed
// exit closed, was not answered: false, and read does not run.
bool RunDialog(QDialog* dialog, const std::function<void(QDialog&)>& read = {});

// Brings the windows the program waits on back to the front (also from minimised), the innermost
// last and active.
void BringWaitingToFront();

// Whether a dialog (a question, an input, a file or print dialog) waits for the user, as opposed
// to a form only.
bool DialogWaiting();

} // namespace platform
