// The plain SQLite C API work the lists are measured against: one query's rows written as CSV
// text to a file (every field in double quotes with inner quotes doubled, ";" between, CRLF
// after, the column names first), in a process that holds SQLite alone.
// Usage: plain_sqlite_csv DATABASE QUERY OUTPUT; prints the number of rows.
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DATABASE QUERY OUTPUT\n", argv[0]);
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 3;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, argv[2], -1, &st, nullptr) != SQLITE_OK)
        return 4;
    FILE* f = std::fopen(argv[3], "wb");
    if (!f)
        return 5;
    const int cols = sqlite3_column_count(st);
    std::string line;
    auto field = [&](const char* v, int n) {
        line += '"';
        for (int k = 0; k < n; ++k) {
            if (v[k] == '"')
                line += '"';
            line += v[k];
        }
        line += '"';
    };
    for (int c = 0; c < cols; ++c) {
        if (c)
            line += ';';
        const char* name = sqlite3_column_name(st, c);
        field(name, static_cast<int>(std::strlen(name)));
    }
    line += "\r\n";
    long rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            if (c)
                line += ';';
            field(reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
        }
        line += "\r\n";
        if (line.size() > 60000) {
            std::fwrite(line.data(), 1, line.size(), f);
            line.clear();
        }
        ++rows;
    }
    std::fwrite(line.data(), 1, line.size(), f);
    const bool written = std::fclose(f) == 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    std::printf("%ld\n", rows);
    return written ? 0 : 6;
}
