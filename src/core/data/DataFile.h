#pragma once
// Opening the program's data file: created fresh with its initial rows when missing.

#include <QDate>
#include <QString>
#include <memory>

namespace gz {

class Database;
class ProgramFolder;

struct OpenResult {
    std::unique_ptr<Database> db;
    bool created = false;
};

// Opens works/shdb.mdb of the folder, creating the folder layout and a fresh file when the data
// file is missing. Upgrades are left to the caller (the start-up runs them at fixed steps).
OpenResult openDataFile(const ProgramFolder& folder, const QDate& today = QDate::currentDate());

// Makes a fresh data file at `path` (which must not exist); a partly written file is removed.
std::unique_ptr<Database> createDataFile(const QString& path, const QDate& today,
                                         bool withUpgradeColumns = true);

} // namespace gz
