#include "core/data/Upgrade.h"

#include "core/data/Database.h"
#include "core/data/Schema.h"

#include <QStringList>

namespace gz {

namespace {

// Whether the data set over `table` opens: every column it declares must be there.
bool opens(Database& db, const QString& table) {
    const TableDef* t = findTable(table);
    return db.compiles(QStringLiteral("SELECT %1 FROM %2 LIMIT 0").arg(t->columnNames().join(u','), table));
}

bool hasColumn(Database& db, const QString& table, const QString& column) {
    return db.compiles(QStringLiteral("SELECT %1 FROM %2 LIMIT 0").arg(column, table));
}

struct Addition {
    const char* table;
    const char* column;
    const char* alter;
    const char* fill;
};

// A column is only added when missing, so that a file that was upgraded halfway (one column
// present, its partner not) still opens instead of stopping the start-up on a duplicate column.
bool run(Database& db, const char* guardTable, std::initializer_list<Addition> additions) {
    if (opens(db, QString::fromLatin1(guardTable))) return false;
    Transaction tx(db);
    for (const Addition& a : additions) {
        if (hasColumn(db, QString::fromLatin1(a.table), QString::fromLatin1(a.column))) continue;
        db.execScript(QString::fromLatin1(a.alter));
        db.exec(QString::fromLatin1(a.fill));
    }
    tx.commit();
    return true;
}

} // namespace

bool upgradeConfig(Database& db) {
    return run(db, "config",
               {{"config", "flashbj", "ALTER TABLE config ADD COLUMN flashbj boolean NOT NULL DEFAULT 1",
                 "UPDATE config SET flashbj = 1"}});
}

bool upgradeEmployee(Database& db) {
    return run(db, "employee",
               {{"employee", "szbj", "ALTER TABLE employee ADD COLUMN szbj boolean NOT NULL DEFAULT 0",
                 "UPDATE employee SET szbj = 0"},
                {"employee", "dj", "ALTER TABLE employee ADD COLUMN dj double DEFAULT 0",
                 "UPDATE employee SET dj = 0"}});
}

bool upgradePayroll(Database& db) {
    return run(db, "gzb",
               {{"gzb", "payoff", "ALTER TABLE gzb ADD COLUMN payoff boolean NOT NULL DEFAULT 0",
                 "UPDATE gzb SET payoff = 0"},
                {"employee", "dj", "ALTER TABLE employee ADD COLUMN dj double DEFAULT 0",
                 "UPDATE employee SET dj = 0"}});
}

int upgradeAll(Database& db) {
    int n = 0;
    n += upgradeConfig(db) ? 1 : 0;
    n += upgradeEmployee(db) ? 1 : 0;
    n += upgradePayroll(db) ? 1 : 0;
    return n;
}

} // namespace gz
