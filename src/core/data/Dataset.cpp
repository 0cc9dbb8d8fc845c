#include "core/data/Dataset.h"

#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Schema.h"

#include <QDate>
#include <QDateTime>
#include <cstring>
#include <sqlcipher/sqlite3.h>
#include <string>

namespace gz {

namespace {
const char* const kRowIdColumn = "__rowid";
} // namespace

Dataset::Type Dataset::typeFromDeclared(const QString& declared, int storage) {
    const QString d = declared.toLower();
    if (d.isEmpty()) {
        switch (storage) {
        case SQLITE_INTEGER:
            return Type::Variant;
        case SQLITE_FLOAT:
            return Type::Real;
        default:
            return Type::Variant;
        }
    }
    if (d.contains(QLatin1String("char")) || d.contains(QLatin1String("text")) ||
        d.contains(QLatin1String("clob")) || d.contains(QLatin1String("memo")))
        return Type::Text;
    if (d.contains(QLatin1String("bool")) || d == QLatin1String("bit") ||
        d.contains(QLatin1String("logical")))
        return Type::Bool;
    if (d.contains(QLatin1String("date")) || d.contains(QLatin1String("time"))) return Type::Date;
    if (d.contains(QLatin1String("int"))) return Type::Integer;
    if (d.contains(QLatin1String("doub")) || d.contains(QLatin1String("real")) ||
        d.contains(QLatin1String("floa")) || d.contains(QLatin1String("num")) ||
        d.contains(QLatin1String("dec")))
        return Type::Real;
    if (d.contains(QLatin1String("blob"))) return Type::Blob;
    return Type::Variant;
}

void Dataset::open(Database& db, const QString& sql, const Params& params) {
    close();
    db_ = &db;
    sql_ = sql;
    params_ = params;
    table_.clear();
    load();
}

void Dataset::openTable(Database& db, const QString& table, const QString& tail, const Params& params) {
    const TableDef* def = findTable(table);
    if (!def) throw databaseError(QStringLiteral("没有表 %1").arg(table));
    close();
    db_ = &db;
    table_ = def->name;
    sql_ = QStringLiteral("SELECT rowid AS %1, * FROM %2 %3").arg(QLatin1String(kRowIdColumn), table_, tail);
    params_ = params;
    load();
}

void Dataset::refresh() {
    if (!db_) return;
    const int keep = current_;
    const QString sql = sql_;
    const Params params = params_;
    const QString table = table_;
    Database* db = db_;
    std::vector<QString> pictures;
    for (const Column& c : cols_)
        pictures.push_back(c.picture);
    QStringList names;
    for (const Column& c : cols_)
        names << c.name;
    close();
    db_ = db;
    sql_ = sql;
    params_ = params;
    table_ = table;
    load();
    for (int i = 0; i < columnCount() && i < names.size(); ++i)
        if (cols_[i].name == names[i]) cols_[i].picture = pictures[i];
    current_ = rows_ == 0 ? 0 : std::min(keep, rows_ - 1);
}

void Dataset::close() {
    // A dataset that is opened again (a window's refresh) will most likely hold as many rows:
    // reserving that much up front spares the copies of growing every column.
    reserveHint_ = std::max(reserveHint_, rows_);
    open_ = false;
    rows_ = 0;
    current_ = 0;
    cols_.clear();
    rowIds_.clear();
    index_.clear();
    arena_.clear();
    editRow_ = -1;
    changed_.clear();
    original_.clear();
    inserted_ = false;
}

void Dataset::load() {
    Query q(*db_, sql_, params_);
    const int n = q.columnCount();
    const bool hasRowId = editable();
    const TableDef* def = hasRowId ? findTable(table_) : nullptr;
    bool first = true;
    std::vector<std::string> lastRaw;
    std::u16string wide;
    while (q.next()) {
        if (first) {
            first = false;
            // Types come from the declared column types (of our schema for an editable table).
            for (int c = hasRowId ? 1 : 0; c < n; ++c) {
                Column col;
                col.name = q.columnName(c);
                const ColumnDef* cd = def ? def->column(col.name) : nullptr;
                if (cd) {
                    switch (cd->type) {
                    case ColType::Text:
                    case ColType::Memo:
                        col.type = Type::Text;
                        break;
                    case ColType::Double:
                        col.type = Type::Real;
                        break;
                    case ColType::Bool:
                        col.type = Type::Bool;
                        break;
                    case ColType::DateTime:
                        col.type = Type::Date;
                        break;
                    case ColType::Binary:
                        col.type = Type::Blob;
                        break;
                    case ColType::AutoNumber:
                    case ColType::Integer:
                        col.type = Type::Integer;
                        break;
                    }
                } else {
                    col.type = typeFromDeclared(q.declaredType(c), q.storageType(c));
                }
                cols_.push_back(std::move(col));
            }
            lastRaw.assign(cols_.size(), {});
            if (reserveHint_ > 0) {
                const auto n = static_cast<std::size_t>(reserveHint_);
                if (hasRowId) rowIds_.reserve(n);
                for (Column& col : cols_) {
                    col.nulls.reserve(n);
                    switch (col.type) {
                    case Type::Real:
                        col.reals.reserve(n);
                        break;
                    case Type::Integer:
                    case Type::Bool:
                        col.ints.reserve(n);
                        break;
                    case Type::Text:
                    case Type::Date:
                        col.texts.reserve(n);
                        break;
                    default:
                        col.variants.reserve(n);
                        break;
                    }
                }
            }
        }
        if (hasRowId) rowIds_.push_back(q.integer(0));
        const int off = hasRowId ? 1 : 0;
        for (int c = 0; c < static_cast<int>(cols_.size()); ++c) {
            Column& col = cols_[c];
            const int qc = c + off;
            const int st = q.storageType(qc);
            col.nulls.push_back(st == SQLITE_NULL ? 1 : 0);
            switch (col.type) {
            case Type::Real:
                col.reals.push_back(st == SQLITE_NULL ? 0.0 : q.real(qc));
                break;
            case Type::Integer:
            case Type::Bool:
                col.ints.push_back(st == SQLITE_NULL ? 0 : q.integer(qc));
                break;
            case Type::Text:
            case Type::Date: {
                if (st == SQLITE_NULL) {
                    col.texts.emplace_back();
                    break;
                }
                // A value equal to the one above it shares its slice (line tables repeat the
                // year, month, document and workshop row after row).
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(q.handle(), qc));
                const std::size_t len = static_cast<std::size_t>(sqlite3_column_bytes(q.handle(), qc));
                std::string& prev = lastRaw[c];
                if (!col.texts.empty() && prev.size() == len && std::memcmp(prev.data(), p, len) == 0) {
                    col.texts.push_back(col.texts.back());
                    break;
                }
                prev.assign(p, len);
                bool ascii = true;
                for (std::size_t i = 0; i < len; ++i)
                    if (static_cast<unsigned char>(p[i]) >= 0x80) {
                        ascii = false;
                        break;
                    }
                if (ascii) {
                    wide.resize(len);
                    for (std::size_t i = 0; i < len; ++i)
                        wide[i] = static_cast<char16_t>(p[i]);
                    col.texts.push_back(arena_.add(wide.data(), len));
                } else {
                    const auto* w = static_cast<const char16_t*>(sqlite3_column_text16(q.handle(), qc));
                    const std::size_t n16 =
                        static_cast<std::size_t>(sqlite3_column_bytes16(q.handle(), qc)) / 2;
                    col.texts.push_back(arena_.add(w, n16));
                }
                break;
            }
            case Type::Blob:
            case Type::Variant:
                col.variants.push_back(q.value(qc));
                break;
            }
        }
        ++rows_;
    }
    if (first) {
        // No rows: still know the columns.
        for (int c = hasRowId ? 1 : 0; c < n; ++c) {
            Column col;
            col.name = q.columnName(c);
            const ColumnDef* cd = def ? def->column(col.name) : nullptr;
            if (cd) {
                col.type = cd->type == ColType::Double                                ? Type::Real
                           : (cd->type == ColType::Text || cd->type == ColType::Memo) ? Type::Text
                           : cd->type == ColType::Bool                                ? Type::Bool
                           : cd->type == ColType::DateTime                            ? Type::Date
                           : cd->type == ColType::Binary                              ? Type::Blob
                                                                                      : Type::Integer;
            } else {
                col.type = typeFromDeclared(q.declaredType(c), SQLITE_NULL);
            }
            cols_.push_back(std::move(col));
        }
    }
    for (int c = 0; c < static_cast<int>(cols_.size()); ++c)
        index_.insert(cols_[c].name.toLower(), c);
    open_ = true;
    current_ = 0;
}

