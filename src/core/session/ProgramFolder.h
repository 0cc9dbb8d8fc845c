#pragma once
// The program folder: where the data file, the templates and the backup folders live.

#include <QString>

namespace gz {

class ProgramFolder {
public:
    explicit ProgramFolder(QString root);
    // The folder used when none is named: ~/.local/share/pkvgzgl (outside any build tree, so the
    // data survives a rebuild), unless the executable's own folder already holds works/shdb.mdb.
    static QString defaultRoot();

    const QString& root() const { return root_; }
    QString path(const QString& relative) const;
    QString dataFile() const { return path(QStringLiteral("works/shdb.mdb")); }
    QString worksDir() const { return path(QStringLiteral("works")); }
    QString reportDir() const { return path(QStringLiteral("report")); }
    QString factoryReportDir() const { return path(QStringLiteral("report0")); }
    QString backupDir() const { return path(QStringLiteral("bak")); }
    QString weekdayBackupDir(int weekday) const { return path(QStringLiteral("BAK%1").arg(weekday)); }
    QString lastYearDir() const { return path(QStringLiteral("LASTBAK")); }
    QString errorLogFile() const { return path(QStringLiteral("pkvgzgl.txt")); }

    // Creates the folders a program folder needs (works, report, report0, bak); true when all exist.
    bool ensureLayout() const;

private:
    QString root_;
};

} // namespace gz
