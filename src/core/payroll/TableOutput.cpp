#include "core/payroll/TableOutput.h"

#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Schema.h"

#include <sqlcipher/sqlite3.h>

namespace gz::payroll {

namespace {

QString csvField(const QString& s) {
    if (s.contains(u',') || s.contains(u'"') || s.contains(u'\n') || s.contains(u'\r')) {
        QString q = s;
        q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return u'"' + q + u'"';
    }
    return s;
}

CellKind kindOf(Dataset::Type t) {
    switch (t) {
    case Dataset::Type::Real:
    case Dataset::Type::Integer:
    case Dataset::Type::Bool:
        return CellKind::Number;
    case Dataset::Type::Date:
        return CellKind::Date;
    case Dataset::Type::Blob:
        return CellKind::Blob;
    default:
        return CellKind::Text;
    }
}

CellKind kindOf(ColType t) {
    switch (t) {
    case ColType::Double:
    case ColType::Bool:
    case ColType::AutoNumber:
    case ColType::Integer:
        return CellKind::Number;
    case ColType::DateTime:
        return CellKind::Date;
    case ColType::Binary:
        return CellKind::Blob;
    default:
        return CellKind::Text;
    }
}

QVariant datasetCell(const Dataset& ds, int r, int c) {
    if (ds.isNull(r, c)) return QVariant();
    switch (ds.columnType(c)) {
    case Dataset::Type::Real:
        return ds.real(r, c);
    case Dataset::Type::Integer:
    case Dataset::Type::Bool:
        return ds.value(r, c).toLongLong();
    case Dataset::Type::Blob:
        return ds.value(r, c).toByteArray();
    default:
        return ds.text(r, c);
    }
}

} // namespace

QString cellText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
        return formatNumber(v.toDouble(), QString());
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(v.toLongLong());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QByteArray:
        return QString::fromLatin1(v.toByteArray().toBase64());
    default:
        return v.toString();
    }
}

void CsvSink::line(const QStringList& fields) {
    QStringList f;
    f.reserve(fields.size());
    for (const QString& s : fields)
        f << csvField(s);
    out_ << f.join(u',') << "\r\n";
}

void CsvSink::begin(const QStringList& names, const std::vector<CellKind>&) {
    line(names);
}

void CsvSink::row(const std::vector<QVariant>& cells) {
    QStringList f;
    f.reserve(static_cast<int>(cells.size()));
    for (const QVariant& v : cells)
        f << cellText(v);
    line(f);
}

void CsvSink::gap() {
    out_ << "\r\n";
}

void writeDataset(const Dataset& ds, const QStringList& columns, TableSink& sink) {
    std::vector<int> idx;
    QStringList names;
    std::vector<CellKind> kinds;
    if (columns.isEmpty()) {
        for (int c = 0; c < ds.columnCount(); ++c)
            idx.push_back(c);
    } else {
        for (const QString& name : columns) {
            const int c = ds.columnIndex(name);
            if (c < 0) throw databaseError(QStringLiteral("没有字段 %1").arg(name));
            idx.push_back(c);
        }
    }
    for (int c : idx) {
        names << ds.columnName(c);
        kinds.push_back(kindOf(ds.columnType(c)));
    }
    sink.begin(names, kinds);
    std::vector<QVariant> cells(idx.size());
    for (int r = 0; r < ds.rowCount(); ++r) {
        for (std::size_t i = 0; i < idx.size(); ++i)
            cells[i] = datasetCell(ds, r, idx[i]);
        sink.row(cells);
    }
}

void writeTable(Database& db, const QString& table, TableSink& sink) {
    const TableDef* def = findTable(table);
    if (!def) throw databaseError(QStringLiteral("没有表 %1").arg(table));
    // The table name is the schema's own spelling, never the typed text.
    Query q(db, QStringLiteral("SELECT * FROM %1").arg(def->name));
    QStringList names;
    std::vector<CellKind> kinds;
    for (int c = 0; c < q.columnCount(); ++c) {
        names << q.columnName(c);
        const ColumnDef* col = def->column(q.columnName(c));
        kinds.push_back(col ? kindOf(col->type) : CellKind::Text);
    }
    sink.begin(names, kinds);
    std::vector<QVariant> cells(names.size());
    while (q.next()) {
        for (int c = 0; c < q.columnCount(); ++c) {
            switch (q.storageType(c)) {
            case SQLITE_NULL:
                cells[c] = QVariant();
                break;
            case SQLITE_INTEGER:
                cells[c] = kinds[c] == CellKind::Number ? QVariant(q.integer(c)) : QVariant(q.text(c));
                break;
            case SQLITE_FLOAT:
                cells[c] = kinds[c] == CellKind::Number ? QVariant(q.real(c)) : QVariant(q.text(c));
                break;
            case SQLITE_BLOB:
                cells[c] = q.blob(c);
                break;
            default:
                cells[c] = q.text(c);
                break;
            }
        }
        sink.row(cells);
    }
}

namespace {
QVariant sumCell(bool has, double v) {
    return has ? QVariant(v) : QVariant();
}
} // namespace

void writePayroll(Database& db, const Filter& filter, TableSink& sink) {
    Dataset list;
    const Totals t = refresh(db, filter, &list);
    QStringList cols;
    for (const GridColumn& g : gridColumns())
        cols << g.field;
    writeDataset(list, cols, sink);
    sink.gap();
    const CellKind n = CellKind::Number;
    sink.begin({QStringLiteral("totalqty"), QStringLiteral("jge"), QStringLiteral("spellje"),
                QStringLiteral("pointje"), QStringLiteral("overje"), QStringLiteral("yfgz"),
                QStringLiteral("sfgz"), QStringLiteral("branchname")},
               {n, n, n, n, n, n, n, CellKind::Text});
    sink.row({QVariant(t.count), sumCell(t.hasSums, t.jge), sumCell(t.hasSums, t.spellje),
              sumCell(t.hasSums, t.pointje), sumCell(t.hasSums, t.overje), sumCell(t.hasSums, t.yfgz),
              sumCell(t.hasSums, t.sfgz), QVariant(t.branchname)});
}

void writeSummary(Database& db, SummaryKind kind, const SummaryFilter& filter, TableSink& sink) {
    Dataset list;
    const SummaryTotals t = refreshSummary(db, kind, filter, &list);
    QStringList cols;
    for (const GridColumn& g : summaryGridColumns(kind))
        cols << g.field;
    writeDataset(list, cols, sink);
    sink.gap();
    const CellKind n = CellKind::Number;
    QStringList names{QStringLiteral("hjsl"), QStringLiteral("amount")};
    std::vector<CellKind> kinds{n, n};
    std::vector<QVariant> cells{sumCell(t.hasSums, t.hjsl), sumCell(t.hasSums, t.amount)};
    if (kind == SummaryKind::Time) {
        names << QStringLiteral("hjovertime") << QStringLiteral("hjoverje");
        kinds.insert(kinds.end(), {n, n});
        cells.push_back(sumCell(t.hasSums, t.hjovertime));
        cells.push_back(sumCell(t.hasSums, t.hjoverje));
    }
    names << QStringLiteral("branchname");
    kinds.push_back(CellKind::Text);
    cells.push_back(t.branchname);
    sink.begin(names, kinds);
    sink.row(cells);
}

} // namespace gz::payroll
