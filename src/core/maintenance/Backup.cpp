#include "core/maintenance/Backup.h"

#include "core/maintenance/Compact.h"
#include "core/session/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace gz {

int weekdayDigit(const QDate& date) {
    return date.dayOfWeek() % 7; // Qt counts Monday 1 … Sunday 7
}

bool copyFileReplacing(const QString& source, const QString& target, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("无法打开 %1: %2").arg(source, in.errorString()));
    const QFileInfo ti(target);
    if (!QDir().mkpath(ti.absolutePath()))
        return fail(QStringLiteral("无法建立文件夹 %1").arg(ti.absolutePath()));
    QTemporaryFile out(ti.absolutePath() + QStringLiteral("/.copyXXXXXX"));
    if (!out.open()) return fail(QStringLiteral("无法写入 %1: %2").arg(ti.absolutePath(), out.errorString()));
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) return fail(QStringLiteral("读取 %1 失败: %2").arg(source, in.errorString()));
        if (n == 0) break;
        if (out.write(buffer, n) != n)
            return fail(QStringLiteral("写入 %1 失败: %2").arg(target, out.errorString()));
    }
    if (!out.flush()) return fail(QStringLiteral("写入 %1 失败: %2").arg(target, out.errorString()));
    out.setPermissions(in.permissions());
    out.close();
    if (std::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(target).constData()) !=
        0)
        return fail(QStringLiteral("无法替换 %1").arg(target));
    out.setAutoRemove(false); // it has become the target
    return true;
}

CloseBackupResult closeTimeBackup(const ProgramFolder& folder, const QDate& today) {
    CloseBackupResult r;
    r.compacted = compactDataFile(folder.dataFile(), &r.compactError);
    r.target = folder.weekdayBackupDir(weekdayDigit(today)) + QStringLiteral("/shdb.mdb");
    r.copied = copyFileReplacing(folder.dataFile(), r.target);
    return r;
}

} // namespace gz
