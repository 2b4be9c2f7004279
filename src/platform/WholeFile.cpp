#include "platform/WholeFile.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// The error a failed write, close, link or rename stands for.
[[noreturn]] void raiseErrno(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        Err::Raise(Err::DiskFull);
    if (error == EACCES || error == EPERM)
        Err::Raise(Err::PermissionDenied);
    Err::Raise(Err::PathFileAccess);
}

// The error a failed open stands for.
[[noreturn]] void raiseOpenError(int error, const QString& path)
{
    if (error == ENOSPC || error == EDQUOT)
        Err::Raise(Err::DiskFull);
    if (!QFileInfo(path).absoluteDir().exists())
        Err::Raise(Err::PathNotFound);
    if (error == EACCES || error == EPERM)
        Err::Raise(Err::PermissionDenied);
    Err::Raise(Err::PathFileAccess);
}

// A file of no name in the folder, to be named once whole: a write killed half way leaves
// nothing behind. -1 where the file system has no such files, or /proc, through which the file
// gets its name, is missing.
int openUnnamed(const QString& folder)
{
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    // As a new file is created: the user's umask applies.
    return ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)folder;
    return -1;
#endif
}

// A hidden name of its own beside the file to be written (a full path).
QByteArray besideName(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// Gives the unnamed file open as fd the target's name. A file already there is replaced in one
// step: the new one gets a name of its own first, which then takes the old one's place.
void nameUnnamed(int fd, const QByteArray& target)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != EEXIST)
        raiseErrno(errno);
    for (int attempt = 0;; ++attempt) {
        const QByteArray beside = besideName(target);
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

} // namespace

WholeFile::WholeFile(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0)
            raiseOpenError(errno, path);
        return;
    }
    const QFileInfo fi(path);
    const QString canonical = fi.isSymLink() ? fi.canonicalFilePath() : QString();
    const QString targetPath = canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
    target_ = QFile::encodeName(targetPath);
    fd_ = openUnnamed(QFileInfo(targetPath).absolutePath());
    if (fd_ >= 0)
        return;
    // No unnamed file here: a new file of a hidden name of its own (the user's umask applies).
    // Only a kill can leave it behind; nothing but this object ever removes it.
    for (int attempt = 0;; ++attempt) {
        beside_ = besideName(target_);
        fd_ = ::open(beside_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return;
        const int error = errno;
        if (error != EEXIST || attempt == 10) {
            beside_.clear();
            raiseOpenError(error, path);
        }
    }
}

WholeFile::~WholeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!beside_.isEmpty())
        ::unlink(beside_.constData());
}

// Writes the bytes whole. A write may take only part of them (a disk that fills does that
// first); the write of the rest then fails and tells why.
void WholeFile::Write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            raiseErrno(written < 0 ? errno : EIO);
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void WholeFile::Commit()
{
    if (target_.isEmpty()) {
        if (::close(std::exchange(fd_, -1)) != 0)
            raiseErrno(errno);
        return;
    }
    struct stat old {};
    if (::stat(target_.constData(), &old) == 0)
        (void)::fchmod(fd_, old.st_mode & 07777);
    // A close can fail: a network share reports there the writes it kept until then. The file
    // takes its name only after that; no wait for the disk.
    if (beside_.isEmpty()) {
        // The unnamed file is named through a second descriptor, once the first closed.
        const int named = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (named < 0)
            raiseErrno(errno);
        if (::close(std::exchange(fd_, named)) != 0)
            raiseErrno(errno);
        nameUnnamed(fd_, target_);
        ::close(std::exchange(fd_, -1));   // nothing was written through it
        return;
    }
    if (::close(std::exchange(fd_, -1)) != 0)
        raiseErrno(errno);
    if (std::rename(beside_.constData(), target_.constData()) != 0)
        raiseErrno(errno);
    beside_.clear();
}

} // namespace platform
