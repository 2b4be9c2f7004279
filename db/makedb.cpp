// Makes a fresh orvendale.db3 from the schema; leaves an existing file alone.
#include "platform/SqlLite.h"
#include <QFile>
#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: verbanto_makedb SCHEMA.sql TARGET.db3\n");
        return 2;
    }
    const QString schema = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (QFile::exists(target))
        return 0;
    QString error;
    if (!platform::CreateDatabaseFile(target, platform::ReadTextFile(schema), &error)) {
        std::fprintf(stderr, "verbanto_makedb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
