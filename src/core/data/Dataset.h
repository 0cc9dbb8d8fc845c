#pragma once
// A client-side cursor over a query: all rows are fetched at open and kept column by column
// (numbers in flat arrays, equal texts sharing one buffer), so grids and report channels read
// values without a copy per access. A dataset opened on a table can also edit, append and
// delete rows; each change is written to the data file at once, by rowid.

#include "core/data/Database.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace gz {

class Dataset {
public:
    enum class Type { Integer, Real, Text, Date, Bool, Blob, Variant };

    Dataset() = default;
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
    Dataset(Dataset&&) = default;
    Dataset& operator=(Dataset&&) = default;

    // Read-only: any SELECT.
    void open(Database& db, const QString& sql, const Params& params = {});
    // Editable: the rows of one of our tables, with an optional "WHERE …"/"ORDER BY …" tail
    // (parameters :p1 … bound from params).
    void openTable(Database& db, const QString& table, const QString& tail = {}, const Params& params = {});
    // Runs the same query again; the current row is kept by position where possible.
    void refresh();
    void close();
    bool isOpen() const { return open_; }
    bool editable() const { return !table_.isEmpty(); }
    const QString& table() const { return table_; }

    int rowCount() const { return rows_; }
    int columnCount() const { return static_cast<int>(cols_.size()); }
    QString columnName(int col) const { return cols_[col].name; }
    int columnIndex(const QString& name) const; // case-insensitive; -1 when absent
    Type columnType(int col) const { return cols_[col].type; }

    bool isNull(int row, int col) const { return cols_[col].nulls[row] != 0; }
    QVariant value(int row, int col) const;
    double real(int row, int col) const;  // 0 for empty
    QString text(int row, int col) const; // numbers as plain text, empty for empty
    // The stored text of a text or date column without a copy; valid while the dataset is open and
    // the cell unchanged. Empty for other columns.
    QStringView textView(int row, int col) const;
    qint64 rowId(int row) const { return rowIds_.empty() ? -1 : rowIds_[row]; }

    // The cursor.
    int current() const { return current_; }
    void setCurrent(int row);
    bool first();
    bool next();
    bool last();
    bool eof() const { return rows_ == 0 || current_ >= rows_; }
    // Field of the current row by name; raises a database error naming an unknown field.
    QVariant field(const QString& name) const;
    double realField(const QString& name) const;
    QString textField(const QString& name) const;
    // The sum of a column as SQL's sum() gives it: empty values are left out, and the sum itself is
    // empty when no row holds a value.
    QVariant sum(int col) const;
    // Finds the first row whose column equals the value (as text); -1 when none.
    int locate(const QString& column, const QVariant& value) const;

    // Editing (openTable only). setValue converts text typed into number and date columns and
    // raises the conversion error for text that is not one; empty text stores an empty value.
    void setValue(int row, int col, const QVariant& value);
    void setField(const QString& name, const QVariant& value);
    bool modified(int row) const;
    // Adds a row at the end (not yet written) and makes it current.
    int append();
    // Writes the pending changes of a row (INSERT for an appended row, UPDATE of the changed
    // columns otherwise) and reads it back, so defaults and conversions show.
    void post(int row);
    void post() { post(current_); }
    // Forgets the pending changes of a row (an appended row disappears).
    void cancel(int row);
    // Deletes a row from the data file and from the dataset.
    void remove(int row);

    // Per-column display formats: numeric pictures for numbers; dates use the application's short
    // date format unless the column has its own DateFormat.
    void setDisplayFormat(const QString& column, const QString& picture);
    QString displayFormat(int col) const { return cols_[col].picture; }
    QString displayText(int row, int col) const;

    // Approximate bytes held (for the memory budget of large line tables).
    std::size_t memoryUsage() const;

private:
    struct TextRef {
        quint32 chunk = 0;
        quint32 pos = 0;
        quint32 len = 0;
    };
    // Texts live in large UTF-16 blocks that never move, so loading allocates once per block
    // instead of once per cell, and reading hands out views.
    class TextArena {
    public:
        TextRef add(const char16_t* s, std::size_t n);
        TextRef add(QStringView s) { return add(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }
        QStringView view(const TextRef& r) const {
            return r.len == 0 ? QStringView() : QStringView(chunks_[r.chunk].get() + r.pos, r.len);
        }
        void clear() {
            chunks_.clear();
            used_ = kChunk;
            bytes_ = 0;
        }
        std::size_t bytes() const { return bytes_; }

    private:
        static constexpr std::size_t kChunk = 128 * 1024;
        std::vector<std::unique_ptr<char16_t[]>> chunks_;
        std::size_t used_ = kChunk; // in the last chunk
        std::size_t bytes_ = 0;
    };

    struct Column {
        QString name;
        Type type = Type::Variant;
        std::vector<double> reals;
        std::vector<qint64> ints;
        std::vector<TextRef> texts; // text and date columns: slices of the arena
        std::vector<QVariant> variants;
        std::vector<quint8> nulls;
        QString picture;
    };

    void load();
    void readInto(int row, const Query& q);
    void setStored(int row, int col, const QVariant& v);
    void insertEmptyRow(int row);
    void eraseRow(int row);
    static Type typeFromDeclared(const QString& decl, int storage);
    QVariant convertTyped(int col, const QVariant& v) const;
    QVariant storedValue(int row, int col) const;

    Database* db_ = nullptr;
    QString sql_;
    Params params_;
    QString table_;
    bool open_ = false;
    int rows_ = 0;
    int current_ = 0;
    std::vector<Column> cols_;
    std::vector<qint64> rowIds_;
    QHash<QString, int> index_;
    // The one row with unwritten changes (as a data-aware form has at most one), -1 when none.
    int editRow_ = -1;
    bool inserted_ = false;
    std::vector<char> changed_;
    std::vector<QVariant> original_;
    TextArena arena_;
    int reserveHint_ = 0; // rows of the largest earlier load
};

} // namespace gz
