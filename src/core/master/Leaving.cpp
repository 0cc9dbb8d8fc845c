#include "core/master/Leaving.h"

#include "core/data/Database.h"
#include "core/data/Formats.h"

namespace gz {

int applyLeavingRule(Database& db, const QString& employeeNumber, bool& left, QString& leavingDate) {
    if (!left) {
        leavingDate.clear();
        return db.exec(QStringLiteral("UPDATE gzb SET lcbj = 0 WHERE gh = :p1"), {employeeNumber});
    }
    if (leavingDate.trimmed().isEmpty()) return 0;
    return db.exec(QStringLiteral("UPDATE gzb SET lcbj = 1 WHERE gh = :p1"), {employeeNumber});
}

bool setEmployeeLeaving(Database& db, const QString& intno, bool left, const QDate& date) {
    Transaction tx(db);
    const QVariant found = db.scalar(QStringLiteral("SELECT id FROM employee WHERE intno = :p1"), {intno});
    if (!found.isValid()) return false;
    const QString id = found.toString();
    QString stored = left && date.isValid() ? dateToStored(date) : QString();
    applyLeavingRule(db, id, left, stored);
    db.exec(QStringLiteral("UPDATE employee SET lcbj = :p1, lcrq = :p2 WHERE intno = :p3"),
            {left ? 1 : 0, stored.isEmpty() ? QVariant() : QVariant(stored), intno});
    tx.commit();
    return true;
}

} // namespace gz
