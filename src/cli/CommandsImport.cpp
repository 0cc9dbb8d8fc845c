// import TABLE FILE: departments, employees or processed items from CSV or XLSX, every row checked
// as the editor's save checks it; all rows or none.

#include "cli/Cli.h"
#include "core/io/TableFile.h"
#include "core/master/MasterImport.h"

#include <QDate>

namespace gz::cli {
namespace {

int cmdImport(Context& ctx) {
    const QString table = ctx.positional(0, QStringLiteral("TABLE"));
    const QString file = ctx.positional(1, QStringLiteral("FILE"));
    if (!importableTables().contains(table))
        throw UsageError{QStringLiteral("TABLE is %1").arg(importableTables().join(QStringLiteral(", ")))};
    const TableFile data = readTableFile(file);
    const ImportOutcome r = importTable(ctx.db(), table, data, QDate::currentDate());
    if (!r.ok()) throw Refusal{r.text()};
    ctx.out << r.rows << "\n";
    return Done;
}

const bool registered = registerCommand(
    {QStringLiteral("import"), QStringLiteral("import branch|employee|prowork FILE"),
     QStringLiteral("import rows from CSV (header = column names) or XLSX; all rows or none"), cmdImport});

} // namespace
} // namespace gz::cli
