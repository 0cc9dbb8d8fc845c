#include "core/session/Session.h"

#include "core/data/Database.h"
#include "core/session/Password.h"

namespace gz {

bool checkLogin(Database& db, const QString& number, const QString& password) {
    Query q(db, QStringLiteral("SELECT pw FROM opcrl WHERE bh = :p1"), {number});
    if (!q.next()) return false;
    return q.text(0) == encodePassword(password);
}

AreaRights areaRights(Database& db, const QString& operatorNumber, const QString& area) {
    AreaRights r;
    if (isAdministrator(operatorNumber)) return r;
    Query q(
        db,
        QStringLiteral("SELECT r, z, w FROM oprhto WHERE (rtrim(opno) = :p1) AND (rtrim(tablename) = :p2)"),
        {operatorNumber, area});
    if (!q.next()) return r;
    auto allowed = [&](int col) { return q.isNull(col) || q.real(col) != 0; };
    r.open = allowed(0);
    r.create = allowed(1);
    r.reverse = allowed(2);
    return r;
}

} // namespace gz
