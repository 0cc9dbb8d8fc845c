#include "core/session/RunValues.h"

#include "core/data/Database.h"
#include "core/data/Formats.h"

namespace gz {

RunValues& runValues() {
    static RunValues values;
    return values;
}

StartupOptions readStartupOptions(Database& db) {
    StartupOptions o;
    Query q(db,
            QStringLiteral("SELECT flashbj, startbj, dateseparator, dateformat, amountformat, qtyformat, "
                           "weightformat, priceformat, imename, bcszbj, picfilename FROM config LIMIT 1"));
    if (!q.next()) return o;
    o.splash = q.real(0) != 0;
    o.quickStartOff = q.real(1) != 0;
    o.dateSeparator = q.text(2);
    o.dateFormat = q.text(3);
    o.amountFormat = q.text(4);
    o.qtyFormat = q.text(5);
    o.weightFormat = q.text(6);
    o.priceFormat = q.text(7);
    o.imeName = q.text(8).trimmed();
    o.entryMode = q.text(9);
    o.pictureFile = q.text(10).trimmed();
    return o;
}

void applyStartupOptions(const StartupOptions& o, RunValues& run) {
    const QString pattern =
        o.dateFormat.trimmed().isEmpty() ? QStringLiteral("yyyy-mm-dd") : o.dateFormat.trimmed();
    appDateFormat() = DateFormat(pattern, o.dateSeparator == QStringLiteral("-") ? QStringLiteral("-")
                                                                                 : QStringLiteral("."));
    run.amountFormat = o.amountFormat;
    run.qtyFormat = o.qtyFormat;
    run.weightFormat = o.weightFormat;
    run.priceFormat = o.priceFormat;
    run.imeName = o.imeName;
    run.entryMode = o.entryMode;
}

bool isYearEndReminderDay(const QDate& today) {
    return today.month() == 12 && today.day() > 25;
}

QString yearEndReminderText() {
    return QStringLiteral(
        "提示:又到年底了,请做完本年度业务后,做新一年业务之前,先做年度数据备份\n\n并做年终数据处理"
        "(一般是在12月31日做完业务后或1月1日做业务前).");
}

void setSplashShown(Database& db, bool show) {
    db.exec(QStringLiteral("UPDATE config SET flashbj = :p1"), {show ? 1 : 0});
}

void setQuickStartHidden(Database& db, bool hidden) {
    db.exec(QStringLiteral("UPDATE config SET startbj = :p1"), {hidden ? 1 : 0});
}

void setBackgroundPicture(Database& db, const QString& file) {
    db.exec(QStringLiteral("UPDATE config SET picfilename = :p1"), {file.trimmed()});
}

} // namespace gz
