// The grid at list scale: filling 100,000 rows x 17 texts (time and memory), the date sort of
// 100,000 rows, and the CSV export against the same CSV written straight from SQLite.
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCsv.h"
#include "shared/basGeneralCustom.h"
#include "shared/basGeneralCustomSort.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <string>

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 17;

class BenchForm : public platform::Form {
public:
    BenchForm() : Form("frmBench") {}
    platform::FlexGrid* grid = nullptr;
    void CreateControls() override
    {
        grid = Add<platform::FlexGrid>("MSFlexGrid1");
        grid->Move(0, 0, 9000, 6000);
    }
};

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long rssKb()
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

QString cellText(int r, int c)
{
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "r%d c%d", r, c);
    return QString::fromLatin1(buf, n);
}

QString dateText(int r)
{
    // A spread of days over forty years, in no order.
    const QDate d = QDate(1990, 1, 1).addDays((static_cast<long long>(r) * 7919) % 14600);
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day(), d.month(), d.year());
    return QString::fromLatin1(buf, n);
}

// The same file written from SQLite rows with the C API: quoted fields, ";" and CRLF.
double sqliteCsv(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    std::string create = "create table t (";
    for (int c = 0; c < Cols; ++c)
        create += (c ? ", c" : "c") + std::to_string(c) + " text";
    create += ")";
    sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    std::string insert = "insert into t values (";
    for (int c = 0; c < Cols; ++c)
        insert += c ? ",?" : "?";
    insert += ")";
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(db, insert.c_str(), -1, &ins, nullptr);
    for (int r = 0; r <= Rows; ++r) {
        for (int c = 0; c < Cols; ++c) {
            const std::string v = (r == 0 ? QStringLiteral("Col%1").arg(c) : c == 3 ? dateText(r) : cellText(r, c)).toStdString();
            sqlite3_bind_text(ins, c + 1, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);

    const auto t0 = std::chrono::steady_clock::now();
    FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    sqlite3_stmt* sel = nullptr;
    sqlite3_prepare_v2(db, "select * from t", -1, &sel, nullptr);
    std::string line;
    while (sqlite3_step(sel) == SQLITE_ROW) {
        line.clear();
        for (int c = 0; c < Cols; ++c) {
            if (c)
                line += ';';
            line += '"';
            const char* v = reinterpret_cast<const char*>(sqlite3_column_text(sel, c));
            for (; v && *v; ++v) {
                if (*v == '"')
                    line += '"';
                line += *v;
            }
            line += '"';
        }
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    sqlite3_finalize(sel);
    std::fclose(out);
    const double s = seconds(t0);
    sqlite3_close(db);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchForm form;
    form.Load();
    platform::FlexGrid& g = *form.grid;

    // What making the texts alone costs, to tell it from the grid's part.
    std::vector<QString> row(Cols);
    auto t0 = std::chrono::steady_clock::now();
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            row[static_cast<size_t>(c)] = c == 3 ? dateText(r) : cellText(r, c);
    const double texts = seconds(t0);

    // Fill
    const long rss0 = rssKb();
    t0 = std::chrono::steady_clock::now();
    g.setRows(1);
    g.setCols(Cols);
    for (int c = 0; c < Cols; ++c)
        g.setTextMatrix(0, c, QStringLiteral("Col%1").arg(c));
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 0; c < Cols; ++c)
            row[static_cast<size_t>(c)] = c == 3 ? dateText(r) : cellText(r, c);
        g.AppendRow(row);
    }
    g.sync();
    const double fill = seconds(t0);
    const long rss1 = rssKb();
    std::printf("fill %d rows x %d cols: %.3f s (target < 1 s; making the texts alone %.3f s), memory +%.1f MB "
                "(target < 150 MB)\n",
                Rows, Cols, fill, texts, (rss1 - rss0) / 1024.0);

    // Date sort
    g.setCol(3);
    t0 = std::chrono::steady_clock::now();
    verbanto::sortGridByDate(g, 3, 3);
    g.sync();
    const double sort = seconds(t0);
    std::printf("sortGridByDate %d rows: %.3f s (target < 1 s); first %s, last %s\n", Rows, sort,
                qPrintable(g.TextMatrix(1, 3)), qPrintable(g.TextMatrix(Rows, 3)));

    // CSV, grid order restored so that both files hold the same rows
    g.setRows(1);
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 0; c < Cols; ++c)
            row[static_cast<size_t>(c)] = c == 3 ? dateText(r) : cellText(r, c);
        g.AppendRow(row);
    }
    const QString gridFile = dir.path() + QStringLiteral("/grid.csv");
    const QString sqlFile = dir.path() + QStringLiteral("/sqlite.csv");
    t0 = std::chrono::steady_clock::now();
    verbanto::xMSFlexGrid_Save(g, gridFile);
    const double save = seconds(t0);
    const double direct = sqliteCsv(sqlFile);
    QFile a(gridFile), b(sqlFile);
    a.open(QIODevice::ReadOnly);
    b.open(QIODevice::ReadOnly);
    const bool same = a.readAll() == b.readAll();
    std::printf("xMSFlexGrid_Save %d x %d: %.3f s; sqlite3 C API: %.3f s; ratio %.2f (target within 3x); files %s\n", Rows,
                Cols, save, direct, direct > 0 ? save / direct : 0.0, same ? "identical" : "DIFFER");
    form.Unload();
    return same ? 0 : 1;
}
