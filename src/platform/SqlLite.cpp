#include "platform/SqlLite.h"
#include "platform/UserAction.h"
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <charconv>
#include <iterator>
#include <string>
#include <sqlite3.h>

namespace platform {

namespace {
bool gOpenReadOnly = false;

// Another program holds the file: the user action under way has met its fault.
void noteLocked(int rc)
{
    if ((rc & 0xFF) == SQLITE_BUSY)
        UserAction::MetLockedDatabase();
}

[[noreturn]] void raiseSqlite(sqlite3* db, int rc)
{
    noteLocked(rc);
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    Err::Raise(rc, msg);
}

// SQLite's own wait for a file another program holds (the same steps, up to BusyTimeoutMs), but
// none once the user action under way has met the lock: what follows from it fails at once.
int waitForLock(void*, int count)
{
    if (UserAction::LockedDatabaseMet())
        return 0;
    static constexpr int delays[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    static constexpr int totals[] = {0, 1, 3, 8, 18, 33, 53, 78, 103, 128, 178, 228};
    constexpr int steps = static_cast<int>(std::size(delays));
    int delay = delays[steps - 1];
    int prior = totals[steps - 1] + delay * (count - (steps - 1));
    if (count < steps) {
        delay = delays[count];
        prior = totals[count];
    }
    if (prior + delay > SqlLiteConnection::BusyTimeoutMs) {
        delay = SqlLiteConnection::BusyTimeoutMs - prior;
        if (delay <= 0)
            return 0;
    }
    sqlite3_sleep(delay);
    return 1;
}

std::shared_ptr<sqlite3> requireDb(const std::shared_ptr<sqlite3>& db)
{
    if (!db)
        Err::Raise(Err::ObjectClosed);
    return db;
}

Variant columnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL: return Variant();
    case SQLITE_INTEGER: return Variant(static_cast<long long>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(stmt, i));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        return Variant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, i)));
    }
    }
}
} // namespace

// ---- Field
QString Field::Name() const { return rs_->fieldName(index_); }
Variant Field::Value() const { return rs_->fieldValue(index_); }

// ---- Recordset
Recordset::Recordset() = default;
Recordset::~Recordset()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

bool Recordset::IsOpen() const { return stmt_ != nullptr; }

void Recordset::requireOpen() const
{
    if (!stmt_)
        Err::Raise(Err::ObjectClosed);
}

void Recordset::requireRow() const
{
    requireOpen();
    if (eof_)
        Err::Raise(Err::EofOrBof);
}

bool Recordset::EOF_() const
{
    requireOpen();
    return eof_;
}

void Recordset::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        eof_ = false;
    else if (rc == SQLITE_DONE)
        eof_ = true;
    else {
        eof_ = true;
        raiseSqlite(db_.get(), rc);
    }
}

void Recordset::MoveNext()
{
    requireRow();
    step();
}

void Recordset::MoveFirst()
{
    requireOpen();
    sqlite3_reset(stmt_);
    step();
}

void Recordset::Close()
{
    requireOpen();
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    eof_ = true;
}

int Recordset::FieldCount() const
{
    requireOpen();
    return cols_;
}

Field Recordset::Fields(int index) const
{
    requireOpen();
    if (index < 0 || index >= cols_)
        Err::Raise(Err::ItemNotFound);
    return Field(this, index);
}

Field Recordset::Fields(const QString& name) const
{
    requireOpen();
    for (int i = 0; i < cols_; ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return Field(this, i);
    Err::Raise(Err::ItemNotFound);
}

QString Recordset::fieldName(int index) const
{
    requireOpen();
    return names_.value(index);
}

Variant Recordset::fieldValue(int index) const
{
    requireRow();
    return columnValue(stmt_, index);
}

std::string_view Recordset::fieldUtf8(int index) const
{
    requireRow();
    if (index < 0 || index >= cols_)
        return {};
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: {
        // Written here: SQLite's own conversion allocates for every value.
        std::string& text = numberTexts_[static_cast<size_t>(index)];
        text.resize(24);
        const auto end = std::to_chars(text.data(), text.data() + text.size(), sqlite3_column_int64(stmt_, index)).ptr;
        return std::string_view(text.data(), static_cast<size_t>(end - text.data()));
    }
    case SQLITE_FLOAT: {
        std::string& text = numberTexts_[static_cast<size_t>(index)];
        text = columnValue(stmt_, index).Text().toStdString();
        return text;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        return std::string_view(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, index)));
    }
    }
}

