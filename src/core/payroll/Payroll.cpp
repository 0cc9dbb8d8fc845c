#include "core/payroll/Payroll.h"

#include "core/data/Database.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/data/Schema.h"
#include "core/session/Session.h"

#include <cmath>

namespace gz::payroll {

namespace {

// Empty fields count as 0, so that a row written by an older program or an import, with some
// amounts left empty, still gets a gross and net pay.
const QString kGross = QStringLiteral(
    "COALESCE(basegz,0)+COALESCE(jge,0)+COALESCE(spellje,0)+COALESCE(pointje,0)+COALESCE(overje,0)"
    "+COALESCE(allbonus,0)+COALESCE(allowance,0)");
const QString kNetDeductions = QStringLiteral(
    "-COALESCE(boardwages,0)-COALESCE(bedding,0)-COALESCE(sanitation,0)-COALESCE(loan,0)"
    "-COALESCE(amerce,0)-COALESCE(water,0)-COALESCE(electric,0)+COALESCE(deposit,0)-COALESCE(deduce,0)"
    "+COALESCE(appje,0)");

const QString kPeriod = QStringLiteral("etdate >= :p1 AND etdate <= :p2");

void requireDates(const Filter& f) {
    if (!f.from.isValid()) throw conversionError(QStringLiteral("开始日期不是有效日期"));
    if (!f.to.isValid()) throw conversionError(QStringLiteral("结束日期不是有效日期"));
}

// :p1, :p2 the dates, :p3 the workshop name, :p4 the employee number (both trimmed).
Params filterParams(const Filter& f) {
    return {dateToStored(f.from), dateToStored(f.to), f.workshop.trimmed(), f.gh.trimmed()};
}

// The workshop and employee conditions; only fixed text, the values are bound.
QString filterConditions(const Filter& f) {
    QString s;
    if (!f.workshop.trimmed().isEmpty()) s += QStringLiteral(" AND branchname = :p3");
    if (filtersEmployee(f.gh)) s += QStringLiteral(" AND gh = :p4");
    return s;
}

QString modeConditions(Mode m) {
    switch (m) {
    case Mode::Current:
        return QStringLiteral(" AND lcbj = 0");
    case Mode::All:
        return QString();
    case Mode::Paid:
        return QStringLiteral(" AND lcbj = 0 AND payoff = 1");
    case Mode::Unpaid:
        return QStringLiteral(" AND lcbj = 0 AND payoff = 0");
    }
    return QString();
}

// The totals row keeps the workshop name as its caption; the column is narrower than department
// names may be, so a long name is cut to fit rather than failing the whole refresh.
QString totalsCaption(const QString& workshop) {
    static const int width =
        findTable(QStringLiteral("gzbtotal"))->column(QStringLiteral("branchname"))->width;
    return workshop.trimmed().left(width);
}

} // namespace

std::optional<Mode> modeFromName(const QString& name) {
    if (name == QLatin1String("current")) return Mode::Current;
    if (name == QLatin1String("all")) return Mode::All;
    if (name == QLatin1String("paid")) return Mode::Paid;
    if (name == QLatin1String("unpaid")) return Mode::Unpaid;
    return std::nullopt;
}

namespace {

QVariant columnSum(const Dataset& ds, const char* field) {
    return ds.sum(ds.columnIndex(QString::fromLatin1(field)));
}

} // namespace

Totals refresh(Database& db, const Filter& f, Dataset* list) {
    requireDates(f);
    const Params p = filterParams(f);
    const QString filters = filterConditions(f);
    Dataset local;
    Dataset& rows = list ? *list : local;
    Transaction tx(db);
    rememberPeriod(db, f.from, f.to);
    // SQLite evaluates every assignment against the old row, so the net pay spells the new gross
    // out instead of reading yfgz. Rows whose pay is already right are left alone, so a repeated
    // refresh writes nothing.
    const QString net = kGross + kNetDeductions;
    db.exec(QStringLiteral(
                "UPDATE gzb SET yfgz = %1, sfgz = %2 WHERE %3%4 AND (yfgz IS NOT (%1) OR sfgz IS NOT (%2))")
                .arg(kGross, net, kPeriod, filters),
            p);
    // The totals take the same rows as the list, so they are summed from it rather than read again.
    openList(db, f, rows);
    const Params totals{rows.rowCount(),
                        columnSum(rows, "jge"),
                        columnSum(rows, "spellje"),
                        columnSum(rows, "pointje"),
                        columnSum(rows, "overje"),
                        columnSum(rows, "yfgz"),
                        columnSum(rows, "sfgz"),
                        totalsCaption(f.workshop)};
    // The totals row is rewritten only when it changes.
    const bool same =
        db.scalar(QStringLiteral(
                      "SELECT count(*) = 1 AND sum(totalqty IS :p1 AND jge IS :p2 AND spellje IS :p3 AND "
                      "pointje IS :p4 AND overje IS :p5 AND yfgz IS :p6 AND sfgz IS :p7 AND branchname "
                      "IS :p8 AND gh IS NULL) = 1 FROM gzbtotal"),
                  totals)
            .toBool();
    if (!same) {
        db.exec(QStringLiteral("DELETE FROM gzbtotal"));
        db.exec(QStringLiteral(
                    "INSERT INTO gzbtotal (totalqty, jge, spellje, pointje, overje, yfgz, sfgz, branchname) "
                    "VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8)"),
                totals);
    }
    tx.commit();
    return readTotals(db);
}

void openList(Database& db, const Filter& f, Dataset& list) {
    requireDates(f);
    list.openTable(db, QStringLiteral("gzb"),
                   QStringLiteral("WHERE %1%2%3 ORDER BY branchname, gh")
                       .arg(kPeriod, modeConditions(f.mode), filterConditions(f)),
                   filterParams(f));
}

Totals readTotals(Database& db) {
    Totals t;
    Query q(db, QStringLiteral("SELECT totalqty, jge, spellje, pointje, overje, yfgz, sfgz, branchname "
                               "FROM gzbtotal LIMIT 1"));
    if (!q.next()) return t;
    t.count = q.real(0);
    t.hasSums = !q.isNull(5);
    t.jge = q.real(1);
    t.spellje = q.real(2);
    t.pointje = q.real(3);
    t.overje = q.real(4);
    t.yfgz = q.real(5);
    t.sfgz = q.real(6);
    t.branchname = q.text(7);
    return t;
}

int markPaid(Database& db, const Filter& f, bool paid, Dataset* list) {
    requireDates(f);
    Params p = filterParams(f);
    p.push_back(paid ? 1 : 0);
    const int n = db.exec(
        QStringLiteral("UPDATE gzb SET payoff = :p5 WHERE %1%2").arg(kPeriod, filterConditions(f)), p);
    if (list) openList(db, f, *list);
    return n;
}

int clearPeriod(Database& db, const Filter& f, Dataset* list) {
    requireDates(f);
    const int n =
        db.exec(QStringLiteral("DELETE FROM gzb WHERE %1 AND lcbj = 0%2").arg(kPeriod, filterConditions(f)),
                filterParams(f));
    if (list) {
        Filter current = f;
        current.mode = Mode::Current;
        openList(db, current, *list);
    }
    return n;
}

std::optional<QString> checkGuard(const QString& operatorNumber, const QString& loginPassword,
                                  const QString& typedPassword, const QString& wrongPasswordText) {
    if (!isAdministrator(operatorNumber)) return gz::msg::noRight();
    if (typedPassword.trimmed() != loginPassword) return wrongPasswordText;
    return std::nullopt;
}

const std::vector<GridColumn>& gridColumns() {
    static const std::vector<GridColumn> cols = {
        {QStringLiteral("payoff"), QStringLiteral("发"), 22},
        {QStringLiteral("nf"), QStringLiteral("年"), 33},
        {QStringLiteral("yf"), QStringLiteral("月"), 17},
        {QStringLiteral("branchname"), QStringLiteral("车间部门"), 67},
        {QStringLiteral("gh"), QStringLiteral("工号"), 49},
        {QStringLiteral("xm"), QStringLiteral("姓名"), 50},
        {QStringLiteral("basegz"), QStringLiteral("固定工资"), 54},
        {QStringLiteral("jge"), QStringLiteral("计件工资"), 57},
        {QStringLiteral("spellqty"), QStringLiteral("班数"), 36},
        {QStringLiteral("spelldj"), QStringLiteral("元/班"), 42},
        {QStringLiteral("spellje"), QStringLiteral("班工资"), 49},
        {QStringLiteral("pointqty"), QStringLiteral("月分数"), 43},
        {QStringLiteral("pointdj"), QStringLiteral("元/分"), 35},
        {QStringLiteral("pointje"), QStringLiteral("计分工资"), 55},
        {QStringLiteral("overtime"), QStringLiteral("加班时间"), 54},
        {QStringLiteral("overje"), QStringLiteral("加班工资"), 52},
        {QStringLiteral("allbonus"), QStringLiteral("全勤奖"), 41},
        {QStringLiteral("allowance"), QStringLiteral("津贴"), 37},
        {QStringLiteral("yfgz"), QStringLiteral("应发工资"), 57},
        {QStringLiteral("bedding"), QStringLiteral("被褥"), 36},
        {QStringLiteral("sanitation"), QStringLiteral("卫生"), 38},
        {QStringLiteral("loan"), QStringLiteral("借款"), 37},
        {QStringLiteral("amerce"), QStringLiteral("罚款"), 38},
        {QStringLiteral("water"), QStringLiteral("水费"), 37},
        {QStringLiteral("electric"), QStringLiteral("电费"), 37},
        {QStringLiteral("appje"), QStringLiteral("其它"), 37},
        {QStringLiteral("sfgz"), QStringLiteral("实发工资"), 59},
        {QStringLiteral("remark"), QStringLiteral("备注"), 64},
    };
    return cols;
}

QString totalText(double value, int decimals) {
    if (std::fabs(value) >= 1e10) return QString::number(value, 'E', 9);
    QString picture = QStringLiteral("0");
    if (decimals > 0) picture += u'.' + QString(decimals, u'0');
    return formatNumber(value, picture);
}

} // namespace gz::payroll