int Dataset::columnIndex(const QString& name) const {
    return index_.value(name.toLower(), -1);
}

QVariant Dataset::value(int row, int col) const {
    const Column& c = cols_[col];
    if (c.nulls[row]) return QVariant();
    switch (c.type) {
    case Type::Real:
        return c.reals[row];
    case Type::Integer:
        return c.ints[row];
    case Type::Bool:
        return c.ints[row] != 0;
    case Type::Text:
        return arena_.view(c.texts[row]).toString();
    case Type::Date: {
        const QString s = arena_.view(c.texts[row]).toString();
        if (s.size() > 10) {
            QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (dt.isValid()) return dt;
        }
        QDate d = dateFromStored(s);
        return d.isValid() ? QVariant(d) : QVariant(s);
    }
    case Type::Blob:
    case Type::Variant:
        return c.variants[row];
    }
    return QVariant();
}

double Dataset::real(int row, int col) const {
    const Column& c = cols_[col];
    if (c.nulls[row]) return 0.0;
    switch (c.type) {
    case Type::Real:
        return c.reals[row];
    case Type::Integer:
    case Type::Bool:
        return static_cast<double>(c.ints[row]);
    case Type::Text:
        return arena_.view(c.texts[row]).trimmed().toDouble();
    default:
        return c.variants.empty() ? 0.0 : c.variants[row].toDouble();
    }
}

