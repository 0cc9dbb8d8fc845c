#pragma once
// Every error that no window handles ends here: it is classified, logged in apperror and shown by
// the error dialog. The application object catches what escapes an event handler; windows that
// catch an error themselves pass it on with reportError().

#include "core/data/Errors.h"

#include <QApplication>
#include <QDateTime>
#include <exception>
#include <functional>

namespace gz {
class Database;
class ProgramFolder;
} // namespace gz

namespace gz::ui {

struct ReportedError {
    ErrorKind kind;
    QString category; // headline of the dialog
    QString caption;  // active window's caption, "无标题" when none
    QString component;
    QString message;
    QDateTime when;
    bool logged = false; // written to apperror
};

// The data file the error log goes to (null while there is none) and the program folder.
void setErrorLogDatabase(Database* db);
Database* errorLogDatabase();
void setErrorLogFolder(const ProgramFolder* folder);
const ProgramFolder* errorLogFolder();

// Classifies, logs and shows an error. `component` is the object in which it arose (its class
// name is logged).
ReportedError reportError(std::exception_ptr error, const QObject* component = nullptr);

// Runs fn and reports anything it throws; returns false when it threw.
bool guarded(const QObject* component, const std::function<void()>& fn);

// How a reported error is shown; the default opens the error dialog modally. Tests replace it.
using ErrorPresenter = std::function<void(const ReportedError&)>;
void setErrorPresenter(ErrorPresenter presenter); // empty restores the error dialog

// The program's application object: errors escaping an event handler go to reportError.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace gz::ui
