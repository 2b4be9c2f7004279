#pragma once
// The message box and input box component. Styles: 16 critical, 48 exclamation, 64 information
// (each with OK), 4 Yes/No without icon. Button codes: 1 OK, 6 Yes, 7 No.
#include <QString>
#include <memory>

class QMessageBox;

namespace platform {

constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;

class MsgBoxDialog {
public:
    int MsgBox(const QString& prompt, int style, const QString& title);
    // The typed text; empty when cancelled.
    QString InputBox(const QString& prompt, const QString& title);
};

// The message box as MsgBox shows it, before it runs: wide enough for its whole caption.
std::unique_ptr<QMessageBox> BuildMessageBox(const QString& prompt, int style, const QString& title);
// What a caption bar needs beside its caption: icon, buttons and gaps, for a caption font's height.
int TitleBarExtras(int titleTextHeight);

// The platform's plain message box (OK only, the program's default title).
void PlainMsgBox(const QString& prompt);

} // namespace platform
