#include "core/maintenance/Compact.h"

#include "core/data/Database.h"
#include "core/data/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace gz {

int removeRowsWithoutNumber(Database& db) {
    static const char* const tables[] = {"jfgzdetail", "jjgzdetail", "jsgzdetail", "jfgzlist",
                                         "jjgzlist",   "jsgzlist",   "product",    "cproduct",
                                         "provider",   "prowork",    "employee"};
    Transaction tx(db);
    int removed = 0;
    for (const char* t : tables) {
        // Table names are our own constants; the condition compares with a bound empty text.
        removed += db.exec(QStringLiteral("DELETE FROM %1 WHERE intno = :p1").arg(QLatin1String(t)),
                           {QString(QLatin1String(""))});
    }
    tx.commit();
    return removed;
}

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

} // namespace

bool compactDataFile(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) return fail(error, QStringLiteral("数据文件不存在: %1").arg(path));

    // The copy lives beside the original, so that the final rename stays on one file system and
    // replaces the original in one step.
    QString temp;
    {
        QTemporaryFile t(info.absolutePath() + QStringLiteral("/~SMXXXXXX.tmp"));
        if (!t.open()) return fail(error, QStringLiteral("无法建立临时文件: %1").arg(t.errorString()));
        temp = t.fileName();
    } // removed again: only the name is used
    auto cleanup = [&temp] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    if (!QFile::copy(path, temp)) {
        cleanup();
        return fail(error, QStringLiteral("无法复制数据文件: %1").arg(path));
    }
    try {
        auto db = Database::open(temp);
        db->execScript(QStringLiteral("VACUUM;"));
        const QString check = db->scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (check != QStringLiteral("ok")) {
            db.reset();
            cleanup();
            return fail(error, QStringLiteral("压缩后的数据文件检查未通过: %1").arg(check));
        }
    } catch (const Error& e) {
        cleanup();
        return fail(error, e.message());
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        cleanup();
        return fail(error, QStringLiteral("无法替换数据文件: %1").arg(path));
    }
    return true;
}

} // namespace gz
