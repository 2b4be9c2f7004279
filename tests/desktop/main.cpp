// The desktop tests drive the real program on X servers of their own; this process only needs an
// event loop (D-Bus, waiting). Started with --hold-database it is the other program that holds
// the database file for a while.
#include "platform/SqlLite.h"
#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace {
int holdDatabase(const char* file, int ms)
{
    try {
        platform::SqlLiteConnection c;
        c.OpenDatabase(QString::fromLocal8Bit(file), QString());
        c.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
        std::printf("held\n");   // the session waits for this line
        std::fflush(stdout);
        QThread::msleep(static_cast<unsigned long>(ms));
        c.Execute(QStringLiteral("ROLLBACK"));
        return 0;
    } catch (...) {
        return 1;   // the program itself had it: nothing held this time
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--hold-database") == 0)
        return holdDatabase(argv[2], std::atoi(argv[3]));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
