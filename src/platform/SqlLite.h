#pragma once
// The database component on the SQLite C API: a connection, and a forward-reading recordset
// with fields by name or index, end of file, move first / next, close.
#include "platform/Variant.h"
#include "platform/VbError.h"
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class Recordset;

// SQLite's result codes that the callers tell apart.
namespace SqlCode {
constexpr long Error = 1;
constexpr long Busy = 5;
constexpr long ReadOnly = 8;
constexpr long Full = 13;
constexpr long Constraint = 19;
} // namespace SqlCode

class Field {
public:
    Field(const Recordset* rs, int index) : rs_(rs), index_(index) {}
    QString Name() const;
    Variant Value() const;
    operator Variant() const { return Value(); }
private:
    const Recordset* rs_;
    int index_;
};

class Recordset {
public:
    Recordset();                 // a closed, empty recordset
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool IsOpen() const;
    bool EOF_() const;           // end of file; fails 3704 when closed
    void MoveNext();
    void MoveFirst();
    void Close();                // fails 3704 when not open
    int FieldCount() const;
    Field Fields(int index) const;              // 9 / 3265 when out of range
    Field Fields(const QString& name) const;    // 3265 when no such field, names compared without case
    Field operator[](int index) const { return Fields(index); }
    Field operator[](const QString& name) const { return Fields(name); }
    Field operator[](const char* name) const { return Fields(QString::fromUtf8(name)); }

    // internal
    QString fieldName(int index) const;
    Variant fieldValue(int index) const;
    // The text of fieldValue(index) in UTF-8 without making the value: Null and a field out of
    // range give the empty text, text comes as the database holds it (unchecked). Valid until the
    // next move or the next call for the same field.
    std::string_view fieldUtf8(int index) const;

private:
    friend class SqlLiteConnection;
    void requireOpen() const;
    void requireRow() const;
    void step();
    std::shared_ptr<sqlite3> db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool eof_ = true;
    int cols_ = 0;
    QStringList names_;
    mutable std::vector<std::string> numberTexts_;   // by field, for fieldUtf8
};

class SqlLiteConnection {
public:
    SqlLiteConnection() = default;
    ~SqlLiteConnection();
    // Opens an existing SQLite file; a missing file or one that is no database is refused.
    void OpenDatabase(const QString& path, const QString& password);
    void Execute(const QString& sql);
    // Runs statements as one transaction: at the first failure whatever ran before is undone
    // and the failure is raised, so either all of them take effect or none does.
    void ExecuteAll(const QStringList& statements);
    // The query's rows, positioned on the first one.
    std::unique_ptr<Recordset> OpenRecordset(const QString& sql);
    bool IsOpen() const { return db_ != nullptr; }
    // Lets the file go (a later OpenDatabase may open it again).
    void Close();
    // Whether nothing can be written to the file: it was opened read-only (the user may not
    // write it), or a write cannot start (its folder refuses the journal). The probe writes
    // nothing to the file.
    bool CannotWrite();
    // The names of a table's columns, empty when the file has no such table.
    QStringList Columns(const QString& table);
    // Opens every later file read-only, as if the user could not write it (root can write any file).
    static void OpenFilesReadOnly(bool readOnly);

    // A statement prepared once and run many times: bulk inserts, and queries read column by
    // column without a recordset.
    class Statement {
    public:
        enum Kind { Null, Integer, Real, Text };
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        // Parameters are 1-based; a bound value stays bound across runs until bound again.
        void Bind(int index, const Variant& v);
        void BindInt64(int index, long long v);
        // SQLite reads the text in place, without a copy: it must stay unchanged where it is
        // until the statement is bound again or destroyed.
        void BindStaticText(int index, const char* utf8, int bytes);
        void Run();                                  // step and reset

        // Queries: moves to the next row, false past the last (the statement is then reset
        // and can run again). Columns are 0-based and valid until the next move.
        bool Next();
        Kind ColumnKind(int column) const;
        long long ColumnInt64(int column) const;
        QByteArrayView ColumnUtf8(int column) const;
        Variant ColumnValue(int column) const;

    private:
        friend class SqlLiteConnection;
        Statement() = default;
        std::shared_ptr<sqlite3> db_;
        sqlite3_stmt* stmt_ = nullptr;
    };
    std::unique_ptr<Statement> Prepare(const QString& sql);

    sqlite3* handle() const { return db_.get(); }
    static constexpr int BusyTimeoutMs = 5000;

private:
    std::shared_ptr<sqlite3> db_;
};

// Creates a new database file holding the given schema (for the build and the tests).
bool CreateDatabaseFile(const QString& path, const QString& schemaSql, QString* error);
QString ReadTextFile(const QString& path);

} // namespace platform
