// pkvgzgl: the wage system's desktop program.
//
//   pkvgzgl [--home DIR] [--today yyyy-MM-dd]
//
// --home names the program folder (default: gz::ProgramFolder::defaultRoot()); --today sets the
// date the program works with (for tests and demonstrations). --exit-at-login prints
// "login-shown" when the login window appears and ends there (start-up measurements).

#include "core/data/DataFile.h"
#include "core/data/Database.h"
#include "core/data/Memory.h"
#include "core/session/ProgramFolder.h"
#include "report/Factory.h"
#include "ui/app/LoginWindow.h"
#include "ui/app/MainWindow.h"
#include "ui/common/ErrorReporting.h"
#include "ui/common/Prompter.h"
#include "ui/common/ScriptedPrompter.h"
#include "ui/common/Windows.h"

#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLockFile>
#include <QScreen>
#include <QTranslator>
#include <cstdio>
#include <future>

int main(int argc, char** argv) {
    gz::keepFreedMemory();
    gz::ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pkvgzgl"));
    QApplication::setApplicationDisplayName(QStringLiteral("工资管理"));

    QCommandLineParser args;
    QCommandLineOption home(QStringLiteral("home"), QStringLiteral("program folder"), QStringLiteral("DIR"));
    QCommandLineOption today(QStringLiteral("today"), QStringLiteral("working date"),
                             QStringLiteral("yyyy-MM-dd"));
    QCommandLineOption exitAtLogin(QStringLiteral("exit-at-login"),
                                   QStringLiteral("end when the login shows"));
    today.setFlags(QCommandLineOption::HiddenFromHelp);
    exitAtLogin.setFlags(QCommandLineOption::HiddenFromHelp);
    args.addOptions({home, today, exitAtLogin});
    args.addHelpOption();
    args.process(app);

    QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);

    gz::ui::installScriptedPrompterFromEnvironment();

    QDate day = QDate::currentDate();
    if (args.isSet(today)) {
        day = QDate::fromString(args.value(today), Qt::ISODate);
        if (!day.isValid()) {
            std::fprintf(stderr, "--today: yyyy-MM-dd\n");
            return 2;
        }
    }
    const gz::ProgramFolder folder(args.isSet(home) ? args.value(home) : gz::ProgramFolder::defaultRoot());
    QDir().mkpath(folder.root());

    // One running instance per program folder.
    QLockFile lock(folder.path(QStringLiteral("pkvgzgl.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        gz::ui::prompter().message(nullptr, QStringLiteral("该程序正在运行!"), gz::ui::Prompter::Icon::Error,
                                   QStringLiteral("朔禾软件"));
        return 1;
    }

    if (args.isSet(exitAtLogin)) {
        gz::ui::setModalHook([](QDialog* d) {
            if (qobject_cast<gz::ui::LoginWindow*>(d)) {
                d->show();
                QApplication::processEvents();
                std::printf("login-shown\n");
                std::fflush(stdout);
                std::exit(0);
            }
            return d->exec();
        });
    }

    // Opening the encrypted data file runs beside the building of the main window.
    // The shipped report templates are put in place where missing (a new program folder).
    auto opening = std::async(std::launch::async, [folder, day] {
        gz::OpenResult r = gz::openDataFile(folder, day);
        gz::report::installFactoryTemplates(folder);
        return r;
    });
    gz::ui::MainWindow w(folder, day);
    w.setDataFileOpening(std::move(opening));
    QObject::connect(&w, &gz::ui::MainWindow::applicationEnded, &app,
                     [](int code) { QCoreApplication::exit(code); });
    // Without a window manager (plain X servers) maximising does nothing: fill the screen ourselves.
    if (QScreen* screen = QGuiApplication::primaryScreen()) w.setGeometry(screen->availableGeometry());
    w.showMaximized();
    return app.exec();
}
