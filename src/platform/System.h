#pragma once
// Registry, shell and file services of the desktop.
#include <QString>

namespace platform {

constexpr long HKEY_CLASSES_ROOT = static_cast<long>(0x80000000);
constexpr long HKEY_CURRENT_USER = static_cast<long>(0x80000001);
constexpr long HKEY_LOCAL_MACHINE = static_cast<long>(0x80000002);
constexpr int REG_SZ = 1;
constexpr int REG_DWORD = 4;

// Values under keys, kept in a per-user store. Values under the current user's Run key
// ("SOFTWARE\MICROSOFT\WINDOWS\CURRENTVERSION\RUN\", any case) are desktop autostart entries:
// ~/.config/autostart/<name>.desktop with Exec= the value.
namespace Registry {
bool Read(long root, const QString& path, const QString& name, QString* data, int* type);
void Write(long root, const QString& path, const QString& name, int type, const QString& data);
void Delete(long root, const QString& path, const QString& name);
bool IsRunKey(long root, const QString& path);
QString AutostartFile(const QString& name);
} // namespace Registry

namespace Shell {
// The program that opens web pages ("" when the desktop has none).
QString FindBrowser(const QString& fileForAssociation);
// Starts the program with the given argument; false when it cannot be started.
bool Execute(const QString& program, const QString& argument);
} // namespace Shell

namespace FileSys {
// Copies a file; false when it was not copied (source missing, target exists and failIfExists).
bool Copy(const QString& source, const QString& target, bool failIfExists);
bool Exists(const QString& path);   // an existing file that is not a folder
} // namespace FileSys

} // namespace platform
