#pragma once
// Look-ups of employees, processed items and workshops as the documents use them, and the
// on-the-spot creation of an employee or a processed item from a wage line.

#include "core/master/Outcome.h"

#include <QString>
#include <optional>

namespace gz {

class Database;

struct EmployeeInfo {
    QString intno, id, name, department; // department = szbm
    double basegz = 0;                   // fixed wage
    double dj = 0;                       // price per shift
};

struct ProductInfo {
    QString intno, id, name;
    double jgj = 0; // processing price
};

struct BranchInfo {
    QString intno, id, name;
};

// Employee numbers typed by the user: blanks removed, right-aligned to four characters with
// zeros, keeping the last four ("7" → "0007", "12345" → "2345", "" → "0000").
QString padEmployeeNumber(const QString& typed);

// The first row with exactly this value (as stored), or nothing.
std::optional<EmployeeInfo> findEmployee(Database& db, const QString& id);
std::optional<EmployeeInfo> findEmployeeByName(Database& db, const QString& name);
std::optional<ProductInfo> findProduct(Database& db, const QString& id);
std::optional<ProductInfo> findProductByName(Database& db, const QString& name);
std::optional<BranchInfo> findBranch(Database& db, const QString& id);
std::optional<BranchInfo> findBranchByName(Database& db, const QString& name);

// A wage line names an employee: an existing number must carry the same name; an unknown number
// becomes a new employee with only its internal number, number, name and department.
// Refusals: "请输入员工姓名！", "请输入员工号！", "请输入员工号与姓名不符！".
Check ensureEmployee(Database& db, const QString& id, const QString& name, const QString& department,
                     bool* created = nullptr);

// The same for a processed item; a new one gets no price. An empty number with an empty name
// means the line names no item and passes untouched. Refusals: "请输入货号！",
// "请输入货号与品名不符！".
Check ensureProduct(Database& db, const QString& id, const QString& name, bool* created = nullptr);

} // namespace gz
