#pragma once
// The command-line tool's frame: argument handling, login, output, exit codes, and a registry
// that each group of commands fills from its own file.

#include "core/data/Database.h"
#include "core/session/ProgramFolder.h"

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

namespace gz {
class Dataset;
}

namespace gz::cli {

// Exit codes.
enum Exit { Done = 0, Refused = 1, BadUsage = 2, Unexpected = 3 };

// A refusal by a rule of the system: its text goes to stderr as the window would show it.
struct Refusal {
    QString text;
};
// Bad usage: the message (and the command's usage) goes to stderr.
struct UsageError {
    QString text;
};

class Context {
public:
    Context(QString home, QString user, QString password, QStringList args);

    ProgramFolder folder;
    QString user; // the operator number given with --user (empty: nobody logged in)
    QString password;
    QStringList args; // the command's own arguments (after the command name)
    QTextStream out;
    QTextStream err;

    // Opens the data file (creating it when missing) and runs the start-up upgrade; checks the
    // login when --user was given.
    Database& db();
    bool hasDb() const { return db_ != nullptr; }
    // Refuses unless the operator logged in is the administrator.
    void requireAdministrator();

    // Argument helpers. Options are "--name value"; flags "--name".
    QString positional(int index, const QString& what) const; // raises UsageError when missing
    std::optional<QString> option(const QString& name) const;
    QStringList options(const QString& name) const; // every value of a repeatable option
    bool flag(const QString& name) const;
    QStringList positionals() const;
    QDate dateArg(const QString& text) const; // yyyy-MM-dd or UsageError

    void printCsv(const Dataset& ds);
    void printCsvRow(const QStringList& fields);

private:
    std::unique_ptr<Database> db_;
    bool loginChecked_ = false;
};

QString csvField(const QString& s);

struct Command {
    QString name;  // first word, e.g. "number"
    QString usage; // one line
    QString help;  // what it does
    std::function<int(Context&)> run;
};

// Registers a command; called from static initialisers of each command file.
bool registerCommand(Command c);
const std::vector<Command>& commands();

} // namespace gz::cli
