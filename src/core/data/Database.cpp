#include "core/data/Database.h"

#include "core/data/Errors.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <sqlcipher/sqlite3.h>

namespace gz {

namespace {

// Every data file is keyed with the system's fixed database password. The key is given raw (the
// SHA-256 of the password) so that opening skips the slow password-to-key derivation, which
// would otherwise cost more than the rest of the start-up together.
QByteArray keyPragma() {
    static const QByteArray pragma =
        "PRAGMA key = \"x'" +
        QCryptographicHash::hash(QByteArrayLiteral("461750"), QCryptographicHash::Sha256).toHex() + "'\";";
    return pragma;
}
// Must be the same on every open of a file; 4096 reads and writes faster than the default.
const char* const kPagePragma = "PRAGMA cipher_page_size = 4096;";

QString lastError(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no connection");
}

void sqlVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    if (t == SQLITE_FLOAT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    }
    const auto* txt = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    double d = 0;
    bool integral = true;
    qint64 i = 0;
    if (!valOf(QString::fromUtf8(txt ? txt : ""), &d, &integral, &i)) {
        sqlite3_result_int64(ctx, 0);
    } else if (integral) {
        sqlite3_result_int64(ctx, i);
    } else {
        sqlite3_result_double(ctx, d);
    }
}

void sqlStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    int t = sqlite3_value_numeric_type(v);
    QByteArray out;
    if (t == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    } else if (t == SQLITE_INTEGER) {
        out = strOf(static_cast<qint64>(sqlite3_value_int64(v))).toUtf8();
    } else if (t == SQLITE_FLOAT) {
        out = strOf(sqlite3_value_double(v)).toUtf8();
    } else {
        const auto* txt = reinterpret_cast<const char*>(sqlite3_value_text(v));
        double d = 0;
        bool integral = true;
        qint64 i = 0;
        if (!valOf(QString::fromUtf8(txt ? txt : ""), &d, &integral, &i)) {
            sqlite3_result_error(ctx, "str(): argument is not a number", -1);
            return;
        }
        out = (integral ? strOf(i) : strOf(d)).toUtf8();
    }
    sqlite3_result_text(ctx, out.constData(), out.size(), SQLITE_TRANSIENT);
}

} // namespace

bool valOf(const QString& text, double* value, bool* integral, qint64* intValue) {
    // Gather the characters that belong to the number, skipping blanks anywhere.
    QString s;
    int i = 0;
    const int n = text.size();
    auto skip = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
            ++i;
    };
    skip();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) s += text[i++];
    bool digits = false, frac = false, exp = false;
    for (;;) {
        skip();
        if (i >= n) break;
        QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            s += c;
            digits = true;
            ++i;
        } else if (c == u'.' && !frac && !exp) {
            s += c;
            frac = true;
            ++i;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && digits && !exp) {
            // An exponent only counts when digits follow it.
            int j = i + 1;
            QString e = QStringLiteral("e");
            if (j < n && (text[j] == u'-' || text[j] == u'+')) e += text[j++];
            if (j < n && text[j].isDigit()) {
                exp = true;
                s += e;
                i = j;
            } else {
                break;
            }
        } else {
            break;
        }
    }
    if (!digits) {
        if (value) *value = 0;
        if (integral) *integral = true;
        if (intValue) *intValue = 0;
        return false;
    }
    bool ok = false;
    if (!frac && !exp) {
        qint64 iv = s.toLongLong(&ok);
        if (ok) {
            if (value) *value = static_cast<double>(iv);
            if (integral) *integral = true;
            if (intValue) *intValue = iv;
            return true;
        }
    }
    double d = s.toDouble(&ok);
    if (value) *value = d;
    if (integral) *integral = false;
    if (intValue) *intValue = static_cast<qint64>(d);
    return true;
}

QString strOf(qint64 value) {
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

QString strOf(double value) {
    double ip;
    if (std::modf(value, &ip) == 0.0 && std::fabs(value) < 1e15) return strOf(static_cast<qint64>(value));
    QString s = QString::number(value, 'g', 15).toUpper();
    return value < 0 ? s : QStringLiteral(" ") + s;
}

// ---------------------------------------------------------------------------------------------
Statement::Statement(Database& db, sqlite3_stmt* stmt, QString sql)
    : db_(db), stmt_(stmt), sql_(std::move(sql)) {}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

// ---------------------------------------------------------------------------------------------
Query::Query(Database& db, const QString& sql) : db_(&db) {
    std::shared_ptr<Statement> st = db.statement(sql);
    if (!st->busy()) {
        cached_ = std::move(st);
        cached_->busy_ = true;
        stmt_ = cached_->handle();
    } else {
        QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), utf8.constData(), utf8.size(), &own_, nullptr) != SQLITE_OK)
            db.fail(QStringLiteral("SQL: %1").arg(sql));
        stmt_ = own_;
    }
}

