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

// Another program that locks the file just when the program comes to it for the n-th time from
// now (counted from 0), for longer than the program waits: the program's statement fails as on a
// locked file (SQLITE_BUSY), with no real time spent waiting. Once: the other program lets go
// right after, and every other time the file is free. Or from then on: every later time is
// refused too, until Off. The program "comes to the file" when it starts to read or write it
// without holding it already: one statement, or several while a recordset stays open.
// Like FullDisk, it works on the files the program opens after it was made.
class LockAt {
public:
    LockAt();
    ~LockAt();
    LockAt(const LockAt&) = delete;
    LockAt& operator=(const LockAt&) = delete;
    // Counts the times from now on and refuses the n-th (and, from then on, the later ones).
    void Once(int n);
    void From(int n);
    // The other program lets go; nothing is counted any more.
    void Off();
    bool Counting() const;
    // The times the program came to the file since Once or From.
    int Times() const;
    // Whether a time was refused since Once or From.
    bool Refused() const;
    // Whether the program began to write the file after a time was refused.
    bool WroteAfterRefusal() const;
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
