// gzgl: the command-line front end over the core, for batch work, import/export and checks.

#include "cli/Cli.h"
#include "cli/PrintBindings.h"
#include "core/data/Errors.h"
#include "core/data/Memory.h"
#include "core/session/ErrorLog.h"

#include <QCoreApplication>
#include <QStringList>

using namespace gz;
using namespace gz::cli;

namespace {

void printUsage(QTextStream& s) {
    s << "usage: gzgl [--home DIR] [--user BH --password PW] COMMAND ...\n\ncommands:\n";
    for (const Command& c : commands())
        s << "  " << c.usage << "\n      " << c.help << "\n";
}

} // namespace

int main(int argc, char** argv) {
    gz::keepFreedMemory();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gzgl"));
    QStringList args = app->arguments().mid(1);
    QString home, user, password;
    // Global options come before the command.
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            QTextStream out(stdout);
            printUsage(out);
            return Done;
        }
        if (args.isEmpty()) {
            QTextStream err(stderr);
            err << opt << " needs a value\n";
            printUsage(err);
            return BadUsage;
        }
        const QString value = args.takeFirst();
        if (opt == QLatin1String("--home"))
            home = value;
        else if (opt == QLatin1String("--user"))
            user = value;
        else if (opt == QLatin1String("--password"))
            password = value;
        else {
            QTextStream err(stderr);
            err << "unknown option " << opt << "\n";
            printUsage(err);
            return BadUsage;
        }
    }
    if (args.isEmpty()) {
        QTextStream err(stderr);
        printUsage(err);
        return BadUsage;
    }
    const QString name = args.takeFirst();
    const Command* cmd = nullptr;
    for (const Command& c : commands())
        if (c.name == name) cmd = &c;
    if (!cmd) {
        QTextStream err(stderr);
        err << "unknown command " << name << "\n";
        printUsage(err);
        return BadUsage;
    }
    if (home.isEmpty()) home = ProgramFolder::defaultRoot();
    Context ctx(home, user, password, args);
    try {
        return cmd->run(ctx);
    } catch (const Refusal& r) {
        ctx.out.flush();
        ctx.err << r.text << "\n";
        return Refused;
    } catch (const UsageError& u) {
        ctx.out.flush();
        ctx.err << u.text << "\nusage: gzgl " << cmd->usage << "\n";
        return BadUsage;
    } catch (...) {
        ctx.out.flush();
        const ClassifiedError e = classify(std::current_exception());
        ctx.err << categoryText(e.kind) << "\n" << e.message << "\n";
        if (ctx.hasDb()) {
            try {
                logError(ctx.db(), e.kind, QStringLiteral("gzgl"), QStringLiteral("gzgl ") + name, e.message);
            } catch (...) {
            }
        }
        return Unexpected;
    }
}