Query::Query(Database& db, const QString& sql, const Params& params) : Query(db, sql) {
    bindAll(params);
}

Query::Query(Query&& other) noexcept
    : db_(other.db_), cached_(std::move(other.cached_)), own_(other.own_), stmt_(other.stmt_) {
    other.own_ = nullptr;
    other.stmt_ = nullptr;
}

Query::~Query() {
    if (cached_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        cached_->busy_ = false;
    }
    if (own_) sqlite3_finalize(own_);
}

Query& Query::bind(int n, const QVariant& value) {
    QByteArray name = ":p" + QByteArray::number(n);
    return bind(name.constData(), value);
}

Query& Query::bind(const char* name, const QVariant& v) {
    int idx = sqlite3_bind_parameter_index(stmt_, name);
    if (idx == 0) return *this;
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(stmt_, idx);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt_, idx, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(stmt_, idx, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, idx, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob(stmt_, idx, b.constData(), b.size(), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate: {
            QByteArray t = v.toDate().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text(stmt_, idx, t.constData(), t.size(), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime: {
            QByteArray t = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
            rc = sqlite3_bind_text(stmt_, idx, t.constData(), t.size(), SQLITE_TRANSIENT);
            break;
        }
        default: {
            QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, idx, t.constData(), t.size(), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) db_->fail(QStringLiteral("bind %1").arg(QString::fromLatin1(name)));
    return *this;
}

Query& Query::bindAll(const Params& params) {
    for (std::size_t i = 0; i < params.size(); ++i)
        bind(static_cast<int>(i + 1), params[i]);
    return *this;
}

bool Query::next() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        // Ready to be bound and run again by the same Query.
        sqlite3_reset(stmt_);
        return false;
    }
    QString msg = lastError(sqlite3_db_handle(stmt_));
    sqlite3_reset(stmt_);
    throw databaseError(msg + QStringLiteral("\nSQL: ") + QString::fromUtf8(sqlite3_sql(stmt_)));
}

int Query::exec() {
    while (next()) {
    }
    return sqlite3_changes(sqlite3_db_handle(stmt_));
}

int Query::columnCount() const {
    return sqlite3_column_count(stmt_);
}
QString Query::columnName(int col) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, col));
}
QString Query::declaredType(int col) const {
    const char* t = sqlite3_column_decltype(stmt_, col);
    return t ? QString::fromUtf8(t) : QString();
}
int Query::columnIndex(const QString& name) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}
bool Query::isNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}
int Query::storageType(int col) const {
    return sqlite3_column_type(stmt_, col);
}

QVariant Query::value(int col) const {
    switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qint64>(sqlite3_column_int64(stmt_, col)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, col));
    case SQLITE_TEXT:
        return QVariant(text(col));
    case SQLITE_BLOB:
        return QVariant(blob(col));
    default:
        return QVariant();
    }
}

QString Query::text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    if (!p) return QString();
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, col));
}
double Query::real(int col) const {
    return sqlite3_column_double(stmt_, col);
}
qint64 Query::integer(int col) const {
    return sqlite3_column_int64(stmt_, col);
}
QByteArray Query::blob(int col) const {
    const void* p = sqlite3_column_blob(stmt_, col);
    if (!p) return QByteArray();
    return QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(stmt_, col));
}

// ---------------------------------------------------------------------------------------------
Database::Database(QString path) : path_(std::move(path)) {}

Database::~Database() {
    close();
}

std::unique_ptr<Database> Database::open(const QString& path) {
    if (!QFileInfo::exists(path))
        throw databaseError(QStringLiteral("数据文件 %1 不存在").arg(QDir::toNativeSeparators(path)));
    std::unique_ptr<Database> db(new Database(path));
    db->connect(false);
    return db;
}

std::unique_ptr<Database> Database::create(const QString& path) {
    if (QFileInfo::exists(path))
        throw databaseError(QStringLiteral("数据文件 %1 已存在").arg(QDir::toNativeSeparators(path)));
    std::unique_ptr<Database> db(new Database(path));
    db->connect(true);
    return db;
}

