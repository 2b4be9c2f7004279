#include "platform/WholeFile.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
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
int openUnnamed(const QByteArray& folder)
{
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    // As a new file is created: the user's umask applies.
    return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)folder;
    return -1;
#endif
}

// A hidden name of its own beside the file to be written (a full path). It fits the folder's
// file system: the part taken from the target's name is cut, never within a character.
QByteArray besideName(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const QByteArray name = target.mid(slash + 1);
    const QByteArray tail = '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    qsizetype keep = std::clamp<qsizetype>(longest - 1 - tail.size(), 0, name.size());
    while (keep > 0 && keep < name.size() && (name[keep] & 0xC0) == 0x80)
        --keep;
    return folder + '.' + name.left(keep) + tail;
}

// The name a path stands for at the end of its links, followed as the system does: a relative
// link from the folder that holds it. A link to a file not made yet names where it is to be made.
QByteArray followLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {   // as many as the system follows
        char to[PATH_MAX];
        const ssize_t size = ::readlink(path.constData(), to, sizeof to);
        if (size < 0)
            return path;
        if (size == sizeof to)
            raiseErrno(ENAMETOOLONG);
        path = to[0] == '/' ? QByteArray(to, size) : path.left(path.lastIndexOf('/') + 1) + QByteArray(to, size);
    }
    raiseErrno(ELOOP);
}

// Gives the new file, open as fd, the owner, group and permission bits of the old one; false
// where it cannot have them all.
bool carries(int fd, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid)
        (void)::fchown(fd, now.st_uid != old.st_uid ? old.st_uid : uid_t(-1),
                       now.st_gid != old.st_gid ? old.st_gid : gid_t(-1));
    (void)::fchmod(fd, old.st_mode & 07777);
    return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 07777) == (old.st_mode & 07777);
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
    QByteArray given = QFile::encodeName(path);
    if (!given.startsWith('/'))
        given = QFile::encodeName(QDir::currentPath()) + '/' + given;
    struct stat old {};
    const bool exists = ::stat(given.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        fd_ = ::open(given.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0)
            raiseOpenError(errno, path);
        return;
    }
    const QByteArray target = followLinks(given);
    const QString targetPath = QFile::decodeName(target);
    // A file already there is opened for writing as a plain write would: the system tells
    // whether this user may write it.
    int existing = -1;
    if (exists) {
        existing = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
        if (existing < 0 || ::fstat(existing, &old) != 0) {
            const int error = errno;
            if (existing >= 0)
                ::close(existing);
            raiseOpenError(error, targetPath);
        }
    }
    target_ = target;
    if (!exists || old.st_nlink == 1) {
        fd_ = openUnnamed(target.left(target.lastIndexOf('/') + 1));
        // No unnamed file here: a new file of a hidden name of its own (the user's umask applies).
        // Only a kill can leave it behind; nothing but this object ever removes it.
        for (int attempt = 0; fd_ < 0; ++attempt) {
            beside_ = besideName(target_);
            fd_ = ::open(beside_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            const int error = errno;
            if (fd_ >= 0)
                break;
            beside_.clear();
            if (existing >= 0 && (error == EACCES || error == EPERM))
                break;   // a folder this user cannot write
            if (error != EEXIST || attempt == 10) {
                if (existing >= 0)
                    ::close(existing);
                raiseOpenError(error, targetPath);
            }
        }
        if (existing < 0)
            return;
        if (fd_ >= 0 && carries(fd_, old)) {
            ::close(existing);
            return;
        }
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
        if (!beside_.isEmpty())
            ::unlink(std::exchange(beside_, QByteArray()).constData());
    }
    // No new file can take the old one's place with all it had (its other names, an owner or
    // group this user cannot give, a folder this user cannot write): the old one is written into.
    target_.clear();
    fd_ = existing;
    if (::ftruncate(fd_, 0) != 0) {
        const int error = errno;
        ::close(std::exchange(fd_, -1));
        raiseErrno(error);
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