// ---- Connection
SqlLiteConnection::~SqlLiteConnection() = default;

void SqlLiteConnection::OpenDatabase(const QString& path, const QString& /*password*/)
{
    if (db_)
        return;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        Err::Raise(Err::FileNotFound, QStringLiteral("unable to open database file"));
    sqlite3* raw = nullptr;
    int rc;
    // The connection is only ever used by the one thread of the windows: SQLite need not lock
    // it around every call, nor count its memory under a lock at every allocation (this can be
    // said only before SQLite's first use; later it is refused and changes nothing).
    static const bool uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)uncounted;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (gOpenReadOnly) {
        // A URI so that only this file is read-only: the in-memory databases attached later stay writable.
        const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?mode=ro";
        rc = sqlite3_open_v2(uri.constData(), &raw, flags | SQLITE_OPEN_URI, nullptr);
    } else {
        rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    }
    std::shared_ptr<sqlite3> db(raw, [](sqlite3* d) { sqlite3_close_v2(d); });
    if (rc != SQLITE_OK)
        raiseSqlite(raw, rc);
    sqlite3_busy_handler(raw, waitForLock, nullptr);
    // A file that is not a database is refused now, not at the first query.
    const int check = sqlite3_exec(raw, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (check != SQLITE_OK)
        raiseSqlite(raw, check);
    db_ = std::move(db);
}

void SqlLiteConnection::Execute(const QString& sql)
{
    auto db = requireDb(db_);
    char* err = nullptr;
    const int rc = sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        noteLocked(rc);
        Err::Raise(rc, msg);
    }
}

