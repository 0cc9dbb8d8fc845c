// What `gzgl print` binds for the payroll sheets, the pay slips and the wage summaries: the rows
// and totals of a refresh with the same filters as `gzgl payroll refresh` and `gzgl summary`,
// the options and the period that refresh remembered.

#include "cli/PrintBindings.h"
#include "core/data/Dataset.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/Summary.h"

namespace gz::cli {

payroll::Filter payrollFilterFromArgs(Context& ctx);
payroll::SummaryFilter summaryOptionsFromArgs(Context& ctx);

namespace {

// Channels 4 and 5 as the payroll and summary windows have them open: the options, and the
// first period row, which the refresh has just written.
void bindOptionsAndPeriod(Database& db, report::Channels& ch) {
    ch.bind(4, querySource(db, QStringLiteral("SELECT * FROM config")));
    ch.bind(5, querySource(db, QStringLiteral("SELECT * FROM dateconfig ORDER BY id LIMIT 1")));
}

// The window prints the list and totals of its last refresh; from the command line that refresh
// is run here with the given filters, selection mode included.
void bindPayroll(Context& ctx, report::Channels& ch) {
    const payroll::Filter f = payrollFilterFromArgs(ctx);
    Database& db = ctx.db();
    auto rows = std::make_shared<Dataset>();
    payroll::refresh(db, f, rows.get());
    ch.bind(1, std::make_shared<report::DatasetSource>(std::shared_ptr<const Dataset>(rows)));
    ch.bind(2, querySource(db, QStringLiteral("SELECT * FROM gzbtotal")));
    bindOptionsAndPeriod(db, ch);
}

// The summary window's print refreshes first, so the printout follows the filters as given.
void bindSummary(payroll::SummaryKind kind, Context& ctx, report::Channels& ch) {
    const payroll::SummaryFilter f = summaryOptionsFromArgs(ctx);
    Database& db = ctx.db();
    auto lines = std::make_shared<Dataset>();
    payroll::refreshSummary(db, kind, f, lines.get());
    ch.bind(1, std::make_shared<report::DatasetSource>(std::shared_ptr<const Dataset>(lines)));
    ch.bind(2, querySource(db, QStringLiteral("SELECT * FROM totallist")));
    bindOptionsAndPeriod(db, ch);
}

const bool registered = [] {
    const QString payrollFilters =
        QStringLiteral("--from DATE --to DATE [--workshop NAME] [--gh NO] [--mode current|all|paid|unpaid]");
    for (const char* name : {"gzb.rmf", "gzbs.rmf", "gzbf.rmf", "gzbt.rmf"})
        registerPrintBinding({QString::fromLatin1(name), payrollFilters, bindPayroll});
    const QString summaryFilters =
        QStringLiteral("--from DATE --to DATE [--branch ID] [--gh NO] [--product NAME]");
    for (const payroll::SummaryKind kind :
         {payroll::SummaryKind::Piece, payroll::SummaryKind::Points, payroll::SummaryKind::Time})
        registerPrintBinding({payroll::summaryTemplate(kind), summaryFilters,
                              [kind](Context& ctx, report::Channels& ch) { bindSummary(kind, ctx, ch); }});
    return true;
}();

} // namespace
} // namespace gz::cli
