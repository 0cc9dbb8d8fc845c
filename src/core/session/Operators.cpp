#include "core/session/Operators.h"

#include "core/data/Database.h"
#include "core/session/Password.h"
#include "core/session/Session.h"

namespace gz {

namespace {

bool digitsOnly(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

} // namespace

QStringList operatorNumbers(Database& db) {
    QStringList out;
    Query q(db, QStringLiteral("SELECT bh FROM opcrl ORDER BY rowid"));
    while (q.next())
        out << q.text(0);
    return out;
}

QString checkNewPassword(const QString& password, const QString& confirmation) {
    const QString p = password.trimmed();
    const QString c = confirmation.trimmed();
    if (p.isEmpty() || c.isEmpty() || p != c || p.size() > 6 || !digitsOnly(p)) return msg::invalidPassword();
    return {};
}

QString checkAddOperator(const QString& currentOperator) {
    return isAdministrator(currentOperator) ? QString() : msg::noRightToAdd();
}

QString checkDeleteOperator(const QString& currentOperator, const QString& number) {
    if (!isAdministrator(currentOperator)) return msg::noRightToDelete();
    if (number == administratorNumber()) return msg::cannotDeleteAdministrator();
    return {};
}

QString checkChangePassword(const QString& currentOperator, const QString& number) {
    return number == currentOperator ? QString() : msg::cannotChangeOthers();
}

QString addOperator(Database& db, const QString& currentOperator, const NewOperator& op) {
    if (QString r = checkAddOperator(currentOperator); !r.isEmpty()) return r;
    const QString number = op.number.trimmed();
    if (number.isEmpty()) return msg::operatorNumberEmpty();
    if (QString r = checkNewPassword(op.password, op.confirmation); !r.isEmpty()) return r;
    Transaction tx(db);
    if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM opcrl WHERE bh = :p1"), {number}).toInt() > 0)
        return msg::operatorNumberTaken();
    db.exec(QStringLiteral("INSERT INTO opcrl (bh, xm, pw, rh) VALUES (:p1, :p2, :p3, :p4)"),
            {number, op.name, encodePassword(op.password), op.rights});
    tx.commit();
    return {};
}

QString deleteOperator(Database& db, const QString& currentOperator, const QString& number) {
    if (QString r = checkDeleteOperator(currentOperator, number); !r.isEmpty()) return r;
    Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM configo WHERE bh = :p1"), {number});
    db.exec(QStringLiteral("DELETE FROM opcrl WHERE bh = :p1"), {number});
    tx.commit();
    return {};
}

QString changeOwnPassword(Database& db, const QString& currentOperator, const QString& number,
                          const QString& name, const QString& password, const QString& confirmation,
                          bool passwordEdited) {
    if (QString r = checkChangePassword(currentOperator, number); !r.isEmpty()) return r;
    const QString stored =
        db.scalar(QStringLiteral("SELECT pw FROM opcrl WHERE bh = :p1"), {number}).toString();
    const QString p = password.trimmed();
    if (!passwordEdited && !p.isEmpty() && p == confirmation.trimmed() && p == stored) {
        db.exec(QStringLiteral("UPDATE opcrl SET xm = :p1 WHERE bh = :p2"), {name, number});
        return {};
    }
    if (QString r = checkNewPassword(password, confirmation); !r.isEmpty()) return r;
    db.exec(QStringLiteral("UPDATE opcrl SET xm = :p1, pw = :p2 WHERE bh = :p3"),
            {name, encodePassword(password), number});
    return {};
}

} // namespace gz