QString Dataset::text(int row, int col) const {
    const Column& c = cols_[col];
    if (c.nulls[row]) return QString();
    switch (c.type) {
    case Type::Real:
        return formatNumber(c.reals[row], QString());
    case Type::Integer:
    case Type::Bool:
        return QString::number(c.ints[row]);
    case Type::Text:
    case Type::Date:
        return arena_.view(c.texts[row]).toString();
    default:
        return c.variants[row].toString();
    }
}

QStringView Dataset::textView(int row, int col) const {
    const Column& c = cols_[col];
    if (c.nulls[row] || (c.type != Type::Text && c.type != Type::Date)) return QStringView();
    return arena_.view(c.texts[row]);
}

Dataset::TextRef Dataset::TextArena::add(const char16_t* s, std::size_t n) {
    if (n == 0) return TextRef();
    bytes_ += n * sizeof(char16_t);
    if (n > kChunk / 4) {
        // A long text (a memo) gets a block of its own; the next short text starts a fresh block.
        auto block = std::make_unique<char16_t[]>(n);
        std::memcpy(block.get(), s, n * sizeof(char16_t));
        chunks_.push_back(std::move(block));
        used_ = kChunk;
        return TextRef{static_cast<quint32>(chunks_.size() - 1), 0, static_cast<quint32>(n)};
    }
    if (used_ + n > kChunk) {
        chunks_.push_back(std::make_unique<char16_t[]>(kChunk));
        used_ = 0;
    }
    std::memcpy(chunks_.back().get() + used_, s, n * sizeof(char16_t));
    TextRef r{static_cast<quint32>(chunks_.size() - 1), static_cast<quint32>(used_), static_cast<quint32>(n)};
    used_ += n;
    return r;
}

