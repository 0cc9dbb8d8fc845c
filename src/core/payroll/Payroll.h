#pragma once
// The monthly payroll table gzb as the payroll window works on it: the refresh that recomputes
// gross and net pay of a period and rebuilds the totals row, the four selection modes, the paid
// marks and the clearing of a period.

#include "core/payroll/Period.h"

#include <QString>
#include <optional>
#include <vector>

namespace gz {
class Database;
class Dataset;
} // namespace gz

namespace gz::payroll {

namespace msg {
inline QString wrongMarkPassword() {
    return QStringLiteral("输入操作号错误,请重新操作！");
}
inline QString wrongClearPassword() {
    return QStringLiteral("输入操作员密码错误,请重新操作！");
}
inline QString markPasswordPrompt() {
    return QStringLiteral("为防止误操作,请输入操作员密码:         ");
}
inline QString clearPasswordPrompt() {
    return QStringLiteral("为防止误操作,请输入操作员密码:          ");
}
inline QString passwordCaption() {
    return QStringLiteral("提示信息");
}
inline QString confirmMarkPaid() {
    return QStringLiteral("确实要对这些工资加上已发标记?");
}
inline QString confirmUnmarkPaid() {
    return QStringLiteral("确实要对这些工资去掉已发标记?");
}
inline QString confirmClear() {
    return QStringLiteral("确实要清除工资数据吗?");
}
inline QString unknownWorkshop() {
    return QStringLiteral("查无此车间号！");
}
} // namespace msg

// Which rows the totals and the list take (the refresh recomputes every row of the period).
enum class Mode {
    Current, // employees who have not left
    All,     // everybody, those who left included
    Paid,    // not left, marked paid
    Unpaid,  // not left, not marked paid
};
// "current", "all", "paid", "unpaid"; nullopt for anything else.
std::optional<Mode> modeFromName(const QString& name);

struct Filter {
    QDate from;
    QDate to;
    QString workshop; // workshop (department) name, compared with gzb.branchname; empty: all
    QString gh;       // employee number; empty or "0000": all
    Mode mode = Mode::Current;
};

// The totals row of gzbtotal. Sums are absent (hasSums false) when no row was selected.
struct Totals {
    double count = 0;
    bool hasSums = false;
    double jge = 0, spellje = 0, pointje = 0, overje = 0, yfgz = 0, sfgz = 0;
    QString branchname;
};

// The payroll refresh: remembers the period, recomputes yfgz and sfgz of every row of the period
// (whatever the mode), rewrites the totals row and, when `list` is given, reopens it on the
// selected rows ordered by department and employee. An invalid date raises the conversion error
// before anything is written. All writes happen in one transaction.
Totals refresh(Database& db, const Filter& filter, Dataset* list = nullptr);
// Reopens the list alone (editable, all columns of gzb, ordered by branchname, gh).
void openList(Database& db, const Filter& filter, Dataset& list);
// The totals row as stored (an empty Totals when gzbtotal has no row).
Totals readTotals(Database& db);

// Sets (paid) or clears the paid mark of every row of the period that the workshop and employee
// filters select, rows of employees who left included; returns the rows changed. Reopens `list`
// in the filter's mode when given.
int markPaid(Database& db, const Filter& filter, bool paid, Dataset* list = nullptr);
// Deletes the rows of the period that the filters select, except those of employees who left;
// returns the rows deleted. Reopens `list` in the current mode when given.
int clearPeriod(Database& db, const Filter& filter, Dataset* list = nullptr);

// The guard of the mark and clear commands: the administrator, who re-types the login password.
// Returns the refusal text, or nullopt when the command may go on.
std::optional<QString> checkGuard(const QString& operatorNumber, const QString& loginPassword,
                                  const QString& typedPassword, const QString& wrongPasswordText);

struct GridColumn {
    QString field;
    QString title;
    int width;
};
// The payroll grid's columns, in order.
const std::vector<GridColumn>& gridColumns();

// A total as the total boxes show it: fixed notation with `decimals` decimals (at most 10
// significant digits; larger numbers in scientific notation).
QString totalText(double value, int decimals);

} // namespace gz::payroll
