#include "core/payroll/Summary.h"

#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Schema.h"
#include "core/payroll/Period.h"

namespace gz::payroll {

namespace {

void requireDates(const SummaryFilter& f) {
    if (!f.from.isValid()) throw conversionError(QStringLiteral("开始日期不是有效日期"));
    if (!f.to.isValid()) throw conversionError(QStringLiteral("结束日期不是有效日期"));
}

// Posted and not reversed lines of the period; :p1, :p2 the dates, %1 the line table. The lines
// of the period are found through the work-date index and then read in storage order: reading
// them in date order would visit the pages of a month's lines at random, many times over.
const QString kLines =
    QStringLiteral("rowid IN (SELECT rowid FROM %1 WHERE etdate >= :p1 AND etdate <= :p2) AND pass = 1 AND "
                   "(cancel IS NULL OR cancel = 0)");

// The same lines, for the totals without other conditions: the work-date index carries every
// column they read, so the table itself is not visited.
const QString kPeriodLines =
    QStringLiteral("etdate >= :p1 AND etdate <= :p2 AND pass = 1 AND (cancel IS NULL OR cancel = 0)");

// :p3 workshop number, :p4 employee number, :p5 product name (all trimmed).
Params filterParams(const SummaryFilter& f) {
    return {dateToStored(f.from), dateToStored(f.to), f.branchId.trimmed(), f.gh.trimmed(),
            f.product.trimmed()};
}

QString filterConditions(const SummaryFilter& f) {
    QString s;
    if (!f.branchId.trimmed().isEmpty()) s += QStringLiteral(" AND branchid = :p3");
    if (filtersEmployee(f.gh)) s += QStringLiteral(" AND gh = :p4");
    if (!f.product.trimmed().isEmpty()) s += QStringLiteral(" AND prowork = :p5");
    return s;
}

QString totalsCaption(const QString& name) {
    static const int width =
        findTable(QStringLiteral("totallist"))->column(QStringLiteral("branchname"))->width;
    return name.trimmed().left(width);
}

} // namespace

std::optional<SummaryKind> summaryKindFromCode(const QString& code) {
    if (code == QLatin1String("jj")) return SummaryKind::Piece;
    if (code == QLatin1String("jf")) return SummaryKind::Points;
    if (code == QLatin1String("js")) return SummaryKind::Time;
    return std::nullopt;
}

QString summaryLineTable(SummaryKind kind) {
    switch (kind) {
    case SummaryKind::Piece:
        return QStringLiteral("jjgzdetail");
    case SummaryKind::Points:
        return QStringLiteral("jfgzdetail");
    case SummaryKind::Time:
        return QStringLiteral("jsgzdetail");
    }
    return QString();
}

QString summaryCaption(SummaryKind kind) {
    switch (kind) {
    case SummaryKind::Piece:
        return QStringLiteral("计件工资汇总表");
    case SummaryKind::Points:
        return QStringLiteral("计分工资汇总表");
    case SummaryKind::Time:
        return QStringLiteral("计时工资汇总表");
    }
    return QString();
}

QString summaryTemplate(SummaryKind kind) {
    switch (kind) {
    case SummaryKind::Piece:
        return QStringLiteral("jjtotal.rmf");
    case SummaryKind::Points:
        return QStringLiteral("jftotal.rmf");
    case SummaryKind::Time:
        return QStringLiteral("jstotal.rmf");
    }
    return QString();
}

namespace {

QVariant columnSum(const Dataset& ds, const char* field) {
    return ds.sum(ds.columnIndex(QString::fromLatin1(field)));
}

} // namespace

SummaryTotals refreshSummary(Database& db, SummaryKind kind, const SummaryFilter& f, Dataset* list) {
    requireDates(f);
    const QString table = summaryLineTable(kind);
    const bool time = kind == SummaryKind::Time;
    Transaction tx(db);
    rememberPeriod(db, f.from, f.to);
    if (list) {
        // The totals take the same lines as the list, so they are summed from it; the row is
        // rewritten only when it changes.
        openSummaryList(db, kind, f, *list);
        const QVariant none;
        const Params totals{columnSum(*list, "sl"), columnSum(*list, "jge"),
                            time ? columnSum(*list, "overtime") : none,
                            time ? columnSum(*list, "overje") : none, totalsCaption(f.workshopName)};
        const bool same =
            db.scalar(QStringLiteral(
                          "SELECT count(*) = 1 AND sum(hjsl IS :p1 AND amount IS :p2 AND hjovertime IS "
                          ":p3 AND hjoverje IS :p4 AND branchname IS :p5 AND intno IS NULL AND "
                          "billdate IS NULL AND gh IS NULL) = 1 FROM totallist"),
                      totals)
                .toBool();
        if (!same) {
            db.exec(QStringLiteral("DELETE FROM totallist"));
            db.exec(QStringLiteral("INSERT INTO totallist (hjsl, amount, hjovertime, hjoverje, branchname) "
                                   "VALUES (:p1, :p2, :p3, :p4, :p5)"),
                    totals);
        }
    } else {
        db.exec(QStringLiteral("DELETE FROM totallist"));
        Params p = filterParams(f);
        p.push_back(totalsCaption(f.workshopName));
        // The table name comes from the kind; every value is bound.
        db.exec(QStringLiteral("INSERT INTO totallist (hjsl, amount, hjovertime, hjoverje, branchname) "
                               "SELECT sum(sl), sum(jge), %1, :p6 FROM %2 WHERE %3%4")
                    .arg(time ? QStringLiteral("sum(overtime), sum(overje)") : QStringLiteral("NULL, NULL"),
                         table, filterConditions(f).isEmpty() ? kPeriodLines : kLines.arg(table),
                         filterConditions(f)),
                p);
    }
    tx.commit();
    return readSummaryTotals(db);
}

namespace {

// Reading a period's lines in date order through the work-date index visits their pages out of
// storage order; that is fast only when the page cache holds them all (a busy month is about
// 20 MB of lines). With a smaller cache the lines are read in storage order and sorted instead.
bool cacheHoldsAMonthOfLines(Database& db) {
    const qint64 size = db.scalar(QStringLiteral("PRAGMA cache_size")).toLongLong();
    const qint64 bytes =
        size < 0 ? -size * 1024 : size * db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    return bytes >= 32LL * 1024 * 1024;
}

} // namespace

void openSummaryList(Database& db, SummaryKind kind, const SummaryFilter& f, Dataset& list) {
    requireDates(f);
    const QString table = summaryLineTable(kind);
    const QString lines = cacheHoldsAMonthOfLines(db) ? kPeriodLines : kLines.arg(table);
    list.open(
        db,
        QStringLiteral("SELECT * FROM %1 WHERE %2%3 ORDER BY etdate").arg(table, lines, filterConditions(f)),
        filterParams(f));
}

SummaryTotals readSummaryTotals(Database& db) {
    SummaryTotals t;
    Query q(db,
            QStringLiteral("SELECT hjsl, amount, hjovertime, hjoverje, branchname FROM totallist LIMIT 1"));
    if (!q.next()) return t;
    t.hasSums = !q.isNull(1) || !q.isNull(0);
    t.hjsl = q.real(0);
    t.amount = q.real(1);
    t.hjovertime = q.real(2);
    t.hjoverje = q.real(3);
    t.branchname = q.text(4);
    return t;
}

std::vector<GridColumn> summaryGridColumns(SummaryKind kind) {
    std::vector<GridColumn> cols = {
        {QStringLiteral("nf"), QStringLiteral("年度"), 45},
        {QStringLiteral("yf"), QStringLiteral("月份"), 45},
        {QStringLiteral("branchid"), QStringLiteral("车间编号"), 64},
        {QStringLiteral("branchname"), QStringLiteral("车间名称"), 104},
        {QStringLiteral("gh"), QStringLiteral("工号"), 64},
        {QStringLiteral("xm"), QStringLiteral("姓名"), 75},
        {QStringLiteral("prowork"), QStringLiteral("加工品名"), 77},
    };
    switch (kind) {
    case SummaryKind::Piece:
        cols.push_back({QStringLiteral("dj"), QStringLiteral("加工价"), 69});
        cols.push_back({QStringLiteral("sl"), QStringLiteral("加工量"), 67});
        cols.push_back({QStringLiteral("jge"), QStringLiteral("加工额"), 69});
        break;
    case SummaryKind::Points:
        cols.push_back({QStringLiteral("dj"), QStringLiteral("工分价"), 69});
        cols.push_back({QStringLiteral("sl"), QStringLiteral("分数"), 67});
        cols.push_back({QStringLiteral("jge"), QStringLiteral("加工金额"), 69});
        break;
    case SummaryKind::Time:
        cols.push_back({QStringLiteral("dj"), QStringLiteral("班工价"), 60});
        cols.push_back({QStringLiteral("sl"), QStringLiteral("班数"), 55});
        cols.push_back({QStringLiteral("jge"), QStringLiteral("加工额"), 69});
        cols.push_back({QStringLiteral("overtime"), QStringLiteral("加班时间"), 61});
        cols.push_back({QStringLiteral("overje"), QStringLiteral("加班工资"), 65});
        break;
    }
    cols.push_back({QStringLiteral("remark"), QStringLiteral("备注"), 109});
    return cols;
}

std::optional<QString> workshopName(Database& db, const QString& branchId) {
    Query q(db, QStringLiteral("SELECT name FROM branch WHERE id = :p1"), {branchId});
    if (!q.next()) return std::nullopt;
    return q.text(0);
}

} // namespace gz::payroll
