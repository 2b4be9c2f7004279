// CSV export of a list grid: the dialogue with the user and the file itself.
#include "shared/basGeneralCsv.h"
#include "platform/SaveFileDialog.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/TracedProcedure.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace verbanto {

namespace {

const QString Title = QStringLiteral("Gestione Verbanto");

// The error a failed open or write stands for.
[[noreturn]] void raiseFileError(const QFileDevice& f, const QString& fileName, bool opening)
{
    if (f.error() == QFileDevice::ResourceError)
        platform::Err::Raise(platform::Err::DiskFull);
    if (opening) {
        const QFileInfo fi(fileName);
        if (!fi.absoluteDir().exists())
            platform::Err::Raise(platform::Err::PathNotFound);
        if (f.error() == QFileDevice::PermissionsError)
            platform::Err::Raise(platform::Err::PermissionDenied);
    }
    platform::Err::Raise(platform::Err::PathFileAccess);
}

// The error a failed rename or link stands for.
[[noreturn]] void raiseErrno(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        platform::Err::Raise(platform::Err::DiskFull);
    if (error == EACCES || error == EPERM)
        platform::Err::Raise(platform::Err::PermissionDenied);
    platform::Err::Raise(platform::Err::PathFileAccess);
}

// Writes the bytes whole. A write may take only part of them (a disk that fills does that
// first); the write of the rest then fails and tells why.
void writeAll(QFile& out, const char* data, qint64 size, const QString& fileName)
{
    while (size > 0) {
        const qint64 written = out.write(data, size);
        if (written <= 0)
            raiseFileError(out, fileName, false);
        data += written;
        size -= written;
    }
}

// One line per grid row: every field quoted with inner quotes doubled, ";" between, CRLF after;
// "IDFIELD" columns left out. Written in blocks, straight from the cell store.
void writeGrid(platform::FlexGrid& grid, QFile& out, const QString& fileName)
{
    const platform::CellStore& cells = grid.Cells();
    std::vector<int> cols;
    for (int c = 0; c < cells.Cols(); ++c)
        if (cells.cell(0, c) != "IDFIELD")
            cols.push_back(c);
    constexpr size_t BlockSize = 1 << 16;
    std::vector<char> block(BlockSize);
    size_t used = 0;
    const auto flush = [&] {
        writeAll(out, block.data(), static_cast<qint64>(used), fileName);
        used = 0;
    };
    // Room for n more bytes in the block.
    const auto room = [&](size_t n) -> char* {
        if (used + n > block.size()) {
            flush();
            if (n > block.size())
                block.resize(n);
        }
        return block.data() + used;
    };
    for (int r = 0; r < cells.Rows(); ++r) {
        for (size_t i = 0; i < cols.size(); ++i) {
            std::string_view text = cells.cell(r, cols[i]);
            // At most every byte a quote, written twice, the separator, two quotes and the line end.
            char* p = room(2 * text.size() + 5);
            if (i > 0)
                *p++ = ';';
            *p++ = '"';
            for (size_t quote; (quote = text.find('"')) != std::string_view::npos; text.remove_prefix(quote + 1)) {
                std::memcpy(p, text.data(), quote + 1);
                p += quote + 1;
                *p++ = '"';
            }
            if (!text.empty()) {
                std::memcpy(p, text.data(), text.size());
                p += text.size();
            }
            *p++ = '"';
            used = static_cast<size_t>(p - block.data());
        }
        char* p = room(2);
        p[0] = '\r';
        p[1] = '\n';
        used += 2;
    }
    flush();
}

// Closes the file; a failure (a write the system kept until now) is raised.
void closeChecked(QFile& f, const QString& fileName)
{
    f.close();
    if (f.error() != QFileDevice::NoError)
        raiseFileError(f, fileName, false);
}

// Opens a file of no name in the folder, to be named once whole: an export killed half way
// leaves nothing behind. False where the file system has no such files, or /proc, through
// which the file gets its name, is missing.
bool openUnnamed(QFile& f, const QString& folder)
{
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) != 0)
        return false;
    // As a new file is created: the user's umask applies.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    if (f.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
#else
    (void)f;
    (void)folder;
#endif
    return false;
}

// A hidden name of its own beside the file to be written.
QString besideName(const QString& finalName)
{
    const QFileInfo fi(finalName);
    return fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate(), 36);
}

// Where no unnamed file can be made: a new file of a name of its own beside the one to be
// written (as a new file is created: the user's umask applies).
void openBeside(QFile& f, const QString& finalName, const QString& fileName)
{
    for (int attempt = 0;; ++attempt) {
        f.setFileName(besideName(finalName));
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return;
        if (!QFileInfo::exists(f.fileName()) || attempt == 10)
            raiseFileError(f, fileName, true);
    }
}

