#pragma once
// Rows for payroll, summary and year-end tests, written straight into the tables the way posting
// leaves them.

#include "core/data/Database.h"

#include <QStringList>
#include <QVariantMap>

namespace gz::test {

// Inserts one row; the column names are the test's own fixed texts, the values are bound.
inline void insertRow(Database& db, const QString& table, const QVariantMap& values) {
    QStringList cols, marks;
    Params p;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        cols << it.key();
        p.push_back(it.value());
        marks << QStringLiteral(":p%1").arg(p.size());
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u',')),
            p);
}

// A payroll row of an employee and month, its work date in that month.
inline void addPayrollRow(Database& db, const QString& gh, const QString& etdate, const QString& branch,
                          const QVariantMap& extra = {}) {
    QVariantMap v = extra;
    v.insert(QStringLiteral("gh"), gh);
    v.insert(QStringLiteral("xm"), QStringLiteral("职工") + gh);
    v.insert(QStringLiteral("nf"), etdate.left(4));
    v.insert(QStringLiteral("yf"), QString::number(etdate.mid(5, 2).toInt()));
    v.insert(QStringLiteral("etdate"), etdate);
    v.insert(QStringLiteral("billdate"), etdate);
    v.insert(QStringLiteral("branchname"), branch);
    insertRow(db, QStringLiteral("gzb"), v);
}

// A document line of a kind's line table.
inline void addLine(Database& db, const QString& table, const QString& gh, const QString& etdate,
                    const QString& branchid, const QString& prowork, double sl, double jge,
                    bool posted = true, bool reversed = false, const QVariantMap& extra = {}) {
    QVariantMap v = extra;
    v.insert(QStringLiteral("gh"), gh);
    v.insert(QStringLiteral("xm"), QStringLiteral("职工") + gh);
    v.insert(QStringLiteral("nf"), etdate.left(4));
    v.insert(QStringLiteral("yf"), QString::number(etdate.mid(5, 2).toInt()));
    v.insert(QStringLiteral("etdate"), etdate);
    v.insert(QStringLiteral("billdate"), etdate);
    v.insert(QStringLiteral("branchid"), branchid);
    v.insert(QStringLiteral("prowork"), prowork);
    v.insert(QStringLiteral("sl"), sl);
    v.insert(QStringLiteral("jge"), jge);
    v.insert(QStringLiteral("pass"), posted ? 1 : 0);
    v.insert(QStringLiteral("cancel"), reversed ? 1 : 0);
    insertRow(db, table, v);
}

} // namespace gz::test
