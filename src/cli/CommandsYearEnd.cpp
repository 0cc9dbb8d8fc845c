// Year-end processing and initialisation (administrator).

#include "cli/Cli.h"
#include "core/maintenance/YearEnd.h"

#include <QDate>

namespace gz::cli {
namespace {

QDate todayArg(Context& ctx) {
    const auto d = ctx.option(QStringLiteral("--date"));
    return d ? ctx.dateArg(*d) : QDate::currentDate();
}

int cmdYearEnd(Context& ctx) {
    const QDate today = todayArg(ctx);
    ctx.requireAdministrator();
    ctx.out << yearend::yearEnd(ctx.db(), ctx.folder, today) << "\n";
    return Done;
}

int cmdInitialise(Context& ctx) {
    const QDate today = todayArg(ctx);
    ctx.requireAdministrator();
    ctx.out << yearend::initialise(ctx.db(), today) << "\n";
    return Done;
}

const bool registered = [] {
    registerCommand({QStringLiteral("yearend"), QStringLiteral("yearend [--date DATE]"),
                     QStringLiteral("year-end processing: copy works to LASTBAK, empty the wage data, "
                                    "counters from tomorrow's month (administrator)"),
                     cmdYearEnd});
    registerCommand({QStringLiteral("initialise"), QStringLiteral("initialise [--date DATE]"),
                     QStringLiteral("initialisation: empty the wage data, counters from today's month "
                                    "(administrator)"),
                     cmdInitialise});
    return true;
}();

} // namespace
} // namespace gz::cli
