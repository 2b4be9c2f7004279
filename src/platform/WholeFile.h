#pragma once
// A file written whole or not at all. It takes its name only once every byte was written and
// it was closed without error; a file already of that name is replaced in one step, keeping its
// permission bits (a new file gets the user's umask). A link stays a link: the file it points to
// is replaced. A device or pipe is written into, never replaced. Destroyed without Commit it
// leaves the old file as it was and nothing else behind. Failures raise platform::Err errors.
#include <QByteArray>
#include <QString>
#include <cstddef>

namespace platform {

class WholeFile {
public:
    explicit WholeFile(const QString& path);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    void Write(const char* data, size_t size);
    void Commit();

private:
    int fd_ = -1;
    QByteArray target_;   // the name the file takes; empty for a device or pipe written into
    QByteArray beside_;   // the hidden name it is written under where the system has no unnamed files
};

} // namespace platform
