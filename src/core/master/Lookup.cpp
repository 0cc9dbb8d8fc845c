#include "core/master/Lookup.h"

#include "core/data/Database.h"
#include "core/data/Numbering.h"

namespace gz {

namespace {

std::optional<EmployeeInfo> employeeBy(Database& db, const QString& sql, const QString& key) {
    Query q(db, sql, {key});
    if (!q.next()) return std::nullopt;
    EmployeeInfo e;
    e.intno = q.text(0);
    e.id = q.text(1);
    e.name = q.text(2);
    e.department = q.text(3);
    e.basegz = q.real(4);
    e.dj = q.real(5);
    return e;
}

std::optional<ProductInfo> productBy(Database& db, const QString& sql, const QString& key) {
    Query q(db, sql, {key});
    if (!q.next()) return std::nullopt;
    ProductInfo p;
    p.intno = q.text(0);
    p.id = q.text(1);
    p.name = q.text(2);
    p.jgj = q.real(3);
    return p;
}

std::optional<BranchInfo> branchBy(Database& db, const QString& sql, const QString& key) {
    Query q(db, sql, {key});
    if (!q.next()) return std::nullopt;
    return BranchInfo{q.text(0), q.text(1), q.text(2)};
}

// Texts longer than their column would be refused by the data file; a department name that does
// not fit is left out rather than cut into a name no department has.
QString fitting(const QString& text, int width) {
    return text.size() <= width ? text : QString();
}

} // namespace

QString padEmployeeNumber(const QString& typed) {
    return (QStringLiteral("0000") + typed.trimmed()).right(4);
}

std::optional<EmployeeInfo> findEmployee(Database& db, const QString& id) {
    return employeeBy(db,
                      QStringLiteral("SELECT intno, id, name, szbm, basegz, dj FROM employee WHERE id = :p1 "
                                     "ORDER BY rowid LIMIT 1"),
                      id);
}

std::optional<EmployeeInfo> findEmployeeByName(Database& db, const QString& name) {
    return employeeBy(
        db,
        QStringLiteral("SELECT intno, id, name, szbm, basegz, dj FROM employee WHERE name = :p1 "
                       "ORDER BY rowid LIMIT 1"),
        name);
}

std::optional<ProductInfo> findProduct(Database& db, const QString& id) {
    return productBy(
        db, QStringLiteral("SELECT intno, id, name, jgj FROM prowork WHERE id = :p1 ORDER BY rowid LIMIT 1"),
        id);
}

std::optional<ProductInfo> findProductByName(Database& db, const QString& name) {
    return productBy(
        db,
        QStringLiteral("SELECT intno, id, name, jgj FROM prowork WHERE name = :p1 ORDER BY rowid LIMIT 1"),
        name);
}

std::optional<BranchInfo> findBranch(Database& db, const QString& id) {
    return branchBy(
        db, QStringLiteral("SELECT intno, id, name FROM branch WHERE id = :p1 ORDER BY rowid LIMIT 1"), id);
}

std::optional<BranchInfo> findBranchByName(Database& db, const QString& name) {
    return branchBy(
        db, QStringLiteral("SELECT intno, id, name FROM branch WHERE name = :p1 ORDER BY rowid LIMIT 1"),
        name);
}

Check ensureEmployee(Database& db, const QString& id, const QString& name, const QString& department,
                     bool* created) {
    if (created) *created = false;
    if (name.isEmpty()) return refused(QStringLiteral("请输入员工姓名！"));
    // An employee without a number would be created by a blank box; nobody could pick it again.
    if (id.trimmed().isEmpty()) return refused(QStringLiteral("请输入员工号！"));
    if (auto e = findEmployee(db, id)) {
        if (e->name != name) return refused(QStringLiteral("请输入员工号与姓名不符！"));
        return passed();
    }
    db.exec(QStringLiteral("INSERT INTO employee (intno, id, name, szbm) VALUES (:p1, :p2, :p3, :p4)"),
            {nextInternalNumber(db, QStringLiteral("employee")), id, name, fitting(department, 12)});
    if (created) *created = true;
    return passed();
}

Check ensureProduct(Database& db, const QString& typedId, const QString& name, bool* created) {
    if (created) *created = false;
    const QString id = typedId.trimmed();
    if (id.isEmpty() && name.isEmpty()) return passed();
    if (id.isEmpty()) return refused(QStringLiteral("请输入货号！"));
    if (auto p = findProduct(db, id)) {
        if (p->name != name) return refused(QStringLiteral("请输入货号与品名不符！"));
        return passed();
    }
    db.exec(QStringLiteral("INSERT INTO prowork (intno, id, name, szbj) VALUES (:p1, :p2, :p3, 0)"),
            {nextInternalNumber(db, QStringLiteral("prowork")), id, name});
    if (created) *created = true;
    return passed();
}

} // namespace gz
