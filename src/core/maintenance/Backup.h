#pragma once
// Copies of the data file: the rolling backup made when the program closes (one folder per
// weekday) and the plain file copy it is built on.

#include <QDate>
#include <QString>

namespace gz {

class ProgramFolder;

namespace msg {
inline QString backupDone() {
    return QStringLiteral("数据备份完毕！ ");
}
inline QString closeBackupFailed() {
    return QStringLiteral("数据备份不成功,请检查数据是否存在！ ");
}
} // namespace msg

// 0 for Sunday up to 6 for Saturday.
int weekdayDigit(const QDate& date);

// Copies a file over `target` (created with its missing parent folders). The copy is written
// under a temporary name beside the target and renamed over it only when complete, so a failed
// copy never leaves a half-written target in place of a good older one.
bool copyFileReplacing(const QString& source, const QString& target, QString* error = nullptr);

struct CloseBackupResult {
    bool compacted = false;
    QString compactError; // why the compaction failed (the backup went on all the same)
    bool copied = false;
    QString target; // BAKd/shdb.mdb
};

// The backup made when the program closes (the caller has closed its connection): compacts the
// data file, then copies it to BAKd/shdb.mdb with d the weekday digit of `today`.
CloseBackupResult closeTimeBackup(const ProgramFolder& folder, const QDate& today);

} // namespace gz
