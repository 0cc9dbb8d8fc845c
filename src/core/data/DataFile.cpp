#include "core/data/DataFile.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"
#include "core/data/Schema.h"
#include "core/session/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gz {

std::unique_ptr<Database> createDataFile(const QString& path, const QDate& today, bool withUpgradeColumns) {
    // Build under a temporary name and rename, so an interrupted creation never leaves a half file
    // where the program looks for its data.
    const QString tmp = path + QStringLiteral(".new");
    QFile::remove(tmp);
    try {
        auto db = Database::create(tmp);
        createSchema(*db, withUpgradeColumns);
        insertInitialRows(*db, today);
        db->close();
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    if (!QFile::rename(tmp, path)) {
        QFile::remove(tmp);
        throw fileError(QStringLiteral("数据文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
    }
    return Database::open(path);
}

OpenResult openDataFile(const ProgramFolder& folder, const QDate& today) {
    OpenResult r;
    const QString path = folder.dataFile();
    if (!QFileInfo::exists(path)) {
        if (!folder.ensureLayout())
            throw fileError(
                QStringLiteral("程序文件夹 %1 无法建立").arg(QDir::toNativeSeparators(folder.root())));
        r.db = createDataFile(path, today);
        r.created = true;
    } else {
        r.db = Database::open(path);
        ensureIndexes(*r.db);
    }
    return r;
}

} // namespace gz
