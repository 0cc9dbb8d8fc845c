#pragma once
// Compaction of the data file: rows left without an internal number by interrupted entries are
// removed, then the file is rewritten without its free space.

#include <QString>

namespace gz {

class Database;

namespace msg {
inline QString compactFailed() {
    return QStringLiteral("压缩数据库失败\r原因：可能此数据库正在被其他程序打开。");
}
} // namespace msg

// Deletes the rows whose intno is the empty text (a row whose intno has no value at all stays)
// from the document, product, provider and employee tables, in one transaction. Returns the
// number of rows deleted.
int removeRowsWithoutNumber(Database& db);

// Rewrites the data file at `path` (which nobody may hold open) without its free space. The work
// is done on a copy beside it; the copy is checked and then renamed over the original in one
// step, so a failure at any point leaves the original untouched. Returns false (with the reason
// in *error) when the file could not be compacted.
bool compactDataFile(const QString& path, QString* error = nullptr);

} // namespace gz
