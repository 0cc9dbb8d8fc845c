#pragma once
// The wage summaries of the three document kinds: the posted, not reversed lines of a period,
// narrowed by workshop number, employee and product, with their totals row in totallist.

#include "core/payroll/Payroll.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace gz {
class Database;
class Dataset;
} // namespace gz

namespace gz::payroll {

enum class SummaryKind { Piece, Points, Time };
// "jj", "jf", "js"; nullopt for anything else.
std::optional<SummaryKind> summaryKindFromCode(const QString& code);
// The line table of the kind (jjgzdetail, jfgzdetail, jsgzdetail).
QString summaryLineTable(SummaryKind kind);
// The window caption and the report template of the kind.
QString summaryCaption(SummaryKind kind);
QString summaryTemplate(SummaryKind kind);

struct SummaryFilter {
    QDate from;
    QDate to;
    QString branchId;     // workshop number, compared with the line's branchid; empty: all
    QString gh;           // employee number; empty or "0000": all
    QString product;      // exact process name (prowork); empty: all
    QString workshopName; // the caption kept in the totals row
};

// The totals row of totallist; hjovertime and hjoverje only for the time summary. The sums are
// absent (hasSums false) when no line matched.
struct SummaryTotals {
    bool hasSums = false;
    double hjsl = 0, amount = 0, hjovertime = 0, hjoverje = 0;
    QString branchname;
};

// The summary refresh: remembers the period, rewrites the totals row and, when `list` is given,
// reopens it (read-only, every column of the line table, ordered by work date). An invalid date
// raises the conversion error before anything is written. The writes run in one transaction.
SummaryTotals refreshSummary(Database& db, SummaryKind kind, const SummaryFilter& filter,
                             Dataset* list = nullptr);
void openSummaryList(Database& db, SummaryKind kind, const SummaryFilter& filter, Dataset& list);
SummaryTotals readSummaryTotals(Database& db);

// The grid's columns of the kind, in order.
std::vector<GridColumn> summaryGridColumns(SummaryKind kind);

// The name of a workshop (department) by its number; nullopt when there is none.
std::optional<QString> workshopName(Database& db, const QString& branchId);

} // namespace gz::payroll
