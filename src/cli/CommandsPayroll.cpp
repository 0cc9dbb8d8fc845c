// Commands of the payroll table and the wage summaries: payroll refresh|paid|unpaid|clear|edit,
// summary KIND.

#include "cli/Cli.h"
#include "core/data/Dataset.h"
#include "core/payroll/Payroll.h"
#include "core/payroll/PayrollEdit.h"
#include "core/payroll/Period.h"
#include "core/payroll/Summary.h"
#include "core/payroll/TableOutput.h"

#include <QSet>

namespace gz::cli {

// The payroll filter options: --from, --to (required), --workshop NAME, --gh NO, --mode. The
// employee number is padded as the window's box pads it.
payroll::Filter payrollFilterFromArgs(Context& ctx) {
    payroll::Filter f;
    const auto from = ctx.option(QStringLiteral("--from"));
    const auto to = ctx.option(QStringLiteral("--to"));
    if (!from || !to) throw UsageError{QStringLiteral("--from DATE and --to DATE are required")};
    f.from = ctx.dateArg(*from);
    f.to = ctx.dateArg(*to);
    f.workshop = ctx.option(QStringLiteral("--workshop")).value_or(QString()).trimmed();
    if (const auto gh = ctx.option(QStringLiteral("--gh"))) f.gh = payroll::padEmployeeNumber(*gh);
    if (const auto mode = ctx.option(QStringLiteral("--mode"))) {
        const auto m = payroll::modeFromName(*mode);
        if (!m) throw UsageError{QStringLiteral("--mode is current, all, paid or unpaid")};
        f.mode = *m;
    }
    return f;
}

payroll::SummaryFilter summaryOptionsFromArgs(Context& ctx);

// The summary options: KIND (positional `kindIndex`), --from, --to, --branch ID, --gh NO,
// --product NAME. A workshop number that does not exist is refused as the window refuses it.
payroll::SummaryFilter summaryFilterFromArgs(Context& ctx, int kindIndex, payroll::SummaryKind* kind) {
    const QString code = ctx.positional(kindIndex, QStringLiteral("KIND (jj, jf or js)"));
    const auto k = payroll::summaryKindFromCode(code);
    if (!k) throw UsageError{QStringLiteral("KIND is jj, jf or js")};
    *kind = *k;
    return summaryOptionsFromArgs(ctx);
}

// The summary options without the kind (print knows the kind from its template).
payroll::SummaryFilter summaryOptionsFromArgs(Context& ctx) {
    payroll::SummaryFilter f;
    const auto from = ctx.option(QStringLiteral("--from"));
    const auto to = ctx.option(QStringLiteral("--to"));
    if (!from || !to) throw UsageError{QStringLiteral("--from DATE and --to DATE are required")};
    f.from = ctx.dateArg(*from);
    f.to = ctx.dateArg(*to);
    // An empty workshop number means no workshop filter, as in the refresh itself.
    if (const auto branch = ctx.option(QStringLiteral("--branch")); branch && !branch->trimmed().isEmpty()) {
        f.branchId = branch->trimmed();
        const auto name = payroll::workshopName(ctx.db(), f.branchId);
        if (!name) throw Refusal{payroll::msg::unknownWorkshop()};
        f.workshopName = *name;
    }
    if (const auto gh = ctx.option(QStringLiteral("--gh"))) f.gh = payroll::padEmployeeNumber(*gh);
    f.product = ctx.option(QStringLiteral("--product")).value_or(QString()).trimmed();
    return f;
}

namespace {

int payrollEdit(Context& ctx) {
    const auto gh = ctx.option(QStringLiteral("--gh"));
    const auto year = ctx.option(QStringLiteral("--year"));
    const auto month = ctx.option(QStringLiteral("--month"));
    if (!gh || !year || !month) throw UsageError{QStringLiteral("--gh NO --year Y --month M are required")};
    bool okYear = false, okMonth = false;
    const int y = year->toInt(&okYear);
    const int m = month->toInt(&okMonth);
    if (!okYear || !okMonth || m < 1 || m > 12)
        throw UsageError{QStringLiteral("--year Y --month M (1 to 12)")};
    // Only the boxes the clerk types into can be changed.
    QSet<QString> allowed{QStringLiteral("--gh"), QStringLiteral("--year"), QStringLiteral("--month")};
    for (const QString& f : payroll::EditForm::typedFields())
        allowed.insert(QStringLiteral("--") + f);
    for (int i = 1; i < ctx.args.size(); ++i) {
        const QString& a = ctx.args[i];
        if (a.startsWith(QLatin1String("--")) && !allowed.contains(a)) {
            QStringList names = payroll::EditForm::typedFields();
            throw UsageError{QStringLiteral("unknown option %1; the boxes that can be changed: --%2")
                                 .arg(a, names.join(QStringLiteral(", --")))};
        }
        if (a.startsWith(QLatin1String("--"))) ++i;
    }
    Database& db = ctx.db();
    const QString number = payroll::padEmployeeNumber(*gh);
    const qint64 row = payroll::findPayrollRow(db, number, y, m);
    if (row < 0) throw Refusal{QStringLiteral("查无此工资记录！")};
    payroll::EditForm form;
    form.load(db, row);
    for (const QString& f : payroll::EditForm::typedFields())
        if (const auto v = ctx.option(QStringLiteral("--") + f)) form.setBox(f, *v);
    form.save(db);
    Dataset saved;
    saved.open(db, QStringLiteral("SELECT * FROM gzb WHERE rowid = :p1"), {row});
    ctx.printCsv(saved);
    return Done;
}

int cmdPayroll(Context& ctx) {
    const QString verb = ctx.positional(0, QStringLiteral("refresh|paid|unpaid|clear|edit"));
    if (verb == QLatin1String("refresh")) {
        const payroll::Filter f = payrollFilterFromArgs(ctx);
        payroll::CsvSink sink(ctx.out);
        payroll::writePayroll(ctx.db(), f, sink);
        return Done;
    }
    if (verb == QLatin1String("paid") || verb == QLatin1String("unpaid") || verb == QLatin1String("clear")) {
        const payroll::Filter f = payrollFilterFromArgs(ctx);
        ctx.requireAdministrator();
        const int n = verb == QLatin1String("clear")
                          ? payroll::clearPeriod(ctx.db(), f)
                          : payroll::markPaid(ctx.db(), f, verb == QLatin1String("paid"));
        ctx.out << n << "\n";
        return Done;
    }
    if (verb == QLatin1String("edit")) return payrollEdit(ctx);
    throw UsageError{QStringLiteral("unknown payroll command %1").arg(verb)};
}

int cmdSummary(Context& ctx) {
    payroll::SummaryKind kind = payroll::SummaryKind::Piece;
    const payroll::SummaryFilter f = summaryFilterFromArgs(ctx, 0, &kind);
    payroll::CsvSink sink(ctx.out);
    payroll::writeSummary(ctx.db(), kind, f, sink);
    return Done;
}

const bool registered = [] {
    registerCommand(
        {QStringLiteral("payroll"),
         QStringLiteral(
             "payroll refresh --from DATE --to DATE [--workshop NAME] [--gh NO] "
             "[--mode current|all|paid|unpaid] | payroll paid|unpaid|clear --from DATE --to DATE "
             "[--workshop NAME] [--gh NO] | payroll edit --gh NO --year Y --month M [--FIELD N ...] "
             "[--remark TEXT]"),
         QStringLiteral("the payroll table: refresh, paid marks and clearing (administrator), the edit "
                        "window's save"),
         cmdPayroll});
    registerCommand({QStringLiteral("summary"),
                     QStringLiteral("summary jj|jf|js --from DATE --to DATE [--branch ID] [--gh NO] "
                                    "[--product NAME]"),
                     QStringLiteral("the wage summary of posted lines: the lines, an empty line, the totals"),
                     cmdSummary});
    return true;
}();

} // namespace
} // namespace gz::cli
