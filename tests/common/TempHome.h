#pragma once
// A throw-away program folder with a fresh data file, for tests.

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/session/ProgramFolder.h"

#include <QDate>
#include <QTemporaryDir>
#include <memory>

namespace gz::test {

class TempHome {
public:
    explicit TempHome(const QDate& today = QDate(2025, 3, 15)) : folder_(dir_.path()) {
        folder_.ensureLayout();
        db_ = createDataFile(folder_.dataFile(), today);
    }
    const ProgramFolder& folder() const { return folder_; }
    QString path() const { return dir_.path(); }
    Database& db() { return *db_; }
    void closeDb() { db_.reset(); }
    void reopenDb() { db_ = Database::open(folder_.dataFile()); }

private:
    QTemporaryDir dir_;
    ProgramFolder folder_;
    std::unique_ptr<Database> db_;
};

} // namespace gz::test
