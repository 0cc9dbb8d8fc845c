#pragma once
// Bulk import of departments, employees and processed items from a table file. Every row is
// checked as the editor checks its 保存 (required fields, unique numbers, the department exists)
// and gets its internal number as the editor gives it; all rows are stored or none.

#include "core/io/TableFile.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace gz {

class Database;

struct ImportOutcome {
    int rows = 0;    // rows stored
    int line = 0;    // the file's line of the refused row (1 = the header)
    QString refusal; // the message; empty when everything was stored
    bool ok() const { return refusal.isEmpty(); }
    // "第12行: 所在部门不存在！"
    QString text() const;
};

// "branch", "employee", "prowork".
QStringList importableTables();
// The columns a file may carry for a table (those the table's editor lets the user type).
QStringList importableColumns(const QString& table);

// today stands for the date the editor proposes for the date boxes the file leaves out.
ImportOutcome importTable(Database& db, const QString& table, const TableFile& file,
                          const QDate& today = QDate::currentDate());

} // namespace gz
