// gzgl print TEMPLATE --out FILE [--preview] [filters]: prepares a report from report/TEMPLATE
// with the channels its window binds, and writes it as PDF, XLSX, HTML or pictures.

#include "cli/PrintBindings.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "report/Engine.h"
#include "report/Factory.h"
#include "report/Output.h"
#include "ui/reports/PreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <map>
#include <unistd.h>

namespace gz::cli {

namespace {

std::map<QString, PrintBinding>& bindings() {
    static std::map<QString, PrintBinding> m;
    return m;
}

QString printUsage() {
    QStringList t;
    for (const auto& [name, b] : bindings())
        t << name + (b.filters.isEmpty() ? QString() : QLatin1Char(' ') + b.filters);
    return t.join(QStringLiteral("; "));
}

int cmdPrint(Context& ctx) {
    const QString name = ctx.positional(0, QStringLiteral("TEMPLATE"));
    const QString file = name.endsWith(QLatin1String(".rmf")) ? name : name + QStringLiteral(".rmf");
    const PrintBinding* binding = findPrintBinding(file);
    if (!binding)
        throw UsageError{
            QStringLiteral("%1 cannot be printed from the command line (known: %2)").arg(file, printUsage())};
    const bool preview = ctx.flag(QStringLiteral("--preview"));
    const std::optional<QString> out = ctx.option(QStringLiteral("--out"));
    if (!out && !preview) throw UsageError{QStringLiteral("--out FILE is needed (or --preview)")};
    if (out) {
        const QString suffix = QFileInfo(*out).suffix().toLower();
        static const QStringList known{QStringLiteral("pdf"),  QStringLiteral("xlsx"), QStringLiteral("html"),
                                       QStringLiteral("htm"),  QStringLiteral("png"),  QStringLiteral("jpg"),
                                       QStringLiteral("jpeg"), QStringLiteral("bmp")};
        if (!known.contains(suffix))
            throw UsageError{QStringLiteral("--out must end in .pdf, .xlsx, .html, .png, .jpg or .bmp")};
    }
    if (preview && !qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw UsageError{QStringLiteral("--preview needs a display")};

    Database& db = ctx.db();
    report::Channels& ch = report::channels();
    // Channel 3, the company data, is open for the whole run.
    ch.bind(3, querySource(db, QStringLiteral("SELECT * FROM company")));
    binding->bind(ctx, ch);

    const QString path = report::templatePath(ctx.folder, file);
    auto prepared = std::make_shared<report::PreparedReport>(report::prepareFile(path, ch));
    if (out) {
        const QStringList files = report::exportByName(*prepared, *out);
        for (const QString& f : files)
            ctx.out << QDir::toNativeSeparators(f) << "\n";
    }
    if (preview) {
        ctx.out.flush();
        ui::showPreview(nullptr, prepared, ui::PreviewMode::Modal);
    }
    return Done;
}

void bindEmployees(Context& ctx, report::Channels& ch) {
    // The employee list as the window holds it: all employees, or a search's rows; ordered by
    // number so the printout is stable. The list window opens neither the options nor the period.
    QString sql = QStringLiteral("SELECT * FROM employee");
    Params params;
    QStringList where;
    if (const auto dept = ctx.option(QStringLiteral("--dept"))) {
        params.push_back(dept->trimmed());
        where << QStringLiteral("szbm = :p%1").arg(params.size());
    }
    if (const auto find = ctx.option(QStringLiteral("--find"))) {
        params.push_back(QLatin1Char('%') + find->trimmed() + QLatin1Char('%'));
        where << QStringLiteral("(id LIKE :p%1 OR name LIKE :p%1)").arg(params.size());
    }
    if (ctx.flag(QStringLiteral("--current"))) where << QStringLiteral("lcbj = 0");
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY id");
    ch.bind(1, querySource(ctx.db(), sql, params));
}

void bindDocument(Context& ctx, report::Channels& ch) {
    // The posted view's print: the stored lines of one piece-rate document and its header, as
    // they are (no recalculation), with the options open.
    const QString no = ctx.option(QStringLiteral("--doc")).value_or(QString()).trimmed();
    if (no.isEmpty()) throw UsageError{QStringLiteral("--doc DOCNO is needed")};
    Database& db = ctx.db();
    auto header = std::make_shared<Dataset>();
    header->open(db, QStringLiteral("SELECT * FROM jjgzlist WHERE intno = :p1"), {no});
    if (header->rowCount() == 0) throw UsageError{QStringLiteral("no piece-rate document %1").arg(no)};
    ch.bind(1,
            querySource(db, QStringLiteral("SELECT * FROM jjgzdetail WHERE mainintno = :p1 ORDER BY intno"),
                        {no}));
    ch.bind(2, std::make_shared<report::DatasetSource>(std::shared_ptr<const Dataset>(header)));
    ch.bind(4, querySource(db, QStringLiteral("SELECT * FROM config")));
}

const bool registered = [] {
    registerCommand(
        {QStringLiteral("print"),
         QStringLiteral("print TEMPLATE --out FILE.pdf|.xlsx|.html|.png|.jpg|.bmp [--preview] [filters]"),
         QStringLiteral("prepare a report from report/TEMPLATE with its window's channels and write it; "
                        "TEMPLATE is employee, jjgzdetail, gzb, gzbs, gzbf, gzbt, jjtotal, jftotal or "
                        "jstotal (an unknown one lists each with its filters)"),
         cmdPrint});
    registerPrintBinding({QStringLiteral("employee.rmf"),
                          QStringLiteral("[--dept NAME] [--find TEXT] [--current]"), bindEmployees});
    registerPrintBinding({QStringLiteral("jjgzdetail.rmf"), QStringLiteral("--doc DOCNO"), bindDocument});
    return true;
}();

} // namespace

bool registerPrintBinding(PrintBinding b) {
    const QString key = b.templateName;
    bindings()[key] = std::move(b);
    return true;
}

const PrintBinding* findPrintBinding(const QString& templateName) {
    auto it = bindings().find(templateName);
    return it == bindings().end() ? nullptr : &it->second;
}

std::shared_ptr<report::DataSource> querySource(Database& db, const QString& sql, const Params& params) {
    auto ds = std::make_shared<Dataset>();
    ds->open(db, sql, params);
    return std::make_shared<report::DatasetSource>(std::shared_ptr<const Dataset>(ds));
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    // Find the command after the global options (each of which takes a value).
    QString command;
    bool preview = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (command.isEmpty()) {
            if (a == QLatin1String("--help")) break;
            if (a.startsWith(QLatin1String("--"))) {
                ++i;
                continue;
            }
            command = a;
        } else if (a == QLatin1String("--preview")) {
            preview = true;
        }
    }
    if (command == QLatin1String("print")) {
        // Qt warns on stderr without a runtime folder; keep stderr for our own messages.
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
            const QString dir = QDir::temp().filePath(QStringLiteral("runtime-gzgl-%1").arg(getuid()));
            if (QDir().mkpath(dir) &&
                QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner))
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
        }
        const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                             qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                             qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        if (preview && display) return std::make_unique<QApplication>(argc, argv);
        // Painting without a display: the offscreen platform has the fonts.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !preview)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace gz::cli
