#pragma once
// The tables and columns of the data file, as data: the fresh-file creator, the schema check,
// the Dataset's column types and the grids' default titles all read them from here.

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace gz {

class Database;

enum class ColType { Text, Double, Bool, DateTime, Memo, Binary, AutoNumber, Integer };

struct ColumnDef {
    QString name;
    ColType type;
    int width = 0;        // characters, for Text
    QString label;        // display label (grid title) or caption; empty when none
    bool upgrade = false; // added by the start-up upgrade on older files
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    const ColumnDef* column(const QString& name) const;
    QStringList columnNames(bool withUpgradeColumns = true) const;
};

const std::vector<TableDef>& schemaTables();
const TableDef* findTable(const QString& name); // case-insensitive; nullptr when not ours

// The three document kinds' header and line tables, and the tables that draw internal numbers.
bool isHeaderTable(const QString& name);
bool isLineTable(const QString& name);
// Tables whose new rows take "one above the highest intno", with the width of their intno.
int internalNumberWidth(const QString& table); // 0 when the table draws no internal numbers

// Creates every table and index in an empty database. Without the upgrade columns it makes a
// file as older versions of the program left it (used to prove the start-up upgrade).
void createSchema(Database& db, bool withUpgradeColumns = true);
// Builds the indexes the searches need where a file lacks them (files of older versions) and
// drops our own that are no longer wanted; returns how many it changed.
int ensureIndexes(Database& db);
// The rows a new data file starts with; counters at the first number of today's month.
void insertInitialRows(Database& db, const QDate& today);

struct SchemaReport {
    QStringList missingTables;
    QStringList missingColumns; // "table.column"
    bool ok() const { return missingTables.isEmpty() && missingColumns.isEmpty(); }
};
SchemaReport checkSchema(Database& db);

} // namespace gz
