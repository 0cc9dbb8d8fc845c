#include "core/maintenance/ErrorLogClear.h"

#include "core/data/Database.h"
#include "core/session/ProgramFolder.h"

#include <QFile>

namespace gz {

int clearErrorLog(Database& db, const ProgramFolder& folder) {
    QFile::remove(folder.errorLogFile());
    return db.exec(QStringLiteral("DELETE FROM apperror"));
}

} // namespace gz
