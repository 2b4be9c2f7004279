#pragma once
// What the world can do to the database file while the program runs.
#include "platform/SqlLite.h"
#include <QString>

// A disk with no room left, for the database files: while one of these lives, a write that would
// make a file longer (the database, its journal) fails as on a full disk; what the files hold stays.
// It works on the files the program opens from then on, through SQLite's own file layer.
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

// Another program on the same file, holding it locked (no reading, no writing) for as long as it
// likes: longer than the program waits.
class OtherProgram {
public:
    explicit OtherProgram(const QString& file) { db_.OpenDatabase(file, QString()); }
    void Lock() { db_.Execute(QStringLiteral("begin exclusive")); }
    // Writing: others may still read, but not write.
    void LockForWriting() { db_.Execute(QStringLiteral("begin immediate")); }
    void Release() { db_.Execute(QStringLiteral("rollback")); }

private:
    platform::SqlLiteConnection db_;
};
