#include "core/maintenance/YearEnd.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Numbering.h"
#include "core/maintenance/FolderCopy.h"
#include "core/session/ProgramFolder.h"
#include "core/session/Session.h"

namespace gz::yearend {

namespace {

// The wage tables, in the order the data is removed.
const char* const kInitialiseOrder[] = {"jjgzlist",   "jjgzdetail", "jfgzlist",    "jfgzdetail", "jsgzlist",
                                        "jsgzdetail", "jfjgelist",  "jfjgedetail", "gzb"};
const char* const kYearEndOrder[] = {"jjgzlist", "jjgzdetail", "jfgzlist",    "jfgzdetail", "jfjgelist",
                                     "jsgzlist", "jsgzdetail", "jfjgedetail", "gzb"};

template <std::size_t N>
QString emptyWageData(Database& db, const char* const (&tables)[N], const QDate& counterDate) {
    // All or nothing: a half-emptied year (documents gone, payroll rows kept) is worse than none.
    Transaction tx(db);
    for (const char* t : tables)
        db.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    const QString counter = resetDocumentCounters(db, counterDate);
    tx.commit();
    return counter;
}

} // namespace

std::optional<QString> checkGuard(const QString& operatorNumber, const QString& loginPassword,
                                  const QString& typedPassword) {
    if (!isAdministrator(operatorNumber)) return gz::msg::noRight();
    if (typedPassword.trimmed() != loginPassword) return wrongPassword();
    return std::nullopt;
}

QString initialise(Database& db, const QDate& today) {
    return emptyWageData(db, kInitialiseOrder, today);
}

QString yearEnd(Database& db, const ProgramFolder& folder, const QDate& today) {
    // The file on disk is consistent only between transactions; inside one, changed pages may
    // already be written, and the copy would hold half of them.
    if (db.inTransaction()) throw databaseError(QStringLiteral("年终数据处理不能在未完成的事务中进行"));
    copyFolderTreeOrThrow(folder.worksDir(), folder.lastYearDir());
    return emptyWageData(db, kYearEndOrder, today.addDays(1));
}

} // namespace gz::yearend
