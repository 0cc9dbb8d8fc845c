#pragma once
// Channel bindings of `gzgl print`: each template that the command can print registers what it
// binds to channels 1 and 2 (and 4, 5 where its window opens them), from the file of the command
// group that owns that data. Channel 3 (company) is bound by the command for every template.

#include "cli/Cli.h"
#include "report/Channels.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

namespace gz::cli {

struct PrintBinding {
    QString templateName; // e.g. "employee.rmf"
    QString filters;      // the filters it reads, for the usage text: "[--dept NAME] [--find TEXT]"
    std::function<void(Context&, report::Channels&)> bind;
};

// Registers a binding; called from static initialisers. A second binding for the same template
// replaces the first (so a data command group can take over a template's binding).
bool registerPrintBinding(PrintBinding b);
const PrintBinding* findPrintBinding(const QString& templateName);

// A read-only dataset over a query, as a channel source that keeps the dataset alive.
std::shared_ptr<report::DataSource> querySource(Database& db, const QString& sql, const Params& params = {});

// The application object gzgl needs: printing paints text (a QGuiApplication, offscreen when
// there is no display), the preview shows a window (a QApplication); everything else runs on a
// QCoreApplication.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);

} // namespace gz::cli