void SqlLiteConnection::ExecuteAll(const QStringList& statements)
{
    auto db = requireDb(db_);
    Execute(QStringLiteral("savepoint insieme"));
    try {
        for (const QString& sql : statements)
            Execute(sql);
        Execute(QStringLiteral("release insieme"));
    } catch (...) {
        // An engine that gave up the whole transaction itself has left nothing to undo.
        if (!sqlite3_get_autocommit(db.get()))
            sqlite3_exec(db.get(), "rollback to insieme; release insieme", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqlLiteConnection::Close() { db_.reset(); }

bool SqlLiteConnection::CannotWrite()
{
    auto db = requireDb(db_);
    if (sqlite3_db_readonly(db.get(), "main") == 1)
        return true;
    // Rewriting the file's own version number starts a real write (a journal beside the file);
    // the rollback leaves the file as it was.
    const int begin = sqlite3_exec(db.get(), "begin immediate", nullptr, nullptr, nullptr);
    if (begin != SQLITE_OK) {
        noteLocked(begin);
        return (begin & 0xFF) == SQLITE_READONLY;   // busy elsewhere: nothing known, the writes will tell
    }
    int version = 0;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), "pragma main.user_version", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    const std::string rewrite = "pragma main.user_version = " + std::to_string(version);
    const int rc = sqlite3_exec(db.get(), rewrite.c_str(), nullptr, nullptr, nullptr);
    if (!sqlite3_get_autocommit(db.get()))
        sqlite3_exec(db.get(), "rollback", nullptr, nullptr, nullptr);
    return (rc & 0xFF) == SQLITE_READONLY;
}

QStringList SqlLiteConnection::Columns(const QString& table)
{
    auto db = requireDb(db_);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db.get(), "select name from pragma_table_info(?1)", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        raiseSqlite(db.get(), rc);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    QStringList names;
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    // A file that could not be read (locked, say) is not a file without that table.
    if (step != SQLITE_DONE)
        raiseSqlite(db.get(), step);
    return names;
}

void SqlLiteConnection::OpenFilesReadOnly(bool readOnly) { gOpenReadOnly = readOnly; }

std::unique_ptr<Recordset> SqlLiteConnection::OpenRecordset(const QString& sql)
{
    auto db = requireDb(db_);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.get(), utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        raiseSqlite(db.get(), rc);
    if (!stmt)
        Err::Raise(SQLITE_MISUSE, QStringLiteral("not a query"));
    auto rs = std::make_unique<Recordset>();
    rs->db_ = db;
    rs->stmt_ = stmt;
    rs->cols_ = sqlite3_column_count(stmt);
    rs->numberTexts_.resize(static_cast<size_t>(rs->cols_));
    for (int i = 0; i < rs->cols_; ++i)
        rs->names_ << QString::fromUtf8(sqlite3_column_name(stmt, i));
    rs->step();
    return rs;
}

SqlLiteConnection::Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

void SqlLiteConnection::Statement::Bind(int index, const Variant& v)
{
    int rc;
    if (v.IsNull())
        rc = sqlite3_bind_null(stmt_, index);
    else if (v.IsText()) {
        const QByteArray b = v.Text().toUtf8();
        rc = sqlite3_bind_text(stmt_, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    } else {
        const double d = v.CDbl();
        if (d == static_cast<double>(static_cast<long long>(d)))
            rc = sqlite3_bind_int64(stmt_, index, static_cast<long long>(d));
        else
            rc = sqlite3_bind_double(stmt_, index, d);
    }
    if (rc != SQLITE_OK)
        raiseSqlite(db_.get(), rc);
}

void SqlLiteConnection::Statement::BindInt64(int index, long long v)
{
    const int rc = sqlite3_bind_int64(stmt_, index, v);
    if (rc != SQLITE_OK)
        raiseSqlite(db_.get(), rc);
}

void SqlLiteConnection::Statement::BindStaticText(int index, const char* utf8, int bytes)
{
    const int rc = sqlite3_bind_text(stmt_, index, utf8, bytes, SQLITE_STATIC);
    if (rc != SQLITE_OK)
        raiseSqlite(db_.get(), rc);
}

void SqlLiteConnection::Statement::Run()
{
    const int rc = sqlite3_step(stmt_);
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        raiseSqlite(db_.get(), rc);
}

bool SqlLiteConnection::Statement::Next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE)
        raiseSqlite(db_.get(), rc);
    return false;
}

SqlLiteConnection::Statement::Kind SqlLiteConnection::Statement::ColumnKind(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return Null;
    case SQLITE_INTEGER: return Integer;
    case SQLITE_FLOAT: return Real;
    default: return Text;
    }
}

long long SqlLiteConnection::Statement::ColumnInt64(int column) const { return sqlite3_column_int64(stmt_, column); }

QByteArrayView SqlLiteConnection::Statement::ColumnUtf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArrayView(text, sqlite3_column_bytes(stmt_, column));
}

Variant SqlLiteConnection::Statement::ColumnValue(int column) const { return columnValue(stmt_, column); }

std::unique_ptr<SqlLiteConnection::Statement> SqlLiteConnection::Prepare(const QString& sql)
{
    auto db = requireDb(db_);
    auto st = std::unique_ptr<Statement>(new Statement());
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.get(), utf8.constData(), static_cast<int>(utf8.size()), &st->stmt_, nullptr);
    if (rc != SQLITE_OK)
        raiseSqlite(db.get(), rc);
    st->db_ = db;
    return st;
}

bool CreateDatabaseFile(const QString& path, const QString& schemaSql, QString* error)
{
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        char* err = nullptr;
        rc = sqlite3_exec(raw, schemaSql.toUtf8().constData(), nullptr, nullptr, &err);
        if (rc != SQLITE_OK && error)
            *error = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
    } else if (error) {
        *error = QString::fromUtf8(sqlite3_errstr(rc));
    }
    sqlite3_close_v2(raw);
    if (rc != SQLITE_OK)
        QFile::remove(path);
    return rc == SQLITE_OK;
}

QString ReadTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

} // namespace platform
