#pragma once
// The running program: its folder, its command line, its title.
#include <QString>

namespace platform {
namespace App {
QString Path();                      // the program's folder, without a trailing "/"
void setPath(const QString& folder); // tests run in a folder of their own
QString CommandLine();               // the arguments after the program's name, joined by blanks
void setCommandLine(const QString& cmd);
QString ExePath();                   // full path of the executable
QString Title();                     // "Gestione Verbanto"
QString IconPath();                  // the program's icon
void DoEvents();
} // namespace App
} // namespace platform
