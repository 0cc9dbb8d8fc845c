#pragma once
// Tables handed to the front ends for output: the rows of any table of the data file, the payroll
// list with its totals row, a summary with its totals row. A sink writes them as CSV here; the
// command-line tool adds a spreadsheet sink.

#include "core/payroll/Payroll.h"
#include "core/payroll/Summary.h"

#include <QStringList>
#include <QTextStream>
#include <QVariant>
#include <vector>

namespace gz {
class Database;
class Dataset;
} // namespace gz

namespace gz::payroll {

enum class CellKind { Text, Number, Date, Blob };

class TableSink {
public:
    virtual ~TableSink() = default;
    // Starts a table: its header row of column names and the kind of each column.
    virtual void begin(const QStringList& names, const std::vector<CellKind>& kinds) = 0;
    // One row; a null QVariant is an empty cell. Numbers come as double or qint64, the rest as
    // text (dates as stored, yyyy-MM-dd) or bytes.
    virtual void row(const std::vector<QVariant>& cells) = 0;
    // The empty line between two tables.
    virtual void gap() = 0;
};

// A cell as CSV shows it: numbers as stored (shortest exact form), booleans 0/1, dates as
// stored, bytes in base 64, empty for null.
QString cellText(const QVariant& v);

// RFC 4180 CSV with CRLF line ends.
class CsvSink : public TableSink {
public:
    explicit CsvSink(QTextStream& out) : out_(out) {}
    void begin(const QStringList& names, const std::vector<CellKind>& kinds) override;
    void row(const std::vector<QVariant>& cells) override;
    void gap() override;

private:
    void line(const QStringList& fields);
    QTextStream& out_;
};

// The given columns (all when empty) of every row of a dataset.
void writeDataset(const Dataset& ds, const QStringList& columns, TableSink& sink);
// Every row of one of our tables, read row by row (no copy of a large table in memory). A name
// that is not one of our tables raises a database error.
void writeTable(Database& db, const QString& table, TableSink& sink);
// The payroll refresh: the listed rows in the grid's columns, a gap, the totals row.
void writePayroll(Database& db, const Filter& filter, TableSink& sink);
// The summary refresh: the lines, a gap, the totals row.
void writeSummary(Database& db, SummaryKind kind, const SummaryFilter& filter, TableSink& sink);

} // namespace gz::payroll
