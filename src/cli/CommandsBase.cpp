// Commands of the data file itself: init, info, sql, number, encode-password.

#include "cli/Cli.h"
#include "core/data/DataFile.h"
#include "core/data/Dataset.h"
#include "core/data/Numbering.h"
#include "core/data/Schema.h"
#include "core/session/Password.h"
#include "report/Factory.h"

#include <QDir>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace gz::cli {
namespace {

int cmdInit(Context& ctx) {
    const bool existed = QFileInfo::exists(ctx.folder.dataFile());
    ctx.db();
    ctx.folder.ensureLayout();
    report::installFactoryTemplates(ctx.folder);
    ctx.out << QDir::toNativeSeparators(ctx.folder.dataFile()) << "\n";
    if (existed) ctx.err << "(the data file exists and was left as it is)\n";
    return Done;
}

int cmdInfo(Context& ctx) {
    Database& db = ctx.db();
    ctx.printCsvRow({QStringLiteral("item"), QStringLiteral("name"), QStringLiteral("value")});
    ctx.printCsvRow(
        {QStringLiteral("file"), QStringLiteral("shdb.mdb"), QDir::toNativeSeparators(db.path())});
    const SchemaReport rep = checkSchema(db);
    ctx.printCsvRow({QStringLiteral("schema"), rep.ok() ? QStringLiteral("ok") : QStringLiteral("missing"),
                     (rep.missingTables + rep.missingColumns).join(u' ')});
    for (const TableDef& t : schemaTables()) {
        if (rep.missingTables.contains(t.name)) continue;
        // Table names come from our own schema list.
        const qint64 n = db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(t.name)).toLongLong();
        ctx.printCsvRow({QStringLiteral("rows"), t.name, QString::number(n)});
    }
    for (const char* t : {"jjgzlist", "jfgzlist", "jsgzlist"})
        ctx.printCsvRow(
            {QStringLiteral("counter"), QString::fromLatin1(t), counterText(db, QString::fromLatin1(t))});
    return Done;
}

int cmdSql(Context& ctx) {
    ctx.requireAdministrator();
    const QString sql = ctx.positional(0, QStringLiteral("STATEMENT"));
    Database& db = ctx.db();
    // The administrator's console runs the statement as typed; values still go in as parameters.
    QByteArray utf8 = sql.toUtf8();
    Query q(db, sql);
    for (const QString& p : ctx.options(QStringLiteral("--param"))) {
        const int eq = p.indexOf(u'=');
        if (eq <= 0) throw UsageError{QStringLiteral("--param needs NAME=VALUE: %1").arg(p)};
        QString name = p.left(eq);
        if (!name.startsWith(u':')) name.prepend(u':');
        q.bind(name.toUtf8().constData(), p.mid(eq + 1));
    }
    if (q.columnCount() > 0) {
        Dataset ds;
        QStringList header;
        for (int c = 0; c < q.columnCount(); ++c)
            header << q.columnName(c);
        ctx.printCsvRow(header);
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < q.columnCount(); ++c) {
                if (q.storageType(c) == SQLITE_FLOAT)
                    row << QString::number(q.real(c), 'g', 15);
                else if (q.storageType(c) == SQLITE_BLOB)
                    row << QString::fromLatin1(q.blob(c).toBase64());
                else
                    row << q.text(c);
            }
            ctx.printCsvRow(row);
        }
    } else {
        ctx.out << q.exec() << "\n";
    }
    return Done;
}

int cmdNumber(Context& ctx) {
    const QString verb = ctx.positional(0, QStringLiteral("draw|giveback|reset|next"));
    if (verb == QLatin1String("reset")) {
        ctx.requireAdministrator();
        const QDate d = ctx.dateArg(ctx.positional(1, QStringLiteral("DATE")));
        ctx.out << resetDocumentCounters(ctx.db(), d) << "\n";
        return Done;
    }
    const QString table = ctx.positional(1, QStringLiteral("TABLE"));
    if (verb == QLatin1String("draw") || verb == QLatin1String("giveback")) {
        if (!isHeaderTable(table))
            throw UsageError{QStringLiteral("TABLE is jjgzlist, jfgzlist or jsgzlist")};
        Database& db = ctx.db();
        if (verb == QLatin1String("draw")) {
            ctx.out << drawDocumentNumber(db, table) << "\n";
        } else {
            giveBackDocumentNumber(db, table);
            ctx.out << counterText(db, table) << "\n";
        }
        return Done;
    }
    if (verb == QLatin1String("next")) {
        if (internalNumberWidth(table) == 0)
            throw UsageError{QStringLiteral(
                "TABLE is jjgzdetail, jfgzdetail, jsgzdetail, branch, employee, prowork or units")};
        ctx.out << nextInternalNumber(ctx.db(), table) << "\n";
        return Done;
    }
    throw UsageError{QStringLiteral("unknown number command %1").arg(verb)};
}

int cmdEncode(Context& ctx) {
    ctx.out << encodePassword(ctx.positional(0, QStringLiteral("TEXT"))) << "\n";
    return Done;
}

const bool registered = [] {
    registerCommand({QStringLiteral("init"), QStringLiteral("init"),
                     QStringLiteral("create the program folder and a fresh data file if none exists"),
                     cmdInit});
    registerCommand({QStringLiteral("info"), QStringLiteral("info"),
                     QStringLiteral("open the data file: path, schema check, rows per table, counters"),
                     cmdInfo});
    registerCommand({QStringLiteral("sql"), QStringLiteral("sql STATEMENT [--param NAME=VALUE ...]"),
                     QStringLiteral("run one statement (administrator)"), cmdSql});
    registerCommand({QStringLiteral("number"),
                     QStringLiteral("number draw|giveback TABLE | number reset DATE | number next TABLE"),
                     QStringLiteral("document counters and internal numbers"), cmdNumber});
    registerCommand({QStringLiteral("encode-password"), QStringLiteral("encode-password TEXT"),
                     QStringLiteral("the stored form of a password"), cmdEncode});
    return true;
}();

} // namespace
} // namespace gz::cli
