#pragma once
// A file written whole or not at all where a new file can take the old one's place. The new file
// takes its name only once every byte was written and it was closed without error; a file already
// of that name is replaced in one step where the new one can have all it had: its only name, its
// owner, group and permission bits (a new file gets the user's umask). Otherwise (a second name,
// an owner or group this user cannot give, a folder this user cannot write) the old file is
// written into, as a device or pipe is: every name sees what was written, and a failure leaves it
// part written. A file this user may not write is refused either way. A link stays a link: the
// file it names, made where missing, is written. Destroyed without Commit, a replacement leaves
// the old file as it was and nothing else behind. Failures raise platform::Err errors.
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
    QByteArray target_;   // the name the file takes; empty for a file written into
    QByteArray beside_;   // the hidden name it is written under where the system has no unnamed files
};

} // namespace platform
