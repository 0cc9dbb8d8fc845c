#include "core/session/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace gz {

ProgramFolder::ProgramFolder(QString root) : root_(QDir(root).absolutePath()) {}

QString ProgramFolder::defaultRoot() {
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo::exists(exeDir + QStringLiteral("/works/shdb.mdb"))) return exeDir;
    }
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/pkvgzgl");
}

QString ProgramFolder::path(const QString& relative) const {
    return root_ + u'/' + relative;
}

bool ProgramFolder::ensureLayout() const {
    QDir d;
    bool ok = true;
    for (const QString& sub : {worksDir(), reportDir(), factoryReportDir(), backupDir()})
        ok = d.mkpath(sub) && ok;
    return ok;
}

} // namespace gz
