#include "harness/DatabaseFaults.h"
#include <sqlite3.h>

namespace {

bool gFull = false;
sqlite3_vfs* gDisk = nullptr;   // the real file layer underneath

// LockAt: counting from Once or From on; the time to refuse and whether the later ones are
// refused too; whether the program is being refused now and has slept (waited for the lock)
// since it was last refused.
struct Lock {
    bool counting = false;
    int target = -1;
    bool lasting = false;
    int times = 0;
    bool refused = false;
    bool holding = false;
    bool waited = false;
    bool wroteAfter = false;
} gLock;

// Our file: the real one follows it in the same allocation.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
};
sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

int fileClose(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (gFull) {
        sqlite3_int64 size = 0;
        const int rc = real(f)->pMethods->xFileSize(real(f), &size);
        if (rc != SQLITE_OK)
            return rc;
        if (offset + amount > size)
            return SQLITE_FULL;   // what the file layer answers when the disk has no room
    }
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); }
int fileSync(sqlite3_file* f, int flags) { return real(f)->pMethods->xSync(real(f), flags); }
int fileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
int fileLock(sqlite3_file* f, int level)
{
    if (gLock.counting && gLock.refused && level >= SQLITE_LOCK_RESERVED)
        gLock.wroteAfter = true;
    if (gLock.counting && level == SQLITE_LOCK_SHARED) {
        if (gLock.holding && gLock.waited) {
            // The program waited and tries again: the other program still holds the file.
            gLock.waited = false;
            return SQLITE_BUSY;
        }
        // A new time: after a refusal once, the program gave up and the other program let go.
        gLock.holding = false;
        const int time = gLock.times++;
        if (time == gLock.target || (gLock.lasting && time > gLock.target)) {
            gLock.refused = true;
            gLock.holding = true;
            gLock.waited = false;
            return SQLITE_BUSY;
        }
    }
    return real(f)->pMethods->xLock(real(f), level);
}
int fileUnlock(sqlite3_file* f, int level) { return real(f)->pMethods->xUnlock(real(f), level); }
int fileReserved(sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int fileControl(sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int fileSector(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int fileDevice(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }

// Version 1: rollback journals only, no shared memory and no memory mapping.
const sqlite3_io_methods kMethods = {1,         fileClose,    fileRead,    fileWrite,  fileTruncate, fileSync,   fileSize,
                                     fileLock,  fileUnlock,   fileReserved, fileControl, fileSector, fileDevice, nullptr,
                                     nullptr,   nullptr,      nullptr,     nullptr,    nullptr};

int diskOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    auto* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->real->pMethods = nullptr;
    const int rc = gDisk->xOpen(gDisk, name, file->real, flags, outFlags);
    f->pMethods = file->real->pMethods ? &kMethods : nullptr;
    return rc;
}
int diskDelete(sqlite3_vfs*, const char* name, int syncDir) { return gDisk->xDelete(gDisk, name, syncDir); }
int diskAccess(sqlite3_vfs*, const char* name, int flags, int* out) { return gDisk->xAccess(gDisk, name, flags, out); }
int diskFullPath(sqlite3_vfs*, const char* name, int size, char* out) { return gDisk->xFullPathname(gDisk, name, size, out); }
int diskRandom(sqlite3_vfs*, int size, char* out) { return gDisk->xRandomness(gDisk, size, out); }
int diskSleep(sqlite3_vfs*, int micro)
{
    if (gLock.holding) {
        gLock.waited = true;   // the program's wait for the lock: it takes no real time here
        return micro;
    }
    return gDisk->xSleep(gDisk, micro);
}
int diskTime(sqlite3_vfs*, double* now) { return gDisk->xCurrentTime(gDisk, now); }
int diskLastError(sqlite3_vfs*, int size, char* out) { return gDisk->xGetLastError(gDisk, size, out); }

sqlite3_vfs& layer()
{
    static sqlite3_vfs vfs = [] {
        gDisk = sqlite3_vfs_find(nullptr);
        sqlite3_vfs v{};
        v.iVersion = 1;
        v.szOsFile = static_cast<int>(sizeof(File)) + gDisk->szOsFile;
        v.mxPathname = gDisk->mxPathname;
        v.zName = "verbanto-full-disk";
        v.xOpen = diskOpen;
        v.xDelete = diskDelete;
        v.xAccess = diskAccess;
        v.xFullPathname = diskFullPath;
        v.xRandomness = diskRandom;
        v.xSleep = diskSleep;
        v.xCurrentTime = diskTime;
        v.xGetLastError = diskLastError;
        return v;
    }();
    return vfs;
}

} // namespace

FullDisk::FullDisk()
{
    sqlite3_vfs_register(&layer(), 1);
    gFull = true;
}

FullDisk::~FullDisk() { gFull = false; }

LockAt::LockAt() { sqlite3_vfs_register(&layer(), 1); }

LockAt::~LockAt() { Off(); }

void LockAt::Once(int n) { gLock = Lock{true, n, false, 0, false, false, false, false}; }

void LockAt::From(int n) { gLock = Lock{true, n, true, 0, false, false, false, false}; }

void LockAt::Off() { gLock = Lock{}; }

bool LockAt::Counting() const { return gLock.counting; }

int LockAt::Times() const { return gLock.times; }

bool LockAt::Refused() const { return gLock.refused; }

bool LockAt::WroteAfterRefusal() const { return gLock.wroteAfter; }
