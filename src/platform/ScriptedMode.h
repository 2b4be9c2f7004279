#pragma once
// Scripted mode for the tests: the message box, input box, save dialog, print preview,
// popup menus and modal windows answer from queues and record what they were shown,
// so a test can drive the windows as a user would.
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace platform {
class Form;

namespace Script {

struct Shown {
    QString kind;      // "msgbox", "inputbox", "save", "preview", "modal", "plainmsgbox", "balloon", "popup", "browser"
    QString prompt;    // the text shown (for "modal": the form's name; for "preview": the page)
    int style = 0;
    QString title;
};

bool Active();
void Enable();                 // tests switch it on once, before any window opens

// What the user answers, in order.
void AnswerMsgBox(int buttonCode);          // for questions; OK-only boxes answer themselves
void AnswerInputBox(const QString& text);   // "" = cancel
void AnswerSaveDialog(const QString& path); // "" = cancel
// The next modal window must be the named one; the driver plays the user on it.
void ExpectModal(const QString& formName, std::function<void(Form&)> driver);

// Forgets the modal windows still expected: one that closed in its own opening never came.
void ForgetExpectedModals();

// What the system showed, in order.
std::vector<Shown>& History();
std::vector<Shown> Of(const QString& kind);
void Clear();

// Called by the platform.
int NextMsgBoxAnswer(const QString& prompt, int style, const QString& title);
QString NextInputBoxAnswer(const QString& prompt, const QString& title);
QString NextSaveDialogAnswer(const QString& filter);
void RunModal(Form& form);
void Record(const Shown& s);
// Pending answers nobody asked for, for the test's closing check.
int PendingAnswers();

// How a script fault is reported (the tests make it a test failure).
void SetFailureHandler(std::function<void(const QString&)> h);
void Fail(const QString& message);

} // namespace Script
} // namespace platform