// Clears what an export killed half way left beside the file under a hidden name (as exports
// once all did, and still do where no unnamed file can be made). Only once an hour old: an
// export still writing, in another instance of the program, keeps its file fresh.
void removeStalePartials(const QString& finalName)
{
    const QFileInfo fi(finalName);
    const QRegularExpression partial(QStringLiteral("^\\.") + QRegularExpression::escape(fi.fileName()) +
                                     QStringLiteral("\\.[0-9a-z]{1,7}$"));
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QDirIterator it(fi.absolutePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext()) {
        const QFileInfo f = it.nextFileInfo();
        if (partial.match(f.fileName()).hasMatch() && f.lastModified() < stale)
            QFile::remove(f.absoluteFilePath());
    }
}

// Gives the open unnamed file its name. A file already there is replaced in one step: the new
// one gets a name of its own first, which then takes the old one's place.
void nameUnnamed(QFile& f, const QString& finalName)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(f.handle());
    const QByteArray target = QFile::encodeName(finalName);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != EEXIST)
        raiseErrno(errno);
    for (int attempt = 0;; ++attempt) {
        const QByteArray beside = QFile::encodeName(besideName(finalName));
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, beside.constData(), AT_SYMLINK_FOLLOW) == 0) {
            if (std::rename(beside.constData(), target.constData()) == 0)
                return;
            const int error = errno;
            ::unlink(beside.constData());
            raiseErrno(error);
        }
        if (errno != EEXIST || attempt == 10)
            raiseErrno(errno);
    }
}

// The export proper; false when it failed (the failure has been reported).
bool saveGrid(platform::FlexGrid& grid, const QString& fileName)
{
    return ModProc("basGeneral", "xMSFlexGrid_Save", [&] {
        const QFileInfo target(fileName);
        if (target.exists() && !target.isFile()) {
            // A device or pipe is written into, never replaced.
            QFile f(fileName);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                raiseFileError(f, fileName, true);
            writeGrid(grid, f, fileName);
            closeChecked(f, fileName);
            return true;
        }
        // The new file takes the old one's place only once it is whole: a failed write
        // leaves the old file as it was and no half-written one. The rename alone gives that;
        // no wait for the disk.
        const QString canonical = target.isSymLink() ? target.canonicalFilePath() : QString();
        const QString finalName = canonical.isEmpty() ? fileName : canonical;   // a link stays a link
        removeStalePartials(finalName);
        QFile f;
        const bool unnamed = openUnnamed(f, QFileInfo(finalName).absolutePath());
        if (!unnamed)
            openBeside(f, finalName, fileName);
        try {
            writeGrid(grid, f, fileName);
            struct stat old {};
            if (::stat(QFile::encodeName(finalName).constData(), &old) == 0)
                (void)::fchmod(f.handle(), old.st_mode & 07777);
            if (unnamed)
                nameUnnamed(f, finalName);
            closeChecked(f, fileName);
            if (!unnamed && std::rename(QFile::encodeName(f.fileName()).constData(),
                                        QFile::encodeName(finalName).constData()) != 0)
                raiseErrno(errno);
        } catch (...) {
            f.close();
            if (!unnamed)
                QFile::remove(f.fileName());
            throw;
        }
        return true;
    });
}

} // namespace

void esportaCSV(platform::FlexGrid& grid)
{
    ModProc("basGeneral", "esportaCSV", [&] {
        platform::SaveFileDialog dialog;
        dialog.setFilter(QStringLiteral("File CSV|*.csv"));
        dialog.ShowSave();
        QString path = dialog.FileName();
        if (path.isEmpty())
            return;
        path = path.trimmed();
        if (path.right(4).toUpper() != QLatin1String(".CSV"))
            path += QStringLiteral(".csv");
        if (FileExists(path)) {
            const int answer = MyMsgBox(QStringLiteral("Il file ") + path +
                                            QStringLiteral(" già esiste. Sei sicuro di volerlo sovrascrivere?"),
                                        platform::vbYesNo, Title);
            if (answer == platform::vbNo)
                return;
        }
        if (!saveGrid(grid, path))
            return;   // the failure has been reported; nothing was exported
        MyMsgBox(QStringLiteral("I dati sono stati esportati con successo sul file ") + path, platform::vbExclamation, Title);
    });
}

void xMSFlexGrid_Save(platform::FlexGrid& grid, const QString& fileName) { saveGrid(grid, fileName); }

} // namespace verbanto
