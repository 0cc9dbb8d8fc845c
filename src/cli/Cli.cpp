#include "cli/Cli.h"

#include "core/data/DataFile.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Upgrade.h"
#include "core/session/Session.h"

#include <QDate>
#include <cstdio>

namespace gz::cli {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> r;
    return r;
}
// Options that take a value; anything else starting with "--" is a flag.
bool isValueOption(const QString& a) {
    static const QStringList flags = {QStringLiteral("--preview"), QStringLiteral("--help")};
    return a.startsWith(QLatin1String("--")) && !flags.contains(a);
}
} // namespace

bool registerCommand(Command c) {
    registry().push_back(std::move(c));
    return true;
}

const std::vector<Command>& commands() {
    return registry();
}

Context::Context(QString home, QString u, QString pw, QStringList a)
    : folder(std::move(home)), user(std::move(u)), password(std::move(pw)), args(std::move(a)), out(stdout),
      err(stderr) {
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
}

Database& Context::db() {
    if (!db_) {
        db_ = openDataFile(folder).db;
        upgradeAll(*db_);
    }
    if (!loginChecked_) {
        loginChecked_ = true;
        if (!user.isEmpty() && !checkLogin(*db_, user, password)) throw Refusal{msg::wrongLogin()};
    }
    return *db_;
}

void Context::requireAdministrator() {
    db(); // checks the login first
    if (!isAdministrator(user)) throw Refusal{msg::noRight()};
}

QStringList Context::positionals() const {
    QStringList out;
    for (int i = 0; i < args.size(); ++i) {
        if (isValueOption(args[i])) {
            ++i;
            continue;
        }
        if (args[i].startsWith(QLatin1String("--"))) continue;
        out << args[i];
    }
    return out;
}

QString Context::positional(int index, const QString& what) const {
    const QStringList p = positionals();
    if (index >= p.size()) throw UsageError{QStringLiteral("missing %1").arg(what)};
    return p[index];
}

std::optional<QString> Context::option(const QString& name) const {
    for (int i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name) return args[i + 1];
    if (!args.isEmpty() && args.last() == name)
        throw UsageError{QStringLiteral("%1 needs a value").arg(name)};
    return std::nullopt;
}

QStringList Context::options(const QString& name) const {
    QStringList out;
    for (int i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name) out << args[++i];
    return out;
}

bool Context::flag(const QString& name) const {
    return args.contains(name);
}

QDate Context::dateArg(const QString& text) const {
    QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) throw UsageError{QStringLiteral("not a date (yyyy-MM-dd): %1").arg(text)};
    return d;
}

QString csvField(const QString& s) {
    if (s.contains(u',') || s.contains(u'"') || s.contains(u'\n') || s.contains(u'\r')) {
        QString q = s;
        q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return u'"' + q + u'"';
    }
    return s;
}

void Context::printCsvRow(const QStringList& fields) {
    QStringList f;
    for (const QString& s : fields)
        f << csvField(s);
    out << f.join(u',') << "\r\n";
}

void Context::printCsv(const Dataset& ds) {
    QStringList header;
    for (int c = 0; c < ds.columnCount(); ++c)
        header << ds.columnName(c);
    printCsvRow(header);
    for (int r = 0; r < ds.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < ds.columnCount(); ++c) {
            if (ds.columnType(c) == Dataset::Type::Blob && !ds.isNull(r, c))
                row << QString::fromLatin1(ds.value(r, c).toByteArray().toBase64());
            else
                row << ds.text(r, c);
        }
        printCsvRow(row);
    }
}

} // namespace gz::cli
