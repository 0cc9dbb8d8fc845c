#pragma once
// The leaving state of an employee (lcbj, lcrq) and the payroll rows that mirror it (gzb.lcbj).

#include <QDate>
#include <QString>

namespace gz {

class Database;

// Applied when an employee row is saved, before the row itself is written: a set flag with a
// leaving date marks all the employee's payroll rows as left; a flag that is not set clears the
// leaving date and the payroll rows' flags; a set flag without a date leaves the payroll rows
// alone. `left` and `leavingDate` (stored text, empty for none) are adjusted in place. Returns the
// payroll rows changed. Run it in the transaction that saves the employee row.
int applyLeavingRule(Database& db, const QString& employeeNumber, bool& left, QString& leavingDate);

// Marks the employee with this internal number as having left on `date` (or, with left false,
// as working again) and keeps the payroll rows in step, all in one transaction. Returns false
// when there is no such employee.
bool setEmployeeLeaving(Database& db, const QString& intno, bool left, const QDate& date = {});

} // namespace gz