void Dataset::setCurrent(int row) {
    if (row == current_) return;
    if (editRow_ >= 0 && editRow_ != row) post(editRow_);
    current_ = std::max(0, std::min(row, rows_));
}

bool Dataset::first() {
    setCurrent(0);
    return rows_ > 0;
}

bool Dataset::next() {
    if (current_ >= rows_) return false;
    setCurrent(current_ + 1);
    return current_ < rows_;
}

bool Dataset::last() {
    setCurrent(rows_ > 0 ? rows_ - 1 : 0);
    return rows_ > 0;
}

static int requireColumn(const Dataset& ds, const QString& name) {
    const int c = ds.columnIndex(name);
    if (c < 0) throw databaseError(QStringLiteral("Field '%1' not found").arg(name));
    return c;
}

QVariant Dataset::field(const QString& name) const {
    const int c = requireColumn(*this, name);
    return eof() ? QVariant() : value(current_, c);
}

double Dataset::realField(const QString& name) const {
    const int c = requireColumn(*this, name);
    return eof() ? 0.0 : real(current_, c);
}

QString Dataset::textField(const QString& name) const {
    const int c = requireColumn(*this, name);
    return eof() ? QString() : text(current_, c);
}

QVariant Dataset::sum(int col) const {
    double total = 0;
    bool any = false;
    for (int r = 0; r < rows_; ++r) {
        if (isNull(r, col)) continue;
        total += real(r, col);
        any = true;
    }
    return any ? QVariant(total) : QVariant();
}

int Dataset::locate(const QString& column, const QVariant& v) const {
    const int c = requireColumn(*this, column);
    const QString want = v.toString();
    for (int r = 0; r < rows_; ++r)
        if (text(r, c) == want) return r;
    return -1;
}

QVariant Dataset::convertTyped(int col, const QVariant& v) const {
    const Column& c = cols_[col];
    if (!v.isValid() || v.isNull()) return QVariant();
    const bool isText = v.typeId() == QMetaType::QString;
    switch (c.type) {
    case Type::Real: {
        if (isText) {
            auto d = parseNumber(v.toString());
            return d ? QVariant(*d) : QVariant();
        }
        return v.toDouble();
    }
    case Type::Integer: {
        if (isText) {
            auto d = parseNumber(v.toString());
            if (!d) return QVariant();
            return static_cast<qint64>(*d);
        }
        return v.toLongLong();
    }
    case Type::Bool: {
        if (isText) {
            const QString t = v.toString().trimmed().toLower();
            return t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("t") ||
                   t == QLatin1String("y") || t == QLatin1String("yes") || t == QStringLiteral("是");
        }
        return v.toBool();
    }
    case Type::Date: {
        if (v.typeId() == QMetaType::QDate) return dateToStored(v.toDate());
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString t = v.toString().trimmed();
        if (t.isEmpty()) return QVariant();
        if (dateFromStored(t).isValid() && t.size() >= 10 && t[4] == u'-') return t;
        auto d = appDateFormat().parse(t);
        return d ? QVariant(dateToStored(*d)) : QVariant();
    }
    case Type::Text:
        return v.toString();
    case Type::Blob:
        return v.toByteArray();
    case Type::Variant:
        return v;
    }
    return v;
}

void Dataset::setStored(int row, int col, const QVariant& v) {
    Column& c = cols_[col];
    const bool null = !v.isValid() || v.isNull();
    c.nulls[row] = null ? 1 : 0;
    switch (c.type) {
    case Type::Real:
        c.reals[row] = null ? 0.0 : v.toDouble();
        break;
    case Type::Integer:
    case Type::Bool:
        c.ints[row] = null ? 0 : v.toLongLong();
        break;
    case Type::Text:
    case Type::Date:
        c.texts[row] = null ? TextRef() : arena_.add(QStringView(v.toString()));
        break;
    case Type::Blob:
    case Type::Variant:
        c.variants[row] = v;
        break;
    }
}