void Database::connect(bool create) {
    const QString native = QDir::toNativeSeparators(path_);
    // One connection is used by one thread at a time, so SQLite's per-call mutex is pure cost.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    QByteArray p = path_.toUtf8();
    if (sqlite3_open_v2(p.constData(), &db_, flags, nullptr) != SQLITE_OK) {
        QString msg = lastError(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw databaseError(QStringLiteral("数据文件 %1 无法打开：%2").arg(native, msg));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    auto refuse = [&](const QString& why) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw databaseError(QStringLiteral("数据文件 %1 无法打开：%2").arg(native, why));
    };
    if (sqlite3_exec(db_, keyPragma().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        refuse(lastError(db_));
    // A library without encryption ignores the key silently; never write a plain file.
    QString cipher;
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, "PRAGMA cipher_version;", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            cipher = t ? QString::fromUtf8(t) : QString();
        }
        sqlite3_finalize(st);
    }
    if (cipher.isEmpty()) refuse(QStringLiteral("加密功能不可用 (SQLCipher)"));
    if (sqlite3_exec(db_, kPagePragma, nullptr, nullptr, nullptr) != SQLITE_OK) refuse(lastError(db_));
    // A year of lines runs to a few hundred MB; a 64 MB page cache keeps a month's summary and the
    // payroll refresh in memory (the default 2 MB makes them re-read and re-decrypt pages).
    sqlite3_exec(db_, "PRAGMA cache_size = -65536;", nullptr, nullptr, nullptr);
    // Reading the schema proves the key: a foreign or plain file fails here, untouched.
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) != SQLITE_OK)
        refuse(QStringLiteral("不是本系统的数据文件或密码不符 (%1)").arg(lastError(db_)));
    sqlite3_create_function_v2(db_, "val", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlVal, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db_, "str", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlStr, nullptr,
                               nullptr, nullptr);
}

void Database::clearCache() {
    cache_.clear();
}

void Database::close() {
    clearCache();
    if (db_) {
        // close_v2 waits for statements that a live Query still holds.
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    savepointDepth_ = 0;
}

void Database::reopen() {
    close();
    connect(false);
}

void Database::fail(const QString& what) const {
    throw databaseError(lastError(db_) + QStringLiteral("\n") + what);
}

std::shared_ptr<Statement> Database::statement(const QString& sql) {
    if (!db_) throw databaseError(QStringLiteral("数据库连接已关闭"));
    std::string key = sql.toStdString();
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, key.c_str(), static_cast<int>(key.size()), &st, nullptr) != SQLITE_OK)
        fail(QStringLiteral("SQL: %1").arg(sql));
    auto owned = std::make_shared<Statement>(*this, st, sql);
    cache_.emplace(std::move(key), owned);
    return owned;
}

int Database::exec(const QString& sql, const Params& params) {
    Query q(*this, sql, params);
    return q.exec();
}

void Database::execScript(const QString& sql) {
    if (!db_) throw databaseError(QStringLiteral("数据库连接已关闭"));
    char* err = nullptr;
    QByteArray s = sql.toUtf8();
    if (sqlite3_exec(db_, s.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        QString msg = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        throw databaseError(msg);
    }
}

QVariant Database::scalar(const QString& sql, const Params& params) {
    Query q(*this, sql, params);
    if (!q.next()) return QVariant();
    return q.value(0);
}

qint64 Database::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Database::inTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

bool Database::compiles(const QString& sql, QString* error) {
    sqlite3_stmt* st = nullptr;
    QByteArray s = sql.toUtf8();
    int rc = sqlite3_prepare_v2(db_, s.constData(), s.size(), &st, nullptr);
    if (rc != SQLITE_OK && error) *error = lastError(db_);
    sqlite3_finalize(st);
    return rc == SQLITE_OK;
}

// ---------------------------------------------------------------------------------------------
Transaction::Transaction(Database& db) : db_(db), depth_(db.savepointDepth_) {
    if (depth_ == 0)
        db_.execScript(QStringLiteral("BEGIN IMMEDIATE"));
    else
        db_.execScript(QStringLiteral("SAVEPOINT sp%1").arg(depth_));
    ++db_.savepointDepth_;
}

Transaction::~Transaction() {
    if (done_) return;
    --db_.savepointDepth_;
    if (!db_.handle()) return;
    if (depth_ == 0) {
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
        QByteArray s = QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1;").arg(depth_).toUtf8();
        sqlite3_exec(db_.handle(), s.constData(), nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    if (done_) return;
    if (depth_ == 0)
        db_.execScript(QStringLiteral("COMMIT"));
    else
        db_.execScript(QStringLiteral("RELEASE sp%1").arg(depth_));
    done_ = true;
    --db_.savepointDepth_;
}

} // namespace gz
