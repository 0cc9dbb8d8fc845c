#include "ui/common/ErrorReporting.h"

#include "core/data/Database.h"
#include "core/session/ErrorLog.h"
#include "ui/dialogs/ErrorDialog.h"

#include <QDateTime>
#include <QWidget>
#include <cstdio>

namespace gz::ui {

namespace {
Database* logDb = nullptr;
const ProgramFolder* logFolder = nullptr;
ErrorPresenter& presenter() {
    static ErrorPresenter p;
    return p;
}
bool reporting = false;
} // namespace

void setErrorLogDatabase(Database* db) {
    logDb = db;
}
Database* errorLogDatabase() {
    return logDb;
}
void setErrorLogFolder(const ProgramFolder* folder) {
    logFolder = folder;
}
const ProgramFolder* errorLogFolder() {
    return logFolder;
}

ReportedError reportError(std::exception_ptr error, const QObject* component) {
    const ClassifiedError c = classify(error);
    ReportedError r;
    r.kind = c.kind;
    r.category = categoryText(c.kind);
    r.message = c.message;
    r.when = QDateTime::currentDateTime();
    if (QWidget* w = QApplication::activeWindow()) r.caption = w->windowTitle().left(255);
    if (r.caption.isEmpty()) r.caption = QStringLiteral("无标题");
    r.component = component ? QString::fromLatin1(component->metaObject()->className()) : QString();
    if (logDb && logDb->isOpen())
        r.logged = logError(*logDb, r.kind, r.caption, r.component, r.message, r.when);
    if (!r.logged)
        std::fprintf(stderr, "%s: %s\n", r.category.toUtf8().constData(), r.message.toUtf8().constData());
    // An error inside the dialog itself is logged but not shown again, so it cannot loop.
    if (reporting) return r;
    reporting = true;
    try {
        if (presenter())
            presenter()(r);
        else
            ErrorDialog::instance().present(r);
    } catch (...) {
        std::fprintf(stderr, "error dialog failed\n");
    }
    reporting = false;
    return r;
}

bool guarded(const QObject* component, const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (...) {
        reportError(std::current_exception(), component);
        return false;
    }
}

void setErrorPresenter(ErrorPresenter p) {
    presenter() = std::move(p);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError(std::current_exception(), receiver);
        return false;
    }
}

} // namespace gz::ui