void Dataset::setValue(int row, int col, const QVariant& v) {
    if (!editable()) throw databaseError(QStringLiteral("Cannot modify a read-only dataset"));
    if (row < 0 || row >= rows_) throw databaseError(QStringLiteral("No current record"));
    if (editRow_ >= 0 && editRow_ != row) post(editRow_);
    const QVariant converted = convertTyped(col, v); // raises before anything changes
    if (editRow_ != row) {
        editRow_ = row;
        inserted_ = false;
        changed_.assign(cols_.size(), 0);
        original_.assign(cols_.size(), QVariant());
    }
    if (!changed_[col]) {
        changed_[col] = 1;
        original_[col] = isNull(row, col) ? QVariant() : storedValue(row, col);
    }
    setStored(row, col, converted);
}

void Dataset::setField(const QString& name, const QVariant& v) {
    setValue(current_, requireColumn(*this, name), v);
}

bool Dataset::modified(int row) const {
    return editRow_ == row;
}

QVariant Dataset::storedValue(int row, int col) const {
    const Column& c = cols_[col];
    switch (c.type) {
    case Type::Text:
    case Type::Date:
        return arena_.view(c.texts[row]).toString();
    case Type::Real:
        return c.reals[row];
    case Type::Integer:
    case Type::Bool:
        return c.ints[row];
    default:
        return c.variants[row];
    }
}

void Dataset::insertEmptyRow(int row) {
    for (Column& c : cols_) {
        c.nulls.insert(c.nulls.begin() + row, 1);
        switch (c.type) {
        case Type::Real:
            c.reals.insert(c.reals.begin() + row, 0.0);
            break;
        case Type::Integer:
        case Type::Bool:
            c.ints.insert(c.ints.begin() + row, 0);
            break;
        case Type::Text:
        case Type::Date:
            c.texts.insert(c.texts.begin() + row, TextRef());
            break;
        default:
            c.variants.insert(c.variants.begin() + row, QVariant());
            break;
        }
    }
    if (editable()) rowIds_.insert(rowIds_.begin() + row, -1);
    ++rows_;
}

void Dataset::eraseRow(int row) {
    for (Column& c : cols_) {
        c.nulls.erase(c.nulls.begin() + row);
        switch (c.type) {
        case Type::Real:
            c.reals.erase(c.reals.begin() + row);
            break;
        case Type::Integer:
        case Type::Bool:
            c.ints.erase(c.ints.begin() + row);
            break;
        case Type::Text:
        case Type::Date:
            c.texts.erase(c.texts.begin() + row);
            break;
        default:
            c.variants.erase(c.variants.begin() + row);
            break;
        }
    }
    if (!rowIds_.empty()) rowIds_.erase(rowIds_.begin() + row);
    --rows_;
    if (editRow_ == row)
        editRow_ = -1;
    else if (editRow_ > row)
        --editRow_;
    if (current_ >= rows_ && current_ > 0) current_ = rows_ - 1;
}

int Dataset::append() {
    if (!editable()) throw databaseError(QStringLiteral("Cannot modify a read-only dataset"));
    if (editRow_ >= 0) post(editRow_);
    const int row = rows_;
    insertEmptyRow(row);
    editRow_ = row;
    inserted_ = true;
    changed_.assign(cols_.size(), 0);
    original_.assign(cols_.size(), QVariant());
    current_ = row;
    return row;
}

void Dataset::readInto(int row, const Query& q) {
    rowIds_[row] = q.integer(0);
    for (int c = 0; c < columnCount(); ++c) {
        const int qc = c + 1;
        QVariant v;
        if (!q.isNull(qc)) {
            switch (cols_[c].type) {
            case Type::Real:
                v = q.real(qc);
                break;
            case Type::Integer:
            case Type::Bool:
                v = q.integer(qc);
                break;
            case Type::Text:
            case Type::Date:
                v = q.text(qc);
                break;
            default:
                v = q.value(qc);
                break;
            }
        }
        setStored(row, c, v);
    }
}

