#pragma once
// Our thin layer over SQLCipher's C API: one connection per data file, statements prepared once
// and kept, named parameters :p1 … :pN bound (never spliced), RAII transactions, and the SQL
// functions str() and val() that the numbering statements rely on.

#include <QString>
#include <QVariant>
#include <memory>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace gz {

// Values bound in order to :p1, :p2, … of a statement.
using Params = std::vector<QVariant>;

class Database;

// A prepared statement owned by the Database's cache. Use it through Query.
class Statement {
public:
    Statement(Database& db, sqlite3_stmt* stmt, QString sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return sql_; }
    sqlite3_stmt* handle() const { return stmt_; }
    bool busy() const { return busy_; }

private:
    friend class Query;
    Database& db_;
    sqlite3_stmt* stmt_;
    QString sql_;
    bool busy_ = false;
};

// One use of a prepared statement: bind, step, read. Resets the statement when it goes away, so
// the cached statement is ready for the next caller.
class Query {
public:
    Query(Database& db, const QString& sql);
    Query(Database& db, const QString& sql, const Params& params);
    ~Query();
    Query(Query&& other) noexcept;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Query& operator=(Query&&) = delete;

    // Binds :pN (n counts from 1). A parameter the statement does not name is ignored, so one
    // Params vector can serve statements that use only some of them.
    Query& bind(int n, const QVariant& value);
    Query& bind(const char* name, const QVariant& value);
    Query& bindAll(const Params& params);

    // Steps to the next row; false when there is none.
    bool next();
    // Runs a statement without result to its end; returns the number of rows changed.
    int exec();

    int columnCount() const;
    QString columnName(int col) const;
    QString declaredType(int col) const;        // empty for expressions
    int columnIndex(const QString& name) const; // case-insensitive, -1 when absent
    bool isNull(int col) const;
    int storageType(int col) const; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
    QVariant value(int col) const;
    QString text(int col) const;
    double real(int col) const;
    qint64 integer(int col) const;
    QByteArray blob(int col) const;

    sqlite3_stmt* handle() const { return stmt_; }

private:
    Database* db_;
    // From the cache, reset on destruction; shared so that closing the connection while a Query is
    // alive never leaves it with a dangling statement.
    std::shared_ptr<Statement> cached_;
    sqlite3_stmt* own_ = nullptr; // private copy when the cached one is in use (re-entrant use)
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // Opens an existing data file; throws gz::Error (Database kind) naming the file when it is
    // missing, not ours, has another key, or encryption is not active.
    static std::unique_ptr<Database> open(const QString& path);
    // Creates a new, empty encrypted file (the file must not exist).
    static std::unique_ptr<Database> create(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Runs one statement with parameters; returns rows changed.
    int exec(const QString& sql, const Params& params = {});
    // Runs several statements without parameters (schema scripts).
    void execScript(const QString& sql);
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});

    qint64 lastInsertRowId() const;
    bool inTransaction() const;
    // Checks whether a statement compiles (used to see whether a table has the columns we expect).
    bool compiles(const QString& sql, QString* error = nullptr);

    // Closes the connection and opens it again (what the program does around file copies).
    void close();
    void reopen();
    bool isOpen() const { return db_ != nullptr; }

    // Raises the typed database error for the connection's last failure.
    [[noreturn]] void fail(const QString& what) const;

    std::shared_ptr<Statement> statement(const QString& sql);
    std::size_t cachedStatements() const { return cache_.size(); }

private:
    explicit Database(QString path);
    void connect(bool create);
    void clearCache();

    QString path_;
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::shared_ptr<Statement>> cache_;
    friend class Transaction;
    int savepointDepth_ = 0;
};

// A transaction that rolls back unless committed. Nested ones become savepoints.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    int depth_;
    bool done_ = false;
};

// The numeric value of text the way the numbering statements read it: blanks are skipped, an
// optional sign, digits, an optional fraction and exponent; reading stops at the first other
// character. Returns false when nothing numeric was found at all ("" or "abc").
bool valOf(const QString& text, double* value, bool* integral, qint64* intValue);
// A number as text with the leading blank that positive numbers get (" 903000000").
QString strOf(double value);
QString strOf(qint64 value);

} // namespace gz
