#include "core/data/Numbering.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Schema.h"

namespace gz {

namespace {

void requireHeaderTable(const QString& t) {
    if (!isHeaderTable(t)) throw databaseError(QStringLiteral("没有单据表 %1 的编号计数器").arg(t));
}

} // namespace

QString padNumber(qint64 n, int width) {
    QString digits = QString::number(n);
    QString s = QString(width, u'0') + digits;
    return s.right(width);
}

qint64 readInteger(const QString& text) {
    bool ok = false;
    const QString t = text.trimmed();
    qint64 v = t.toLongLong(&ok);
    if (!ok) throw conversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

QString drawDocumentNumber(Database& db, const QString& t) {
    requireHeaderTable(t);
    // Read and advance in one transaction, so that two programs on one file never draw the same
    // number (the write lock is taken at the start).
    Transaction tx(db);
    QVariant stored = db.scalar(QStringLiteral("SELECT intno FROM nextno WHERE tablename = :p1"), {t});
    if (!stored.isValid()) throw databaseError(QStringLiteral("nextno 中没有 %1 的计数器").arg(t));
    const qint64 n = readInteger(stored.toString());
    db.exec(QStringLiteral("UPDATE nextno SET intno = :p1 WHERE tablename = :p2"),
            {QString::number(checkedAdd(n, 1)), t});
    tx.commit();
    return padNumber(n, 10);
}

void giveBackDocumentNumber(Database& db, const QString& t) {
    requireHeaderTable(t);
    db.exec(QStringLiteral("UPDATE nextno SET intno = str(val(intno) - 1) WHERE tablename = :p1"), {t});
}

QString resetDocumentCounters(Database& db, const QDate& d) {
    const QString text = d.toString(QStringLiteral("yyMM")) + QStringLiteral("000001");
    db.exec(QStringLiteral("UPDATE nextno SET intno = :p1 "), {text});
    return text;
}

QString counterText(Database& db, const QString& t) {
    requireHeaderTable(t);
    return db.scalar(QStringLiteral("SELECT intno FROM nextno WHERE tablename = :p1"), {t}).toString();
}

QString nextInternalNumber(Database& db, const QString& table) {
    const int width = internalNumberWidth(table);
    if (width == 0) throw databaseError(QStringLiteral("表 %1 没有内部编号").arg(table));
    // max() over the indexed column is the last row in intno order; the table name comes from
    // the fixed list above.
    QVariant top = db.scalar(QStringLiteral("SELECT max(intno) FROM %1").arg(table));
    qint64 n = 0;
    if (top.isValid() && !top.isNull()) n = readInteger(top.toString());
    return padNumber(checkedAdd(n, 1), width);
}

} // namespace gz