void Dataset::post(int row) {
    if (row != editRow_ || editRow_ < 0) return;
    QStringList names;
    Params params;
    for (int c = 0; c < columnCount(); ++c) {
        if (!changed_[c]) continue;
        names << cols_[c].name;
        params.push_back(isNull(row, c) ? QVariant() : storedValue(row, c));
    }
    // Column names come from the table itself, never from the user.
    if (inserted_) {
        if (names.isEmpty()) {
            db_->exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_));
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral(":p%1").arg(i + 1);
            db_->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(table_, names.join(u','), marks.join(u',')),
                      params);
        }
        rowIds_[row] = db_->lastInsertRowId();
    } else if (!names.isEmpty()) {
        QStringList sets;
        for (int i = 0; i < names.size(); ++i)
            sets << QStringLiteral("%1 = :p%2").arg(names[i]).arg(i + 1);
        params.push_back(rowIds_[row]);
        db_->exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = :p%3")
                      .arg(table_, sets.join(u','))
                      .arg(names.size() + 1),
                  params);
    }
    editRow_ = -1;
    changed_.clear();
    original_.clear();
    inserted_ = false;
    // Read the row back so that defaults and stored conversions show.
    Query q(*db_, QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid = :p1").arg(table_), {rowIds_[row]});
    if (q.next()) readInto(row, q);
}

void Dataset::cancel(int row) {
    if (row != editRow_ || editRow_ < 0) return;
    if (inserted_) {
        editRow_ = -1;
        eraseRow(row);
    } else {
        for (int c = 0; c < columnCount(); ++c)
            if (changed_[c]) setStored(row, c, original_[c]);
        editRow_ = -1;
    }
    changed_.clear();
    original_.clear();
    inserted_ = false;
}

void Dataset::remove(int row) {
    if (!editable()) throw databaseError(QStringLiteral("Cannot modify a read-only dataset"));
    if (row < 0 || row >= rows_) return;
    if (row == editRow_ && inserted_) {
        cancel(row);
        return;
    }
    if (row == editRow_) editRow_ = -1;
    db_->exec(QStringLiteral("DELETE FROM %1 WHERE rowid = :p1").arg(table_), {rowIds_[row]});
    eraseRow(row);
}

void Dataset::setDisplayFormat(const QString& column, const QString& picture) {
    const int c = columnIndex(column);
    if (c >= 0) cols_[c].picture = picture;
}

QString Dataset::displayText(int row, int col) const {
    const Column& c = cols_[col];
    if (c.nulls[row]) return QString();
    switch (c.type) {
    case Type::Real:
        return formatNumber(c.reals[row], c.picture);
    case Type::Integer:
        return c.picture.isEmpty() ? QString::number(c.ints[row])
                                   : formatNumber(double(c.ints[row]), c.picture);
    case Type::Bool:
        return c.ints[row] ? QStringLiteral("√") : QString();
    case Type::Date: {
        const QString s = arena_.view(c.texts[row]).toString();
        const QDate d = dateFromStored(s);
        return d.isValid() ? appDateFormat().format(d) : s;
    }
    case Type::Text:
        return arena_.view(c.texts[row]).toString();
    default:
        return c.variants[row].toString();
    }
}

std::size_t Dataset::memoryUsage() const {
    std::size_t n = rowIds_.capacity() * sizeof(qint64) + arena_.bytes();
    for (const Column& c : cols_) {
        n += c.nulls.capacity() + c.reals.capacity() * sizeof(double) + c.ints.capacity() * sizeof(qint64) +
             c.texts.capacity() * sizeof(TextRef) + c.variants.capacity() * sizeof(QVariant);
    }
    return n;
}

} // namespace gz
