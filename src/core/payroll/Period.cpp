#include "core/payroll/Period.h"

#include "core/data/Database.h"
#include "core/data/Formats.h"

namespace gz::payroll {

void rememberPeriod(Database& db, const QDate& from, const QDate& to) {
    const QVariant id = db.scalar(QStringLiteral("SELECT id FROM dateconfig ORDER BY id LIMIT 1"));
    if (!id.isValid() || id.isNull()) {
        db.exec(QStringLiteral("INSERT INTO dateconfig (ksdate, jsdate, bz) VALUES (:p1, :p2, 0)"),
                {dateToStored(from), dateToStored(to)});
    } else {
        // Unchanged, the row is not written again (a refresh repeated on the same period then
        // writes nothing to the file).
        db.exec(QStringLiteral("UPDATE dateconfig SET ksdate = :p1, jsdate = :p2 WHERE id = :p3 AND "
                               "(ksdate IS NOT :p1 OR jsdate IS NOT :p2)"),
                {dateToStored(from), dateToStored(to), id});
    }
}

std::optional<Period> rememberedPeriod(Database& db) {
    Query q(db, QStringLiteral("SELECT ksdate, jsdate FROM dateconfig ORDER BY id LIMIT 1"));
    if (!q.next()) return std::nullopt;
    return Period{dateFromStored(q.text(0)), dateFromStored(q.text(1))};
}

Period previousMonth(const QDate& today) {
    const QDate back = today.addDays(-30);
    const QDate first(back.year(), back.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

QString periodBoxText(const QDate& date, const DateFormat& format) {
    if (!date.isValid()) return QString();
    const QString text = format.format(date);
    return text.size() == 10 ? text : text.left(8);
}

QString padEmployeeNumber(const QString& text) {
    return (QStringLiteral("0000") + text.trimmed()).right(4);
}

bool filtersEmployee(const QString& gh) {
    const QString t = gh.trimmed();
    return !t.isEmpty() && t != QLatin1String("0000");
}

} // namespace gz::payroll
